#include "platform/InstanceBus.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>

namespace platform {

InstanceBus::Claim InstanceBus::ClaimName() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return Claim::NoBus;
    bus.registerObject(QString::fromLatin1(kObjectPath), this, QDBusConnection::ExportAllSlots);
    const auto reply = bus.interface()->registerService(
        QString::fromLatin1(kBusName), QDBusConnectionInterface::DontQueueService,
        QDBusConnectionInterface::DontAllowReplacement);
    if (reply.isValid() && reply.value() == QDBusConnectionInterface::ServiceRegistered)
        return Claim::Owned;
    bus.unregisterObject(QString::fromLatin1(kObjectPath));
    return reply.isValid() ? Claim::AnotherInstance : Claim::NoBus;
}

bool InstanceBus::ActivateRunningInstance(QString* error) {
    QDBusMessage call = QDBusMessage::createMethodCall(
        QString::fromLatin1(kBusName), QString::fromLatin1(kObjectPath),
        QString::fromLatin1(kInterface), QStringLiteral("Activate"));
    const QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::Block, 5000);
    if (reply.type() == QDBusMessage::ErrorMessage) {
        if (error)
            *error = reply.errorMessage();
        return false;
    }
    return true;
}

void InstanceBus::Activate() {
    if (onActivate)
        onActivate();
}

} // namespace platform
