#include "io/audio_import_pipeline.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/editor_state.h"
#include "io/cycle_extract.h"
#include "io/pitch_names.h"

namespace {

constexpr const char* NoPitchFound = "no steady pitch found";
constexpr const char* SpanTooShort = "the chosen span is too short for two cycles";

// The span's first sample and its length, within the file.
void SpanSamples(const AudioFileInfo& info, const AudioSpan& span, int64_t& first, int64_t& count) {
    const double frames = static_cast<double>(info.frames);
    const double from =
        std::isfinite(span.from) ? std::clamp(span.from * info.rate, 0.0, frames) : 0.0;
    const double to =
        std::isfinite(span.to) ? std::clamp(span.to * info.rate, 0.0, frames) : frames;
    first = std::llround(from);
    count = std::max<int64_t>(0, std::llround(to) - first);
}

bool ReadSpan(const std::string& path, const AudioSpan* span, AudioFileInfo& info,
              std::vector<float>& mono, std::string& message) {
    FileError error;
    if (!ProbeAudioFile(path, info, error)) {
        message = FileErrorLine(error, path);
        return false;
    }
    int64_t first = 0, count = 0;
    SpanSamples(info, span != nullptr ? *span : DefaultSpan(info), first, count);
    if (!ReadAudioSpan(path, first, count, mono, error)) {
        message = FileErrorLine(error, path);
        return false;
    }
    return true;
}

} // namespace

AudioSpan DefaultSpan(const AudioFileInfo& info) {
    const double seconds = static_cast<double>(info.frames) / info.rate;
    return {0.05 * seconds, seconds};
}

bool ImportAudioCycles(const std::string& path, const AudioSpan& span, double pitch, int32_t count,
                       float* out, double& found, std::string& message) {
    AudioFileInfo info;
    std::vector<float> mono;
    if (!ReadSpan(path, &span, info, mono, message)) return false;
    switch (BuildCycles(mono.data(), static_cast<int64_t>(mono.size()), info.rate, pitch, count,
                        out, found)) {
    case CycleStatus::Ok:
        return true;
    case CycleStatus::TooShort:
        message = SpanTooShort;
        return false;
    case CycleStatus::NoPitch:
        message = std::string(NoPitchFound) + " in " + path + "; type a pitch to import it";
        return false;
    default:
        message = "the pitch is above half the sample rate of " + path;
        return false;
    }
}

bool DescribeAudioFile(const std::string& path, AudioFileInfo& info, std::string& pitch,
                       std::string& message) {
    std::vector<float> mono;
    if (!ReadSpan(path, nullptr, info, mono, message)) return false;
    const double hz = DetectPitch(mono.data(), static_cast<int64_t>(mono.size()), info.rate);
    pitch = hz > 0.0 ? DescribePitch(hz) : NoPitchFound;
    return true;
}
