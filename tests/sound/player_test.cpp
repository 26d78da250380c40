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

void Wait(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

class Player : public testing::Test {
  protected:
    ScratchFolder scratch;
    std::string disk = scratch.File("output.raw");
    SdlPlayerOutput output;

    void SetUp() override {
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", disk.c_str(), 1);
        setenv("SDL_DISKAUDIODELAY", "1", 1); // about ten times faster than real time
        FreshEditor();
    }
    void TearDown() override { RemovePreviewFile(); }

    // Play: the current view's preview file into the player, for `ms`.
    void Play(int ms) {
        Command(CmdPlay);
        std::string reason;
        ASSERT_TRUE(SdlPlayerStart(HeadlessSoundCalls.back().substr(5), reason)) << reason;
        output = SdlPlayerOutputFormat();
        Wait(ms);
    }

    // Closes the device; the first channel of what it played, from its first sound on.
    std::vector<float> Capture() {
        SdlPlayerClose();
        const std::vector<uint8_t> bytes = ReadBytes(disk);
        std::vector<float> sound(bytes.size() / sizeof(float) / output.channels);
        for (size_t f = 0; f < sound.size(); ++f)
            std::memcpy(&sound[f], &bytes[f * sizeof(float) * output.channels], sizeof(float));
        sound.erase(sound.begin(),
                    std::find_if(sound.begin(), sound.end(), [](float v) { return v != 0.0f; }));
        return sound;
    }
};

} // namespace

// A second Play replaces the first at once; Stop silences within one device buffer while the
// device runs on.
TEST_F(Player, SecondPlayReplacesTheFirstAndStopSilences) {
    FillFrame(0, 0.0625f);
    Play(60);
    FillFrame(0, 0.125f);
    Play(60);
    SdlPlayerStop();
    const size_t sounded = std::filesystem::file_size(disk) / sizeof(float) / output.channels;
    Wait(60);
    const size_t buffer = output.bufferFrames;
    std::vector<float> sound = Capture();
    const auto firstOfSecond = std::find(sound.begin(), sound.end(), 0.25f);
    const auto silence = std::find(firstOfSecond, sound.end(), 0.0f);
    EXPECT_GT(firstOfSecond - sound.begin(), 0);
    EXPECT_EQ(std::count(sound.begin(), firstOfSecond, 0.125f), firstOfSecond - sound.begin());
    EXPECT_EQ(std::count(firstOfSecond, silence, 0.25f), silence - firstOfSecond);
    EXPECT_EQ(std::count(silence, sound.end(), 0.0f), sound.end() - silence);
    EXPECT_LE(static_cast<size_t>(silence - sound.begin()), sounded + buffer);
    EXPECT_GT(static_cast<size_t>(sound.end() - silence), buffer);
}
