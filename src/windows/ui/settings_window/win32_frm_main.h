#pragma once
// FrmMain as shown on Windows: the settings window with its seven day panels, the information
// panel, the mode box and Apply/Cancel, as native child windows. It draws the view the core
// builds and turns mouse and keyboard input into the events below; it decides nothing. Hidden
// while the program sits in the notification area.
//
// Every label is a STATIC child whose text is its caption, coloured through WM_CTLCOLORSTATIC
// and painted over one backdrop (the grey field, the filled and outline shapes, the
// thumbnails) given to it as a brush, so a label is transparent over whatever lies beneath.
//
// This header includes <windows.h>: include it after the core's headers.
#include "core/ports/main_window.h"
#include "core/ports/resources.h"
#include "core/settings_window/settings_layout.h"
#include "core/settings_window/settings_view.h"
#include "core/tray/frm_main_logic.h"
#include "windows/ui/settings_window/thumbnail_cache.h"
#include "windows/ui/settings_window/tray_menu_view.h"
#include "windows/ui/window/controls.h"
#include "windows/ui/window/dib.h"
#include "windows/ui/window/window.h"

#include <array>
#include <functional>
#include <future>
#include <memory>

namespace lumora {

// What the window's input asks for; the program connects each to the core's routines
// (connectFrmMain() below does it the one way the program wants).
struct Win32FrmMainEvents {
    std::function<void(int)> label1Clicked;
    std::function<void(int)> label2Clicked;
    std::function<void(int)> label3Clicked;
    std::function<void(int)> image1Clicked;
    std::function<void(int)> image1Moved;
    // The pointer moved over a Label1 element, or over the window itself.
    std::function<void()> label1Moved;
    std::function<void()> backgroundMoved;
    // The window was shown, or came back from another window of the program.
    std::function<void()> shown;
    std::function<void()> activatedFromProgramWindow;
    // The close box: the window stays and the program in the notification area.
    std::function<void()> closeRequested;
    std::function<void()> helpKeyPressed;
    // While the window is shown only: the caption clock every second, the blink twice a second.
    std::function<void()> captionTick;
    std::function<void()> blinkTick;
    // The window went away for good (the program is ending).
    std::function<void()> unloadedForGood;
};

class Win32FrmMain : public Window, public MainWindow {
public:
    static constexpr int kClientWidth = kSettingsClientWidth;
    static constexpr int kClientHeight = kSettingsClientHeight;
    static constexpr int kThumbWidth = kThumbnailWidth;
    static constexpr int kThumbHeight = kThumbnailHeight;
    // Timer ids of WM_TIMER: the caption clock (Timer1) and the blink (Timer2).
    static constexpr UINT_PTR kCaptionTimer = 1;
    static constexpr UINT_PTR kBlinkTimer = 2;

    // resources: the no-picture image; topMost: the always-on-top routine (SetTopMost with
    // True), by default SetWindowPos with HWND_TOPMOST and flags 83; thumbnailFolder: where the
    // thumbnails are kept between openings (empty: %LOCALAPPDATA%\Lumora\thumbnails).
    explicit Win32FrmMain(const Resources& resources, std::function<void(HWND)> topMost = {},
                          std::wstring thumbnailFolder = {});
    ~Win32FrmMain() override;

    void setEvents(Win32FrmMainEvents events) { m_events = std::move(events); }
    // The tray menu the window pops up; none: popupMenu() and menuChanged() do nothing.
    void setTrayMenu(TrayMenuView* menu) { m_trayMenu = menu; }

    // MainWindow
    void render(const SettingsView& view) override;
    std::string caption() const override;
    bool isShown() const override;
    void showWindow() override;
    void hideWindow() override;
    void setTopMost() override;
    void popupMenu() override;
    void menuChanged() override;
    void destroyWindow() override;
    void prepareThumbnails(const std::vector<std::pair<int, std::string>>& days) override;
    std::optional<PixelSize> loadThumbnail(int weekdayNumber, const std::string& path) override;
    void dropThumbnails() override;

    // The controls, 1-based like their arrays (tests read them); the window and its controls
    // are made on first use.
    HWND label1(int index) { return controls().m_label1.at(slot(index)); }
    HWND label2(int index) { return controls().m_label2.at(slot(index)); }
    HWND label3(int index) { return controls().m_label3.at(slot(index)); }
    HWND image1(int index) { return controls().m_image1.at(slot(index)); }
    // The tip a control shows now (empty when none).
    std::wstring tipOf(HWND control) const;
    // Whether a label is drawn in bold.
    bool isBold(HWND label) const;
    // The window made (hidden) with its controls; false when Windows refused it.
    bool build();

protected:
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    struct Pending {
        std::string path;
        std::future<std::optional<DecodedPicture>> picture;
    };
    static std::size_t slot(int index) { return static_cast<std::size_t>(index); }
    Win32FrmMain& controls();
    void layout();
    void applyView();
    void applyLabel(HWND label, const LabelView& view);
    void redrawBackdrop();
    void paintBackdrop(HDC dc) const;
    void printInto(HDC dc, LPARAM flags);
    LRESULT labelColour(HDC dc, HWND control);
    void onCommand(WORD id, WORD code);
    void onWindowPosChanged(const WINDOWPOS& pos);
    void onActivate(WPARAM wParam, HWND other);
    static LRESULT CALLBACK controlProcedure(HWND control, UINT message, WPARAM wParam,
                                             LPARAM lParam, UINT_PTR id, DWORD_PTR self);
    void controlMoved(HWND control);
    template <class Event, class... Args> void fire(const Event& event, Args... args) {
        if (event) {
            event(args...);
        }
    }

    const Resources& m_resources;
    std::function<void(HWND)> m_topMost;
    Win32FrmMainEvents m_events;
    TrayMenuView* m_trayMenu = nullptr;
    std::array<HWND, 18> m_label1{};
    std::array<HWND, 8> m_label2{};
    std::array<HWND, 8> m_label3{};
    std::array<HWND, 8> m_image1{};
    std::array<COLORREF, 512> m_colour{}; // by control id
    std::array<bool, 512> m_bold{};       // by control id
    std::unique_ptr<Tooltips> m_tips;
    Font m_font;
    Font m_boldFont;
    int m_fontDpi = 0;
    Bitmap m_backdrop; // the client area without its labels, in the window's pixels
    Brush m_backdropBrush;
    std::array<Dib, 8> m_thumbnails{};
    Dib m_noPicture;
    ThumbnailCache m_cache;
    std::array<Pending, 8> m_pending{};
    std::vector<std::future<void>> m_workers; // the decoders of the last prepareThumbnails()
    // What each thumbnail showed when the backdrop was last drawn.
    std::array<DayPanelState::Thumbnail, 8> m_drawnShows{};
    bool m_backdropDirty = true;
    IconHandle m_icon;
    SettingsView m_view;
    std::string m_title; // as shown (UTF-8)
    bool m_built = false;
    bool m_visible = false;
    bool m_destroyed = false;
};

// The program's wiring of the window's events to the settings editor and the tray controller.
void connectFrmMain(Win32FrmMain& window, FrmMainLogic& logic);

} // namespace lumora
