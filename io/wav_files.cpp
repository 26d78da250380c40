#include "io/wav_files.h"

#include <algorithm>
#include <vector>

#include "core/editor_state.h"
#include "io/file_access.h"
#include "io/file_decoding.h"
#include "io/frame_import.h"
#include "io/resample.h"

void WavWriter(WindowHandle owner, const float* source, int32_t first, int32_t end,
               int32_t loopStart, int32_t loopEnd, WavPurpose purpose, const char* suggestedName) {
    const FileDialog dialog{true, "Wavefile (*.wav)", "*.wav", "wav", suggestedName};
    SaveThroughDialog(owner, dialog, [&] {
        return BuildWavImage(source + first, end - first, 44100, purpose, loopStart, loopEnd);
    });
}

void Export2048Writer(WindowHandle owner) {
    const FileDialog dialog{true, "Wavefile (*.wav)", "*.wav", "wav", "wavetable.wav"};
    SaveThroughDialog(owner, dialog, [] { return BuildExport2048Image(Wavetable); });
}

std::vector<uint8_t> BuildExport2048Image(const float* table) {
    std::vector<float> frames(static_cast<size_t>(FrameCount) * ExportFrameSize);
    ResampleCycles(
        SamplesPerFrame, ExportFrameSize, FrameCount,
        [table](int32_t i, double* cycle) {
            const float* frame = table + static_cast<size_t>(i) * SamplesPerFrame;
            std::copy(frame, frame + SamplesPerFrame, cycle);
        },
        frames.data());
    return BuildExportImage(frames.data(), static_cast<int32_t>(frames.size()));
}

bool ReadWavFrames(const std::string& path, float* out, int32_t frameCount, FileError& error,
                   WavContent* described) {
    std::vector<uint8_t> bytes;
    if (!LoadWholeFile(path, bytes, error)) return false;
    WavContent content;
    const WavStatus status = ParseWav(bytes.data(), bytes.size(), content);
    if (status != WavStatus::Ok) {
        error = {WavFailure(status), ""};
        return false;
    }
    ImportFrames(bytes.data(), content, out, frameCount);
    if (described != nullptr) *described = content;
    return true;
}

void WavReader(WindowHandle owner, int32_t firstFrame, int32_t frameCount) {
    const FileDialog dialog{false, "Wavefile(*.wav)", "*.wav", "wav"};
    std::string path;
    if (!AskFileName(dialog, path)) return;
    FileError error;
    if (!ReadWavFrames(path, Wavetable + static_cast<size_t>(firstFrame) * SamplesPerFrame,
                       frameCount, error))
        ReportFileError(owner, error, path);
}
