#pragma once
// The notification area through Qt: the icon record becomes a QSystemTrayIcon (XEmbed or
// StatusNotifierItem, whichever the session's tray host speaks), and a balloon becomes a
// notification of the freedesktop service when one is on the session bus.
#include "core/ports/tray_host.h"
#include "core/tray/tray_icon_data.h"

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

    // The menu a StatusNotifierItem host draws itself; an XEmbed host gets it from the callback.
    void setMenu(QMenu* menu);

    QSystemTrayIcon* icon() const { return m_icon; }
    bool statusNotifierHost() const { return m_sni; }

    // The message number for a Qt activation. A StatusNotifierItem host never sends a
    // double-click, only single activations, so there a single activation counts as one.
    static std::uint32_t messageFor(QSystemTrayIcon::ActivationReason reason, bool sniHost);
    // A text of the program as shown: each line break ("\n\r", line feed then carriage
    // return) becomes one line break. Every box and alert shows texts through this.
    static QString displayText(const std::string& text);
    // The notification icon name for an alert icon kind.
    static QString iconName(std::uint32_t infoFlags);
    // Whether a StatusNotifierItem host is registered on the session bus (Qt then uses it).
    static bool statusNotifierHostRegistered();
    // Whether org.freedesktop.Notifications has an owner on the session bus.
    static bool notificationServicePresent();

signals:
    // A mouse event on the icon, as the message number the icon's callback carries.
    void mouseMessage(float message);
    // An alert left the program: through the notification service ("bus") or Qt ("qt").
    void alertSent(const QString& route, const QString& title, const QString& text);

private:
    void apply(const lumora::TrayIconData& data, bool add);
    void alert(const lumora::TrayIconData& data);
    void onActivated(QSystemTrayIcon::ActivationReason reason);

    QIcon m_programIcon;
    QPointer<QSystemTrayIcon> m_icon;
    QPointer<QMenu> m_menu;
    bool m_sni = false;
};
