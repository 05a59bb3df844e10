// The tray menu tree: order, captions, access keys, separators, check marks, default item.
#include "core/tray/tray_menu.h"

#include <gtest/gtest.h>

#include <string>

using namespace lumora;

namespace {

struct ItemRow {
    std::size_t position;
    const char* name;
    int index;
    const char* caption;
    char accessKey;
    bool checkable;
    bool checked;
    bool isDefault;
    const char* shortcut;
};

class MenuTree : public ::testing::TestWithParam<ItemRow> {};

TEST_P(MenuTree, HoldsTheItemAsDesigned) {
    const ItemRow& row = GetParam();
    TrayMenu menu;
    ASSERT_EQ(menu.items().size(), 19u);
    const MenuItem& m = menu.items().at(row.position);
    EXPECT_EQ(m.name, row.name);
    EXPECT_EQ(m.index, row.index);
    EXPECT_EQ(m.caption, row.caption);
    EXPECT_EQ(m.separator(), std::string(row.caption) == "-");
    EXPECT_EQ(TrayMenu::accessKey(m.caption), row.accessKey);
    EXPECT_EQ(m.checkable, row.checkable);
    EXPECT_EQ(m.checked, row.checked);
    EXPECT_EQ(m.isDefault, row.isDefault);
    EXPECT_EQ(m.shortcut, row.shortcut);
    EXPECT_EQ(menu.find(m.id, m.index), &m);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, MenuTree,
    ::testing::Values(
        ItemRow{0, "mnurefresh", 0, "&Refresh Wallpaper", 'r', false, false, false, ""},
        ItemRow{1, "mnuexit", 0, "E&xit", 'x', false, false, false, ""},
        ItemRow{2, "sep1", 0, "-", 0, false, false, false, ""},
        ItemRow{3, "mnuday", 1, "&Sunday...", 's', false, false, false, ""},
        ItemRow{4, "mnuday", 2, "&Monday...", 'm', false, false, false, ""},
        ItemRow{5, "mnuday", 3, "&Tuesday...", 't', false, false, false, ""},
        ItemRow{6, "mnuday", 4, "&Wednesday", 'w', false, false, false, ""},
        ItemRow{7, "mnuday", 5, "T&hursday...", 'h', false, false, false, ""},
        ItemRow{8, "mnuday", 6, "&Friday...", 'f', false, false, false, ""},
        ItemRow{9, "mnuday", 7, "S&aturday...", 'a', false, false, false, ""},
        ItemRow{10, "sep2", 0, "-", 0, false, false, false, ""},
        ItemRow{11, "mnuAutoRun", 0, "Autom&atically Run at Startup", 'a', true, false, false, ""},
        ItemRow{12, "mnuAlert", 0, "Display Alert Messages", 0, true, true, false, ""},
        ItemRow{13, "MainAbout", 0, "Show Logo at startup", 0, true, true, false, ""},
        ItemRow{14, "DeskCol", 0, "Set Desktop &Color", 'c', false, false, false, ""},
        ItemRow{15, "sep22", 0, "-", 0, false, false, false, ""},
        ItemRow{16, "mnuabout", 0, "&Lumora Settings", 'l', false, false, true, ""},
        ItemRow{17, "mnuHelp", 0, "&Help", 'h', false, false, false, "F1"},
        ItemRow{18, "MnAbout", 0, "About...", 0, false, false, false, ""}),
    [](const auto& row) { return "At" + std::to_string(row.param.position); });

TEST(MenuTree, ExactlyOneDefaultItem) {
    TrayMenu menu;
    int defaults = 0;
    for (const auto& m : menu.items()) {
        defaults += m.isDefault ? 1 : 0;
    }
    EXPECT_EQ(defaults, 1);
}

TEST(MenuTree, CheckMarksChangeOnlyTheirItem) {
    TrayMenu menu;
    menu.setChecked(MenuId::mnuAutoRun, true);
    menu.setChecked(MenuId::mnuAlert, false);
    EXPECT_TRUE(menu.checked(MenuId::mnuAutoRun));
    EXPECT_FALSE(menu.checked(MenuId::mnuAlert));
    EXPECT_TRUE(menu.checked(MenuId::MainAbout));
}

struct KeyRow {
    const char* caption;
    char key;
};

class AccessKeys : public ::testing::TestWithParam<KeyRow> {};

TEST_P(AccessKeys, AreTheCharacterAfterTheAmpersand) {
    EXPECT_EQ(TrayMenu::accessKey(GetParam().caption), GetParam().key);
}

INSTANTIATE_TEST_SUITE_P(Rows, AccessKeys,
                         ::testing::Values(KeyRow{"&A", 'a'}, KeyRow{"x&", 0}, KeyRow{"a&&b", 0},
                                           KeyRow{"a&&b&C", 'c'}, KeyRow{"", 0}));

} // namespace
