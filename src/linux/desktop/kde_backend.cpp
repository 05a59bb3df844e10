#include "linux/desktop/kde_backend.h"

#include "linux/desktop/desktop_mapping.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QString>

namespace lumora {

DesktopResult KdeBackend::evaluate(const std::string& script) {
    QDBusMessage message = QDBusMessage::createMethodCall(
        QStringLiteral("org.kde.plasmashell"), QStringLiteral("/PlasmaShell"),
        QStringLiteral("org.kde.PlasmaShell"), QStringLiteral("evaluateScript"));
    message.setArguments({QString::fromStdString(script)});
    const QDBusMessage reply = QDBusConnection::sessionBus().call(message, QDBus::Block, 10000);
    if (reply.type() != QDBusMessage::ReplyMessage) {
        return m_log.fail("Plasma did not take the wallpaper script: " +
                          reply.errorMessage().toStdString());
    }
    return DesktopResult::success();
}

DesktopResult KdeBackend::setWallpaper(const std::string& path, int style) {
    if (DesktopResult refused = m_log.checkPicturePath(path); !refused) {
        return refused;
    }
    return evaluate(kdeWallpaperScript(path, style, m_color));
}

DesktopResult KdeBackend::setBackgroundColor(std::uint32_t rgb) {
    m_color = rgb;
    return evaluate(kdeColorScript(rgb));
}

} // namespace lumora
