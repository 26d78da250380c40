#include "tests/test_support.h"

// The menu bar, a line per popup: the title, then item ids, '-' a separator, '*' a check mark,
// the accelerator in brackets.
static std::string MenuLayout() {
    std::string out;
    for (const MenuPopup& popup : HeadlessMenuBar) {
        out += popup.title + ":";
        for (const MenuItem& item : popup.items) {
            if (item.separator)
                out += " -";
            else
                out += " " + std::to_string(item.id) + (item.checked ? "*" : "");
            if (!item.accelerator.empty()) out += "[" + item.accelerator + "]";
        }
        out += "\n";
    }
    return out;
}

// Their accelerators go with the commands: a view without Undo, Cut, Copy or Paste has no
// Ctrl+Z, Ctrl+X, Ctrl+C or Ctrl+V.
TEST(Menus, EachViewOffersItsOwnCommandsCheckMarksAndAccelerators) {
    const std::string edit =
        "&Edit: 2000[Ctrl+Z] - 2010[Ctrl+X] 2020[Ctrl+C] 2030[Ctrl+V] 2040 2050 - "
        "2060 2070 2080 2090 2100 -";
    const std::string synthesize = "&Synthesize: 4002 4003 - 3010 3020 3030 3040 3050 3060\n";
    const std::string tail = "&Preview: 3090[Space] 3095[Esc]\n&About: 9999\n";
    const std::string file = "&File: 1100[Ctrl+N] - ";
    const std::string exit = " - 1600[Ctrl+Q]\n";
    const std::string padwave = file + "1720" + exit + "&Edit: 2120 2130";
    const std::pair<std::vector<uint16_t>, std::string> cases[] = {
        {{CmdViewWaveform},
         file + "1500 1510" + exit + edit + " 2110\n" + "&View: 2500* 2510 2520 2530\n" +
             synthesize + tail},
        {{CmdViewWavetable},
         file + "1520 1530 - 1540 1550" + exit + edit + " 2110\n" +
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
