#pragma once
// frmAbout: the about window, also shown for five seconds as the logo at start-up.
#include "core/ports/clock.h"
#include "core/ports/windows.h"
#include "core/text/window_texts.h"

#include <QWidget>

#include <cstdint>

class QLabel;
class QTimer;

class FrmAbout : public QWidget, public lumora::AboutWindow {
    Q_OBJECT
public:
    // Outer size: the 410 x 310 client area and a one-pixel border around it.
    static constexpr int kClientWidth = 410;
    static constexpr int kClientHeight = 310;
    static constexpr int kBorder = 1;
    static constexpr int kClockInterval = 500;      // Timer1, ms
    static constexpr int kAutoCloseInterval = 5000; // Timer2, ms
    static constexpr const char* kContactAddress = lumora::kContactAddress;

    explicit FrmAbout(const lumora::Clock& clock, QWidget* parent = nullptr);

    // Opens the window (see lumora::AboutWindow). A call while the window is shown does not load
    // it again: it takes the new TimShw and OldStatus, switches the automatic close on or off and
    // keeps the window on top; the clock follows the new TimShw from its next tick.
    void StrtPrg(std::int16_t timShw, bool oldStatus) override;

    // Timer1, every 500 ms: the date and time of Label1.
    void Timer1_Timer();
    // Timer2, once 5000 ms after StrtPrg with TimShw 1: unloads the window.
    void Timer2_Timer();
    // Unloads the window: hides it, stops its timers, forgets its state and, when OldStatus was
    // True, brings the settings window back. The object itself stays for the next StrtPrg.
    void unload();

    bool isLoaded() const { return m_loaded; }
    std::int16_t timShw() const { return m_timShw; }
    bool oldStatus() const { return m_oldStatus; }

    QWidget* clientArea() const { return m_client; }
    QLabel* image1() const { return m_image1; }
    QLabel* label1() const { return m_label1; }
    QLabel* label2() const { return m_label2; }
    QLabel* label3() const { return m_label3; }
    QTimer* timer1() const { return m_timer1; }
    QTimer* timer2() const { return m_timer2; }

signals:
    // The window closed after being opened from a visible settings window: the settings window
    // comes back (the receiver decides what that means after Exit).
    void settingsWindowWanted();
    // Emitted after each unload, once OldStatus has been acted on.
    void unloaded();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void Form_Load();
    void Form_Unload();
    void showLabel1();

    const lumora::Clock& m_clock;

    std::int16_t m_timShw = 0;
    bool m_oldStatus = false;
    bool m_loaded = false;
    bool m_pressed = false;

    QWidget* m_client = nullptr;
    QLabel* m_image1 = nullptr;
    QLabel* m_label1 = nullptr;
    QLabel* m_label2 = nullptr;
    QLabel* m_label3 = nullptr;
    QTimer* m_timer1 = nullptr;
    QTimer* m_timer2 = nullptr;
};
