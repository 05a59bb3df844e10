#pragma once
// frmPrev: the preview window for one day's picture, with zoom, fit, original size and scrolling.
// The canvas is never held as a bitmap of its own: the viewport draws the visible part of the
// source picture at the canvas's size, so a large zoom costs no memory.
#include "core/ports/dialogs.h"
#include "core/ports/windows.h"
#include "core/viewer/viewer_geometry.h"

#include <QFrame>
#include <QImage>
#include <QWidget>

#include <memory>
#include <string>

class QCheckBox;
class QPushButton;
class QScrollBar;
class QtDialogs;
class FrmPrev;

// picCont: frames and clips the canvas, and draws it.
class PicCont : public QFrame {
public:
    explicit PicCont(FrmPrev& owner, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    FrmPrev& m_owner;
};

class FrmPrev : public QWidget, public lumora::PreviewWindow {
    Q_OBJECT
public:
    static constexpr int kClientWidth = 520;
    static constexpr int kClientHeight = 430;

    // dialogs: where the message boxes go; null uses Qt's boxes over this window.
    explicit FrmPrev(lumora::Dialogs* dialogs = nullptr, QWidget* parent = nullptr);
    ~FrmPrev() override;

    // Loads the picture, shows the window (not modal) and keeps it on top.
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

    // The canvas inside the viewport's inner area, unrounded, and whether it is shown and drawn.
    lumora::viewer::RectF canvas() const { return m_layout.canvas; }
    bool canvasShown() const { return m_canvasShown; }
    bool canvasDrawn() const { return m_canvasDrawn; }
    const QImage& source() const { return m_source; }
    lumora::viewer::SizeF viewportInner() const;
    // A scroll bar's value as the canvas's left (top): 0 down to the negative maximum.
    static int canvasValue(const QScrollBar* bar);

    QScrollBar* hScroll1() const { return m_hScroll1; }
    QScrollBar* vScroll1() const { return m_vScroll1; }
    QWidget* picture1() const { return m_picture1; }
    PicCont* picCont() const { return m_picCont; }
    QCheckBox* chkExact() const { return m_chkExact; }
    QPushButton* cPlus() const { return m_cPlus; }
    QPushButton* cEqual() const { return m_cEqual; }
    QPushButton* cMinus() const { return m_cMinus; }
    QPushButton* cExact() const { return m_cExact; }

signals:
    // The window was closed: the reference to it is released.
    void closed();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    friend class PicCont;
    void Form_Resize();
    void RenderPicture();
    void UpdateScrollBars();
    void updateBar(QScrollBar* bar, bool horizontal);
    void zoom(lumora::viewer::SizeF size);
    // Draws the canvas where it now is, then shows it with its scroll bars (unless the window went
    // away while pending events ran).
    void renderAndShow();
    void placeCanvas(lumora::viewer::SizeF size);
    void setCanvasVisible(bool shown);
    void moveCanvas(bool horizontal, float position);
    void applyLayout();
    void reachedLimit();
    void showError(int number, const QString& description);

    lumora::Dialogs* m_dialogs;
    std::unique_ptr<QtDialogs> m_ownDialogs;
    std::string m_currentFile;
    QImage m_source;
    lumora::viewer::Layout m_layout = lumora::viewer::initialLayout();
    bool m_canvasShown = true;
    bool m_canvasDrawn = false;

    QScrollBar* m_hScroll1 = nullptr;
    QScrollBar* m_vScroll1 = nullptr;
    QWidget* m_picture1 = nullptr;
    QCheckBox* m_chkExact = nullptr;
    QPushButton* m_cExact = nullptr;
    QPushButton* m_cMinus = nullptr;
    QPushButton* m_cEqual = nullptr;
    QPushButton* m_cPlus = nullptr;
    PicCont* m_picCont = nullptr;
};
