#include "io/export_targets.h"

#include <iterator>

#include "io/sysex_file.h"
#include "io/wt_file.h"

const ExportTarget ExportTargets[] = {
    {"Serum, Vital, Hive, Phase Plant (2048)",
     "serum",
     {TableFile::Wav, 100, 2048, 32, FrameTag::Clm}},
    {"Surge XT (.wt)", "surge", {TableFile::Wt, 100, 1024, 32, FrameTag::None}},
    {"Ableton Wavetable (1024)", "ableton", {TableFile::Wav, 100, 1024, 32, FrameTag::Srge}},
    {"Korg modwave (64 x 2048)", "modwave", {TableFile::Wav, 64, 2048, 32, FrameTag::None}},
    {"WaveEdit, E352, E370 (64 x 256)", "waveedit", {TableFile::Wav, 64, 256, 16, FrameTag::None}},
    {"Behringer Wave, 3rd Wave (64 x 128)",
     "wave128",
     {TableFile::Wav, 64, 128, 16, FrameTag::None}},
    {"Waldorf Blofeld (.syx)",
     "blofeld",
     {TableFile::Syx, BlofeldWaves, BlofeldWaveSize, 21, FrameTag::None}},
    {"Custom", "custom", {TableFile::Wav, 64, 2048, 32, FrameTag::None}},
};
const size_t ExportTargetCount = std::size(ExportTargets);

const char* ExtensionOf(TableFile file) {
    return file == TableFile::Wt ? "wt" : file == TableFile::Syx ? "syx" : "wav";
}

std::string CustomLayoutProblem(const ExportLayout& layout) {
    const int32_t size = layout.frameSize;
    if (layout.frames < 2 || layout.frames > 256) return "The frames are 2 to 256";
    if (size < 32 || size > 4096 || (size & (size - 1)) != 0)
        return "The samples a frame are a power of two from 32 to 4096";
    if (layout.bits != 16 && layout.bits != 24 && layout.bits != 32)
        return "The samples are 16-bit, 24-bit or 32-bit float";
    if (layout.file == TableFile::Wt && (layout.bits == 24 || layout.tag != FrameTag::None))
        return "A .wt file holds 16-bit or float samples and no WAV tag";
    if (layout.file == TableFile::Syx) return "Only the Blofeld target writes .syx";
    return "";
}

std::vector<uint8_t> BuildLayoutImage(const ExportLayout& layout, const float* samples,
                                      int32_t slot, const std::string& name) {
    switch (layout.file) {
    case TableFile::Wt:
        return BuildWtImage(samples, layout.frames, layout.frameSize, layout.bits == 16);
    case TableFile::Syx:
        return BuildBlofeldDump(samples, slot, name);
    case TableFile::Wav:
        break;
    }
    return BuildTableWavImage(samples, layout.frames * layout.frameSize, layout.bits, layout.tag,
                              layout.frameSize);
}
