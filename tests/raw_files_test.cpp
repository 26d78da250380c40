#include "tests/file_helpers.h"

// Levels save as little-endian integers. A load resets them, then sets those the file holds,
// unchecked; a file that cannot be read leaves the reset levels and is reported. Either way the
// load takes the table's undo snapshot: Undo then keeps the table as it stood at the load, not
// before the last table edit.
TEST(RawFiles, HarmonicsLoadOverTheResetLevels) {
    FreshEditor();
    ScratchFolder folder;
    FillFrame(0, 0.5f);
    Command(CmdAmplify);
    Command(CmdViewAdditive);
    Harmonics[31] = -2;
    CommandOn(CmdSaveHarmonics, folder.File("levels.add"));
    std::vector<uint8_t> bytes = {0, 0, 0, 0};
    for (int i = 1; i < HarmonicCount - 1; ++i) bytes.insert(bytes.end(), {100, 0, 0, 0});
    bytes.insert(bytes.end(), {0xFE, 0xFF, 0xFF, 0xFF});
    EXPECT_EQ(ReadBytes(folder.File("levels.add")), bytes);
    WriteBytes(folder.File("short.add"), {0xFB, 0xFF, 0xFF, 0xFF, 8, 0, 0, 0, 9, 0});
    std::vector<int32_t> reset(HarmonicCount, 100);
    reset[0] = 0;
    std::vector<int32_t> cut = reset;
    cut[0] = -5;
    cut[1] = 8;
    const std::pair<const char*, std::vector<int32_t>> loads[] = {{"short.add", cut},
                                                                  {"gone.add", reset}};
    for (const auto& [name, levels] : loads) {
        std::fill(Harmonics, Harmonics + HarmonicCount, 33);
        CommandOn(CmdLoadHarmonics, folder.File(name));
        EXPECT_EQ(std::vector<int32_t>(Harmonics, Harmonics + HarmonicCount), levels) << name;
    }
    EXPECT_EQ(ErrorTexts(),
              std::vector<std::string>{"can not open file\n" + folder.File("gone.add") +
                                       "\nNo such file or directory"});
    EXPECT_NEAR(AdditiveFrame[768], 0.353557f, 1e-6f); // harmonic 1 alone
    Command(CmdViewWaveform);
    Command(CmdUndo);
    EXPECT_EQ(FrameAt(0)[0], 0.5f * 1.1f);
}
