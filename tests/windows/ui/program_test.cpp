// The Windows program as a whole, over recording windows: start-up in its order with the icon in
// the shell, the second instance's box, the menu's commands and check marks, Exit and the end of
// the session, and `lumora --refresh` reaching a running program or setting today's wallpaper
// once when none runs.
#include "program_rig.h"

#include "core/text/texts.h"

#include "windows/ui/program/command_line.h"
#include "windows/ui/program/refresh_request.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

using testing::ProgramRig;
using testing::pumpUntil;
using testing::shellHasIcon;
using testing::uniqueInstanceName;

const wchar_t* title() {
    return testing::refreshTitle().c_str();
}

std::string joined(const fakes::CallLog& log) {
    std::string out;
    for (const std::string& entry : log) {
        out += (out.empty() ? "" : " | ") + entry;
    }
    return out;
}

TEST(Win32Program, StartsUpInOrderWithTheIconInTheShell) {
    ProgramRig rig;
    ASSERT_TRUE(rig.program->start());
    // The logo, start at logon, today's wallpaper (Wednesday, no picture: the default one, centred,
    // on white), in this order.
    EXPECT_EQ(joined(rig.only("about|autostart|desktop.wallpaper|desktop.color")),
              joined({"about.StrtPrg(1, false)",
                      "autostart.write(" + rig.info.executablePath() + ", true)",
                      "desktop.color(16777215)",
                      "desktop.wallpaper(" + rig.program->state().DefaultPath + ", 0)"}));
    EXPECT_TRUE(shellHasIcon(rig.tray()));
    // The last record the shell got: the first-run advice as a balloon, the tip "Lumora".
    const TrayIconData& record = rig.program->trayModule().data();
    EXPECT_EQ(fieldText(record.szInfo), firstRunText());
    EXPECT_EQ(fieldText(record.szTip), "Lumora");
    EXPECT_EQ(record.uCallbackMessage, 0x200u);
    EXPECT_EQ(runningProgramWindow(title()), rig.tray())
        << "a started program is found by --refresh";
    EXPECT_FALSE(rig.window.shown) << "start-up does not show the settings window";
}

TEST(Win32Program, ASecondInstanceShowsTheBoxAndEndsWithoutAnIcon) {
    const std::string name = uniqueInstanceName();
    ProgramRig first(name);
    ASSERT_TRUE(first.program->start());
    ProgramRig second(name);
    EXPECT_FALSE(second.program->start());
    EXPECT_EQ(joined(second.only("dialogs|about|autostart|desktop")),
              "dialogs.messageBox(" + versionCaption() + ", icon 1)");
    EXPECT_EQ(second.dialogs.lastText, alreadyRunningText());
    EXPECT_FALSE(shellHasIcon(second.tray()));
    EXPECT_TRUE(shellHasIcon(first.tray()));
    EXPECT_EQ(runningProgramWindow(title()), first.tray()) << "--refresh finds the first one only";
}

// Each command of the menu reaches its handler; the check marks shown follow.
TEST(Win32Program, TheMenusCommandsReachTheirHandlers) {
    const struct {
        MenuId id;
        int index;
        const char* prefixes;
        const char* expected;
    } rows[] = {
        {MenuId::mnurefresh, 0, "desktop.wallpaper", "desktop.wallpaper(<default>, 0)"},
        {MenuId::mnuHelp, 0, "help", "help.showHelp"},
        {MenuId::MnAbout, 0, "about|window.hide", "window.hide | about.StrtPrg(0, false)"},
        {MenuId::mnuabout, 0, "window.show|window.setTopMost", "window.show | window.setTopMost"},
        {MenuId::mnuAutoRun, 0, "autostart", "autostart.write(<exe>, false)"},
        {MenuId::sep1, 0, "window|about|help|desktop|autostart", ""},
    };
    for (const auto& row : rows) {
        ProgramRig rig;
        ASSERT_TRUE(rig.program->start());
        rig.log.clear();
        rig.choose(row.id, row.index);
        std::string expected = row.expected;
        for (const auto& [mark, value] :
             {std::pair<std::string, std::string>{"<default>", rig.program->state().DefaultPath},
              {"<exe>", rig.info.executablePath()}}) {
            if (const auto at = expected.find(mark); at != std::string::npos) {
                expected.replace(at, mark.size(), value);
            }
        }
        EXPECT_EQ(joined(rig.only(row.prefixes)), expected) << static_cast<int>(row.id);
    }
}

