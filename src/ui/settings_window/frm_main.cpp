#include "ui/settings_window/frm_main.h"

#include "core/text/texts.h"
#include "ui/auxiliary/sys_mod.h"
#include "ui/tray/qt_tray_host.h"
#include "ui/tray/qt_tray_menu.h"

#include <QApplication>
#include <QCloseEvent>
#include <QIcon>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>

using namespace lumora;

namespace {
QIcon programIcon() {
    QIcon icon;
    for (int size : {16, 22, 32, 48}) {
        icon.addFile(QStringLiteral(":/lumora/icons/lumora-%1.png").arg(size), QSize(size, size));
    }
    return icon;
}
} // namespace

FrmMain::FrmMain(FrmMainPlatform platform, AboutWindow& about, HelpWindow& help, QWidget* parent)
    : QWidget(parent), m_registry(platform.registry), m_options(platform.options),
      m_trayHost(std::make_unique<QtTrayHost>(programIcon())), m_tray(*m_trayHost),
      m_alerts(m_tray, *this),
      m_engine(m_state,
               EngineServices{m_registry, m_options, platform.desktop, m_alerts, platform.events,
                              platform.program, platform.resources, platform.dialogs}),
      m_engineRoutines(m_engine),
      m_logic(FrmMainServices{m_state, m_menu, m_tray, m_options, m_registry, m_engineRoutines,
                              platform.desktop, platform.instance, platform.dialogs,
                              platform.autostart, platform.program, platform.clock, *this, about,
                              help}) {
    m_engine.setFileSync(platform.fileSync);
    setObjectName(QStringLiteral("FrmMain"));
    setWindowTitle(QString::fromUtf8(kProductName));
    setWindowIcon(programIcon());
    setMouseTracking(true);
    m_trayMenu = std::make_unique<QtTrayMenu>(
        m_menu, [this](MenuId id, int index) { m_logic.menuClicked(id, index); });
    m_trayHost->setMenu(m_trayMenu->menu());
    m_trayHost->setCallback([this](float x) { m_logic.trayCallback(x); });
    // Windows at logoff: the unload goes ahead and the icon is removed.
    connect(qApp, &QCoreApplication::aboutToQuit, this, [this] {
        if (!m_logic.unloaded() && !m_logic.Form_QueryUnload(2)) {
            m_logic.Form_Unload();
        }
    });
}

FrmMain::~FrmMain() {
    qApp->removeEventFilter(this);
}

bool FrmMain::Form_Load() {
    return m_logic.Form_Load();
}

void FrmMain::aboutClosed() {
    m_logic.aboutClosed();
}

QString FrmMain::label1Caption(int index) const {
    auto it = m_label1.find(index);
    return it == m_label1.end() ? QString() : it->second;
}

std::string FrmMain::caption() const {
    return windowTitle().toStdString();
}

void FrmMain::setCaption(const std::string& caption) {
    setWindowTitle(QString::fromStdString(caption));
}

bool FrmMain::isShown() const {
    return isVisible();
}

void FrmMain::showWindow() {
    if (m_logic.unloaded()) {
        return;
    }
    show();
}

void FrmMain::hideWindow() {
    hide();
}

void FrmMain::setTopMost() {
    SetTopMost(this, kTopMostTrue);
}

void FrmMain::popupMenu() {
    m_trayMenu->popupAtCursor();
}

void FrmMain::setMenuChecked(MenuId, bool) {
    m_trayMenu->sync();
}

void FrmMain::destroyWindow() {
    m_closingFromCode = true;
    hide();
    m_trayMenu->menu()->hide();
    emit unloadedForGood();
    // The process ends once no other window of the program is open.
    qApp->installEventFilter(this);
    QTimer::singleShot(0, this, &FrmMain::quitWhenNoWindowIsLeft);
}

bool FrmMain::eventFilter(QObject* watched, QEvent* event) {
    if (m_logic.unloaded() && watched->isWidgetType() &&
        (event->type() == QEvent::Hide || event->type() == QEvent::Close)) {
        QTimer::singleShot(0, this, &FrmMain::quitWhenNoWindowIsLeft);
    }
    return QWidget::eventFilter(watched, event);
}

void FrmMain::quitWhenNoWindowIsLeft() {
    if (!otherWindowOpen()) {
        QCoreApplication::quit();
    }
}

bool FrmMain::otherWindowOpen() const {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w == this || !w->isVisible()) {
            continue;
        }
        Qt::WindowType type = w->windowType();
        if (type == Qt::Popup || type == Qt::ToolTip) {
            continue;
        }
        if (w->inherits("QSystemTrayIconSys")) {
            continue;
        }
        return true;
    }
    return false;
}

void FrmMain::AffDays() {
    // The day panels come with the settings window.
}

void FrmMain::setLabel1Caption(int index, const std::string& caption) {
    m_label1[index] = QString::fromStdString(caption);
}

void FrmMain::Lab18ToolTip(float mode) {
    m_label8ToolTip = QString::number(static_cast<double>(mode));
}

void FrmMain::AffModif() {
    // The Apply and Cancel labels come with the settings window.
}

void FrmMain::setStyleLabel(int weekdayNumber, const std::string& caption,
                            const std::string& toolTip) {
    m_label3[weekdayNumber] = {QString::fromStdString(caption), QString::fromStdString(toolTip)};
}

void FrmMain::AffMessage(bool enabled) {
    m_label1[9] = enabled ? QStringLiteral("Display Messages Enabled")
                          : QStringLiteral("Display Messages Disabled");
}

void FrmMain::AffPics() {
    // The thumbnails come with the settings window.
}

void FrmMain::ModifBold() {
    // Today's name in bold comes with the settings window.
}

void FrmMain::resetInfoPanel() {
    m_label1[15] = QStringLiteral("Author");
}

void FrmMain::dropThumbnails() {
    // The thumbnails come with the settings window.
}

void FrmMain::mnuday_Click(int) {
    // Choosing a day's picture comes with the settings window.
}

void FrmMain::closeEvent(QCloseEvent* event) {
    if (m_closingFromCode) {
        event->accept();
        return;
    }
    // The close box: the program stays in the notification area.
    if (m_logic.Form_QueryUnload(vbFormControlMenu)) {
        event->ignore();
        return;
    }
    event->accept();
}

void FrmMain::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1) {
        m_logic.Form_KeyDown(vbKeyF1, 0);
        return;
    }
    QWidget::keyPressEvent(event);
}

void FrmMain::mouseMoveEvent(QMouseEvent* event) {
    // Real movement over the window; tray events come from the tray host only.
    m_logic.Form_MouseMove();
    QWidget::mouseMoveEvent(event);
}

void FrmMain::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && !m_logic.unloaded()) {
        m_logic.Form_Activate();
    }
    QWidget::changeEvent(event);
}
