#include <map>
#include <set>
#include <tuple>

#include "tests/test_support.h"

// Their accelerators go with the commands: a view without Undo, Cut, Copy or Paste has no
// Ctrl+Z, Ctrl+X, Ctrl+C or Ctrl+V.
TEST(Menus, EachViewOffersItsOwnCommandsCheckMarksAndAccelerators) {
    const std::string edit =
        "&Edit: 2000[Ctrl+Z] - 2010[Ctrl+X] 2020[Ctrl+C] 2030[Ctrl+V] 2040 2050 - "
        "2060 2070 2080 2090 2100 -";
    const std::string synthesize =
        "&Synthesize: 4002 4003 - 3010 3020 3030 3040 3050 3060 - 3200\n";
    const std::string tail = "&Preview: 3090[Space] 3095[Esc] - 0 3110 3120\n&About: 9999\n";
    const std::string file = "&File: 1100[Ctrl+N] 1570 1580 - ";
    const std::string exit = " - 1600[Ctrl+Q]\n";
    const std::string padwave = file + "1720" + exit + "&Edit: 2120 2130";
    const std::string frames = " 2110 - 2200 2210 2220 - 2230 2240 2250 - 2260 2270 2280 2290\n";
    const std::pair<std::vector<uint16_t>, std::string> cases[] = {
        {{CmdViewWaveform},
         file + "1500 1510 1560" + exit + edit + frames + "&View: 2500* 2510 2520 2530\n" +
             synthesize + tail},
        {{CmdViewWavetable},
         file + "1520 1530 - 1540 1545 1550 1560" + exit + edit + frames +
             "&View: 2500 2510* 2520 2530\n" + synthesize + tail},
        {{CmdViewAdditive},
         file + "1610 1710" + exit + edit + " 2140* 2150\n" + "&View: 2500 2510 2520* 2530\n" +
             tail},
        {{CmdViewPadwave, CmdTimes10}, padwave + "*\n&View: 2500 2510 2520 2530*\n" + tail},
        {{CmdTimes10}, padwave + "\n&View: 2500 2510 2520 2530*\n" + tail}};
    FreshEditor();
    for (const auto& [commands, layout] : cases) {
        for (uint16_t command : commands) Command(command);
        EXPECT_EQ(MenuLayout(), layout) << "after command " << commands.back();
    }
}

// The labels as the menus have always shown them, mnemonics included, a line per popup.
TEST(Menus, EveryItemKeepsItsLabel) {
    const std::string file = "&File: &New| Save Project...| Open Project...|";
    const std::string edit = "&Edit: &Undo| Cu&t| &Copy| &Paste| Paste &Mix| C&lear| &Normalize| "
                             "&Amplify| Att&enuate| &Invert| &Reverse|";
    const std::string views = "&View: &Waveform| &Wavetable| &Additive| &Padwave|\n";
    const std::string tail = "&Preview: &Play| &Stop|\n&About: &About|\n";
    const std::string frames = edit +
                               " &Morph| Spectral Morph| Fill Gaps| Fill Gaps Spectral| Remove DC| "
                               "Normalize Each| Align Phase| Low Pass...| High Pass...| Harmonic "
                               "Shift...| Wave Fold...|\n" +
                               views +
                               "&Synthesize: &Additive| &Padwave| Sine| Saw| Ramp| Triangle| "
                               "Square| Random| Formula...|\n" +
                               tail;
    const std::string labels[] = {
        file + " Load Waveform...| Save Waveform...| Import Audio...| E&xit|\n" + frames,
        file +
            " Load Wavetable...| Save Wavetable...| Save Wavedata...| Load Wavedata...| Export "
            "2048 Wavetable...| Import Audio...| E&xit|\n" +
            frames,
        file + " Load Harmonics...| Save Harmonics...| E&xit|\n" + edit + " Positive| Negative|\n" +
            views + tail,
        file + " Save Padwave...| E&xit|\n&Edit: &Generate| &x10|\n" + views + tail};
    FreshEditor();
    int v = 0;
    for (CommandId view : {CmdViewWaveform, CmdViewWavetable, CmdViewAdditive, CmdViewPadwave}) {
        Command(view);
        std::string shown;
        for (const MenuPopup& popup : HeadlessMenuBar) {
            shown += popup.title + ":";
            for (const MenuItem& item : popup.items)
                if (!item.separator && item.id != 0 && item.id != CmdMidiStatus &&
                    item.id != CmdAuditionKeys)
                    shown += " " + item.label + "|";
            shown += "\n";
        }
        EXPECT_EQ(shown, labels[v++]) << view;
    }
}

// Each save dialog suggests a name for what it writes; an open dialog suggests none.
TEST(Menus, SaveDialogsSuggestANameForWhatTheyWrite) {
    const std::tuple<CommandId, CommandId, std::string> saves[] = {
        {CmdViewWaveform, CmdSaveWaveform, "waveform.wav"},
        {CmdViewWavetable, CmdSaveWavetable, "wavetable.wav"},
        {CmdViewWavetable, CmdExport2048, "wavetable.wav"},
        {CmdViewWavetable, CmdSaveWavedata, "wavedata.txt"},
        {CmdViewAdditive, CmdSaveHarmonics, "harmonics.add"},
        {CmdViewPadwave, CmdSavePadwave, "padwave.wav"},
        {CmdViewPadwave, CmdSaveProject, "project.wav"},
        {CmdViewPadwave, CmdOpenProject, ""}};
    FreshEditor();
    for (const auto& [view, command, name] : saves) {
        Command(view);
        Command(command);
        EXPECT_EQ(HeadlessDialogsShown.back().suggestedName, name) << command;
    }
}

// Every command the menus offer somewhere, sent in a view whose menus lack it,
// changes nothing and repaints nothing.
TEST(Menus, CommandOutsideItsViewsMenusDoesNothing) {
    const CommandId views[] = {CmdViewWaveform, CmdViewWavetable, CmdViewAdditive, CmdViewPadwave};
    std::map<CommandId, std::set<CommandId>> offeredIn;
    FreshEditor();
    for (CommandId view : views) {
        Command(view);
        for (const MenuPopup& popup : HeadlessMenuBar)
            for (const MenuItem& item : popup.items) offeredIn[item.id].insert(view);
    }
    for (CommandId view : views) {
        for (const auto& [id, where] : offeredIn) {
            if (id == 0 || where.count(view)) continue;
            FreshEditor();
            Command(view);
            FillTableWithIndices();
            const int builds = HeadlessMenuBarBuilds;
            const int invalidations = HeadlessInvalidations;
            const int32_t mode = ViewMode;
            Command(id);
            EXPECT_TRUE(TableHoldsIndicesOutside(FrameCount, -1)) << id << " in view " << view;
            EXPECT_EQ(ViewMode, mode) << id;
            EXPECT_EQ(HeadlessMenuBarBuilds, builds) << id << " in view " << view;
            EXPECT_EQ(HeadlessInvalidations, invalidations) << id << " in view " << view;
            EXPECT_TRUE(HeadlessMessageBoxes.empty()) << id << " in view " << view;
            EXPECT_TRUE(HeadlessDialogsShown.empty()) << id << " in view " << view;
            EXPECT_FALSE(HeadlessDestroyed) << id << " in view " << view;
        }
    }
}
