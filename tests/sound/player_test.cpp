// The preview player on SDL's disk driver, which writes what a sound card
// would play to a file: raw interleaved 32-bit floats at the device's rate.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <thread>

#include "core/command_ids.h"
#include "io/preview.h"
#include "io/wav_format.h"
#include "platform/sdl_player.h"
#include "tests/file_helpers.h"
#include "tests/test_support.h"

namespace {

void Wait(int milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }

class Player : public testing::Test {
protected:
    ScratchFolder scratch;
    std::string disk = scratch.File("output.raw");

    // Every test opens the device afresh, so the capture file holds only its sound.
    void SetUp() override {
        SdlPlayerClose();
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", disk.c_str(), 1);
        setenv("SDL_DISKAUDIODELAY", "1", 1);  // about ten times faster than real time
        FreshEditor();
        RemovePreviewFile();
    }
    void TearDown() override {
        SdlPlayerClose();
        RemovePreviewFile();
    }

    // Play in the current view, with the file Play wrote going to the SDL player.
    void PlayView() {
        HeadlessSoundCalls.clear();
        Command(CmdPlay);
        ASSERT_EQ(HeadlessSoundCalls.size(), 2u);
        std::string reason;
        ASSERT_TRUE(SdlPlayerStart(HeadlessSoundCalls[1].substr(5), reason)) << reason;
        output = SdlPlayerOutputFormat();
        ASSERT_GT(output.rate, 0);
    }

    // Closes the device and returns what it played, one value per frame; every
    // channel must carry the same value.
    std::vector<float> Captured() {
        SdlPlayerClose();
        const std::vector<uint8_t> bytes = ReadBytes(disk);
        const size_t frameBytes = sizeof(float) * static_cast<size_t>(output.channels);
        std::vector<float> sound(bytes.size() / frameBytes);
        for (size_t f = 0; f < sound.size(); ++f) {
            std::memcpy(&sound[f], &bytes[f * frameBytes], sizeof(float));
            for (int c = 1; c < output.channels; ++c) {
                float other;
                std::memcpy(&other, &bytes[f * frameBytes + c * sizeof(float)], sizeof(float));
                EXPECT_EQ(other, sound[f]) << "frame " << f;
            }
        }
        return sound;
    }

    SdlPlayerOutput output;
};

// Indices of the first and last frame that are not silent.
std::pair<size_t, size_t> SoundingPart(const std::vector<float>& sound) {
    size_t first = 0;
    while (first < sound.size() && sound[first] == 0.0f) ++first;
    size_t last = sound.size();
    while (last > first && sound[last - 1] == 0.0f) --last;
    return {first, last};
}

}  // namespace

TEST_F(Player, OneFrameLoopsAtItsPitchWithoutSeamOrDrift) {
    // A ramp from -0.25 up to just under 0.25 that drops back to its start: the
    // seam is a step that a resampler which does not wrap around would miss.
    // The preview stores sample n as 32 n - 16384, which plays as n / 1024 - 0.5.
    CurrentFrame = 7;
    float played[SamplesPerFrame];
    for (int n = 0; n < SamplesPerFrame; ++n) {
        FrameAt(7)[n] = -0.25f + 0.5f * static_cast<float>(n) / 1024.0f;
        played[n] = static_cast<float>(n) / 1024.0f - 0.5f;
    }
    PlayView();
    Wait(400);
    SdlPlayerStop();
    const std::vector<float> sound = Captured();
    const auto [first, last] = SoundingPart(sound);
    // At least a second: 172 passes through the frame, each over its seam.
    ASSERT_GE(last - first, static_cast<size_t>(output.rate));
    // Device frame k lies k x 176400 / rate file samples into the endless loop:
    // a tone of 176400 / 1024 = 172.27 Hz. The position is taken afresh from k,
    // so a pitch that drifts by a millionth shows up as well as a bad seam.
    const double step = 176400.0 / output.rate;
    double worst = 0.0;
    for (size_t k = 0; k < last - first; ++k) {
        const double position = std::fmod(static_cast<double>(k) * step, 1024.0);
        const int i = static_cast<int>(position);
        const double a = played[i];
        const double b = played[(i + 1) % SamplesPerFrame];
        worst = std::max(worst, std::fabs(sound[first + k] - (a + (b - a) * (position - i))));
    }
    EXPECT_LT(worst, 1e-5);
}

