#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

#include "app/main_window.h"
#include "core/command_ids.h"
#include "io/preview.h"
#include "tests/file_helpers.h"

// Plays the current view: the player is stopped, then started on the returned preview file.
static std::string Play() {
    HeadlessSoundCalls.clear();
    Command(CmdPlay);
    EXPECT_EQ(std::tuple(HeadlessSoundCalls.size(), HeadlessMessageBoxes.size()), std::tuple(2u, 0u));
    EXPECT_EQ(HeadlessSoundCalls.at(0), "stop");
    return HeadlessSoundCalls.at(1).substr(5);
}

// A preview file of `size` bytes: 16-bit mono at `rate`, looping over all of its samples.
static void ExpectLayout(const std::vector<uint8_t>& file, size_t size, uint32_t rate) {
    const uint32_t n = uint32_t(size - 112) / 2;
    ASSERT_EQ(file.size(), size);
    EXPECT_EQ(std::tuple(U32At(file, 24), U32At(file, 28), U32At(file, 40), U32At(file, 96 + 2 * n),
                         U32At(file, 100 + 2 * n)), std::tuple(rate, 2 * rate, 2 * n, 0u, n - 1));
}

TEST(Preview, WritesTheMaterialOfEachView) {
    FreshEditor();
    CurrentFrame = 5, OffsetFrame = 9;  // the Waveform view plays the current frame alone
    float* frame = FrameAt(5);  // samples are scaled by 65536 and saturate
    frame[0] = 0.25f, frame[1] = 0.5f, frame[2] = -0.5f, frame[3] = -0.1f, frame[1023] = 0.0625f;
    std::vector<uint8_t> file = ReadBytes(Play());
    ExpectLayout(file, 2160, 176400);
    for (auto [n, value] : {std::pair{0, 16384}, {1, 32767}, {2, -32768}, {3, -6553}, {1023, 4096}})
        EXPECT_EQ(S16At(file, 44 + 2 * n), value) << n;

    ViewMode = ViewWavetable, CurrentFrame = 3, OffsetFrame = 0;  // frames 0 .. 3 in order
    for (int k = 0; k < 5; ++k) FillFrame(k, 0.0625f * float(k + 1));
    file = ReadBytes(Play());
    ExpectLayout(file, 8304, 176400);
    for (int n = 0; n < 4096; n += 1023) EXPECT_EQ(S16At(file, 44 + 2 * n), 4096 * (n / 1024 + 1));

    ViewMode = ViewPadwave, PadwaveBuffer[0] = 1.0f / 3.0f, PadwaveBuffer[PadwaveSamples - 1] = -0.125f;
    file = ReadBytes(Play());
    ExpectLayout(file, 262256, 22050);
    EXPECT_EQ(std::tuple(S16At(file, 44), S16At(file, 262186)), std::tuple(21845, -8192));
    RemovePreviewFile();
}

// Each failed Play shows its own message. The preview has a folder of its own: a user's
// temp.wav in the working directory survives Play and close, which removes the folder.
TEST(Preview, FailuresAreReportedAndCloseRemovesOnlyThePreview) {
    FreshEditor();
    HeadlessSoundFailure = "No audio output: no device";
    for (int play = 0; play < 2; ++play) Command(CmdPlay);
    EXPECT_EQ(HeadlessMessageBoxes.size(), 2u);
    for (const RecordedMessageBox& box : HeadlessMessageBoxes)
        EXPECT_EQ(std::tuple(box.text, box.caption, box.owner),
                  std::tuple("No audio output: no device", "Error", HeadlessWindow()));
    HeadlessCreateWindow(MainWindowProc);
    ScratchFolder work;
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(work.path);
    WriteBytes("temp.wav", {'m', 'i', 'n', 'e'});
    const std::filesystem::path played = Play();
    MainWindowProc(HeadlessWindow(), WM_CLOSE, 0, 0);
    EXPECT_EQ(std::tuple(played.filename(), HeadlessDestroyed, HeadlessQuitCode),
              std::tuple("temp.wav", true, 0));
    EXPECT_FALSE(exists(played.parent_path()));
    EXPECT_EQ(ReadBytes("temp.wav"), (std::vector<uint8_t>{'m', 'i', 'n', 'e'}));
    std::filesystem::current_path(before);
}
