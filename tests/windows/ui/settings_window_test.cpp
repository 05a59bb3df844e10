// The settings window under Wine, made in-process over the core's routines with recording fakes
// around them: every control's text, rectangle and tip, the colours drawn into a bitmap, clicks,
// hovers, choosing and removing a day's picture, Apply, the blink, the caption clock, the close
// box and activation.
#include "core/fakes/fakes.h"
#include "core/settings_window/settings_spot_rows.h"
#include "core/text/translation.h"
#include "windows/platform/wide_text.h"
#include "windows/platform/win32_resources.h"
#include "windows/ui/settings_window/thumbnail_cache.h"
#include "windows/ui/settings_window/win32_frm_main.h"

#include <gtest/gtest.h>

#include <objbase.h>

#include <cstdlib>
#include <cstring>

namespace lumora {
namespace {

using namespace lumora::fakes;

// COM for the test's thread, as the program has it.
struct ComScope {
    ComScope() : done(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComScope() {
        if (done) {
            CoUninitialize();
        }
    }
    bool done;
};

// The clock at a moment the test moves.
struct MovingClock : FakeClock {
    using FakeClock::FakeClock;
    DateTime now() const override { return when; }
    DateTime when{2027, 2, 3, 9, 5, 7, 4}; // a Wednesday
};

// The settings window over the core's routines, with the fakes of the core's tests around it.
struct WindowRig : StoreRig {
    FrmMainState state;
    TrayMenu menu;
    FakeTrayHost host{log};
    TrayModule tray{host};
    FakeEngine engine{log};
    RecordingDesktop desktop{log};
    FakeInstance instance{log};
    ScriptedDialogs dialogs{log};
    FakeAutostart autostart{log};
    FixedProgram program;
    MovingClock clock{log};
    Win32Resources resources;
    Win32FrmMain window{resources};
    TrayAlerts alerts{tray, window};
    FakeAbout about{log};
    FakeHelp help{log};
    FakePreview preview{log};
    FakeDaySource days;
    FrmMainLogic logic{FrmMainServices{state, options, registry, engine, desktop, instance, dialogs,
                                       autostart, program, clock, tray, menu, alerts, window, about,
                                       help, preview, days}};
    SettingsEditor& editor = logic.editor;

