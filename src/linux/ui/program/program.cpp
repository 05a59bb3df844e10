#include "linux/ui/program/program.h"

#include "linux/platform/memory.h"
#include "linux/ui/auxiliary/placement.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QIcon>
#include <QMenu>
#include <QTimer>

using namespace lumora;

Program::Program(ProgramPlatform p, QObject* parent)
    : QObject(parent), m_registry(p.registry), m_options(p.options),
      m_window(std::make_unique<FrmMain>()), m_dialogs(m_window.get()), m_clock(p.clock),
      m_trayHost(std::make_unique<QtTrayHost>(lumora::programIcon())),
      m_trayMenu(std::make_unique<QtTrayMenu>(m_menu)), m_tray(*m_trayHost),
      m_alerts(m_tray, *m_window),
      m_engine(m_state, EngineServices{m_registry, m_options, p.desktop, m_alerts, p.events,
                                       p.program, p.resources, m_dialogs, p.files}),
      m_engineRoutines(m_engine) {
    m_engine.setFileSync(p.fileSync);
    m_logic = std::make_unique<FrmMainLogic>(
        FrmMainServices{m_state, m_options, m_registry, m_engineRoutines, p.desktop, p.instance,
                        m_dialogs, p.autostart, p.program, p.clock, m_tray, m_menu, m_alerts,
                        *m_window, m_aboutPort, m_helpPort, m_preview, p.dayWatch});
    m_trayHost->setMenu(m_trayMenu->menu());
    connectWindows();
    m_handBack.setSingleShot(true);
    m_handBack.setInterval(std::chrono::seconds(30));
    connect(&m_handBack, &QTimer::timeout, this, [this] {
        if (!m_window->isVisible() && !otherWindowOpen() && !m_trayMenu->menu()->isVisible()) {
            lumora::handBackCodePages();
        }
    });
    m_window->installEventFilter(this);
}

void Program::handBackPagesSoon() {
    m_handBack.start();
}

Program::~Program() {
    // The windows outlive the logic the filter asks; their last events must not reach it.
    if (m_about) {
        m_about->removeEventFilter(this);
    }
    if (m_help) {
        m_help->removeEventFilter(this);
    }
}

FrmAbout& Program::about() {
    if (!m_about) {
        m_about = std::make_unique<FrmAbout>(m_clock);
        m_about->installEventFilter(this);
        TrayController& tray = m_logic->tray;
        connect(m_about.get(), &FrmAbout::settingsWindowWanted, this,
                [&tray] { tray.aboutClosed(); });
    }
    return *m_about;
}

FrmHelp& Program::help() {
    if (!m_help) {
        m_help = std::make_unique<FrmHelp>(m_clock);
        m_help->installEventFilter(this);
    }
    return *m_help;
}

bool Program::start() {
    if (!m_logic->startUp.Form_Load()) {
        return false;
    }
    m_logic->dayWatch.start();
    handBackPagesSoon();
    return true;
}

bool Program::startOnce() {
    return m_logic->startUp.Form_Load(StartMode::Once);
}

void Program::connectWindows() {
    SettingsEditor& editor = m_logic->editor;
    TrayController& tray = m_logic->tray;
    FrmMain* w = m_window.get();
    connect(w, &FrmMain::label1Clicked, this, [&editor](int i) { editor.Label1_Click(i); });
    connect(w, &FrmMain::label2Clicked, this, [&editor](int i) { editor.Label2_Click(i); });
    connect(w, &FrmMain::label3Clicked, this, [&editor](int i) { editor.Label3_Click(i); });
    connect(w, &FrmMain::image1Clicked, this, [&editor](int i) { editor.Image1_Click(i); });
    connect(w, &FrmMain::image1Moved, this, [&editor](int i) { editor.Image1_MouseMove(i); });
    connect(w, &FrmMain::label1Moved, this, [&editor] { editor.Label1_MouseMove(); });
    connect(w, &FrmMain::backgroundMoved, this, [&editor] { editor.Label1_MouseMove(); });
    connect(w, &FrmMain::shown, this, [&editor] { editor.windowShown(); });
    connect(w, &FrmMain::activatedFromProgramWindow, this, [&editor] { editor.Form_Activate(); });
    connect(w, &FrmMain::closeRequested, this,
            [&tray] { tray.Form_QueryUnload(vbFormControlMenu); });
    connect(w, &FrmMain::helpKeyPressed, this, [&tray] { tray.Form_KeyDown(vbKeyF1, 0); });
    connect(w, &FrmMain::captionTick, this, [&editor] { editor.refreshCaption(); });
    connect(w, &FrmMain::blinkTick, this, [&editor] { editor.Timer2_Timer(); });
    connect(w, &FrmMain::menuPopupRequested, m_trayMenu.get(), &QtTrayMenu::popupAtCursor);
    connect(w, &FrmMain::menuCheckMarksChanged, m_trayMenu.get(), &QtTrayMenu::sync);
    connect(w, &FrmMain::unloadedForGood, this, [this] {
        m_trayMenu->menu()->hide();
        emit unloadedForGood();
        QTimer::singleShot(0, this, &Program::quitWhenNoWindowIsLeft);
    });
    connect(m_trayMenu.get(), &QtTrayMenu::chosen, this,
            [&tray](MenuId id, int index) { tray.menuClicked(id, index); });
    connect(m_trayHost.get(), &QtTrayHost::mouseMessage, this,
            [&tray](float message) { tray.trayCallback(message); });
    connect(&m_preview, &PreviewReference::windowClosed, this, [this] {
        handBackPagesSoon();
        if (unloaded()) {
            QTimer::singleShot(0, this, &Program::quitWhenNoWindowIsLeft);
        }
    });
    // Windows at logoff: the unload goes ahead and the icon is removed.
    connect(qApp, &QCoreApplication::aboutToQuit, this, [&tray] {
        if (!tray.unloaded() && !tray.Form_QueryUnload(2)) {
            tray.Form_Unload();
        }
    });
}

bool Program::otherWindowOpen() const {
    return (m_about && m_about->isVisible()) || (m_help && m_help->isVisible()) ||
           (m_preview.window() != nullptr && m_preview.window()->isVisible());
}

bool Program::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Hide) {
        handBackPagesSoon();
    }
    if (watched != m_window.get() && unloaded() &&
        (event->type() == QEvent::Hide || event->type() == QEvent::Close)) {
        QTimer::singleShot(0, this, &Program::quitWhenNoWindowIsLeft);
    }
    return QObject::eventFilter(watched, event);
}

void Program::quitWhenNoWindowIsLeft() {
    if (!otherWindowOpen()) {
        QCoreApplication::quit();
    }
}
