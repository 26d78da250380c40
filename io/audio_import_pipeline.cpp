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

bool ReadSpan(const std::string& path, const AudioSpan& span, AudioFileInfo& info,
              std::vector<float>& mono, std::string& message) {
    FileError error;
    if (!ProbeAudioFile(path, info, error)) {
        message = FileErrorLine(error, path);
        return false;
    }
    int64_t first = 0, count = 0;
    SpanSamples(info, span, first, count);
    if (!ReadAudioSpan(path, first, count, mono, error)) {
        message = FileErrorLine(error, path);
        return false;
    }
    return true;
}

} // namespace

const char* SpanProblem(const AudioSpan& span) {
    return span.to < span.from ? "the span ends before it starts" : nullptr;
}

bool ImportAudioCycles(const std::string& path, const AudioSpan& span, double pitch, int32_t count,
                       float* out, double& found, std::string& message) {
    if (const char* problem = SpanProblem(span)) {
        message = problem;
        return false;
    }
    AudioFileInfo info;
    std::vector<float> mono;
    if (!ReadSpan(path, span, info, mono, message)) return false;
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

bool DescribeAudioFile(const std::string& path, AudioFileSummary& summary, std::string& message) {
    FileError error;
    if (!ProbeAudioFile(path, summary.info, error) ||
        !FindSteadySpan(path, summary.info, summary.envelope, summary.span, error)) {
        message = FileErrorLine(error, path);
        return false;
    }
    std::vector<float> mono;
    if (!ReadSpan(path, summary.span, summary.info, mono, message)) return false;
    const double hz =
        DetectPitch(mono.data(), static_cast<int64_t>(mono.size()), summary.info.rate);
    summary.pitch = hz > 0.0 ? DescribePitch(hz) : NoPitchFound;
    return true;
}