    WindowRig() {
        connectFrmMain(window, logic);
        // The day's copy is the chosen file itself: the thumbnail then shows what was chosen.
        engine.onTransf = [this](const std::string& source, int d) { setDayValue(d, source); };
    }
    ~WindowRig() { window.destroyWindow(); }
    // Started hidden in the notification area, then opened from the menu.
    void open() {
        option("ShowSplsh", "False");
        ASSERT_TRUE(logic.startUp.Form_Load());
        logic.tray.mnuabout_Click();
        ASSERT_TRUE(window.isShown());
    }
};

// A scratch folder of the test's own, removed with it.
struct Scratch {
    Scratch() {
        folder = std::filesystem::temp_directory_path() /
                 (L"lumora-settings-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                  std::to_wstring(++count));
        std::filesystem::create_directories(folder);
    }
    ~Scratch() {
        std::error_code ec;
        std::filesystem::remove_all(folder, ec);
    }
    // A 24-bit BMP of width x height with each pixel from `colour(x, y)`; its path in UTF-8.
    template <class Colour>
    std::string bmp(const std::wstring& name, int width, int height, Colour colour) const {
        const int stride = (width * 3 + 3) & ~3;
        std::vector<std::uint8_t> bytes(54 + static_cast<std::size_t>(stride * height), 0);
        BITMAPFILEHEADER file{0x4D42, static_cast<DWORD>(bytes.size()), 0, 0, 54};
        BITMAPINFOHEADER info{};
        info.biSize = sizeof info;
        info.biWidth = width;
        info.biHeight = height; // bottom-up
        info.biPlanes = 1;
        info.biBitCount = 24;
        std::memcpy(bytes.data(), &file, sizeof file);
        std::memcpy(bytes.data() + 14, &info, sizeof info);
        for (int y = 0; y < height; ++y) {
            std::uint8_t* row = bytes.data() + 54 + (height - 1 - y) * stride;
            for (int x = 0; x < width; ++x) {
                const COLORREF c = colour(x, y);
                row[x * 3] = GetBValue(c);
                row[x * 3 + 1] = GetGValue(c);
                row[x * 3 + 2] = GetRValue(c);
            }
        }
        const std::filesystem::path path = folder / name;
        writeBytes(path, bytes);
        return utf8FromWide(path.wstring());
    }
    std::filesystem::path folder;
    static inline int count = 0;
};

// The window drawn into a bitmap as WM_PRINTCLIENT draws it, children included.
struct Snapshot {
    explicit Snapshot(Win32FrmMain& window) {
        RECT client{};
        GetClientRect(window.hwnd(), &client);
        dib = makeDib(client.right, client.bottom);
        HDC dc = CreateCompatibleDC(nullptr);
        {
            const Selection selected(dc, dib.bitmap.get());
            SendMessageW(window.hwnd(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc),
                         PRF_CLIENT | PRF_CHILDREN | PRF_ERASEBKGND);
        }
        DeleteDC(dc);
        GdiFlush();
    }
    COLORREF at(int x, int y) const {
        const std::uint32_t p = dib.pixels[static_cast<std::size_t>(y * dib.width + x)];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    // How many pixels of `r` have the colour.
    int count(const RECT& r, COLORREF colour) const {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y) {
            for (int x = r.left; x < r.right; ++x) {
                n += at(x, y) == colour ? 1 : 0;
            }
        }
        return n;
    }
    // Saved as a BMP when LUMORA_SCREENSHOT_DIR names a folder (to be looked at, not compared).
    void saveIfAsked(const wchar_t* name) const {
        const wchar_t* folder = _wgetenv(L"LUMORA_SCREENSHOT_DIR");
        if (folder == nullptr || *folder == L'\0') {
            return;
        }
        const std::size_t size =
            dib.pixels == nullptr
                ? 0
                : static_cast<std::size_t>(dib.width) * static_cast<std::size_t>(dib.height) * 4;
        std::vector<std::uint8_t> bytes(54 + size);
        BITMAPFILEHEADER file{0x4D42, static_cast<DWORD>(bytes.size()), 0, 0, 54};
        BITMAPINFOHEADER info{};
        info.biSize = sizeof info;
        info.biWidth = dib.width;
        info.biHeight = -dib.height;
        info.biPlanes = 1;
        info.biBitCount = 32;
        std::memcpy(bytes.data(), &file, sizeof file);
        std::memcpy(bytes.data() + 14, &info, sizeof info);
        std::memcpy(bytes.data() + 54, dib.pixels, size);
        writeBytes(std::filesystem::path(folder) / name, bytes);
    }
    Dib dib;
};

// The centre of a child in its parent's client area.
POINT centreOf(HWND control) {
    const RECT r = childRect(control);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// A press and a release at the control's centre, as the mouse gives them.
void click(HWND control) {
    const RECT r = childRect(control);
    const LPARAM at = MAKELPARAM((r.right - r.left) / 2, (r.bottom - r.top) / 2);
    SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(control, WM_LBUTTONUP, 0, at);
}

void moveOver(HWND window) {
    SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
}

RECT scaledRect(const Win32FrmMain& window, RECT at96) {
    return {window.scaled(static_cast<int>(at96.left)), window.scaled(static_cast<int>(at96.top)),
            window.scaled(static_cast<int>(at96.right)),
            window.scaled(static_cast<int>(at96.bottom))};
}

bool sameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

HWND controlOf(Win32FrmMain& w, ControlArray array, int index) {
    switch (array) {
    case ControlArray::Label1:
        return w.label1(index);
    case ControlArray::Label2:
        return w.label2(index);
    case ControlArray::Label3:
        return w.label3(index);
    case ControlArray::Image1:
        return w.image1(index);
    }
    return nullptr;
}

RECT at96(const LayoutRect& r) {
    return {r.left, r.top, r.right(), r.bottom()};
}

COLORREF colourOf(Colorref c) {
    return RGB(c.red(), c.green(), c.blue());
}

const LabelView& labelOf(const SettingsView& view, ControlArray array, int index) {
    const auto i = static_cast<std::size_t>(index);
    return array == ControlArray::Label1   ? view.label1.at(i)
           : array == ControlArray::Label2 ? view.label2.at(i)
                                           : view.label3.at(i);
}

// Every control of the layout table: a real static child where the table puts it at the
// window's DPI, aligned as it says, showing the caption, tip and colour of the view; then the
// rows written out by hand.
TEST(SettingsWindow, EveryControlSitsWhereItBelongsAndSaysWhatItShould) {
    WindowRig rig;
    rig.open();
    const SettingsView view = rig.editor.view();
    const Snapshot snapshot(rig.window);
    for (const LayoutControl& c : settingsControls()) {
        const std::string name = controlName(c.array, c.index);
        HWND control = controlOf(rig.window, c.array, c.index);
        ASSERT_NE(control, nullptr) << name;
        EXPECT_TRUE(sameRect(childRect(control), scaledRect(rig.window, at96(c.rect)))) << name;
        wchar_t kind[32] = {};
        GetClassNameW(control, kind, 32);
        EXPECT_EQ(lstrcmpiW(kind, L"Static"), 0) << name << ": a child a screen reader can read";
        const LONG_PTR style = GetWindowLongPtrW(control, GWL_STYLE);
        EXPECT_NE(style & SS_NOTIFY, 0) << name;
        EXPECT_EQ((style & SS_TYPEMASK) == SS_CENTER, c.align == CaptionAlign::Centre) << name;
        if (c.array == ControlArray::Image1) {
            EXPECT_EQ(
                rig.window.tipOf(control),
                wideFromUtf8(translated(view.image1.at(static_cast<std::size_t>(c.index)).toolTip)))
                << name;
            continue;
        }
        const LabelView& label = labelOf(view, c.array, c.index);
        EXPECT_EQ(windowText(control), wideFromUtf8(translated(label.caption))) << name;
        EXPECT_EQ(rig.window.tipOf(control), wideFromUtf8(translated(label.toolTip))) << name;
        EXPECT_EQ(IsWindowVisible(control) != FALSE, label.visible) << name;
        if (label.visible && !label.caption.empty()) {
            EXPECT_GT(snapshot.count(childRect(control), colourOf(label.colour)), 0)
                << name << ": the caption is drawn in its colour";
        }
    }
    // Each shape of the table is drawn in its colour: a filled one throughout its corner, an
    // outline along its top edge.
    for (const LayoutShape& shape : settingsShapes()) {
        const RECT r = scaledRect(rig.window, at96(shape.rect));
        const RECT edge{r.left + 1, r.top, r.right - 1, r.top + 1};
        EXPECT_EQ(snapshot.count(shape.filled ? RECT{r.left, r.top, r.left + 2, r.top + 2} : edge,
                                 colourOf(shape.colour)),
                  shape.filled ? 4 : edge.right - edge.left)
            << shapeName(shape.array, shape.index);
    }
    for (const test::SpotRow& row : test::kSpotRows) {
        HWND control = controlOf(rig.window, row.array, row.index);
        ASSERT_NE(control, nullptr) << row.name;
        EXPECT_TRUE(sameRect(childRect(control), scaledRect(rig.window, at96(row.rect))))
            << row.name;
        EXPECT_EQ(windowText(control), wideFromUtf8(row.caption)) << row.name;
        EXPECT_EQ(rig.window.tipOf(control), wideFromUtf8(row.toolTip)) << row.name;
        EXPECT_EQ(IsWindowVisible(control) != FALSE, row.visible) << row.name;
        if (row.array != ControlArray::Image1 && row.visible) {
            EXPECT_GT(snapshot.count(childRect(control), colourOf(row.colour)), 0) << row.name;
        }
    }
}

TEST(SettingsWindow, TheWindowItsFontAndItsBoldDay) {
    WindowRig rig;
    rig.open();
    RECT client{};
    GetClientRect(rig.window.hwnd(), &client);
    EXPECT_EQ(client.right, rig.window.scaled(669));
    EXPECT_EQ(client.bottom, rig.window.scaled(301));
    EXPECT_EQ(windowText(rig.window.hwnd()), L"Lumora - v2.2.4 - 03 February 2027 - 09:05:07");
    EXPECT_EQ(rig.window.caption(), "Lumora - v2.2.4 - 03 February 2027 - 09:05:07");
    const LONG_PTR style = GetWindowLongPtrW(rig.window.hwnd(), GWL_STYLE);
    EXPECT_EQ(style & WS_THICKFRAME, 0) << "a fixed size";
    EXPECT_NE(style & WS_MINIMIZEBOX, 0);
    EXPECT_EQ(style & WS_MAXIMIZEBOX, 0);
    for (int i = 1; i <= 17; ++i) {
        const auto font =
            reinterpret_cast<HFONT>(SendMessageW(rig.window.label1(i), WM_GETFONT, 0, 0));
        LOGFONTW face{};
        ASSERT_NE(GetObjectW(font, sizeof face, &face), 0) << i;
        EXPECT_STREQ(face.lfFaceName, L"Tahoma") << i;
        EXPECT_EQ(face.lfHeight, -MulDiv(825, rig.window.dpi(), 7200)) << i;
        EXPECT_EQ(face.lfWeight, i == 4 ? FW_BOLD : FW_NORMAL) << i;
        EXPECT_EQ(rig.window.isBold(rig.window.label1(i)), i == 4) << i;
    }
}

// Colours of the backdrop, sampled where no caption lies.
struct SampleRow {
    const char* name;
    int x, y; // at 96 dpi
    COLORREF colour;
};
const SampleRow kSamples[] = {
    {"Background", 2, 2, RGB(64, 64, 64)},
    {"BetweenPanels", 168, 100, RGB(64, 64, 64)},
    {"InfoPanel", 506, 258, RGB(0, 64, 64)},
    {"ModeBox", 505, 292, RGB(0, 64, 64)},
    {"ApplyBox", 663, 293, RGB(0, 64, 64)},
    {"LetterOutlineLeft", 6 + 124, 20, RGB(0, 0, 0)},
    {"MarkOutlineBottom", 6 + 166 + 150, 28, RGB(0, 0, 0)},
    {"SecondRowOutline", 6 + 143, 144 + 12, RGB(0, 0, 0)},
    {"InsideAnOutline", 6 + 124 + 2, 12 + 2, RGB(64, 64, 64)},
};

class Samples : public ::testing::TestWithParam<SampleRow> {};

TEST_P(Samples, TheBackdropHasItsColours) {
    const SampleRow& row = GetParam();
    WindowRig rig;
    rig.open();
    const Snapshot snapshot(rig.window);
    EXPECT_EQ(snapshot.at(rig.window.scaled(row.x), rig.window.scaled(row.y)), row.colour);
}

INSTANTIATE_TEST_SUITE_P(Rows, Samples, ::testing::ValuesIn(kSamples), byName);

// A day's thumbnail is the picture stretched to its box; a day without one shows the built-in
// no-picture image; the close box empties them all.
TEST(SettingsWindow, ThumbnailsAreStretchedAndDroppedOnClose) {
    Scratch scratch;
    // Left half red, right half blue, a 1 : 2 picture stretched to 4 : 3.
    const std::string halves = scratch.bmp(L"halves.bmp", 200, 400, [](int x, int) {
        return x < 100 ? RGB(255, 0, 0) : RGB(0, 0, 255);
    });
    WindowRig rig;
    rig.setDayValue(2, halves);
    rig.setDayValue(3, utf8FromWide((scratch.folder / L"gone.bmp").wstring()));
    rig.open();
    const Snapshot shown(rig.window);
    const RECT monday = childRect(rig.window.image1(2));
    const int w = monday.right - monday.left;
    const int h = monday.bottom - monday.top;
    EXPECT_EQ(shown.at(monday.left + w / 4, monday.top + h / 2), RGB(255, 0, 0));
    EXPECT_EQ(shown.at(monday.left + 3 * w / 4, monday.top + h / 2), RGB(0, 0, 255));
    EXPECT_EQ(shown.at(monday.left, monday.top + 5), RGB(255, 0, 0)) << "the box is filled";
    EXPECT_EQ(shown.at(monday.right - 1, monday.bottom - 1), RGB(0, 0, 255));
    EXPECT_EQ(rig.window.tipOf(rig.window.image1(2)),
              wideFromUtf8(halves) + L" - Click here to view the picture");
    EXPECT_EQ(rig.window.tipOf(rig.window.label2(2)), L"Remove Monday's Selection");
    // Tuesday's file is gone and Friday has none: both show the same no-picture image.
    const RECT tuesday = childRect(rig.window.image1(3));
    const RECT friday = childRect(rig.window.image1(6));
    int same = 0;
    int grey = 0;
    for (int y = 5; y < h; y += 7) {
        for (int x = 0; x < w; x += 7) {
            const COLORREF a = shown.at(tuesday.left + x, tuesday.top + y);
            same += a == shown.at(friday.left + x, friday.top + y) ? 1 : 0;
            grey += a == RGB(64, 64, 64) ? 1 : 0;
        }
    }
    const int samples = ((h - 5 + 6) / 7) * ((w + 6) / 7);
    EXPECT_EQ(same, samples);
    EXPECT_LT(grey, samples) << "the no-picture image is drawn, not the bare background";
    EXPECT_EQ(rig.window.tipOf(rig.window.image1(3)), L"No picture selected for Tuesday");

    SendMessageW(rig.window.hwnd(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(rig.window.isShown());
    const Snapshot closed(rig.window);
    EXPECT_EQ(closed.count(monday, RGB(255, 0, 0)) + closed.count(monday, RGB(0, 0, 255)), 0);
    EXPECT_EQ(closed.at(monday.left + w / 2, monday.top + h / 2), RGB(64, 64, 64))
        << "an empty box shows the backdrop";
    EXPECT_EQ(closed.at(tuesday.left + w / 2, tuesday.top + h / 2), RGB(64, 64, 64));
}

// Choosing a day's picture through its name and removing it through its mark, with the dialog
// answered by the recording fake.
TEST(SettingsWindow, ADayIsChosenAndRemovedThroughTheWindow) {
    Scratch scratch;
    const std::string yellow =
        scratch.bmp(L"Gelb ✓.bmp", 64, 48, [](int, int) { return RGB(255, 255, 0); });
    WindowRig rig;
    rig.open();
    rig.dialogs.fileAnswer = yellow;
    click(rig.window.label1(2));
    EXPECT_EQ(rig.only("dialogs.openFile"),
              CallLog{"dialogs.openFile(Lumora - Choose wallpaper to use for Monday, '')"});
    EXPECT_EQ(rig.dialogs.lastFilter, kPictureFilter);
    EXPECT_EQ(rig.dayValue(2), yellow);
    const RECT monday = childRect(rig.window.image1(2));
    EXPECT_EQ(
        Snapshot(rig.window).at(centreOf(rig.window.image1(2)).x, centreOf(rig.window.image1(2)).y),
        RGB(255, 255, 0));
    EXPECT_EQ(rig.window.tipOf(rig.window.label2(2)), L"Remove Monday's Selection");

    click(rig.window.label2(2));
    EXPECT_EQ(rig.dayValue(2), "");
    EXPECT_TRUE(rig.window.isShown()) << "shown again after the removal";
    EXPECT_EQ(Snapshot(rig.window).count(monday, RGB(255, 255, 0)), 0);
    EXPECT_EQ(rig.window.tipOf(rig.window.image1(2)), L"No picture selected for Monday");
    EXPECT_EQ(rig.window.tipOf(rig.window.label2(2)), L"");
    // The next choice opens on the file chosen before.
    rig.dialogs.fileAnswer.reset();
    click(rig.window.label1(2));
    EXPECT_EQ(rig.only("dialogs.openFile").back(),
              "dialogs.openFile(Lumora - Choose wallpaper to use for Monday, '" + yellow + "')");
}

// Hovering a thumbnail shows its picture in the information panel; a name or the background
// brings the author back; a letter or a mark leaves the panel as it is.
TEST(SettingsWindow, HoversFillTheInformationPanel) {
    Scratch scratch;
    const std::string picture =
        scratch.bmp(L"wide.bmp", 640, 480, [](int x, int) { return RGB(x & 0xFF, 0, 0); });
    WindowRig rig;
    rig.setDayValue(2, picture);
    rig.open();
    const auto info = [&rig] {
        return utf8FromWide(windowText(rig.window.label1(15))) + " | " +
               utf8FromWide(windowText(rig.window.label1(10))) + " | " +
               utf8FromWide(windowText(rig.window.label1(11)));
    };
    const std::string author = "Author | The Lumora developers | lumora@example.org";
    EXPECT_EQ(info(), author);
    moveOver(rig.window.image1(2));
    const std::string monday = "Monday's Picture | Dimensions: 640 x 480 | Size: 900 KB";
    EXPECT_EQ(info(), monday);
    moveOver(rig.window.label3(2));
    moveOver(rig.window.label2(5));
    EXPECT_EQ(info(), monday);
    moveOver(rig.window.label1(13));
    EXPECT_EQ(info(), author);
    moveOver(rig.window.image1(2));
    moveOver(rig.window.hwnd());
    EXPECT_EQ(info(), author);
    moveOver(rig.window.image1(3)); // no picture: the author
    EXPECT_EQ(info(), author);
}

// Edits through clicks: the letter, the mode, Apply; the messages switch and its menu mark.
TEST(SettingsWindow, ClicksEditAndApply) {
    WindowRig rig;
    rig.open();
    click(rig.window.label3(2));
    click(rig.window.label1(8));
    EXPECT_EQ(windowText(rig.window.label3(2)), L"C");
    EXPECT_EQ(rig.window.tipOf(rig.window.label3(2)), L"Center Wallpaper");
    EXPECT_EQ(windowText(rig.window.label1(8)), L"Default Wallpaper");
    EXPECT_EQ(rig.window.tipOf(rig.window.label1(8)), L"Desktop Mode: Use Lumora default picture");
    EXPECT_TRUE(IsWindowVisible(rig.window.label1(16)) && IsWindowVisible(rig.window.label1(17)));
    EXPECT_GT(Snapshot(rig.window).count(childRect(rig.window.label1(16)), RGB(255, 0, 0)), 0);
    click(rig.window.label1(16));
    EXPECT_EQ(rig.stored("Styl2"), "2");
    EXPECT_EQ(rig.stored("DirectWall"), "2");
    EXPECT_TRUE(rig.window.isShown());
    EXPECT_FALSE(IsWindowVisible(rig.window.label1(16)) || IsWindowVisible(rig.window.label1(17)));
    const RECT apply = childRect(rig.window.label1(16));
    EXPECT_EQ(Snapshot(rig.window).count(apply, RGB(255, 0, 0)), 0) << "a hidden label is gone";

    click(rig.window.label1(9));
    EXPECT_EQ(rig.stored("DispMess"), "False");
    EXPECT_FALSE(rig.menu.checked(MenuId::mnuAlert));
    EXPECT_EQ(windowText(rig.window.label1(9)), L"Display Messages Disabled");
    EXPECT_GT(Snapshot(rig.window).count(childRect(rig.window.label1(9)), RGB(255, 0, 0)), 0);
    click(rig.window.label1(14));
    EXPECT_FALSE(rig.window.isShown()) << "the close label hides the window";
}

// The blink of today's name and of a shown Apply, and the caption clock, driven by their timers.
TEST(SettingsWindow, TheBlinkAndTheCaptionClockFollowTheirTimers) {
    WindowRig rig;
    rig.open();
    HWND frm = rig.window.hwnd();
    click(rig.window.label3(1)); // Apply shows
    SendMessageW(frm, WM_TIMER, Win32FrmMain::kBlinkTimer, 0);
    EXPECT_EQ(windowText(rig.window.label1(4)), L"");
    EXPECT_EQ(windowText(rig.window.label1(16)), L"");
    EXPECT_EQ(windowText(rig.window.label1(17)), L"Cancel");
    SendMessageW(frm, WM_TIMER, Win32FrmMain::kBlinkTimer, 0);
    EXPECT_EQ(windowText(rig.window.label1(4)), L"Wednesday");
    EXPECT_EQ(windowText(rig.window.label1(16)), L"Apply");

    rig.clock.when.second = 8;
    SendMessageW(frm, WM_TIMER, Win32FrmMain::kCaptionTimer, 0);
    EXPECT_EQ(windowText(frm), L"Lumora - v2.2.4 - 03 February 2027 - 09:05:08");
    rig.clock.when.hour = 23;
    rig.clock.when.minute = 59;
    rig.clock.when.second = 59;
    SendMessageW(frm, WM_TIMER, Win32FrmMain::kCaptionTimer, 0);
    EXPECT_EQ(windowText(frm), L"Lumora - v2.2.4 - 03 February 2027 - 23:59:59");

    // The timers run while the window is shown only (KillTimer tells whether one was set).
    EXPECT_TRUE(KillTimer(frm, Win32FrmMain::kBlinkTimer));
    SendMessageW(frm, WM_CLOSE, 0, 0);
    EXPECT_FALSE(KillTimer(frm, Win32FrmMain::kCaptionTimer));
    // Shown again: today's name is back at once.
    SendMessageW(frm, WM_TIMER, Win32FrmMain::kBlinkTimer, 0); // a tick left in the queue
    rig.logic.tray.mnuabout_Click();
    EXPECT_EQ(windowText(rig.window.label1(4)), L"Wednesday");
    EXPECT_TRUE(KillTimer(frm, Win32FrmMain::kCaptionTimer));
}

TEST(SettingsWindow, F1AsksForHelpAndTheCloseBoxOnlyHides) {
    WindowRig rig;
    rig.open();
    SendMessageW(rig.window.hwnd(), WM_KEYDOWN, VK_F1, 0);
    EXPECT_EQ(rig.only("help."), CallLog{"help.showHelp"});
    SendMessageW(rig.window.hwnd(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(rig.window.hwnd()));
    EXPECT_FALSE(rig.window.isShown());
}

// Coming back from another window of the program activates the window again; its first show
// is no second activation.
TEST(SettingsWindow, OnlyAReturnFromAnotherProgramWindowActivates) {
    Win32Resources resources;
    Win32FrmMain window(resources);
    int shown = 0;
    int activations = 0;
    Win32FrmMainEvents events;
    events.shown = [&] { ++shown; };
    events.activatedFromProgramWindow = [&] { ++activations; };
    window.setEvents(events);
    Window other;
    ASSERT_TRUE(other.create({L"other", WS_OVERLAPPEDWINDOW, 0, 100, 100}));
    ShowWindow(other.hwnd(), SW_SHOW);
    window.showWindow();
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(activations, 0);
    SetActiveWindow(other.hwnd());
    SetActiveWindow(window.hwnd());
    EXPECT_EQ(activations, 1);
    window.hideWindow();
    window.showWindow();
    EXPECT_EQ(shown, 2);
    window.destroyWindow();
}

// Four days set, drawn for a person to look at (LUMORA_SCREENSHOT_DIR).
TEST(SettingsWindow, FourDaysSetAsAPersonSeesThem) {
    Scratch scratch;
    WindowRig rig;
    const COLORREF tones[] = {RGB(200, 80, 40), RGB(40, 160, 90), RGB(60, 90, 200),
                              RGB(230, 200, 60)};
    const int days[] = {1, 2, 4, 6};
    for (int k = 0; k < 4; ++k) {
        const COLORREF tone = tones[k];
        rig.setDayValue(
            days[k],
            scratch.bmp(L"day" + std::to_wstring(k) + L".bmp", 320, 240, [tone](int x, int y) {
                return ((x / 40 + y / 40) % 2) != 0 ? tone : RGB(250, 250, 250);
            }));
    }
    rig.open();
    click(rig.window.label3(2));
    const Snapshot snapshot(rig.window);
    snapshot.saveIfAsked(L"settings_window_win32.bmp");
    for (int k = 0; k < 4; ++k) {
        EXPECT_GT(snapshot.count(childRect(rig.window.image1(days[k])), tones[k]), 0) << k;
    }
}

} // namespace
} // namespace lumora

namespace lumora {
namespace {

// A kept thumbnail serves the next opening while its file is the same file; a picture written
// anew, or another file in the day, is decoded afresh.
TEST(ThumbnailCacheOnDisk, KeepsThumbnailsOnlyForTheFileTheyWereMadeFrom) {
    Scratch scratch;
    const ComScope com;
    const ThumbnailCache cache((scratch.folder / L"kept").wstring());
    const PixelSize size{Win32FrmMain::kThumbWidth, Win32FrmMain::kThumbHeight};
    const std::string path =
        scratch.bmp(L"day.bmp", 320, 240, [](int, int) { return RGB(255, 0, 0); });
    const auto first = cache.load(3, path, size);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->source, (PixelSize{320, 240}));
    EXPECT_EQ(first->pixels[0] & 0xFFFFFF, 0xFF0000u);
    EXPECT_TRUE(std::filesystem::is_regular_file(scratch.folder / L"kept" / L"day3.thumb"));
    const auto kept = cache.load(3, path, size);
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->pixels, first->pixels);
    EXPECT_EQ(kept->source, first->source);

    // The same name written again with other pixels and another size.
    scratch.bmp(L"day.bmp", 330, 250, [](int, int) { return RGB(0, 0, 255); });
    const auto changed = cache.load(3, path, size);
    ASSERT_TRUE(changed);
    EXPECT_EQ(changed->source, (PixelSize{330, 250}));
    EXPECT_EQ(changed->pixels[0] & 0xFFFFFF, 0x0000FFu);
    // Another file for the day.
    const std::string other =
        scratch.bmp(L"other.bmp", 64, 48, [](int, int) { return RGB(0, 255, 0); });
    const auto moved = cache.load(3, other, size);
    ASSERT_TRUE(moved);
    EXPECT_EQ(moved->pixels[0] & 0xFFFFFF, 0x00FF00u);
    // A file that is no picture is nothing, kept or not.
    writeBytes(scratch.folder / L"bad.jpg", {1, 2, 3});
    EXPECT_FALSE(cache.load(3, utf8FromWide((scratch.folder / L"bad.jpg").wstring()), size));
}

} // namespace
} // namespace lumora
