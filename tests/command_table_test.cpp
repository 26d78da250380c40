#include "core/command_table.h"

#include "app/commands.h"
#include "tests/test_support.h"

namespace {

int Runs = 0;
void Count(WindowHandle, CommandId) { ++Runs; }
bool Never(CommandId) { return false; }
bool IsTwo(CommandId id) { return id == 2; }

// A popup whose rows this view lacks is left out; submenu rows gather under one
// title where the first of them stands; a disabled row is shown greyed out and
// its key does nothing.
const CommandRow SmallTable[] = {
    {"A", "one", 1, InWaveform, "", Count, false},
    {"B", "only in Additive", 5, InAdditive, "", Count, false},
    {"A", "two", 2, InEveryView, "", Count, false, IsTwo, "Sub"},
    {"A", nullptr, 0, InEveryView, "", nullptr, false},
    {"A", "three", 3, InEveryView, "Ctrl+T", Count, false, nullptr, "Sub"},
    {"A", "four", 4, InEveryView, "Ctrl+F", Count, false, nullptr, nullptr, Never},
};

} // namespace

TEST(CommandTable, PopupsSubmenusAndDisabledItemsDeriveFromTheRows) {
    FreshEditor();
    InstallCommandTable(SmallTable, std::size(SmallTable));
    ViewMode = ViewWaveform;
    const MenuBar bar = DescribeMenuBar();
    ASSERT_EQ(bar.size(), 1u);
    ASSERT_EQ(bar[0].items.size(), 4u);
    EXPECT_EQ(bar[0].items[0].label, "one");
    const MenuItem& sub = bar[0].items[1];
    EXPECT_EQ(sub.label, "Sub");
    ASSERT_EQ(sub.submenu.size(), 2u);
    EXPECT_TRUE(sub.submenu[0].checked);
    EXPECT_EQ(sub.submenu[1].id, 3);
    EXPECT_TRUE(bar[0].items[2].separator);
    EXPECT_EQ(bar[0].items[3].id, 4);
    EXPECT_FALSE(bar[0].items[3].enabled);

    AttachMenuBar(HeadlessWindow(), bar);
    Runs = 0;
    EXPECT_TRUE(HeadlessPressKey("Ctrl+T"));
    EXPECT_FALSE(HeadlessPressKey("Ctrl+F"));
    EXPECT_EQ(Runs, 1);
    ViewMode = ViewAdditive;
    EXPECT_EQ(DescribeMenuBar().size(), 2u);
    InstallCommands();
}