TEST_F(Player, SelectedFramesPlayInOrderAndWrapAround) {
    ViewMode = ViewWavetable;
    CurrentFrame = 12;
    OffsetFrame = 15;
    for (int frame = 10; frame < 18; ++frame)
        FillFrame(frame, 0.0625f * static_cast<float>(frame - 11));  // frames 12..15: 0.0625 .. 0.25
    PlayView();
    Wait(150);
    SdlPlayerStop();
    const std::vector<float> sound = Captured();
    const auto [first, last] = SoundingPart(sound);

    // Runs of each frame's level (0.125 .. 0.5 as played), with at most one
    // value between two runs, where the resampler crosses from a frame's last
    // sample into the next frame's first, or from the last frame into the first.
    auto level = [](int frame) { return 0.125f * static_cast<float>(frame + 1); };
    const double runLength = 1023.0 * output.rate / 176400.0;
    int frame = 0;
    size_t run = 0;
    int runs = 0;
    for (size_t k = first; k < last; ++k) {
        if (sound[k] == level(frame)) {
            ++run;
            continue;
        }
        const int next = (frame + 1) % 4;
        const float low = std::min(level(frame), level(next));
        const float high = std::max(level(frame), level(next));
        const bool between = sound[k] > low && sound[k] < high;
        const bool ends = k + 1 == last;
        ASSERT_TRUE(sound[k] == level(next) || (between && (ends || sound[k + 1] == level(next))))
            << "frame " << k - first << " value " << sound[k] << " in frame " << frame;
        EXPECT_NEAR(static_cast<double>(run), runLength, 1.0) << "run " << runs;
        if (between) ++k;
        frame = next;
        run = 1;
        ++runs;
    }
    EXPECT_GE(runs, 40);  // ten passes through the four frames
}

TEST_F(Player, SecondPlayReplacesAndStopSilencesWithinOneBuffer) {
    CurrentFrame = 0;
    FillFrame(0, 0.0625f);
    PlayView();
    Wait(60);
    FillFrame(0, 0.125f);
    PlayView();
    Wait(60);
    SdlPlayerStop();
    const uintmax_t stoppedAt = std::filesystem::file_size(disk);
    SdlPlayerStop();
    Wait(60);
    const std::vector<float> sound = Captured();
    const auto [first, last] = SoundingPart(sound);

    // The first sound, then the second alone, with no gap and no mix.
    size_t k = first;
    while (k < last && sound[k] == 0.125f) ++k;
    EXPECT_GT(k, first);
    const size_t switched = k;
    while (k < last && sound[k] == 0.25f) ++k;
    EXPECT_GT(k, switched);
    EXPECT_EQ(k, last) << "another value after the second Play";

    // The buffer that the callback had made when Stop took the lock is the last
    // that sounds; everything the device asks for later is silence.
    const size_t frameBytes = sizeof(float) * static_cast<size_t>(output.channels);
    const size_t bufferBytes = frameBytes * static_cast<size_t>(output.bufferFrames);
    EXPECT_LE(last * frameBytes, stoppedAt + bufferBytes);
    EXPECT_GT(sound.size() * frameBytes, stoppedAt + 2 * bufferBytes);
}

TEST(PlayerWithoutDevice, SaysWhyInOneLine) {
    SdlPlayerClose();
    ScratchFolder scratch;
    const std::string wav = scratch.File("tone.wav");
    const float samples[4] = {0.1f, 0.2f, 0.1f, 0.0f};
    WriteBytes(wav, BuildWavImage(samples, 4, 176400, WavPurpose::Preview, 0, 3));

    setenv("SDL_AUDIODRIVER", "nonexistent", 1);
    std::string reason;
    EXPECT_FALSE(SdlPlayerStart(wav, reason));
    EXPECT_EQ(reason.rfind("No audio output: ", 0), 0u) << reason;
    EXPECT_EQ(reason.find('\n'), std::string::npos);
    EXPECT_EQ(SdlPlayerOutputFormat().rate, 0);
    SdlPlayerStop();

    reason.clear();
    EXPECT_FALSE(SdlPlayerStart(scratch.File("missing.wav"), reason));
    EXPECT_EQ(reason.rfind("Cannot read the preview file: ", 0), 0u) << reason;
    EXPECT_EQ(reason.find('\n'), std::string::npos);
    unsetenv("SDL_AUDIODRIVER");
}
