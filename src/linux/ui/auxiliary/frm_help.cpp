#include "ui/auxiliary/frm_help.h"

#include "core/text/texts.h"
#include "core/text/translation.h"
#include "core/text/window_texts.h"
#include "ui/auxiliary/placement.h"
#include "ui/auxiliary/sys_mod.h"
#include "ui/text/translation.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

namespace {

// A short guide to the program, shown in the client area.
const char* const kHelpText = LUMORA_TR("Lumora", R"(
<h2>Lumora: a wallpaper for every day of the week</h2>
<p>Lumora lives as an icon in the notification area of the panel. Every day of the week can have
its own desktop picture; Lumora sets today's picture when it starts, again just after midnight, and
whenever you change something that concerns today.</p>

<h3>Choosing the pictures</h3>
<ul>
<li>Double-click the icon, or choose <b>Lumora Settings</b> from its menu, to open the settings
window with one panel per day.</li>
<li>Click a day's name (or a day in the icon's menu) to choose its picture. Lumora keeps a copy of
the picture, so the original file may later move.</li>
<li>The red mark of a day's panel removes that day's picture. A click on a thumbnail opens the
picture in the preview window, with zoom, fit and original size.</li>
<li>The letter beside each day sets its style: <b>S</b> stretch, <b>C</b> center, <b>T</b> tile.</li>
</ul>

<h3>Desktop mode</h3>
<ul>
<li><b>Selected Wallpaper</b>: each day shows its own picture. A day without a picture shows the
default Lumora picture or no wallpaper, as you choose.</li>
<li><b>Default Wallpaper</b>: every day shows the default Lumora picture.</li>
<li><b>No Wallpaper</b>: the desktop shows only its background colour.</li>
</ul>
<p>Mode and style changes take effect when you click <b>Apply</b>; <b>Cancel</b> forgets them.
Pictures chosen or removed take effect at once.</p>

<h3>The icon's menu</h3>
<p><b>Refresh Wallpaper</b> sets today's picture again. <b>Automatically Run at Startup</b> starts
Lumora when you log in. <b>Display Alert Messages</b> switches the notifications off and on.
<b>Show Logo at startup</b> shows the logo for five seconds at the next start. <b>Set Desktop
Color</b> chooses the background colour. <b>Exit</b> ends Lumora.</p>

<h3>Where Lumora keeps its files</h3>
<p>Settings: <code>~/.config/lumora/lumora.conf</code> (a text file; the folder follows
<code>$XDG_CONFIG_HOME</code>).<br>
Day pictures and the default picture: <code>~/.local/share/lumora/</code> (follows
<code>$XDG_DATA_HOME</code>).<br>
Start at login: <code>~/.config/autostart/lumora.desktop</code>.</p>
)");

} // namespace

FrmHelp::FrmHelp(const lumora::Clock& clock, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      m_clock(clock) {
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QString::fromUtf8(lumora::kProductName));
    setFont(lumora::windowFont());
    setFixedSize(kClientWidth, kClientHeight);

    m_text = new QLabel(this);
    m_text->setObjectName(QStringLiteral("helpText"));
    m_text->setTextFormat(Qt::RichText);
    m_text->setWordWrap(true);
    m_text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_text->setText(lumora::shownText(kHelpText));
    QFont textFont = font();
    textFont.setPointSizeF(10);
    m_text->setFont(textFont);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 12, 24, 12);
    layout->addWidget(m_text);

    m_timer1 = new QTimer(this);
    m_timer1->setObjectName(QStringLiteral("Timer1"));
    m_timer1->setInterval(kClockInterval);
    connect(m_timer1, &QTimer::timeout, this, &FrmHelp::Timer1_Timer);

    connect(qGuiApp, &QGuiApplication::focusWindowChanged, this, &FrmHelp::onFocusWindowChanged);
}

QString FrmHelp::captionNow() const {
    return QString::fromStdString(lumora::helpCaption(m_clock.now(), m_clock));
}

void FrmHelp::Form_Load() {
    m_loaded = true;
    setWindowTitle(QString::fromUtf8(lumora::kProductName));
    m_timer1->start();
}

void FrmHelp::showHelp() {
    if (!m_loaded) {
        Form_Load();
        lumora::centreOnScreen(this);
    }
    // The activation that follows the showing counts wherever the focus was before (a tray menu,
    // another application). By then the window manager has framed the window, so the centring
    // there takes the real frame into account.
    // A window being shown afresh still counts as active for a while after it was closed.
    m_showActivationPending = !isVisible() || !isActiveWindow();
    show();
    raise();
    activateWindow();
    // Being shown is an activation, whether or not the window manager hands the focus over.
    Form_Activate();
}

void FrmHelp::Form_Activate() {
    if (!m_loaded) {
        return;
    }
    if (m_inActivate) {
        // Activated while SetTopMost lets pending events run: run once more when done, when the
        // window manager has framed the window.
        m_activatedMeanwhile = true;
        return;
    }
    m_inActivate = true;
    int rounds = 0;
    do {
        m_activatedMeanwhile = false;
        setWindowTitle(captionNow());
        lumora::centreOnScreen(this);
        lumora::SetTopMost(this, lumora::kTopMostTrue);
    } while (m_activatedMeanwhile && m_loaded && ++rounds < 2);
    m_activatedMeanwhile = false;
    m_inActivate = false;
    m_framePolls = 0;
    centreWhenFramed();
}

void FrmHelp::centreWhenFramed() {
    if (!m_loaded || !isVisible()) {
        return;
    }
    if (frameGeometry().size() != geometry().size()) {
        if (m_framePolls > 0) {
            lumora::centreOnScreen(this); // the frame arrived after the activation's centring
        }
        return;
    }
    if (++m_framePolls <= 40) {
        QTimer::singleShot(25, this, &FrmHelp::centreWhenFramed);
    }
}

void FrmHelp::Timer1_Timer() {
    if (m_loaded) {
        setWindowTitle(captionNow());
    }
}

void FrmHelp::onFocusWindowChanged(QWindow* focus) {
    // Remember where the focus was before it comes to this window. This runs after the activation
    // event of the window that gets the focus, so at that event it still names the window before.
    if (focus != nullptr && focus == windowHandle()) {
        return;
    }
    m_focusBefore = focus;
}

bool FrmHelp::event(QEvent* event) {
    const bool handled = QWidget::event(event);
    if (event->type() == QEvent::WindowActivate) {
        // Coming back from another of the program's windows counts; coming back from another
        // application (the program had no active window) does not.
        if (m_showActivationPending || m_focusBefore != nullptr) {
            m_showActivationPending = false;
            Form_Activate();
        }
    }
    return handled;
}

void FrmHelp::closeEvent(QCloseEvent* event) {
    event->accept();
    m_timer1->stop();
    m_loaded = false;
    m_showActivationPending = false;
    // Unloaded: the next "&Help" loads a fresh window, as the first one did. A native window that
    // was only hidden stays "active" for the toolkit and would never be activated again.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (!isVisible()) {
                destroy();
            }
        },
        Qt::QueuedConnection);
}
