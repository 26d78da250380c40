#include "tests/test_support.h"

// The menu bar, a line per popup: the title, then item ids, '-' a separator, '*' a check mark.
static std::string MenuLayout() {
    std::string out;
    for (const MenuPopup& popup : HeadlessMenuBar) {
        out += popup.title + ":";
        for (const MenuItem& item : popup.items) {
            if (item.separator) out += " -";
            else out += " " + std::to_string(item.id) + (item.checked ? "*" : "");
        }
        out += "\n";
    }
    return out;
}

TEST(Menus, EachViewOffersItsOwnCommandsAndCheckMarks) {
    const std::string edit = "&Edit: 2000 - 2010 2020 2030 2040 2050 - 2060 2070 2080 2090 2100 -";
    const std::string synthesize = "&Synthesize: 4002 4003 - 3010 3020 3030 3040 3050 3060\n";
    const std::string tail = "&Preview: 3090 3095\n&About: 9999\n";
    const std::string padwave = "&File: 1100 - 1720 - 1600\n&Edit: 2120 2130";
    const std::pair<std::vector<uint16_t>, std::string> cases[] = {
        {{CmdViewWaveform}, "&File: 1100 - 1500 1510 - 1600\n" + edit + " 2110\n" +
                                "&View: 2500* 2510 2520 2530\n" + synthesize + tail},
        {{CmdViewWavetable}, "&File: 1100 - 1520 1530 - 1540 1550 - 1600\n" + edit + " 2110\n" +
                                 "&View: 2500 2510* 2520 2530\n" + synthesize + tail},
        {{CmdViewAdditive}, "&File: 1100 - 1610 1710 - 1600\n" + edit + " 2140* 2150\n" +
                                "&View: 2500 2510 2520* 2530\n" + tail},
        {{CmdViewPadwave, CmdTimes10}, padwave + "*\n&View: 2500 2510 2520 2530*\n" + tail},
        {{CmdTimes10}, padwave + "\n&View: 2500 2510 2520 2530*\n" + tail}};
    FreshEditor();
    for (const auto& [commands, layout] : cases) {
        for (uint16_t command : commands) Command(command);
        EXPECT_EQ(MenuLayout(), layout) << "after command " << commands.back();
    }
}
