#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

#include "core/command_ids.h"
#include "io/preview.h"
#include "tests/file_helpers.h"
#include "tests/test_support.h"

namespace {

// A fresh editor whose Play makes a new preview folder.
void FreshPreview() {
    FreshEditor();
    RemovePreviewFile();
}

// Plays, expects the player to be stopped and then started on one file, and
// returns that file's bytes.
std::vector<uint8_t> PlayAndRead(std::string* path = nullptr) {
    HeadlessSoundCalls.clear();
    Command(CmdPlay);
    EXPECT_TRUE(HeadlessMessageBoxes.empty());
    EXPECT_EQ(HeadlessInvalidations, 0);
    if (HeadlessSoundCalls.size() != 2) {
        ADD_FAILURE() << "sound calls: " << HeadlessSoundCalls.size();
        return {};
    }
    EXPECT_EQ(HeadlessSoundCalls[0], "stop");
    const std::string played = HeadlessSoundCalls[1].substr(5);
    if (path) *path = played;
    return ReadBytes(played);
}

// Checks the header and loop of a preview file of `count` samples at `rate`.
void ExpectPreviewLayout(const std::vector<uint8_t>& file, uint32_t count, uint32_t rate) {
    ASSERT_EQ(file.size(), 2 * count + 112);
    EXPECT_EQ(U32At(file, 24), rate);
    EXPECT_EQ(U32At(file, 28), rate * 2);
    EXPECT_EQ(U32At(file, 40), 2 * count);
    EXPECT_EQ(U32At(file, 96 + 2 * count), 0u);          // loop start
    EXPECT_EQ(U32At(file, 100 + 2 * count), count - 1);  // loop end: the last sample
}

int16_t SampleAt(const std::vector<uint8_t>& file, int index) { return S16At(file, 44 + 2 * index); }

}  // namespace

TEST(Preview, WritesTheMaterialOfEachView) {
    FreshPreview();
    // Waveform view: the current frame alone, with the preview scale and
    // saturation at the ends of the 16-bit range.
    CurrentFrame = 5;
    OffsetFrame = 9;
    FillFrame(4, 0.125f);
    FillFrame(6, 0.125f);
    FrameAt(5)[0] = 0.25f;
    FrameAt(5)[1] = 0.5f;
    FrameAt(5)[2] = -0.5f;
    FrameAt(5)[3] = -0.1f;
    FrameAt(5)[1023] = 0.0625f;
    std::string path;
    std::vector<uint8_t> file = PlayAndRead(&path);
    ExpectPreviewLayout(file, 1024, 176400);
    EXPECT_EQ(SampleAt(file, 0), 16384);
    EXPECT_EQ(SampleAt(file, 1), 32767);
    EXPECT_EQ(SampleAt(file, 2), -32768);
    EXPECT_EQ(SampleAt(file, 3), -6553);
    EXPECT_EQ(SampleAt(file, 4), 0);
    EXPECT_EQ(SampleAt(file, 1023), 4096);
    EXPECT_EQ(RangeStart, 5 * 1024);

    // The file is "temp.wav" in a private folder, not in the working directory.
    const std::filesystem::path played(path);
    EXPECT_EQ(played.filename(), "temp.wav");
    EXPECT_NE(played.parent_path(), std::filesystem::current_path());
    EXPECT_EQ(played.parent_path().parent_path(), std::filesystem::temp_directory_path());

    // Wavetable view: the frames from the lower to the higher knob, in order.
    ViewMode = ViewWavetable;
    CurrentFrame = 3;
    OffsetFrame = 0;
    for (int frame = 0; frame < 5; ++frame) FillFrame(frame, 0.0625f * static_cast<float>(frame + 1));
    file = PlayAndRead();
    ExpectPreviewLayout(file, 4096, 176400);
    for (int frame = 0; frame < 4; ++frame) {
        EXPECT_EQ(SampleAt(file, frame * 1024), 4096 * (frame + 1));
        EXPECT_EQ(SampleAt(file, frame * 1024 + 1023), 4096 * (frame + 1));
    }
    OffsetFrame = 3;
    file = PlayAndRead();
    ExpectPreviewLayout(file, 1024, 176400);
    EXPECT_EQ(SampleAt(file, 0), 4096 * 4);

    // Additive view: the additive frame, whatever the knobs show.
    ViewMode = ViewAdditive;
    AdditiveFrame[0] = -0.25f;
    AdditiveFrame[1023] = 0.125f;
    file = PlayAndRead();
    ExpectPreviewLayout(file, 1024, 176400);
    EXPECT_EQ(SampleAt(file, 0), -16384);
    EXPECT_EQ(SampleAt(file, 1023), 8192);

    // Padwave view: the whole pad an octave down.
    ViewMode = ViewPadwave;
    PadwaveBuffer[0] = 1.0f / 3.0f;
    PadwaveBuffer[PadwaveSamples - 1] = -0.125f;
    file = PlayAndRead();
    EXPECT_EQ(file.size(), 262256u);
    ExpectPreviewLayout(file, PadwaveSamples, 22050);
    EXPECT_EQ(SampleAt(file, 0), 21845);
    EXPECT_EQ(SampleAt(file, PadwaveSamples - 1), -8192);
    RemovePreviewFile();
}

