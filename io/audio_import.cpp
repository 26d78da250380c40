#include "io/audio_import.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "core/editor_state.h"
#include "io/cycle_extract.h"
#include "io/pitch_names.h"
#include "platform/common/file_names.h"

namespace {

constexpr const char* NoPitchFound = "no steady pitch found";
constexpr const char* SpanTooShort = "the chosen span is too short for two cycles";

void ShowImportFailure(WindowHandle owner, const std::string& message) {
    std::fputs((message + "\n").c_str(), stdout);
    std::fflush(stdout);
    ShowMessageBox(owner, message, "Error");
}

std::string ReadFailure(const std::string& path, const FileError& error) {
    return error.what + " " + path + ": " + error.why;
}

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
        message = ReadFailure(path, error);
        return false;
    }
    int64_t first = 0, count = 0;
    SpanSamples(info, span != nullptr ? *span : DefaultSpan(info), first, count);
    if (!ReadAudioSpan(path, first, count, mono, error)) {
        message = ReadFailure(path, error);
        return false;
    }
    return true;
}

std::string LengthText(const AudioFileInfo& info) {
    char text[96];
    std::snprintf(text, sizeof text, "%.2f s (%d Hz, %d channel%s)",
                  static_cast<double>(info.frames) / info.rate, info.rate, info.channels,
                  info.channels == 1 ? "" : "s");
    return text;
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

void ImportAudio(WindowHandle owner) {
    const FileDialog dialog{false, "Audio files (*.wav *.flac *.ogg *.opus *.aiff *.aif *.mp3)",
                            "*.{wav,flac,ogg,opus,aiff,aif,mp3}", "wav"};
    std::string path;
    if (AskFileName(dialog, path)) ImportAudioFile(owner, path);
}

void ImportAudioFile(WindowHandle owner, const std::string& path) {
    AudioFileInfo info;
    ImportDialog dialog;
    std::string message;
    if (!DescribeAudioFile(path, info, dialog.detected, message)) {
        ShowImportFailure(owner, message);
        return;
    }
    const AudioSpan span = DefaultSpan(info);
    dialog.fileName = FileNameOf(path);
    dialog.length = LengthText(info);
    dialog.from = span.from;
    dialog.to = span.to;
    if (!AskImportChoices(owner, dialog)) return;
    double pitch = 0.0;
    if (!dialog.pitch.empty() && !ParsePitch(dialog.pitch, pitch)) {
        ShowImportFailure(owner, "\"" + dialog.pitch +
                                     "\" is not a pitch: type Hz (196.2) or a note name (G3)");
        return;
    }
    const int32_t count = ViewMode == ViewWaveform ? 1 : FrameCount;
    std::vector<float> frames(static_cast<size_t>(count) * SamplesPerFrame);
    double found = 0.0;
    if (!ImportAudioCycles(path, {dialog.from, dialog.to}, pitch, count, frames.data(), found,
                           message)) {
        ShowImportFailure(owner, message);
        return;
    }
    BeginTableEdit();
    std::copy(frames.begin(), frames.end(), Wavetable + (count == 1 ? RangeStart : 0));
}
