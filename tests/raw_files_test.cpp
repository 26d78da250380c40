#include <gtest/gtest.h>

#include <algorithm>

#include "tests/file_helpers.h"

TEST(RawFiles, WavedataIsTheTableAsFloatsAndHarmonicsLoadOverTheResetLevels) {
    FreshEditor();
    ScratchFolder folder;
    ViewMode = ViewWavetable;
    CommandOn(CmdSaveWavedata, folder.File("new.txt"));
    EXPECT_EQ(ReadBytes(folder.File("new.txt")), std::vector<uint8_t>(409600, 0));
    Wavetable[0] = 0.5f;
    Wavetable[TableSamples - 1] = -2.0f;
    CommandOn(CmdSaveWavedata, folder.File("set.txt"));
    const std::vector<uint8_t> b = ReadBytes(folder.File("set.txt"));
    ASSERT_EQ(b.size(), 409600u);
    EXPECT_EQ(std::vector<uint8_t>(b.begin(), b.begin() + 4), (std::vector<uint8_t>{0, 0, 0, 0x3F}));
    EXPECT_EQ(U32At(b, 409596), 0xC0000000u);

    ViewMode = ViewAdditive;
    CommandOn(CmdSaveHarmonics, folder.File("new.add"));
    std::vector<uint8_t> bytes = {0, 0, 0, 0};
    for (int i = 1; i < HarmonicCount; ++i) bytes.insert(bytes.end(), {100, 0, 0, 0});
    EXPECT_EQ(ReadBytes(folder.File("new.add")), bytes);
    // A short file sets the levels it holds, unchecked, and the rest keep their reset values.
    WriteBytes(folder.File("short.add"), {0xFB, 0xFF, 0xFF, 0xFF, 8, 0, 0, 0, 9, 0});
    std::vector<int32_t> reset(HarmonicCount, 100), cut = reset;
    reset[0] = 0;
    cut[0] = -5;
    cut[1] = 8;
    const std::pair<const char*, std::vector<int32_t>> loads[] = {
        {"new.add", reset}, {"short.add", cut}, {"gone.add", reset}};
    for (const auto& [name, levels] : loads) {
        std::fill(Harmonics, Harmonics + HarmonicCount, 33);
        CommandOn(CmdLoadHarmonics, folder.File(name));
        EXPECT_EQ(std::vector<int32_t>(Harmonics, Harmonics + HarmonicCount), levels) << name;
    }
    EXPECT_EQ(ErrorTexts(), std::vector<std::string>{"can not open file\n" + folder.File("gone.add")});
}
