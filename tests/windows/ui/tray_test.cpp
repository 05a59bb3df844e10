// The tray menu as Windows shows it, read back item by item; the hidden window's decoding of the
// icon's callback; the icon coming back when the shell starts again; the menu popped up.
// The core's headers come first (through the rig), then those that include <windows.h>.
#include "program_rig.h"
#include "window_capture.h"

#include "windows/ui/tray/win32_tray_menu.h"
#include "windows/ui/tray/win32_tray_window.h"

#include <gtest/gtest.h>

#include <vector>

namespace lumora {
namespace {

using testing::ProgramRig;
using testing::pumpUntil;
using testing::shellHasIcon;

struct ShownItem {
    const wchar_t* text; // nullptr: a separator
    wchar_t accessKey;   // 0: none
    bool checked;
    bool isDefault;
};

// The menu as designed, top to bottom: captions, access keys, check marks, the default item.
const ShownItem kDesigned[] = {
    {L"&Refresh Wallpaper", L'r', false, false},
    {L"E&xit", L'x', false, false},
    {nullptr, 0, false, false},
    {L"&Sunday...", L's', false, false},
    {L"&Monday...", L'm', false, false},
    {L"&Tuesday...", L't', false, false},
    {L"&Wednesday", L'w', false, false},
    {L"T&hursday...", L'h', false, false},
    {L"&Friday...", L'f', false, false},
    {L"S&aturday...", L'a', false, false},
    {nullptr, 0, false, false},
    {L"Autom&atically Run at Startup", L'a', false, false},
    {L"Display Alert Messages", 0, true, false},
    {L"Show Logo at startup", 0, true, false},
    {L"Set Desktop &Color", L'c', false, false},
    {nullptr, 0, false, false},
    {L"&Lumora Settings", L'l', false, true},
    {L"&Help\tF1", L'h', false, false},
    {L"About...", 0, false, false},
};

struct ReadItem {
    bool separator = false;
    std::wstring text;
    bool checked = false;
    UINT id = 0;
};

ReadItem readItem(HMENU menu, UINT position) {
    wchar_t buffer[128] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_STRING;
    info.dwTypeData = buffer;
    info.cch = static_cast<UINT>(std::size(buffer));
    EXPECT_TRUE(GetMenuItemInfoW(menu, position, TRUE, &info)) << position;
    return {(info.fType & MFT_SEPARATOR) != 0, buffer, (info.fState & MFS_CHECKED) != 0, info.wID};
}

// The character after a single "&", lower case.
wchar_t accessKeyOf(const std::wstring& text) {
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == L'&') {
            if (text[i + 1] == L'&') {
                ++i;
                continue;
            }
            return static_cast<wchar_t>(towlower(text[i + 1]));
        }
    }
    return 0;
}

TEST(TrayMenuWin32, ShowsEveryItemInOrderWithItsKeySeparatorsChecksAndDefault) {
    TrayMenu tree;
    Win32TrayMenu menu(tree);
    ASSERT_EQ(GetMenuItemCount(menu.menu()), static_cast<int>(std::size(kDesigned)));
    const UINT defaultItem = GetMenuDefaultItem(menu.menu(), FALSE, 0);
    for (UINT i = 0; i < std::size(kDesigned); ++i) {
        const ShownItem& want = kDesigned[i];
        const ReadItem got = readItem(menu.menu(), i);
        SCOPED_TRACE(i);
        EXPECT_EQ(got.separator, want.text == nullptr);
        if (want.text != nullptr) {
            EXPECT_EQ(got.text, want.text);
            EXPECT_EQ(accessKeyOf(got.text), want.accessKey);
        }
        EXPECT_EQ(got.checked, want.checked);
        EXPECT_EQ(got.id == defaultItem, want.isDefault);
        // The command id leads back to the tree's item.
        const auto item = menu.itemOf(got.id);
        ASSERT_TRUE(item.has_value());
        EXPECT_EQ(menu.commandOf(item->first, item->second), got.id);
    }
    EXPECT_EQ(menu.itemOf(menu.commandOf(MenuId::mnuday, 4)), (std::pair{MenuId::mnuday, 4}));
    EXPECT_FALSE(menu.itemOf(Win32TrayMenu::kFirstCommand - 1).has_value());
    EXPECT_FALSE(
        menu.itemOf(Win32TrayMenu::kFirstCommand + static_cast<UINT>(std::size(kDesigned))));
}

TEST(TrayMenuWin32, CheckMarksFollowTheTree) {
    const struct {
        MenuId id;
        bool checked;
    } rows[] = {{MenuId::mnuAutoRun, true},
                {MenuId::mnuAlert, false},
                {MenuId::MainAbout, false},
                {MenuId::mnuAutoRun, false},
                {MenuId::mnuAlert, true}};
    TrayMenu tree;
    Win32TrayMenu menu(tree);
    for (const auto& row : rows) {
        tree.setChecked(row.id, row.checked);
        const UINT command = menu.commandOf(row.id);
        const bool before = (GetMenuState(menu.menu(), command, MF_BYCOMMAND) & MF_CHECKED) != 0;
        menu.sync();
        const bool after = (GetMenuState(menu.menu(), command, MF_BYCOMMAND) & MF_CHECKED) != 0;
        EXPECT_EQ(after, row.checked) << static_cast<int>(row.id);
        EXPECT_EQ(before, !row.checked) << "the menu changed before it was told";
    }
}

