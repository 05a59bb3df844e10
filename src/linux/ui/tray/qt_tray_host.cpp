#include "linux/ui/tray/qt_tray_host.h"

#include "core/text/texts.h"
#include "core/text/translation.h"
#include "core/tray/tray_module.h"
#include "linux/ui/text/translation.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QGuiApplication>
#include <QMenu>
#include <QStringList>
#include <QTimer>
#include <QVariantMap>

#include <xcb/xcb.h>

using namespace lumora;

QtTrayHost::QtTrayHost(QIcon icon, QObject* parent)
    : QObject(parent), m_programIcon(std::move(icon)) {
    // A StatusNotifierItem is registered with the watcher once, when it is shown; a watcher that
    // restarts (the panel crashed or was replaced) knows no items. The icon is then shown anew,
    // which registers it with the new watcher, so it comes back as an XEmbed icon does.
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (bus.isConnected()) {
        auto* watcher =
            new QDBusServiceWatcher(QStringLiteral("org.kde.StatusNotifierWatcher"), bus,
                                    QDBusServiceWatcher::WatchForRegistration, this);
        // A watcher may take its name before it answers registrations: the icon is shown anew at
        // once and again a second later (a registration that came too early is made again).
        connect(watcher, &QDBusServiceWatcher::serviceRegistered, this, [this] {
            const auto showAnew = [this] {
                if (m_icon && m_sni && m_icon->isVisible()) {
                    m_icon->hide();
                    m_icon->show();
                }
            };
            showAnew();
            QTimer::singleShot(1000, this, showAnew);
        });
    }
}

QtTrayHost::~QtTrayHost() {
    delete m_icon;
}

void QtTrayHost::setMenu(QMenu* menu) {
    m_menu = menu;
    if (m_icon && m_sni) {
        m_icon->setContextMenu(menu);
    }
}

std::uint32_t QtTrayHost::messageFor(QSystemTrayIcon::ActivationReason reason, bool sniHost) {
    switch (reason) {
    case QSystemTrayIcon::DoubleClick:
        return WM_LBUTTONDBLCLK;
    case QSystemTrayIcon::Context:
        return WM_RBUTTONDOWN;
    case QSystemTrayIcon::Trigger:
        return sniHost ? WM_LBUTTONDBLCLK : WM_LBUTTONUP;
    case QSystemTrayIcon::MiddleClick:
        return WM_MBUTTONDOWN;
    case QSystemTrayIcon::Unknown:
        break;
    }
    return WM_MOUSEMOVE;
}

QString QtTrayHost::displayText(const std::string& text) {
    QString s = shownText(text);
    s.replace(QStringLiteral("\n\r"), QStringLiteral("\n"));
    return s;
}

QString QtTrayHost::iconName(std::uint32_t infoFlags) {
    switch (infoFlags) {
    case NIIF_INFO:
        return QStringLiteral("dialog-information");
    case NIIF_WARNING:
        return QStringLiteral("dialog-warning");
    case NIIF_ERROR:
        return QStringLiteral("dialog-error");
    default:
        return QString();
    }
}

bool QtTrayHost::statusNotifierHostRegistered() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface()) {
        return false;
    }
    const QString watcher = QStringLiteral("org.kde.StatusNotifierWatcher");
    if (!bus.interface()->isServiceRegistered(watcher)) {
        return false;
    }
    QDBusMessage get = QDBusMessage::createMethodCall(
        watcher, QStringLiteral("/StatusNotifierWatcher"),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << watcher << QStringLiteral("IsStatusNotifierHostRegistered");
    QDBusReply<QDBusVariant> reply = bus.call(get, QDBus::Block, 2000);
    return reply.isValid() && reply.value().variant().toBool();
}

bool QtTrayHost::notificationServicePresent() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    return bus.isConnected() && bus.interface() &&
           bus.interface()->isServiceRegistered(QStringLiteral("org.freedesktop.Notifications"));
}

bool QtTrayHost::notifyIcon(std::uint32_t message, const TrayIconData& data) {
    switch (message) {
    case NIM_ADD:
        if (m_icon) {
            return false; // the icon exists already
        }
        apply(data, true);
        return true;
    case NIM_MODIFY:
        if (!m_icon) {
            return false;
        }
        apply(data, false);
        return true;
    case NIM_DELETE:
        if (!m_icon) {
            return false;
        }
        m_icon->hide();
        delete m_icon;
        return true;
    default:
        return false;
    }
}

void QtTrayHost::apply(const TrayIconData& data, bool add) {
    if (add) {
        // Qt picks XEmbed or StatusNotifierItem when the icon is made; ask the same question.
        m_sni = statusNotifierHostRegistered();
        m_icon = new QSystemTrayIcon();
        connect(m_icon, &QSystemTrayIcon::activated, this, &QtTrayHost::onActivated);
        if (m_sni && m_menu) {
            m_icon->setContextMenu(m_menu);
        }
    }
    if (data.uFlags & NIF_ICON) {
        m_icon->setIcon(data.hIcon != 0 ? m_programIcon : QIcon());
    }
    if (data.uFlags & NIF_TIP) {
        m_icon->setToolTip(displayText(fieldText(data.szTip)));
    }
    if (add) {
        // Kept visible for good: Qt embeds it as soon as a tray host appears, and again after
        // the host restarts.
        m_icon->show();
        if (!m_sni) {
            // The request to dock goes to the tray host now, not when start-up reaches the event
            // loop: the host embeds the icon while today's wallpaper is being set.
            auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
            if (xcb_connection_t* connection = x11 ? x11->connection() : nullptr) {
                xcb_flush(connection);
            }
        }
    }
    if ((data.uFlags & NIF_INFO) && !fieldText(data.szInfo).empty()) {
        alert(data);
    }
}

void QtTrayHost::alert(const TrayIconData& data) {
    QString title = displayText(fieldText(data.szInfoTitle));
    QString text = displayText(fieldText(data.szInfo));
    auto timeout = static_cast<int>(data.uTimeout);
    if (notificationServicePresent()) {
        QDBusMessage notify = QDBusMessage::createMethodCall(
            QStringLiteral("org.freedesktop.Notifications"),
            QStringLiteral("/org/freedesktop/Notifications"),
            QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
        notify << QString::fromUtf8(kProductName) << 0u << iconName(data.dwInfoFlags) << title
               << text << QStringList() << QVariantMap() << timeout;
        QDBusConnection::sessionBus().call(notify, QDBus::NoBlock);
        emit alertSent(QStringLiteral("bus"), title, text);
        return;
    }
    QSystemTrayIcon::MessageIcon kind = QSystemTrayIcon::NoIcon;
    switch (data.dwInfoFlags) {
    case NIIF_INFO:
        kind = QSystemTrayIcon::Information;
        break;
    case NIIF_WARNING:
        kind = QSystemTrayIcon::Warning;
        break;
    case NIIF_ERROR:
        kind = QSystemTrayIcon::Critical;
        break;
    default:
        break;
    }
    m_icon->showMessage(title, text, kind, timeout);
    emit alertSent(QStringLiteral("qt"), title, text);
}

void QtTrayHost::onActivated(QSystemTrayIcon::ActivationReason reason) {
    emit mouseMessage(static_cast<float>(messageFor(reason, m_sni)));
}
