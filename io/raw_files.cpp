#include "io/raw_files.h"

#include <vector>

#include "core/editor_state.h"
#include "io/byte_order.h"
#include "io/file_access.h"
#include "io/file_decoding.h"

void WaveDataWriter(WindowHandle owner) {
    const FileDialog dialog{true, "Wavedata (*.txt)", "*.txt", "txt", "wavedata.txt"};
    SaveThroughDialog(owner, dialog, [] {
        std::vector<uint8_t> image;
        PutFloatBits(image, Wavetable, TableSamples);
        return image;
    });
}

void WaveDataReader(WindowHandle owner) {
    const FileDialog dialog{false, "Wavedata (*.txt)", "*.txt", "txt"};
    std::string path;
    std::vector<uint8_t> bytes;
    if (!LoadThroughDialog(owner, dialog, path, bytes)) return;
    if (bytes.size() != TableSamples * 4) {
        ReportFileError(owner, {"not a wave data file", ""}, path);
        return;
    }
    TakeUndoSnapshot();
    GetFloatBits(bytes.data(), Wavetable, TableSamples);
}

void HarmonicsWriter(WindowHandle owner) {
    const FileDialog dialog{true, "Additive File (*.add)", "*.add", "add", "harmonics.add"};
    SaveThroughDialog(owner, dialog, [] {
        std::vector<uint8_t> image;
        for (int32_t level : Harmonics) PutU32(image, static_cast<uint32_t>(level));
        return image;
    });
}

void HarmonicsReader(WindowHandle owner) {
    const FileDialog dialog{false, "Wavefile(*.add)", "*.add", "add"};
    std::string path;
    if (!AskFileName(dialog, path)) return;
    TakeUndoSnapshot();
    ResetHarmonics();
    std::vector<uint8_t> bytes;
    FileError error;
    if (LoadWholeFile(path, bytes, error))
        DecodeHarmonics(bytes.data(), bytes.size(), Harmonics);
    else
        ReportFileError(owner, error, path);
}
