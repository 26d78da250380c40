// One thread renders the audition as the audio callback does while this one runs random
// commands, drags and keys; scripts/test builds it with ThreadSanitizer too.
#include <atomic>
#include <thread>

#include "core/command_table.h"
#include "platform/common/audition_port.h"
#include "tests/test_support.h"

namespace {

uint32_t Seed = 12345;
uint32_t Next(uint32_t range) {
    Seed = Seed * 1664525u + 1013904223u;
    return (Seed >> 8) % range;
}

// Every command of every view's menus but Exit and Play (which writes a file).
std::vector<CommandId> Commands() {
    std::vector<CommandId> ids;
    for (int32_t view : {ViewWaveform, ViewWavetable, ViewAdditive, ViewPadwave}) {
        ViewMode = view;
        for (const MenuPopup& popup : DescribeMenuBar())
            for (const MenuItem& item : popup.items)
                for (const MenuItem& leaf : item.submenu.empty() ? std::vector{item} : item.submenu)
                    if (leaf.id != 0 && leaf.id != CmdExit && leaf.id != CmdPlay)
                        ids.push_back(leaf.id);
    }
    ViewMode = ViewWaveform;
    return ids;
}

} // namespace

TEST(RealTime, RenderingGoesOnThroughRandomCommandsAndDrags) {
    FreshWindow();
    std::string reason;
    ASSERT_TRUE(OpenAuditionOutput(reason));
    const std::vector<CommandId> commands = Commands();
    std::atomic<bool> done{false}, finite{true};
    std::atomic<uint64_t> blocks{0};
    std::thread audio([&] {
        float block[512];
        while (!done.load()) {
            HeadlessRenderAudition(block, 256);
            for (float v : block)
                if (!(v >= -1.0f && v <= 1.0f)) finite = false;
            blocks.fetch_add(1);
        }
    });
    const char keys[] = "awsedftgyhujkolp;'zx";
    for (int step = 0; step < 1000; ++step) {
        Command(commands[Next(static_cast<uint32_t>(commands.size()))]);
        const Knob& knob = Knobs[Next(KnobCount)];
        const int x = (knob.left + knob.right) / 2, y = (knob.top + knob.bottom) / 2;
        Drag(x, y, x, y + static_cast<int>(Next(200)) - 100);
        const char key = keys[Next(sizeof keys - 1)];
        MainWindowProc(HeadlessWindow(), Next(2) ? WM_KEYDOWN : WM_KEYUP, key, 0);
        HeadlessMessageBoxes.clear();
    }
    const uint64_t during = blocks.load();
    done = true;
    audio.join();
    EXPECT_TRUE(finite.load());
    EXPECT_GT(during, 100u); // the render thread never waited for this one
}

// A block begun just before a swap may still read the old material: free it a block later.
TEST(RealTime, AReplacedMaterialIsRetiredTwoBlocksAfterTheSwap) {
    AuditionHooks hooks;
    hooks.apply = [](const AuditionEvent&) {};
    hooks.render = [](const AuditionMaterial*, float*, int) {};
    AuditionPortInstall(hooks);
    const uint64_t ticket = AuditionPortPublish(nullptr);
    float block[2];
    for (int rendered = 0; rendered < 2; ++rendered) {
        EXPECT_FALSE(AuditionPortRetired(ticket)) << rendered;
        AuditionPortRender(block, 1);
    }
    EXPECT_TRUE(AuditionPortRetired(ticket));
}
