#pragma once
// The notification area through Qt: the icon record becomes a QSystemTrayIcon (XEmbed or
// StatusNotifierItem, whichever the session's tray host speaks), and a balloon becomes a
// notification of the freedesktop service when one is on the session bus.
#include "core/tray/tray_icon_data.h"
#include "core/ports/tray_host.h"

#include <QIcon>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QSystemTrayIcon>

#include <functional>

class QMenu;

class QtTrayHost : public QObject, public lumora::TrayHost {
    Q_OBJECT
public:
    explicit QtTrayHost(QIcon icon, QObject* parent = nullptr);
    ~QtTrayHost() override;

    bool notifyIcon(std::uint32_t message, const lumora::TrayIconData& data) override;

    // Receives each mouse event on the icon as the message number the callback carries.
    void setCallback(std::function<void(float)> callback) { m_callback = std::move(callback); }
    // The menu a StatusNotifierItem host draws itself; an XEmbed host gets it from the callback.
    void setMenu(QMenu* menu);

    QSystemTrayIcon* icon() const { return m_icon; }
    bool statusNotifierHost() const { return m_sni; }

    // The message number for a Qt activation. A StatusNotifierItem host never sends a
    // double-click, only single activations, so there a single activation counts as one.
    static std::uint32_t messageFor(QSystemTrayIcon::ActivationReason reason, bool sniHost);
    // A two-line text of the program ("\n\r" between the lines) as one line break.
    static QString displayText(const std::string& text);
    // The notification icon name for an alert icon kind.
    static QString iconName(std::uint32_t infoFlags);
    // Whether a StatusNotifierItem host is registered on the session bus (Qt then uses it).
    static bool statusNotifierHostRegistered();
    // Whether org.freedesktop.Notifications has an owner on the session bus.
    static bool notificationServicePresent();

signals:
    // An alert left the program: through the notification service ("bus") or Qt ("qt").
    void alertSent(const QString& route, const QString& title, const QString& text);

private:
    void apply(const lumora::TrayIconData& data, bool add);
    void alert(const lumora::TrayIconData& data);
    void onActivated(QSystemTrayIcon::ActivationReason reason);

    QIcon m_programIcon;
    QPointer<QSystemTrayIcon> m_icon;
    QPointer<QMenu> m_menu;
    std::function<void(float)> m_callback;
    bool m_sni = false;
};
