// The common dialogs and message boxes as Windows shows them: each dialog is found from a timer
// while it runs, its texts, selection and owner read back, then closed with a button.
#include "core/settings_window/settings_editor.h"
#include "windows/platform/wide_text.h"
#include "windows/ui/settings_window/win32_dialogs.h"
#include "windows/ui/window/controls.h"
#include "windows/ui/window/window.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <dlgs.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <vector>

namespace lumora {
namespace {

// What a look at a running dialog found.
struct Seen {
    bool found = false;
    std::wstring title;
    HWND owner = nullptr;
    std::vector<std::wstring> statics;
    HICON icon = nullptr;
    std::vector<std::wstring> filters;
    int filterSelected = -1;
    std::wstring fileName;
};

// Runs `show` (which shows a modal dialog of this thread); a timer finds the dialog, lets
// `look` read it, then presses `button`. A dialog that never shows leaves `found` false.
struct DialogWatch {
    static inline DialogWatch* current = nullptr;
    std::function<void(HWND, Seen&)> look;
    int button = IDCANCEL;
    Seen seen;
    ULONGLONG deadline = 0;

    void run(const std::function<void()>& show) {
        current = this;
        deadline = GetTickCount64() + 20000;
        const UINT_PTR timer = SetTimer(nullptr, 0, 20, &DialogWatch::tick);
        show();
        KillTimer(nullptr, timer);
        current = nullptr;
    }
    static BOOL CALLBACK dialogOfThread(HWND window, LPARAM found) {
        wchar_t kind[16] = {};
        GetClassNameW(window, kind, 16);
        if (IsWindowVisible(window) && lstrcmpW(kind, L"#32770") == 0) {
            *reinterpret_cast<HWND*>(found) = window;
            return FALSE;
        }
        return TRUE;
    }
    static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD) {
        DialogWatch* self = current;
        if (self == nullptr || self->seen.found) {
            return;
        }
        HWND dialog = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), &DialogWatch::dialogOfThread,
                          reinterpret_cast<LPARAM>(&dialog));
        if (dialog == nullptr) {
            return;
        }
        // Ready once it has its buttons (a file dialog fills its lists while it comes up).
        if (GetDlgItem(dialog, IDCANCEL) == nullptr && GetDlgItem(dialog, IDOK) == nullptr &&
            GetTickCount64() < self->deadline) {
            return;
        }
        self->seen.found = true;
        self->seen.title = windowText(dialog);
        self->seen.owner = GetWindow(dialog, GW_OWNER);
        for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
             child = GetWindow(child, GW_HWNDNEXT)) {
            wchar_t kind[32] = {};
            GetClassNameW(child, kind, 32);
            if (lstrcmpiW(kind, L"Static") == 0) {
                self->seen.statics.push_back(windowText(child));
                if (auto icon = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0))) {
                    self->seen.icon = icon;
                }
            }
        }
        if (self->look) {
            self->look(dialog, self->seen);
        }
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(self->button, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, self->button)));
    }
};

// The owner: a shown window of the test.
struct ShownOwner {
    ShownOwner() {
        window.create({L"owner", WS_OVERLAPPEDWINDOW, 0, 300, 200});
        ShowWindow(window.hwnd(), SW_SHOWNOACTIVATE);
    }
    Window window;
};

std::wstring comboText(HWND combo, int item) {
    const auto length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(item), 0);
    std::wstring text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, L'\0');
    SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(item),
                 reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length > 0 ? length : 0));
    return text;
}

