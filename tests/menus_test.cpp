#include <gtest/gtest.h>

#include <string>

#include "app/main_window.h"
#include "core/command_ids.h"
#include "app/dispatcher.h"
#include "core/menus.h"
#include "tests/test_support.h"

namespace {

// One line per popup: "Title: label(id)[*] | - | ...", '*' marking a check.
std::string Layout(const MenuBar& bar) {
    std::string out;
    for (const MenuPopup& popup : bar) {
        out += popup.title + ":";
        for (const MenuItem& item : popup.items) {
            if (item.separator) {
                out += " -";
                continue;
            }
            out += " " + item.label + "(" + std::to_string(item.id) + ")";
            if (item.checked) out += "*";
        }
        out += "\n";
    }
    return out;
}

const char* const EditItems =
    "&Edit: &Undo(2000) - Cu&t(2010) &Copy(2020) &Paste(2030) Paste &Mix(2040) C&lear(2050) - "
    "&Normalize(2060) &Amplify(2070) Att&enuate(2080) &Invert(2090) &Reverse(2100) -";
const char* const SynthesizeMenu =
    "&Synthesize: &Additive(4002) &Padwave(4003) - Sine(3010) Saw(3020) Ramp(3030) "
    "Triangle(3040) Square(3050) Random(3060)\n";
const char* const Tail = "&Preview: &Play(3090) &Stop(3095)\n&About: &About(9999)\n";

std::string ViewMenu(int checked) {
    const char* labels[] = {"&Waveform(2500)", "&Wavetable(2510)", "&Additive(2520)", "&Padwave(2530)"};
    std::string out = "&View:";
    for (int i = 0; i < 4; ++i) out += std::string(" ") + labels[i] + (i == checked ? "*" : "");
    return out + "\n";
}

}  // namespace

TEST(Menus, EachViewHasItsLayout) {
    FreshEditor();
    Command(CmdViewWaveform);
    EXPECT_EQ(Layout(HeadlessMenuBar),
              "&File: &New(1100) - Load Waveform...(1500) Save Waveform...(1510) - E&xit(1600)\n" +
                  std::string(EditItems) + " &Morph(2110)\n" + ViewMenu(0) + SynthesizeMenu + Tail);

    Command(CmdViewWavetable);
    EXPECT_EQ(Layout(HeadlessMenuBar),
              "&File: &New(1100) - Load Wavetable...(1520) Save Wavetable...(1530) - "
              "Save Wavedata...(1540) Export 2048 Wavetable...(1550) - E&xit(1600)\n" +
                  std::string(EditItems) + " &Morph(2110)\n" + ViewMenu(1) + SynthesizeMenu + Tail);

    Command(CmdViewAdditive);
    EXPECT_EQ(Layout(HeadlessMenuBar),
              "&File: &New(1100) - Load Harmonics...(1610) Save Harmonics...(1710) - E&xit(1600)\n" +
                  std::string(EditItems) + " Positive(2140)* Negative(2150)\n" + ViewMenu(2) + Tail);
    Polarity = 0;
    EXPECT_NE(Layout(DescribeMenuBar()).find("Positive(2140) Negative(2150)*"), std::string::npos);

    Command(CmdViewPadwave);
    EXPECT_EQ(Layout(HeadlessMenuBar),
              "&File: &New(1100) - Save Padwave...(1720) - E&xit(1600)\n"
              "&Edit: &Generate(2120) &x10(2130)\n" + ViewMenu(3) + Tail);
    Command(CmdTimes10);
    EXPECT_EQ(PadwaveTimes10, 1);
    EXPECT_NE(Layout(HeadlessMenuBar).find("&x10(2130)*"), std::string::npos);
    Command(CmdTimes10);
    EXPECT_EQ(PadwaveTimes10, 0);
    EXPECT_NE(Layout(HeadlessMenuBar).find("&x10(2130)\n"), std::string::npos);
}

TEST(Dispatcher, RefreshesExactlyTheCommandsThatChangeTheView) {
    FreshEditor();
    struct Case {
        uint16_t id;
        int32_t view;
        bool refreshes;
    };
    const Case cases[] = {
        {CmdNew, ViewWaveform, true},        {CmdUndo, ViewWaveform, true},
        {CmdCopy, ViewWaveform, false},      {CmdCopy, ViewWavetable, false},
        {CmdAmplify, ViewWavetable, true},   {CmdSine, ViewWaveform, true},
        {CmdMorph, ViewWaveform, true},      {CmdNormalize, ViewAdditive, true},
        {CmdAbout, ViewPadwave, false},      {CmdSaveWaveform, ViewWaveform, false},
        {CmdSaveWavetable, ViewWavetable, false}, {CmdExport2048, ViewWavetable, false},
        {CmdSaveHarmonics, ViewAdditive, false},  {CmdSavePadwave, ViewPadwave, false},
        {CmdStop, ViewWaveform, false},      {CmdTimes10, ViewPadwave, true},
        {CmdSynthAdditive, ViewWaveform, false},  {CmdSynthPadwave, ViewWavetable, false},
        {1234, ViewWaveform, false},         {0, ViewWaveform, false},
    };
    for (const Case& c : cases) {
        ViewMode = c.view;
        FullRepaint = false;
        const int invalidations = HeadlessInvalidations;
        const int builds = HeadlessMenuBarBuilds;
        EXPECT_EQ(CommandDispatcher(HeadlessWindow(), c.id), 0);
        EXPECT_EQ(HeadlessInvalidations - invalidations, c.refreshes ? 1 : 0) << c.id;
        EXPECT_EQ(HeadlessMenuBarBuilds - builds, c.refreshes ? 1 : 0) << c.id;
        EXPECT_EQ(FullRepaint, c.refreshes) << c.id;
    }

    // The low 16 bits of wParam carry the id; the notification code is ignored.
    MainWindowProc(HeadlessWindow(), WM_COMMAND, (1u << 16) | CmdViewWavetable, 0);
    EXPECT_EQ(ViewMode, ViewWavetable);
    EXPECT_EQ(RangeStart, 0);  // switching views leaves the range alone
}

TEST(Dispatcher, MessageBoxesAndExit) {
    FreshEditor();
    Command(CmdViewAdditive);
    Command(CmdNormalize);
    Command(CmdAbout);
    ASSERT_EQ(HeadlessMessageBoxes.size(), 2u);
    EXPECT_EQ(HeadlessMessageBoxes[0].text, "Additive waveforms are automatically normalized.");
    EXPECT_EQ(HeadlessMessageBoxes[0].caption, "QARNO Wavetable Editor");
    EXPECT_EQ(HeadlessMessageBoxes[1].caption, "QARNO Wavetable Maker");
    EXPECT_EQ(HeadlessMessageBoxes[1].text.rfind("QARNO Wavetable Maker\n", 0), 0u);
    Command(CmdExit);
    EXPECT_TRUE(HeadlessDestroyed);
    EXPECT_EQ(HeadlessQuitCode, 0);
}
