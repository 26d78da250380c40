// The preview player on SDL's disk driver, which writes raw 32-bit floats as a card plays them.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <thread>

#include "core/command_ids.h"
#include "io/preview.h"
#include "platform/sdl_player.h"
#include "tests/file_helpers.h"

static void Wait(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

class Player : public testing::Test {
protected:
    ScratchFolder scratch;
    std::string disk = scratch.File("output.raw");
    SdlPlayerOutput output;
    std::vector<float> sound;    // what the device played, one value per device frame
    size_t first = 0, last = 0;  // its sounding part

    // Every test opens the device afresh, so the capture file holds only its sound.
    void SetUp() override {
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", disk.c_str(), 1);
        setenv("SDL_DISKAUDIODELAY", "1", 1);  // about ten times faster than real time
        FreshEditor();
    }
    void TearDown() override { SdlPlayerClose(); RemovePreviewFile(); }

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
        sound.resize(bytes.size() / sizeof(float) / output.channels);
        for (size_t f = 0; f < sound.size(); ++f)
            std::memcpy(&sound[f], &bytes[f * output.channels * sizeof(float)], sizeof(float));
        const auto loud = [](float v) { return v != 0.0f; };
        first = std::find_if(sound.begin(), sound.end(), loud) - sound.begin();
        last = std::max(first, size_t(sound.rend() - std::find_if(sound.rbegin(), sound.rend(), loud)));
    }
};

// The selected frames hold a ramp of N samples played as n / N - 0.5; device frame k lies k 176400 /
// rate samples into the loop. A drift of pitch, a step at the seam or a wrong frame shows.
TEST_F(Player, LoopsTheSelectionAtItsPitchWithoutSeamOrDrift) {
    for (auto [view, from, to] : {std::tuple{ViewWaveform, 7, 7}, {ViewWavetable, 12, 15}}) {
        ViewMode = view, CurrentFrame = from, OffsetFrame = to;
        FillFrame(from - 1, 0.2f), FillFrame(to + 1, 0.2f);
        const int period = (to - from + 1) * SamplesPerFrame;
        for (int n = 0; n < period; ++n) FrameAt(from)[n] = -0.25f + 0.5f * float(n) / float(period);
        PlayView(400);
        Capture();
        ASSERT_GE(last - first, size_t(output.rate));  // a second or more
        for (size_t k = 0; k < last - first; ++k) {
            const double at = std::fmod(double(k) * 176400.0 / output.rate, period), i = std::floor(at);
            const double a = i / period - 0.5, b = std::fmod(i + 1, period) / period - 0.5;
            ASSERT_NEAR(sound[first + k], a + (b - a) * (at - i), 1e-5) << from << ": " << k;
        }
    }
}

// A second Play replaces the first; Stop silences within a buffer; no driver: why, in one line.
TEST_F(Player, SecondPlayReplacesTheFirstStopSilencesAndNoDriverFails) {
    for (float level : {0.0625f, 0.125f}) { FillFrame(0, level); PlayView(60); }
    SdlPlayerStop();
    const uintmax_t stoppedAt = std::filesystem::file_size(disk);
    Wait(60);
    Capture();
    const auto begin = sound.begin() + first, end = sound.begin() + last;
    const auto second = std::find(begin, end, 0.25f);
    EXPECT_EQ(std::count(begin, second, 0.125f) + std::count(second, end, 0.25f), end - begin);
    EXPECT_GT(std::min(second - begin, end - second), 0);
    const size_t frameBytes = sizeof(float) * output.channels, buffer = frameBytes * output.bufferFrames;
    EXPECT_LE(last * frameBytes, stoppedAt + buffer);
    EXPECT_GT(sound.size() * frameBytes, stoppedAt + 2 * buffer);  // the device ran on, silent
    setenv("SDL_AUDIODRIVER", "nonexistent", 1);
    std::string reason;
    EXPECT_FALSE(SdlPlayerStart(HeadlessSoundCalls.at(1).substr(5), reason));
    EXPECT_EQ(reason.rfind("No audio output: ", 0), 0u) << reason;
    EXPECT_EQ(std::tuple(reason.find('\n'), SdlPlayerOutputFormat().rate),
              std::tuple(std::string::npos, 0));
}