TEST(Win32Dialogs, TheOpenDialogIsSetAsTheChoiceAsks) {
    const OpenFileRequest request = Win32Dialogs::openFileRequest(
        "Lumora - Choose wallpaper to use for Monday", "C:\\pics\\Monday.jpg", kPictureFilter);
    EXPECT_EQ(request.title, L"Lumora - Choose wallpaper to use for Monday");
    EXPECT_EQ(request.flags, 0x200000u | 0x80000u | 0x1000u | 0x800u | 0x4u);
    EXPECT_EQ(request.flags, static_cast<DWORD>(OFN_LONGNAMES | OFN_EXPLORER | OFN_FILEMUSTEXIST |
                                                OFN_PATHMUSTEXIST | OFN_HIDEREADONLY));
    EXPECT_EQ(request.filterIndex, 1u);
    EXPECT_EQ(request.initialFile, L"C:\\pics\\Monday.jpg");
    static const wchar_t kFilter[] = L"Image files (*.jpg; *.gif; *.bmp; *.tga; *.*htm*; *.png)\0"
                                     L"*.jpg; *.gif; *.bmp; *.tga; *.*htm*; *.png\0"
                                     L"All Files (*.*)\0*.*\0";
    EXPECT_EQ(request.filter, std::wstring(kFilter, std::size(kFilter) - 1));
    EXPECT_EQ(request.filter.c_str()[request.filter.size()], L'\0') << "the list ends twice";
}

class OpenDialog : public ::testing::TestWithParam<int> {};

// The dialog shown: its title, the two filter entries with the image entry chosen, the
// previous file named, the shown window as its owner; OK hands the named file back, Cancel
// nothing.
TEST_P(OpenDialog, ShowsTheChoiceAndAnswers) {
    const int button = GetParam();
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() /
        (L"lumora-dialogs-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
         std::to_wstring(button));
    std::filesystem::create_directories(folder);
    const std::filesystem::path picture = folder / L"Grün.jpg";
    std::ofstream(picture) << "not really a picture";
    ShownOwner owner;
    Win32Dialogs dialogs;
    dialogs.setOwner(owner.window.hwnd());
    DialogWatch watch;
    watch.button = button;
    watch.look = [](HWND dialog, Seen& seen) {
        HWND types = GetDlgItem(dialog, cmb1);
        for (int i = 0; i < SendMessageW(types, CB_GETCOUNT, 0, 0); ++i) {
            seen.filters.push_back(comboText(types, i));
        }
        seen.filterSelected = static_cast<int>(SendMessageW(types, CB_GETCURSEL, 0, 0));
        HWND name = GetDlgItem(dialog, edt1) != nullptr ? GetDlgItem(dialog, edt1)
                                                        : GetDlgItem(dialog, cmb13);
        seen.fileName = windowText(name);
    };
    std::optional<std::string> chosen;
    watch.run([&] {
        chosen = dialogs.openFile("Lumora - Choose wallpaper to use for Monday",
                                  utf8FromWide(picture.wstring()), kPictureFilter);
    });
    ASSERT_TRUE(watch.seen.found);
    EXPECT_EQ(watch.seen.title, L"Lumora - Choose wallpaper to use for Monday");
    EXPECT_EQ(watch.seen.owner, owner.window.hwnd());
    EXPECT_EQ(watch.seen.filters, (std::vector<std::wstring>{
                                      L"Image files (*.jpg; *.gif; *.bmp; *.tga; *.*htm*; *.png)",
                                      L"All Files (*.*)"}));
    EXPECT_EQ(watch.seen.filterSelected, 0);
    EXPECT_EQ(watch.seen.fileName, L"Grün.jpg");
    if (button == IDOK) {
        ASSERT_TRUE(chosen.has_value());
        EXPECT_EQ(
            std::filesystem::equivalent(std::filesystem::path(wideFromUtf8(*chosen)), picture),
            true);
    } else {
        EXPECT_FALSE(chosen.has_value());
    }
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
}

INSTANTIATE_TEST_SUITE_P(Buttons, OpenDialog, ::testing::Values(IDOK, IDCANCEL),
                         [](const auto& row) { return row.param == IDOK ? "Ok" : "Cancel"; });

struct ColourRow {
    const char* name;
    std::optional<std::uint32_t> initial;
    int button;
    std::optional<std::uint32_t> answer;
};
const ColourRow kColours[] = {
    {"RedKept", 0x0000FF, IDOK, 0x0000FF},
    {"MixedKept", 0x123456, IDOK, 0x123456},
    {"NoneIsBlack", std::nullopt, IDOK, 0x000000},
    {"CancelGivesNothing", 0x00FF00, IDCANCEL, std::nullopt},
};

