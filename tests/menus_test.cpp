#include <map>
#include <set>
#include <tuple>

#include "tests/test_support.h"

// The labels shown, a line per popup, leaving out separators and the status items.
static std::string MenuLabels() {
    std::string shown;
    for (const MenuPopup& popup : HeadlessMenuBar) {
        shown += popup.title + ":";
        for (const MenuItem& item : popup.items)
            if (!item.separator && item.id != 0 && item.id != CmdMidiStatus &&
                item.id != CmdAuditionKeys)
                shown += " " + item.label + "|";
        shown += "\n";
    }
    return shown;
}

// Each view offers its own commands and labels, accelerators going with their commands (no Undo, no
// Ctrl+Z), save dialogs suggesting names; a command its view does not offer does nothing at all.
TEST(Menus, EachViewOffersItsOwnCommandsLabelsAndSuggestedNamesAndNoOthers) {
    const std::string edit =
        "&Edit: 2000[Ctrl+Z] - 2010[Ctrl+X] 2020[Ctrl+C] 2030[Ctrl+V] 2040 2050 - "
        "2060 2070 2080 2090 2100 -";
    const std::string synthesize =
        "&Synthesize: 4002 4003 - 3010 3020 3030 3040 3050 3060 - 3200 3210\n";
    const std::string tail = "&Preview: 3090[Space] 3095[Esc] - 0 3110 3120\n&About: 9999\n";
    const std::string file = "&File: 1100[Ctrl+N] 1570 1580 - ";
    const std::string exit = " - 1600[Ctrl+Q]\n";
    const std::string padwave = file + "1720" + exit + "&Edit: 2120 2130";
    const std::string frames =
        " 2110 - 2200 2210 2220 - 2230 2240 2250 - 2260 2270 2280 2290 - 2300[Ctrl+H]\n";
    const std::string fileLabels = "&File: &New| Save Project...| Open Project...|";
    const std::string editLabels = "&Edit: &Undo| Cu&t| &Copy| &Paste| Paste &Mix| C&lear| "
                                   "&Normalize| &Amplify| Att&enuate| &Invert| &Reverse|";
    const std::string views = "&View: &Waveform| &Wavetable| &Additive| &Padwave|\n";
    const std::string tailLabels = "&Preview: &Play| &Stop|\n&About: &About|\n";
    const std::string frameLabels =
        editLabels +
        " &Morph| Spectral Morph| Fill Gaps| Fill Gaps Spectral| Remove DC| Normalize Each| Align "
        "Phase| Low Pass...| High Pass...| Harmonic Shift...| Wave Fold...| History...|\n" +
        views +
        "&Synthesize: &Additive| &Padwave| Sine| Saw| Ramp| Triangle| Square| Random| "
        "Formula...| Script...|\n" +
        tailLabels;
    const std::string padLabels =
        fileLabels + " Save Padwave...| E&xit|\n&Edit: &Generate| &x10|\n" + views + tailLabels;
    using Saves = std::vector<std::pair<CommandId, std::string>>;
    const std::tuple<std::vector<uint16_t>, std::string, std::string, Saves> cases[] = {
        {{CmdViewWaveform},
         file + "1500 1510 1560" + exit + edit + frames + "&View: 2500* 2510 2520 2530\n" +
             synthesize + tail,
         fileLabels + " Load Waveform...| Save Waveform...| Import Audio...| E&xit|\n" +
             frameLabels,
         {{CmdSaveWaveform, "waveform.wav"}}},
        {{CmdViewWavetable},
         file + "1520 1530 - 1540 1545 1550 1590 1595 1560" + exit + edit + frames +
             "&View: 2500 2510* 2520 2530\n" + synthesize + tail,
         fileLabels +
             " Load Wavetable...| Save Wavetable...| Save Wavedata...| Load Wavedata...| Export "
             "2048 Wavetable...| Export For...| Import Wavetable...| Import Audio...| E&xit|\n" +
             frameLabels,
         {{CmdSaveWavetable, "wavetable.wav"},
          {CmdExport2048, "wavetable.wav"},
          {CmdSaveWavedata, "wavedata.txt"}}},
        {{CmdViewAdditive},
         file + "1610 1710" + exit + edit + " 2140* 2150 - 2300[Ctrl+H]\n" +
             "&View: 2500 2510 2520* 2530\n" + tail,
         fileLabels + " Load Harmonics...| Save Harmonics...| E&xit|\n" + editLabels +
             " Positive| Negative| History...|\n" + views + tailLabels,
         {{CmdSaveHarmonics, "harmonics.add"}}},
        {{CmdViewPadwave, CmdTimes10},
         padwave + "*\n&View: 2500 2510 2520 2530*\n" + tail,
         padLabels,
         {{CmdSavePadwave, "padwave.wav"}, {CmdSaveProject, "project.wav"}, {CmdOpenProject, ""}}},
        {{CmdTimes10}, padwave + "\n&View: 2500 2510 2520 2530*\n" + tail, padLabels, {}}};
    std::map<CommandId, std::set<int32_t>> offeredIn;
    FreshEditor();
    for (const auto& [commands, layout, labels, saves] : cases) {
        for (uint16_t command : commands) Command(command);
        EXPECT_EQ(MenuLayout(), layout) << "after command " << commands.back();
        EXPECT_EQ(MenuLabels(), labels) << "after command " << commands.back();
        for (const auto& [command, name] : saves) {
            Command(command);
            EXPECT_EQ(HeadlessDialogsShown.back().suggestedName, name) << command;
        }
        for (const MenuPopup& popup : HeadlessMenuBar)
            for (const MenuItem& item : popup.items) offeredIn[item.id].insert(ViewMode);
    }
    const auto state = [] {
        return std::make_tuple(ViewMode, HeadlessMenuBarBuilds, HeadlessInvalidations,
                               HeadlessMessageBoxes.size(), HeadlessDialogsShown.size(),
                               HeadlessDestroyed);
    };
    for (CommandId view : {CmdViewWaveform, CmdViewWavetable, CmdViewAdditive, CmdViewPadwave}) {
        for (const auto& [id, where] : offeredIn) {
            FreshEditor();
            Command(view);
            if (id == 0 || where.count(ViewMode)) continue;
            FillTableWithIndices();
            const auto before = state();
            Command(id);
            EXPECT_TRUE(TableHoldsIndicesOutside(FrameCount, -1)) << id << " in view " << view;
            EXPECT_EQ(state(), before) << id << " in view " << view;
        }
    }
}
