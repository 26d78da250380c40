#include "io/preview.h"
#include "tests/file_helpers.h"

// Plays the current view: the player is stopped, then started on the preview file, which holds n
// samples at `rate` and loops over all of them.
static std::vector<uint8_t> Play(uint32_t n, uint32_t rate) {
    HeadlessSoundCalls.clear();
    Command(CmdPlay);
    EXPECT_TRUE(HeadlessMessageBoxes.empty());
    EXPECT_EQ(HeadlessSoundCalls.size(), 2u);
    EXPECT_EQ(HeadlessSoundCalls.at(0), "stop");
    std::vector<uint8_t> file = ReadBytes(HeadlessSoundCalls.at(1).substr(5));
    EXPECT_EQ(file.size(), 2 * n + 112);
    file.resize(2 * n + 112);
    EXPECT_EQ(U32At(file, 24), rate);
    EXPECT_EQ(U32At(file, 40), 2 * n);
    EXPECT_EQ(U32At(file, 96 + 2 * n), 0u);
    EXPECT_EQ(U32At(file, 100 + 2 * n), n - 1);
    return file;
}

// Each view plays its own material, scaled by 65536 without the save's 0.76: the current
// frame, the frames between the knobs in order, the additive frame, the whole pad.
TEST(Preview, EachViewPlaysItsOwnMaterial) {
    FreshEditor();
    for (int k = 0; k < 10; ++k) FillFrame(k, 0.0625f * static_cast<float>(k + 1));
    CurrentFrame = 5;
    OffsetFrame = 9;
    std::vector<uint8_t> file = Play(1024, 176400);
    EXPECT_EQ(S16At(file, 44), 24576);
    EXPECT_EQ(S16At(file, 44 + 2 * 1023), 24576);

    ViewMode = ViewWavetable;
    CurrentFrame = 3;
    OffsetFrame = 0;
    file = Play(4096, 176400);
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(S16At(file, 44 + 2 * (1024 * k + 1023)), 4096 * (k + 1)) << k;

    Command(CmdViewAdditive);
    file = Play(1024, 176400);
    EXPECT_EQ(S16At(file, 44 + 2 * 768), static_cast<int16_t>(AdditiveFrame[768] * 65536.0f));

    ViewMode = ViewPadwave;
    PadwaveBuffer[0] = 1.0f / 3.0f;
    PadwaveBuffer[PadwaveSamples - 1] = -0.125f;
    file = Play(PadwaveSamples, 22050);
    EXPECT_EQ(S16At(file, 44), 21845);
    EXPECT_EQ(S16At(file, 44 + 2 * (PadwaveSamples - 1)), -8192);
    RemovePreviewFile();
}
