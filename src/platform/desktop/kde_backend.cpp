#include "platform/desktop/kde_backend.h"

#include "platform/desktop/desktop_mapping.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QString>

#include <cstdio>

namespace lumora {

bool KdeBackend::evaluate(const std::string& script) {
    QDBusMessage message = QDBusMessage::createMethodCall(
        QStringLiteral("org.kde.plasmashell"), QStringLiteral("/PlasmaShell"),
        QStringLiteral("org.kde.PlasmaShell"), QStringLiteral("evaluateScript"));
    message.setArguments({QString::fromStdString(script)});
    const QDBusMessage reply = QDBusConnection::sessionBus().call(message, QDBus::Block, 10000);
    if (reply.type() != QDBusMessage::ReplyMessage) {
        std::fprintf(stderr, "lumora: Plasma did not take the wallpaper script: %s\n",
                     reply.errorMessage().toLocal8Bit().constData());
        return false;
    }
    return true;
}

void KdeBackend::setWallpaper(const std::string& path, int style) {
    evaluate(kdeWallpaperScript(path, style, m_color));
}

void KdeBackend::setBackgroundColor(std::uint32_t rgb) {
    m_color = rgb;
    evaluate(kdeColorScript(rgb));
}

} // namespace lumora