// The callback in version-4 form: the mouse message in lParam's low word, the icon's id above.
TEST(TrayWindowWin32, DecodesTheIconsCallbackIntoTheCoresActions) {
    const struct {
        UINT mouse;
        const char* expected; // the window's calls it makes, "" for none
    } rows[] = {
        {WM_LBUTTONDBLCLK, "window.show window.setTopMost"},
        {WM_RBUTTONDOWN, "window.popupMenu"},
        {WM_LBUTTONDOWN, ""},
        {WM_LBUTTONUP, ""},
        {WM_RBUTTONUP, ""},
        {WM_MOUSEMOVE, ""},
        {WM_CONTEXTMENU, ""},
        {NIN_SELECT, ""},
    };
    // One program for every row: a removed icon costs Wine two seconds.
    ProgramRig rig;
    ASSERT_TRUE(rig.program->start());
    for (const auto& row : rows) {
        rig.log.clear();
        SendMessageW(rig.tray(), WM_MOUSEMOVE, MAKEWPARAM(200, 700),
                     MAKELPARAM(row.mouse, kTrayIconId));
        std::string calls;
        for (const std::string& entry :
             rig.only("window.show|window.setTopMost|window.popupMenu")) {
            calls += (calls.empty() ? "" : " ") + entry;
        }
        EXPECT_EQ(calls, row.expected) << row.mouse;
    }
}

TEST(TrayWindowWin32, TheIconComesBackWhenTheShellStartsAgain) {
    ProgramRig rig;
    ASSERT_TRUE(rig.program->start());
    ASSERT_TRUE(shellHasIcon(rig.tray())) << "no notification area in this session";
    // The shell forgets the icon, as a restarted shell has.
    NOTIFYICONDATAW gone{};
    gone.cbSize = sizeof gone;
    gone.hWnd = rig.tray();
    gone.uID = kTrayIconId;
    ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &gone));
    ASSERT_FALSE(shellHasIcon(rig.tray()));
    SendMessageW(rig.tray(), ShellTrayHost::taskbarCreatedMessage(), 0, 0);
    EXPECT_TRUE(shellHasIcon(rig.tray()));
    // Gone for good after Exit: a shell that starts again does not bring it back.
    rig.choose(MenuId::mnuexit);
    EXPECT_FALSE(shellHasIcon(rig.tray()));
    SendMessageW(rig.tray(), ShellTrayHost::taskbarCreatedMessage(), 0, 0);
    EXPECT_FALSE(shellHasIcon(rig.tray()));
}

// A right-button press on the icon pops the menu up at the mouse (the settings window's
// popupMenu is the tray window's here); it is open until it is closed, and a choice made in it
// reaches the core's handler.
TEST(TrayWindowWin32, TheMenuPopsUpAtTheMouseAndAChoiceReachesItsHandler) {
    ProgramRig rig;
    rig.window.onPopup = [&rig] { rig.program->trayWindow().popupMenu(); };
    ASSERT_TRUE(rig.program->start());
    SetCursorPos(300, 200);
    static HWND menuWindow;
    static RECT menuRect;
    static bool sawOpen;
    menuWindow = nullptr;
    sawOpen = false;
    // Inside the menu's own loop: find the menu window, look at it, then choose "&Lumora Settings"
    // by its access key.
    static ProgramRig* current;
    current = &rig;
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR id, DWORD) {
        HWND found = FindWindowW(L"#32768", nullptr);
        if (found == nullptr || !IsWindowVisible(found)) {
            return;
        }
        KillTimer(nullptr, id);
        menuWindow = found;
        GetWindowRect(found, &menuRect);
        sawOpen = current->program->trayWindow().menu().isOpen();
        test::saveScreenshot(test::capture(found, false), "tray_menu");
        PostMessageW(found, WM_CHAR, L'l', 0);
    });
    rig.log.clear();
    SendMessageW(rig.tray(), WM_MOUSEMOVE, 0, MAKELPARAM(WM_RBUTTONDOWN, kTrayIconId));
    KillTimer(nullptr, timer);
    ASSERT_NE(menuWindow, nullptr) << "no menu window was seen";
    EXPECT_TRUE(sawOpen);
    EXPECT_FALSE(rig.program->trayWindow().menu().isOpen());
    EXPECT_EQ(menuRect.left, 300);
    EXPECT_EQ(menuRect.top, 200);
    // The choice arrives as WM_COMMAND after the menu has closed.
    EXPECT_TRUE(pumpUntil([&] { return !rig.only("window.show").empty(); }))
        << "the access key did not choose the settings item; the calls: " << [&] {
               std::string calls;
               for (const std::string& entry : rig.log) {
                   calls += entry + "; ";
               }
               return calls;
           }();
}

} // namespace
} // namespace lumora
