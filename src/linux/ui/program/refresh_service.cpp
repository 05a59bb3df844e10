#include "linux/ui/program/refresh_service.h"

#include "linux/ui/program/program.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>

#include <cstdio>

RefreshService::RefreshService(Program& program, QObject* parent)
    : QObject(parent), m_program(program) {}

RefreshService::~RefreshService() {
    if (m_published) {
        QDBusConnection bus = QDBusConnection::sessionBus();
        bus.unregisterService(QString::fromLatin1(kRefreshServiceName));
        bus.unregisterObject(QString::fromLatin1(kRefreshObjectPath));
    }
}

bool RefreshService::publish() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        std::fprintf(stderr, "lumora: no session bus: `lumora --refresh` cannot reach this one\n");
        return false;
    }
    if (!bus.registerObject(QString::fromLatin1(kRefreshObjectPath), this,
                            QDBusConnection::ExportScriptableSlots) ||
        !bus.registerService(QString::fromLatin1(kRefreshServiceName))) {
        std::fprintf(stderr, "lumora: cannot take %s on the session bus: %s\n", kRefreshServiceName,
                     qPrintable(bus.lastError().message()));
        bus.unregisterObject(QString::fromLatin1(kRefreshObjectPath));
        return false;
    }
    m_published = true;
    return true;
}

bool RefreshService::Refresh(QString& reason) {
    if (m_program.unloaded()) {
        reason = QStringLiteral("Lumora is ending");
        return false;
    }
    m_program.logic().tray.mnurefresh_Click();
    const lumora::DesktopResult& result = m_program.lastApplyResult();
    reason = QString::fromStdString(result.reason);
    return result.ok;
}

RefreshReply askRunningProgramToRefresh() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    const QString name = QString::fromLatin1(kRefreshServiceName);
    if (!bus.isConnected() || bus.interface() == nullptr ||
        !bus.interface()->isServiceRegistered(name).value()) {
        return {};
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        name, QString::fromLatin1(kRefreshObjectPath), QString::fromLatin1(kRefreshServiceName),
        QStringLiteral("Refresh"));
    // A large picture takes a while to draw; the call waits for it.
    constexpr int kReplyTimeoutMs = 120000;
    const QDBusMessage reply = bus.call(call, QDBus::Block, kReplyTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() != 2) {
        return {RefreshReply::Status::Failed,
                QStringLiteral("the running Lumora did not answer: ") + reply.errorMessage()};
    }
    if (reply.arguments().at(0).toBool()) {
        return {RefreshReply::Status::Done, {}};
    }
    return {RefreshReply::Status::Failed, reply.arguments().at(1).toString()};
}
