// The preview player on SDL's disk driver, which writes raw 32-bit floats as a card plays them.
#include <chrono>
#include <thread>

#include "io/preview.h"
#include "platform/gui/sdl_player.h"
#include "tests/file_helpers.h"

// Plays frame 0 at one level, then at another: the second Play replaces the first at once; Stop
// silences within one device buffer while the device runs on.
TEST(Player, SecondPlayReplacesTheFirstAndStopSilences) {
    ScratchFolder scratch;
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", scratch.File("output.raw").c_str(), 1);
    setenv("SDL_DISKAUDIODELAY", "1", 1); // about ten times faster than real time
    FreshEditor();
    for (float level : {0.0625f, 0.125f}) {
        FillFrame(0, level);
        Command(CmdPlay);
        std::string reason;
        ASSERT_TRUE(SdlPlayerStart(HeadlessSoundCalls.back().substr(5), reason)) << reason;
        std::this_thread::sleep_for(std::chrono::milliseconds(60));
    }
    SdlPlayerStop();
    const SdlPlayerOutput output = SdlPlayerOutputFormat();
    const size_t frameBytes = sizeof(float) * output.channels;
    const size_t stoppedAt = std::filesystem::file_size(scratch.File("output.raw")) / frameBytes;
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    SdlPlayerClose();
    RemovePreviewFile();
    const std::vector<uint8_t> bytes = ReadBytes(scratch.File("output.raw"));
    std::vector<float> levels; // the first channel's levels, each run of one level once
    size_t lastSound = 0;
    for (size_t f = 0; f < bytes.size() / frameBytes; ++f) {
        float v;
        std::memcpy(&v, &bytes[f * frameBytes], sizeof v);
        if (v == 0.0f) continue;
        lastSound = f;
        if (levels.empty() || levels.back() != v) levels.push_back(v);
    }
    EXPECT_EQ(levels, (std::vector<float>{0.125f, 0.25f}));
    // The disk driver writes through stdio, whose 4096-byte buffer may still hold what was
    // played before the file's size was read.
    EXPECT_LE(lastSound, stoppedAt + output.bufferFrames + 4096 / frameBytes);
    EXPECT_GT(bytes.size() / frameBytes, stoppedAt + 2 * output.bufferFrames);
}
