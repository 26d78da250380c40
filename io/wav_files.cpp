#include "io/wav_files.h"

#include <vector>

#include "core/editor_state.h"
#include "io/file_access.h"
#include "io/file_decoding.h"
#include "io/wav_format.h"

void WavWriter(WindowHandle owner, const float* source, int32_t first, int32_t end, int32_t loopStart,
               int32_t loopEnd) {
    const FileDialog dialog{true, "Wavefile (*.wav)", "*.wav", "wav"};
    SaveThroughDialog(owner, dialog, [&] {
        return BuildWavImage(source + first, end - first, 44100, WavPurpose::Saved, loopStart, loopEnd);
    });
}

void WavReader(WindowHandle owner, int32_t first, int32_t end) {
    const FileDialog dialog{false, "Wavefile(*.wav)", "*.wav", "wav"};
    std::string path;
    if (!AskFileName(dialog, path)) return;
    std::vector<uint8_t> bytes;
    if (!LoadWholeFile(owner, path, bytes)) return;
    if (!DecodeWavSamples(bytes.data(), bytes.size(), Wavetable + first, end - first))
        ReportFileError(owner, "not a WAV file", path);
}
