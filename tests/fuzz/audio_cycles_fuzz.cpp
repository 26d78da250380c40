// The pitch tracker, cycle cutter and steady span's search over any samples, length, rate,
// pitch and frame count.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include <sndfile.h>
#include <unistd.h>

#include "core/editor_state.h"
#include "io/cycle_extract.h"
#include "io/import_span.h"

namespace {

// The samples as a float WAV file, and the span found in it: within the file,
// never backwards.
void SearchSpan(const std::vector<float>& sound, int32_t rate) {
    if (sound.empty()) return;
    const std::string path = "/tmp/qarno-fuzz-span-" + std::to_string(getpid()) + ".wav";
    SF_INFO info = {};
    info.samplerate = rate;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (file == nullptr) return;
    sf_writef_float(file, sound.data(), static_cast<sf_count_t>(sound.size()));
    sf_close(file);
    AudioFileInfo probed;
    FileError error;
    AudioEnvelope envelope;
    AudioSpan span;
    if (ProbeAudioFile(path, probed, error) &&
        FindSteadySpan(path, probed, envelope, span, error)) {
        const double seconds = static_cast<double>(probed.frames) / probed.rate;
        if (!(span.from >= 0.0 && span.from <= span.to && span.to <= seconds)) __builtin_trap();
    }
    unlink(path.c_str());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 8) return 0;
    uint16_t rateBits, pitchBits;
    std::memcpy(&rateBits, data, 2);
    std::memcpy(&pitchBits, data + 2, 2);
    const int32_t rate = 1000 + rateBits * 3;                     // 1 kHz .. 197 kHz
    const double pitch = (pitchBits & 1) ? pitchBits * 0.5 : 0.0; // typed or tracked
    const int32_t count = (data[4] & 1) ? 1 : FrameCount;
    const size_t samples = (size - 8) / sizeof(float);
    std::vector<float> sound(samples);
    if (samples > 0) std::memcpy(sound.data(), data + 8, samples * sizeof(float));
    std::vector<float> frames(static_cast<size_t>(count) * SamplesPerFrame, 0.0f);
    double found = 0.0;
    const CycleStatus status = BuildCycles(sound.data(), static_cast<int64_t>(samples), rate, pitch,
                                           count, frames.data(), found);
    if (status == CycleStatus::Ok)
        for (float s : frames)
            if (!(s >= -1.0f && s <= 1.0f)) __builtin_trap(); // normalized, never NaN
    if (data[4] & 2) SearchSpan(sound, rate);
    return 0;
}
