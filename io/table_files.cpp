#include "io/table_files.h"

#include <cstring>

#include "io/file_decoding.h"
#include "io/sysex_file.h"
#include "io/wt_file.h"

namespace {

const char* EncodingName(SampleEncoding encoding) {
    switch (encoding) {
    case SampleEncoding::Unsigned8:
        return "8-bit";
    case SampleEncoding::Signed16:
        return "16-bit";
    case SampleEncoding::Signed24:
        return "24-bit";
    case SampleEncoding::Signed32:
        return "32-bit";
    case SampleEncoding::Float32:
        return "32-bit float";
    case SampleEncoding::Float64:
        return "64-bit float";
    }
    return "";
}

// A WAV file's first channel. Its frame size comes from "clm " or "srge", else
// a "uhWT" chunk's 2048; without any, the user says.
bool ParseTableWav(const uint8_t* data, size_t size, ForeignTable& table, std::string& problem) {
    WavContent content;
    const WavStatus status = ParseWav(data, size, content);
    if (status != WavStatus::Ok) {
        problem = status == WavStatus::NotWav ? "not a wavetable (.wt, WAV or Blofeld .syx)"
                                              : WavFailure(status);
        return false;
    }
    if (!content.complete) {
        problem = "the samples are cut short";
        return false;
    }
    if (content.count > uint64_t{MaxForeignFrames} * MaxForeignFrameSize) {
        problem = "more than " + std::to_string(MaxForeignFrames) + " frames";
        return false;
    }
    table.frameSize = content.frameSize > 0 ? content.frameSize : content.uhwt ? 2048 : 0;
    const char* tag = content.frameSize > 0 ? "frame size tagged"
                      : content.uhwt        ? "tagged \"uhWT\""
                                            : "no frame size";
    if (table.frameSize > 0) {
        problem = FrameSizeProblem(content.count, table.frameSize);
        if (!problem.empty()) return false;
    }
    table.samples.resize(content.count);
    for (uint64_t i = 0; i < content.count; ++i)
        table.samples[i] = FullScaleSample(data, content, i);
    table.layout = std::string("WAV, ") + tag + ", " + EncodingName(content.encoding);
    return true;
}

} // namespace

std::string FrameSizeProblem(size_t count, int32_t frameSize) {
    if (frameSize < 2 || frameSize > MaxForeignFrameSize)
        return "frame size " + std::to_string(frameSize) + " is not from 2 to " +
               std::to_string(MaxForeignFrameSize);
    if (count % static_cast<size_t>(frameSize) != 0)
        return "frame size " + std::to_string(frameSize) + " does not divide the " +
               std::to_string(count) + " samples";
    if (count / static_cast<size_t>(frameSize) > MaxForeignFrames)
        return "more than " + std::to_string(MaxForeignFrames) + " frames";
    return "";
}

int32_t ProposedFrameSize(size_t count) {
    for (int32_t size : {2048, 1024, 512, 256, 128})
        if (count % static_cast<size_t>(size) == 0 && count / static_cast<size_t>(size) <= 256)
            return size;
    return 0;
}

bool ParseForeignTable(const uint8_t* data, size_t size, ForeignTable& table,
                       std::string& problem) {
    table = ForeignTable();
    bool read = false;
    if (size >= 4 && std::memcmp(data, "vawt", 4) == 0)
        read = ParseWt(data, size, table, problem);
    else if (size >= 1 && data[0] == 0xF0)
        read = ParseBlofeldDump(data, size, table, problem);
    else
        read = ParseTableWav(data, size, table, problem);
    if (!read) table = ForeignTable();
    return read;
}
