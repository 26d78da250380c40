// The project reader on any bytes, alone (odd lengths) or laid over a valid project's header,
// "qarn" chunk and length (even), to reach the checks behind the header. What it takes holds only
// choices a window can show and writes and reads back the same.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "io/project_format.h"

namespace {

constexpr size_t HeaderBytes = 74;
constexpr size_t RecordAt = 409674;
constexpr size_t RecordChunkBytes = 8 + ProjectRecordBytes;

std::vector<uint8_t> Overlaid(const uint8_t* data, size_t size) {
    static const std::vector<uint8_t> whole = BuildProjectImage(ProjectDocument());
    std::vector<uint8_t> file = whole;
    for (size_t i = 0; i < size && i < HeaderBytes + RecordChunkBytes; ++i)
        file[i < HeaderBytes ? i : RecordAt + i - HeaderBytes] = data[i];
    const size_t cutAt = HeaderBytes + RecordChunkBytes;
    if (size >= cutAt + 3) {
        const size_t length = data[cutAt] | data[cutAt + 1] << 8 | size_t{data[cutAt + 2]} << 16;
        file.resize(length % (file.size() + 1));
    }
    return file;
}

bool InRange(int32_t value, int32_t low, int32_t high) { return low <= value && value <= high; }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> file =
        size % 2 ? std::vector<uint8_t>(data, data + size) : Overlaid(data, size);
    ProjectDocument document;
    if (ParseProject(file.data(), file.size(), document) != ProjectStatus::Ok) return 0;
    for (int32_t knob : document.knobs)
        if (!InRange(knob, 0, 99)) __builtin_trap();
    if (!InRange(document.padwaveValue, 0, 99) || !InRange(document.padwaveTimes10, 0, 1) ||
        !InRange(document.polarity, 0, 1) || !InRange(document.view, ViewWaveform, ViewPadwave))
        __builtin_trap();
    const std::vector<uint8_t> written = BuildProjectImage(document);
    ProjectDocument again;
    if (ParseProject(written.data(), written.size(), again) != ProjectStatus::Ok ||
        BuildProjectImage(again) != written)
        __builtin_trap();
    return 0;
}
