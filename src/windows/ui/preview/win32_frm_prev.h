#pragma once
// frmPrev: the preview window for one day's picture, with zoom, fit, original size and scrolling.
// The canvas is never held as a bitmap of its own: the viewport stretches the visible part of the
// source picture (a DIB section at its own size) at the canvas's size, so a large zoom costs no
// memory. Geometry is kept at 96 dpi, as the core's viewer arithmetic gives it, and scaled with
// the window's DPI only where controls are placed and the canvas is drawn.
//
// This header includes <windows.h>: include it after the core's headers.
#include "core/ports/dialogs.h"
#include "core/ports/windows.h"
#include "core/viewer/viewer_geometry.h"

#include "windows/ui/window/controls.h"
#include "windows/ui/window/dib.h"
#include "windows/ui/window/window.h"

#include <memory>
#include <string>

namespace lumora {

class Win32FrmPrev : public Window, public PreviewWindow {
public:
    static constexpr int kClientWidth = 520;
    static constexpr int kClientHeight = 430;
    // Control ids.
    static constexpr int kHScroll1 = 201;
    static constexpr int kVScroll1 = 202;
    static constexpr int kPicture1 = 203;
    static constexpr int kChkExact = 204;
    static constexpr int kCExact = 205;
    static constexpr int kCMinus = 206;
    static constexpr int kCEqual = 207;
    static constexpr int kCPlus = 208;
    static constexpr int kPicCont = 209;

    // Message boxes go to `dialogs`. `locale` names the locale whose digit grouping the caption
    // uses ("de-DE"); empty: the user's.
    explicit Win32FrmPrev(Dialogs& dialogs, std::wstring locale = {});
    ~Win32FrmPrev() override;

    // Loads the picture, shows the window (not modal) and keeps it on top. The first call, and
    // the first after the user closed the window, makes a fresh window.
    void StartProj(const std::string& path) override;
    std::string GetFile() const { return m_currentFile; }

    // The loading procedure: the picture of GetFile(), fitted (or at its original size when
    // chkExact is set), and the caption with its size.
    void File1_Click();
    void ResizeViewPort();
    void cPlus_Click();
    void cMinus_Click();
    void cEqual_Click();
    void cExact_Click();

    // The canvas inside the viewport's inner area at 96 dpi, unrounded, and whether it is shown
    // and drawn.
    viewer::RectF canvas() const { return m_layout.canvas; }
    const viewer::Layout& layout() const { return m_layout; }
    bool canvasShown() const { return m_canvasShown; }
    bool canvasDrawn() const { return m_canvasDrawn; }
    // The hourglass is up (while the canvas is being drawn).
    bool busy() const { return m_busy; }
    int sourceWidth() const { return m_source.width; }
    int sourceHeight() const { return m_source.height; }
    viewer::SizeF viewportInner() const;
    // A control by its id (the buttons and the option inside Picture1 included); null without
    // a window.
    HWND control(int id) const;
    std::wstring tipOf(int id) const;

protected:
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void onDestroyed() override;

private:
    bool makeWindow();
    void Form_Resize();
    void RenderPicture();
    void UpdateScrollBars();
    void updateBar(int id, bool horizontal);
    void onScroll(HWND bar, int request);
    void zoom(viewer::SizeF size);
    // Draws the canvas where it now is, then shows it with its scroll bars (unless the window
    // went away while pending messages ran).
    void renderAndShow();
    void placeCanvas(viewer::SizeF size);
    void setCanvasVisible(bool shown);
    void moveCanvas(bool horizontal, float position);
    void applyLayout();
    void reachedLimit();
    void showError(int number, const std::string& description);
    // Whether the window this action began with is still there.
    bool stillOpen(unsigned generation) const { return exists() && generation == m_generation; }
    void setBusy(bool busy);
    int devicePixels(float length96) const;
    RECT deviceRect(const viewer::RectF& r96) const;

    static LRESULT CALLBACK panelProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                           UINT_PTR id, DWORD_PTR self);
    static LRESULT CALLBACK viewportProcedure(HWND window, UINT message, WPARAM wParam,
                                              LPARAM lParam, UINT_PTR id, DWORD_PTR self);
    void paintViewport(HDC dc, const RECT& area);

    Dialogs& m_dialogs;
    bool m_com = false; // this thread's COM was started here (WIC needs it)
    std::wstring m_locale;
    std::string m_currentFile;
    Dib m_source;
    viewer::Layout m_layout = viewer::initialLayout();
    bool m_canvasShown = true;
    bool m_canvasDrawn = false;
    bool m_busy = false;
    bool m_laidOut = false;    // the first layout pass ran (when the window was first shown)
    unsigned m_generation = 0; // counts the windows made, so a closed one is told from a new one
    Font m_font;
    Font m_bold;
    std::unique_ptr<Tooltips> m_tips;
    HWND m_picture1 = nullptr;
    HWND m_picCont = nullptr;
};

} // namespace lumora
