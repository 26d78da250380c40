// The preview player on SDL's disk driver, which writes raw 32-bit floats as a card plays them.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>

#include "io/preview.h"
#include "platform/sdl_player.h"
#include "tests/file_helpers.h"

namespace {

void Wait(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

class Player : public testing::Test {
protected:
    ScratchFolder scratch;
    std::string disk = scratch.File("output.raw");
    SdlPlayerOutput output;
    std::vector<float> sound;  // the first channel of what the device played
    size_t first = 0;          // its sounding part: first .. last - 1
    size_t last = 0;

    // Every test opens the device afresh, so the capture file holds only its sound.
    void SetUp() override {
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", disk.c_str(), 1);
        setenv("SDL_DISKAUDIODELAY", "1", 1);  // about ten times faster than real time
        FreshEditor();
    }
    void TearDown() override {
        SdlPlayerClose();
        RemovePreviewFile();
    }

    void PlayView(int ms) {
        HeadlessSoundCalls.clear();
        Command(CmdPlay);
        std::string reason;
        ASSERT_TRUE(SdlPlayerStart(HeadlessSoundCalls.at(1).substr(5), reason)) << reason;
        output = SdlPlayerOutputFormat();
        Wait(ms);
    }

    // Closes the device and reads the first channel of what it played.
    void Capture() {
        SdlPlayerClose();
        const std::vector<uint8_t> bytes = ReadBytes(disk);
        const size_t frameBytes = sizeof(float) * output.channels;
        sound.resize(bytes.size() / frameBytes);
        for (size_t f = 0; f < sound.size(); ++f) std::memcpy(&sound[f], &bytes[f * frameBytes], sizeof(float));
        const auto loud = [](float v) { return v != 0.0f; };
        first = std::find_if(sound.begin(), sound.end(), loud) - sound.begin();
        last = sound.rend() - std::find_if(sound.rbegin(), sound.rend(), loud);
    }
};

}  // namespace

// The selected frames hold a ramp of `period` samples, played as n / period - 0.5; device frame
// k lies k x 176400 / rate samples into the loop, between two samples linearly. A drift of
// pitch, a step at the seam or a wrong frame shows.
TEST_F(Player, LoopsTheSelectionAtItsPitchWithoutSeamOrDrift) {
    const int32_t selections[][3] = {{ViewWaveform, 7, 7}, {ViewWavetable, 12, 15}};
    for (const auto& [view, from, to] : selections) {
        ViewMode = view;
        CurrentFrame = from;
        OffsetFrame = to;
        FillFrame(from - 1, 0.2f);
        FillFrame(to + 1, 0.2f);
        const int period = (to - from + 1) * SamplesPerFrame;
        for (int n = 0; n < period; ++n) FrameAt(from)[n] = -0.25f + 0.5f * static_cast<float>(n) / period;
        PlayView(400);
        Capture();
        ASSERT_GE(last - first, static_cast<size_t>(output.rate));  // a second or more
        for (size_t k = 0; k < last - first; ++k) {
            const double at = std::fmod(k * 176400.0 / output.rate, period);
            const double i = std::floor(at);
            const double a = i / period - 0.5;
            const double b = std::fmod(i + 1, period) / period - 0.5;
            ASSERT_NEAR(sound[first + k], a + (b - a) * (at - i), 1e-5) << from << ": " << k;
        }
    }
}

// A second Play replaces the first at once; Stop silences within one device buffer while the
// device runs on.
TEST_F(Player, SecondPlayReplacesTheFirstAndStopSilences) {
    FillFrame(0, 0.0625f);
    PlayView(60);
    FillFrame(0, 0.125f);
    PlayView(60);
    SdlPlayerStop();
    const uintmax_t stoppedAt = std::filesystem::file_size(disk);
    Wait(60);
    Capture();
    const auto begin = sound.begin() + first;
    const auto end = sound.begin() + last;
    const auto second = std::find(begin, end, 0.25f);
    EXPECT_GT(second - begin, 0);
    EXPECT_GT(end - second, 0);
    EXPECT_EQ(std::count(begin, second, 0.125f), second - begin);
    EXPECT_EQ(std::count(second, end, 0.25f), end - second);
    const size_t frameBytes = sizeof(float) * output.channels;
    const size_t buffer = frameBytes * output.bufferFrames;
    EXPECT_LE(last * frameBytes, stoppedAt + buffer);
    EXPECT_GT(sound.size() * frameBytes, stoppedAt + 2 * buffer);
}

TEST_F(Player, WithoutADriverSaysWhyInOneLine) {
    setenv("SDL_AUDIODRIVER", "nonexistent", 1);
    Command(CmdPlay);
    std::string reason;
    EXPECT_FALSE(SdlPlayerStart(HeadlessSoundCalls.at(1).substr(5), reason));
    EXPECT_EQ(reason.rfind("No audio output: ", 0), 0u) << reason;
    EXPECT_EQ(reason.find('\n'), std::string::npos);
    EXPECT_EQ(SdlPlayerOutputFormat().rate, 0);
}
