#pragma once
// frmHelp: the help window, with the version and a running clock in its caption.
#include "core/ports/clock.h"
#include "core/ports/windows.h"

#include <QPointer>
#include <QWidget>

class QLabel;
class QTimer;
class QWindow;

// One object serves the whole process: the program creates one and every "&Help" or F1 calls
// showHelp() on it, which brings back the same window.
class FrmHelp : public QWidget, public lumora::HelpWindow {
    Q_OBJECT
public:
    static constexpr int kClientWidth = 948;
    static constexpr int kClientHeight = 616;
    static constexpr int kClockInterval = 1000; // Timer1, ms

    explicit FrmHelp(const lumora::Clock& clock, QWidget* parent = nullptr);

    // Loads the window when it is not loaded, shows it and makes it the active window; being shown
    // counts as an activation (Form_Activate runs).
    void showHelp() override;

    // Runs each time the window becomes the active one among the program's windows: the caption,
    // centring on the screen, staying on top.
    void Form_Activate();
    // Timer1, every 1000 ms while the window is loaded: the caption.
    void Timer1_Timer();

    bool isLoaded() const { return m_loaded; }
    // "Lumora Help - v2.2.4 - 03 February 2027 - 09:05:07" for the clock's current time.
    QString captionNow() const;
    QLabel* helpText() const { return m_text; }
    QTimer* timer1() const { return m_timer1; }

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Load();
    void onFocusWindowChanged(QWindow* focus);

    const lumora::Clock& m_clock;
    bool m_loaded = false;
    bool m_inActivate = false;
    bool m_showActivationPending = false;
    // Centring before the window manager has framed the window knows no frame: it is redone
    // once the frame is there (polled briefly, see centreWhenFramed()).
    int m_framePolls = 0;
    void centreWhenFramed();
    bool m_activatedMeanwhile = false;
    // The program's window that had the focus before this one, or null when the program had no
    // active window (the user was in another application).
    QPointer<QWindow> m_focusBefore;

    QLabel* m_text = nullptr;
    QTimer* m_timer1 = nullptr;
};
