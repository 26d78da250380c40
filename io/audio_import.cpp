#include "io/audio_import.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "core/editor_state.h"
#include "io/audio_import_pipeline.h"
#include "io/pitch_names.h"
#include "platform/common/file_names.h"

namespace {

void ShowImportFailure(WindowHandle owner, const std::string& message) {
    std::fputs((message + "\n").c_str(), stdout);
    std::fflush(stdout);
    ShowMessageBox(owner, message, "Error");
}

std::string LengthText(const AudioFileInfo& info) {
    char text[96];
    std::snprintf(text, sizeof text, "%.2f s (%d Hz, %d channel%s)",
                  static_cast<double>(info.frames) / info.rate, info.rate, info.channels,
                  info.channels == 1 ? "" : "s");
    return text;
}

} // namespace

void ImportAudio(WindowHandle owner) {
    const FileDialog dialog{false, "Audio files (*.wav *.flac *.ogg *.opus *.aiff *.aif *.mp3)",
                            "*.{wav,flac,ogg,opus,aiff,aif,mp3}", "wav"};
    std::string path;
    if (AskFileName(dialog, path)) ImportAudioFile(owner, path);
}

void ImportAudioFile(WindowHandle owner, const std::string& path) {
    AudioFileSummary summary;
    std::string message;
    if (!DescribeAudioFile(path, summary, message)) {
        ShowImportFailure(owner, message);
        return;
    }
    ImportDialog dialog;
    dialog.fileName = FileNameOf(path);
    dialog.length = LengthText(summary.info);
    dialog.detected = summary.pitch;
    dialog.seconds = static_cast<double>(summary.info.frames) / summary.info.rate;
    dialog.envelope = summary.envelope.levels;
    dialog.envelopeStep = summary.envelope.step;
    dialog.from = summary.span.from;
    dialog.to = summary.span.to;
    const int32_t count = ViewMode == ViewWaveform ? 1 : FrameCount;
    std::vector<float> frames(static_cast<size_t>(count) * SamplesPerFrame);
    const auto importChoices = [&](const ImportDialog& choices) -> std::string {
        double pitch = 0.0;
        if (!choices.pitch.empty() && !ParsePitch(choices.pitch, pitch))
            return "\"" + choices.pitch + "\" is not a pitch: type Hz (196.2) or a note name (G3)";
        double found = 0.0;
        std::string refusal;
        ImportAudioCycles(path, {choices.from, choices.to}, pitch, count, frames.data(), found,
                          refusal);
        return refusal;
    };
    if (!AskImportChoices(owner, dialog, importChoices)) return;
    BeginTableEdit();
    std::copy(frames.begin(), frames.end(), Wavetable + (count == 1 ? RangeStart : 0));
}
