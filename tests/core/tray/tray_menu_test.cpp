// The tray menu tree: order, captions, access keys, separators, check marks, default item.
#include "core/fakes/fakes.h"

using namespace lumora;

namespace {

// One item on a line: name, index when it has one, caption, then its access key, separator,
// check box and mark, default and shortcut.
std::string describe(const MenuItem& m) {
    std::string out =
        m.name + (m.index ? "(" + std::to_string(m.index) + ")" : "") + " \"" + m.caption + "\"";
    if (char key = TrayMenu::accessKey(m.caption)) {
        out += std::string(" key ") + key;
    }
    out += std::string(m.separator() ? " separator" : "") + (m.checkable ? " checkable" : "") +
           (m.checked ? " checked" : "") + (m.isDefault ? " default" : "");
    return out + (m.shortcut.empty() ? "" : " " + m.shortcut);
}

TEST(MenuTree, HoldsTheItemsAsDesigned) {
    TrayMenu menu;
    std::vector<std::string> items;
    for (const MenuItem& m : menu.items()) {
        items.push_back(describe(m));
        EXPECT_EQ(menu.find(m.id, m.index), &m);
    }
    for (auto [caption, key] :
         {std::pair{"x&", '\0'}, {"a&&b", '\0'}, {"a&&b&C", 'c'}, {"", '\0'}}) {
        EXPECT_EQ(TrayMenu::accessKey(caption), key) << caption;
    }
    EXPECT_EQ(items, (std::vector<std::string>{
                         "mnurefresh \"&Refresh Wallpaper\" key r",
                         "mnuexit \"E&xit\" key x",
                         "sep1 \"-\" separator",
                         "mnuday(1) \"&Sunday...\" key s",
                         "mnuday(2) \"&Monday...\" key m",
                         "mnuday(3) \"&Tuesday...\" key t",
                         "mnuday(4) \"&Wednesday\" key w",
                         "mnuday(5) \"T&hursday...\" key h",
                         "mnuday(6) \"&Friday...\" key f",
                         "mnuday(7) \"S&aturday...\" key a",
                         "sep2 \"-\" separator",
                         "mnuAutoRun \"Autom&atically Run at Startup\" key a checkable",
                         "mnuAlert \"Display Alert Messages\" checkable checked",
                         "MainAbout \"Show Logo at startup\" checkable checked",
                         "DeskCol \"Set Desktop &Color\" key c",
                         "sep22 \"-\" separator",
                         "mnuabout \"&Lumora Settings\" key l default",
                         "mnuHelp \"&Help\" key h F1",
                         "MnAbout \"About...\"",
                     }));
}

} // namespace
