#pragma once
// FrmMain as shown: the settings window with its seven day panels, the information panel, the
// mode box and Apply/Cancel. It draws the view the core builds and turns mouse and keyboard input
// into signals; it decides nothing. Hidden while the program sits in the notification area.
#include "core/ports/main_window.h"
#include "core/settings_window/settings_layout.h"
#include "core/settings_window/settings_view.h"
#include "linux/platform/thumbnail_cache.h"

#include <QImage>
#include <QLabel>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <array>
#include <future>

// A label of the window: its clicks and mouse moves are its own (they do not reach the window).
class ControlLabel : public QLabel {
    Q_OBJECT
public:
    explicit ControlLabel(QWidget* parent);

signals:
    void clicked();
    void moved();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
};

class FrmMain : public QWidget, public lumora::MainWindow {
    Q_OBJECT
public:
    static constexpr int kClientWidth = lumora::kSettingsClientWidth;
    static constexpr int kClientHeight = lumora::kSettingsClientHeight;
    static constexpr int kThumbWidth = lumora::kThumbnailWidth;
    static constexpr int kThumbHeight = lumora::kThumbnailHeight;

    explicit FrmMain(QWidget* parent = nullptr);

    // MainWindow
    void render(const lumora::SettingsView& view) override;
    std::string caption() const override;
    bool isShown() const override;
    void showWindow() override;
    void hideWindow() override;
    void setTopMost() override;
    void popupMenu() override;
    void menuChanged() override;
    void destroyWindow() override;
    void prepareThumbnails(const std::vector<std::pair<int, std::string>>& days) override;
    std::optional<lumora::PixelSize> loadThumbnail(int weekdayNumber,
                                                   const std::string& path) override;
    void dropThumbnails() override;

    // The controls, 1-based like their arrays (tests read them); built on first use.
    ControlLabel* label1(int index) { return controls().m_label1.at(slot(index)); }
    ControlLabel* label2(int index) { return controls().m_label2.at(slot(index)); }
    ControlLabel* label3(int index) { return controls().m_label3.at(slot(index)); }
    ControlLabel* image1(int index) { return controls().m_image1.at(slot(index)); }

    void setVisible(bool visible) override;

signals:
    void label1Clicked(int index);
    void label2Clicked(int index);
    void label3Clicked(int index);
    void image1Clicked(int index);
    void image1Moved(int index);
    // The pointer moved over a Label1 element or over the window itself.
    void label1Moved();
    void backgroundMoved();
    // The window was shown, or came back from another window of the program.
    void shown();
    void activatedFromProgramWindow();
    // The close box: the window stays loaded and the program in the notification area.
    void closeRequested();
    void helpKeyPressed();
    // While the window is shown only: the caption clock every second, the blink twice a second.
    void captionTick();
    void blinkTick();
    void menuPopupRequested();
    void menuCheckMarksChanged();
    // The window went away for good (the program is ending).
    void unloadedForGood();

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    static std::size_t slot(int index) { return static_cast<std::size_t>(index); }
    // The labels are made the first time they are needed (the window shown, a test reading
    // them), with the last view drawn on them: a program that starts hidden in the notification
    // area does not pay for forty-two labels and their fonts before its icon is up.
    FrmMain& controls();
    void applyView();
    void onFocusWindowChanged(QWindow* now);
    static void applyLabel(ControlLabel* label, const lumora::LabelView& view);

    std::array<ControlLabel*, 18> m_label1{};
    std::array<ControlLabel*, 8> m_label2{};
    std::array<ControlLabel*, 8> m_label3{};
    std::array<ControlLabel*, 8> m_image1{};
    std::array<QImage, 8> m_thumbnails{};
    lumora::ThumbnailCache m_cache;
    // Thumbnails being decoded side by side, by day, with the path each was asked for.
    std::array<std::pair<std::string, std::future<std::optional<lumora::Thumbnail>>>, 8> m_pending;
    QPointer<QWindow> m_lastFocus;
    QTimer* m_captionTimer;
    QTimer* m_blinkTimer;
    bool m_destroyed = false;
    bool m_built = false;
    lumora::SettingsView m_view;
};
