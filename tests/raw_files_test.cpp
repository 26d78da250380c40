#include <gtest/gtest.h>

#include "core/command_ids.h"
#include "synth/additive.h"
#include "tests/file_helpers.h"
#include "tests/test_support.h"

TEST(WaveData, RawFloatsOfTheWholeTable) {
    FreshEditor();
    ScratchFolder folder;
    ViewMode = ViewWavetable;
    HeadlessDialogAnswers.push_back(folder.File("new.txt"));
    Command(CmdSaveWavedata);
    EXPECT_EQ(ReadBytes(folder.File("new.txt")), std::vector<uint8_t>(409600, 0));
    ASSERT_EQ(HeadlessDialogsShown.size(), 1u);
    EXPECT_EQ(HeadlessDialogsShown[0].filterText, "Wavedata (*.txt)");
    EXPECT_EQ(HeadlessDialogsShown[0].extension, "txt");
    EXPECT_TRUE(HeadlessDialogsShown[0].save);

    Wavetable[0] = 0.5f;
    Wavetable[TableSamples - 1] = -2.0f;
    Wavetable[7] = 0.1f;
    HeadlessDialogAnswers.push_back(folder.File("set.txt"));
    Command(CmdSaveWavedata);
    const std::vector<uint8_t> b = ReadBytes(folder.File("set.txt"));
    ASSERT_EQ(b.size(), 409600u);
    EXPECT_EQ(std::vector<uint8_t>(b.begin(), b.begin() + 4), (std::vector<uint8_t>{0, 0, 0, 0x3F}));
    EXPECT_EQ(U32At(b, 28), 0x3DCCCCCDu);
    EXPECT_EQ(U32At(b, 409596), 0xC0000000u);
    EXPECT_EQ(HeadlessInvalidations, 0);
}

TEST(Harmonics, SaveAndLoadLevels) {
    FreshEditor();
    ScratchFolder folder;
    ViewMode = ViewAdditive;
    HeadlessDialogAnswers.push_back(folder.File("new.add"));
    Command(CmdSaveHarmonics);
    std::vector<uint8_t> expected = {0, 0, 0, 0};
    for (int i = 1; i < HarmonicCount; ++i) expected.insert(expected.end(), {100, 0, 0, 0});
    EXPECT_EQ(ReadBytes(folder.File("new.add")), expected);
    EXPECT_EQ(HeadlessDialogsShown.back().filterText, "Additive File (*.add)");
    EXPECT_EQ(HeadlessDialogsShown.back().extension, "add");

    Harmonics[0] = -5;
    Harmonics[31] = 77;
    HeadlessDialogAnswers.push_back(folder.File("set.add"));
    Command(CmdSaveHarmonics);
    for (int i = 0; i < HarmonicCount; ++i) Harmonics[i] = 50;
    FillFrame(0, 0.25f);
    HeadlessDialogAnswers.push_back(folder.File("set.add"));
    Command(CmdLoadHarmonics);
    EXPECT_EQ(Harmonics[0], -5);  // stored unchecked
    EXPECT_EQ(Harmonics[1], 100);
    EXPECT_EQ(Harmonics[31], 77);
    EXPECT_EQ(HeadlessDialogsShown.back().filterText, "Wavefile(*.add)");
    EXPECT_FALSE(HeadlessDialogsShown.back().save);

    // Loading the New file gives harmonic 1 alone, and the additive frame follows.
    HeadlessDialogAnswers.push_back(folder.File("new.add"));
    Command(CmdLoadHarmonics);
    EXPECT_EQ(Harmonics[0], 0);
    for (int i = 1; i < HarmonicCount; ++i) ASSERT_EQ(Harmonics[i], 100);
    const std::vector<float> loaded(AdditiveFrame, AdditiveFrame + SamplesPerFrame);
    ResetHarmonics();
    SynthesizeAdditive();
    EXPECT_EQ(loaded, std::vector<float>(AdditiveFrame, AdditiveFrame + SamplesPerFrame));

    // The load took the undo snapshot of the table as it stood.
    FillFrame(0, 0.0f);
    ViewMode = ViewWaveform;
    Command(CmdUndo);
    EXPECT_EQ(FrameAt(0)[0], 0.25f);
    EXPECT_TRUE(HeadlessMessageBoxes.empty());
}

TEST(Harmonics, ShortAndMissingFilesKeepTheResetLevels) {
    FreshEditor();
    ScratchFolder folder;
    ViewMode = ViewAdditive;
    WriteBytes(folder.File("short.add"), {7, 0, 0, 0, 8, 0, 0, 0, 9, 0});
    for (int i = 0; i < HarmonicCount; ++i) Harmonics[i] = 33;
    HeadlessDialogAnswers.push_back(folder.File("short.add"));
    Command(CmdLoadHarmonics);
    EXPECT_EQ(Harmonics[0], 7);
    EXPECT_EQ(Harmonics[1], 8);
    EXPECT_EQ(Harmonics[2], 100);
    EXPECT_EQ(Harmonics[31], 100);

    for (int i = 0; i < HarmonicCount; ++i) Harmonics[i] = 33;
    HeadlessDialogAnswers.push_back(folder.File("gone.add"));
    Command(CmdLoadHarmonics);
    EXPECT_EQ(Harmonics[0], 0);
    EXPECT_EQ(Harmonics[5], 100);
    ASSERT_EQ(HeadlessMessageBoxes.size(), 1u);
    EXPECT_EQ(HeadlessMessageBoxes[0].text, "can not open file\n" + folder.File("gone.add"));
    EXPECT_EQ(HeadlessMessageBoxes[0].caption, "Error");

    // A cancelled dialog changes nothing.
    Harmonics[4] = 12;
    Command(CmdLoadHarmonics);
    EXPECT_EQ(Harmonics[4], 12);
}