TEST(Win32Program, CheckMarksShownFollowTheOptions) {
    const struct {
        MenuId id;
        const char* key;
    } rows[] = {{MenuId::MainAbout, "ShowSplsh"}, {MenuId::mnuAlert, "DispMess"}};
    for (const auto& row : rows) {
        ProgramRig rig;
        ASSERT_TRUE(rig.program->start());
        EXPECT_TRUE(rig.menuChecked(row.id)) << row.key;
        rig.choose(row.id);
        EXPECT_FALSE(rig.menuChecked(row.id)) << row.key;
        EXPECT_EQ(rig.stored(row.key), "False");
        rig.choose(row.id);
        EXPECT_TRUE(rig.menuChecked(row.id)) << row.key;
        EXPECT_EQ(rig.stored(row.key), "True");
    }
    // Stored off before start: shown off from start-up on. The message switch of the settings
    // window changes the mark too (through the window's menuChanged).
    ProgramRig rig;
    rig.setOptions("ShowSplsh=False;DispMess=False;AddToReg=0");
    ASSERT_TRUE(rig.program->start());
    EXPECT_FALSE(rig.menuChecked(MenuId::MainAbout));
    EXPECT_FALSE(rig.menuChecked(MenuId::mnuAlert));
    EXPECT_FALSE(rig.menuChecked(MenuId::mnuAutoRun));
    rig.program->logic().editor.Label1_Click(9);
    EXPECT_TRUE(rig.menuChecked(MenuId::mnuAlert));
}

TEST(Win32Program, ExitRemovesTheIconAndEndsOnceNoOtherWindowIsOpen) {
    for (const bool windowOpen : {false, true}) {
        ProgramRig rig;
        ASSERT_TRUE(rig.program->start());
        rig.otherWindowOpen = windowOpen;
        rig.choose(MenuId::mnuexit);
        EXPECT_TRUE(rig.program->unloaded());
        EXPECT_FALSE(shellHasIcon(rig.tray()));
        EXPECT_EQ(rig.only("window.destroy").size(), 1u);
        if (windowOpen) {
            EXPECT_EQ(rig.quits, 0) << "a window still open keeps the program";
            rig.otherWindowOpen = false;
            EXPECT_TRUE(pumpUntil([&] { return rig.quits == 1; }))
                << "the program did not end after its last window closed";
        } else {
            EXPECT_EQ(rig.quits, 1);
        }
        // A second Exit (a menu left open) changes nothing.
        rig.choose(MenuId::mnuexit);
        EXPECT_EQ(rig.only("window.destroy").size(), 1u);
        EXPECT_EQ(rig.quits, 1);
    }
}

// Without being told, the program sees its own windows: a shown window of the window layer keeps
// it, a hidden one does not.
TEST(Win32Program, ExitWaitsForTheProgramsShownWindows) {
    ProgramRig rig(uniqueInstanceName(), true);
    ASSERT_TRUE(rig.program->start());
    Window about;
    ASSERT_TRUE(about.create({L"about", WS_POPUP | WS_BORDER, 0, 100, 80}));
    Window hidden;
    ASSERT_TRUE(hidden.create({L"hidden", WS_POPUP, 0, 100, 80}));
    ShowWindow(about.hwnd(), SW_SHOWNOACTIVATE);
    rig.choose(MenuId::mnuexit);
    ASSERT_TRUE(rig.program->unloaded());
    EXPECT_EQ(rig.quits, 0) << "the shown window did not keep the program";
    about.destroy();
    EXPECT_TRUE(pumpUntil([&] { return rig.quits == 1; }))
        << "the program did not end after its last shown window closed";
}

TEST(Win32Program, ClosingTheSettingsWindowKeepsTheProgram) {
    ProgramRig rig;
    ASSERT_TRUE(rig.program->start());
    rig.choose(MenuId::mnuabout);
    ASSERT_TRUE(rig.window.shown);
    EXPECT_TRUE(rig.program->logic().tray.Form_QueryUnload(vbFormControlMenu));
    EXPECT_FALSE(rig.window.shown);
    EXPECT_TRUE(shellHasIcon(rig.tray()));
    EXPECT_EQ(rig.quits, 0);
}