TEST(Preview, FailuresShowOneMessagePerPlay) {
    FreshPreview();
    HeadlessSoundFailure = "No audio output: no device";
    Command(CmdPlay);
    Command(CmdPlay);
    ASSERT_EQ(HeadlessMessageBoxes.size(), 2u);
    EXPECT_EQ(HeadlessMessageBoxes[0].owner, HeadlessWindow());
    EXPECT_EQ(HeadlessMessageBoxes[0].text, "No audio output: no device");
    EXPECT_EQ(HeadlessMessageBoxes[0].caption, "Error");

    // The window keeps working.
    Command(CmdViewWavetable);
    EXPECT_EQ(ViewMode, ViewWavetable);

    // A preview folder that cannot be made: nothing is played.
    HeadlessReset();
    RemovePreviewFile();
    const char* saved = std::getenv("TMPDIR");
    const std::string savedValue = saved ? saved : "";
    setenv("TMPDIR", "/nonexistent-qarno-folder", 1);
    Command(CmdPlay);
    if (saved) setenv("TMPDIR", savedValue.c_str(), 1);
    else unsetenv("TMPDIR");
    EXPECT_EQ(HeadlessSoundCalls, (std::vector<std::string>{"stop"}));
    ASSERT_EQ(HeadlessMessageBoxes.size(), 1u);
    EXPECT_EQ(HeadlessMessageBoxes[0].text,
              "Cannot write the preview file: can not make a folder in /nonexistent-qarno-folder");
    EXPECT_EQ(HeadlessMessageBoxes[0].caption, "Error");
}

TEST(Preview, CloseRemovesOnlyThePreview) {
    FreshPreview();
    ScratchFolder work;
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(work.path);
    const std::vector<uint8_t> mine = {'m', 'i', 'n', 'e'};
    WriteBytes("temp.wav", mine);

    std::string path;
    PlayAndRead(&path);
    EXPECT_EQ(ReadBytes("temp.wav"), mine);
    MainWindowProc(HeadlessWindow(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(HeadlessDestroyed);
    EXPECT_EQ(HeadlessQuitCode, 0);
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(path).parent_path()));
    EXPECT_EQ(ReadBytes("temp.wav"), mine);
    EXPECT_EQ(work.Names(), std::vector<std::string>{"temp.wav"});

    // Closing without a preview, and a second destroy, are harmless.
    MainWindowProc(HeadlessWindow(), WM_DESTROY, 0, 0);
    EXPECT_EQ(ReadBytes("temp.wav"), mine);
    std::filesystem::current_path(before);
}