class ColourDialog : public ::testing::TestWithParam<ColourRow> {};

// The colour dialog opens on the stored colour: OK at once hands that colour back.
TEST_P(ColourDialog, OpensOnTheStoredColour) {
    const ColourRow& row = GetParam();
    ShownOwner owner;
    Win32Dialogs dialogs;
    dialogs.setOwner(owner.window.hwnd());
    DialogWatch watch;
    watch.button = row.button;
    std::optional<std::uint32_t> answer;
    watch.run([&] { answer = dialogs.chooseColor(row.initial); });
    ASSERT_TRUE(watch.seen.found);
    EXPECT_EQ(watch.seen.owner, owner.window.hwnd());
    EXPECT_EQ(answer, row.answer);
}

INSTANTIATE_TEST_SUITE_P(Rows, ColourDialog, ::testing::ValuesIn(kColours),
                         [](const auto& row) { return std::string(row.param.name); });

struct BoxRow {
    const char* name;
    MessageIcon icon;
    UINT style;
    const wchar_t* systemIcon; // nullptr: none
    const char* title;
    const wchar_t* shownTitle;
};
const BoxRow kBoxes[] = {
    {"Warning", MessageIcon::Warning, 48, IDI_EXCLAMATION, "Lumora", L"Lumora"},
    {"Information", MessageIcon::Information, 64, IDI_ASTERISK, "Lumora - v2.2.4",
     L"Lumora - v2.2.4"},
    {"Critical", MessageIcon::Critical, 16, IDI_HAND, "", L"Lumora"},
    {"Question", MessageIcon::Question, 32, IDI_QUESTION, "Lumora", L"Lumora"},
    {"NoIcon", MessageIcon::None, 0, nullptr, "", L"Lumora"},
};

class MessageBoxes : public ::testing::TestWithParam<BoxRow> {};

// The box: its text, its title ("Lumora" when none is given), its icon, the shown owner.
TEST_P(MessageBoxes, ShowTheirTextTitleAndIcon) {
    const BoxRow& row = GetParam();
    EXPECT_EQ(Win32Dialogs::messageBoxStyle(row.icon), row.style);
    ShownOwner owner;
    Win32Dialogs dialogs;
    dialogs.setOwner(owner.window.hwnd());
    DialogWatch watch;
    watch.button = IDOK;
    watch.run([&] { dialogs.messageBox("Error 5 : Größe ✓", row.title, row.icon); });
    ASSERT_TRUE(watch.seen.found);
    EXPECT_EQ(watch.seen.title, row.shownTitle);
    EXPECT_EQ(watch.seen.owner, owner.window.hwnd());
    EXPECT_NE(std::find(watch.seen.statics.begin(), watch.seen.statics.end(),
                        std::wstring(L"Error 5 : Größe ✓")),
              watch.seen.statics.end());
    EXPECT_EQ(watch.seen.icon, row.systemIcon ? LoadIconW(nullptr, row.systemIcon) : nullptr);
}

INSTANTIATE_TEST_SUITE_P(Rows, MessageBoxes, ::testing::ValuesIn(kBoxes),
                         [](const auto& row) { return std::string(row.param.name); });

// A hidden settings window owns no dialog: the box would otherwise be hidden with it.
TEST(Win32Dialogs, AHiddenWindowOwnsNothing) {
    Window hidden;
    ASSERT_TRUE(hidden.create({L"hidden", WS_OVERLAPPEDWINDOW, 0, 100, 100}));
    Win32Dialogs dialogs;
    dialogs.setOwner(hidden.hwnd());
    EXPECT_EQ(dialogs.owner(), nullptr);
    DialogWatch watch;
    watch.button = IDOK;
    watch.run([&] { dialogs.messageBox("text", "", MessageIcon::None); });
    ASSERT_TRUE(watch.seen.found);
    EXPECT_EQ(watch.seen.owner, nullptr);
    ShowWindow(hidden.hwnd(), SW_SHOWNOACTIVATE);
    EXPECT_EQ(dialogs.owner(), hidden.hwnd());
}

} // namespace
} // namespace lumora