TEST(Win32Program, TheEndOfTheSessionEndsTheProgramCleanly) {
    ProgramRig rig;
    ASSERT_TRUE(rig.program->start());
    EXPECT_EQ(SendMessageW(rig.tray(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), TRUE);
    // The end cancelled: nothing happens.
    SendMessageW(rig.tray(), WM_ENDSESSION, FALSE, ENDSESSION_LOGOFF);
    EXPECT_FALSE(rig.program->unloaded());
    EXPECT_TRUE(shellHasIcon(rig.tray()));
    rig.choose(MenuId::MainAbout); // a setting changed during the run is in the store at once
    SendMessageW(rig.tray(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    EXPECT_TRUE(rig.program->unloaded());
    EXPECT_FALSE(shellHasIcon(rig.tray()));
    EXPECT_EQ(rig.quits, 1);
    EXPECT_EQ(rig.stored("ShowSplsh"), "False");
}

TEST(Win32Program, RefreshReachesTheRunningProgram) {
    ProgramRig rig;
    ASSERT_TRUE(rig.program->start());
    rig.log.clear();
    RefreshReply reply = askRunningProgramToRefresh(title());
    EXPECT_EQ(reply.status, RefreshReply::Status::Done) << reply.reason;
    EXPECT_EQ(joined(rig.only("desktop.wallpaper")),
              "desktop.wallpaper(" + rig.program->state().DefaultPath + ", 0)");
    // A desktop that refuses: the reason comes back.
    rig.desktop.failWallpaper = true;
    reply = askRunningProgramToRefresh(title());
    EXPECT_EQ(reply.status, RefreshReply::Status::Failed);
    EXPECT_EQ(reply.reason,
              "the desktop refused wallpaper(" + rig.program->state().DefaultPath + ", 0)");
    // A program that was told to end says so.
    rig.otherWindowOpen = true;
    rig.choose(MenuId::mnuexit);
    reply = askRunningProgramToRefresh(title());
    EXPECT_EQ(reply.status, RefreshReply::Status::Failed);
    EXPECT_EQ(reply.reason, "Lumora is ending");
}

TEST(Win32Program, RefreshWithNoneRunningSetsTodaysWallpaperOnce) {
    ASSERT_EQ(runningProgramWindow(title()), nullptr)
        << "a program of an earlier test is still there";
    EXPECT_EQ(askRunningProgramToRefresh(title()).status, RefreshReply::Status::NotRunning);
    ProgramRig rig;
    rig.setDayValue(4, "C:\\pictures\\wednesday.bmp");
    ASSERT_TRUE(rig.program->startOnce());
    EXPECT_EQ(joined(rig.only("about|autostart|desktop.wallpaper|dialogs")),
              "desktop.wallpaper(C:\\pictures\\wednesday.bmp, 2)");
    EXPECT_EQ(rig.program->trayModule().data().uID, 0u) << "no icon";
    EXPECT_FALSE(shellHasIcon(rig.tray()));
    EXPECT_EQ(runningProgramWindow(title()), nullptr) << "a program setting it once is not found";
    EXPECT_TRUE(rig.program->lastApplyResult().ok);
    // While another instance runs, the once-only start gives way without a box.
    ProgramRig running;
    ASSERT_TRUE(running.program->start());
    ProgramRig blocked(running.instanceName);
    EXPECT_FALSE(blocked.program->startOnce());
    EXPECT_TRUE(blocked.only("dialogs").empty());
}

TEST(Win32CommandLine, ReadsTheOptions) {
    const struct {
        std::vector<std::string> arguments;
        CommandLine::Action action;
        const char* error;
    } rows[] = {
        {{}, CommandLine::Action::Run, ""},
        {{"--refresh"}, CommandLine::Action::Refresh, ""},
        {{"-h"}, CommandLine::Action::Help, ""},
        {{"--help"}, CommandLine::Action::Help, ""},
        {{"/?"}, CommandLine::Action::Help, ""},
        {{"--refresh", "--version"}, CommandLine::Action::Version, ""},
        {{"-v"}, CommandLine::Action::Version, ""},
        {{"--quiet"}, CommandLine::Action::Error, "unknown option '--quiet'"},
        {{"C:\\x.bmp"}, CommandLine::Action::Error, "unexpected argument 'C:\\x.bmp'"},
    };
    for (const auto& row : rows) {
        const CommandLine got = parseCommandLine(row.arguments);
        EXPECT_EQ(got.action, row.action) << row.error;
        EXPECT_EQ(got.error, row.error);
    }
    EXPECT_EQ(versionText(), "Lumora " + versionNumber());
    const std::string help = helpText();
    EXPECT_TRUE(help.starts_with("Usage: lumora [options]\n" + versionText() + ": "));
    for (const char* option : {"  -h, --help\n", "  -v, --version\n", "  --refresh\n"}) {
        EXPECT_NE(help.find(option), std::string::npos) << option;
    }
    for (std::size_t start = 0, end; (end = help.find('\n', start)) != std::string::npos;
         start = end + 1) {
        EXPECT_LE(end - start, 79u) << help.substr(start, end - start);
    }
}

} // namespace
} // namespace lumora
