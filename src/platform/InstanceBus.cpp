#include "platform/InstanceBus.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>

namespace platform {

InstanceBus::Claim InstanceBus::ClaimName() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return Claim::NoBus;
    bus.registerObject(QString::fromLatin1(kObjectPath), this,
                       QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals);
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

void InstanceBus::AnnounceLightControl(quint32 wParam, quint32 lParam) {
    emit LightControlChanged(wParam, lParam);
}

void InstanceBus::Activate() {
    if (handlers.activate)
        handlers.activate();
}

void InstanceBus::SetLightControl(quint32 wParam, quint32 lParam) {
    if (handlers.setLightControl)
        handlers.setLightControl(wParam, lParam);
}

QByteArray InstanceBus::Identify() {
    return handlers.identify ? handlers.identify() : QByteArray();
}

void InstanceBus::SettingsRelay(quint32 wParam, quint32 lParam) {
    if (handlers.settingsRelay)
        handlers.settingsRelay(wParam, lParam);
}

void InstanceBus::PushCopyData(quint32 id, const QByteArray& bytes) {
    const CopyDataResult result =
        handlers.copyData ? handlers.copyData(id, bytes) : CopyDataResult::Taken;
    if (!calledFromDBus())
        return;
    if (result == CopyDataResult::TooLarge)
        sendErrorReply(
            QString::fromLatin1(kErrorTooLarge),
            QStringLiteral("%1 bytes do not fit the buffer of data %2").arg(bytes.size()).arg(id));
    else if (result == CopyDataResult::UnknownId)
        sendErrorReply(QString::fromLatin1(kErrorUnknownData),
                       QStringLiteral("no data of id %1 is taken").arg(id));
}

void InstanceBus::GameEvent(const QString& name, quint32 form, quint32 mode) {
    if ((!handlers.gameEvent || !handlers.gameEvent(name, form, mode)) && calledFromDBus())
        sendErrorReply(QString::fromLatin1(kErrorUnknownEvent),
                       QStringLiteral("\"%1\" is not a game event").arg(name));
}

} // namespace platform

namespace platform {

int InstanceBus::RunCommand(const QStringList& args, bool json, QString& out, QString& err) {
    std::vector<std::string> words;
    for (const QString& arg : args)
        words.push_back(arg.toStdString());
    if (!calledFromDBus() || !handlers.runCommand) {
        if (calledFromDBus())
            sendErrorReply(QString::fromLatin1(kErrorNotRun),
                           QStringLiteral("this program runs no commands now"));
        return 1;
    }
    // Answered from the command's thread once it ends: the UI thread does not wait for it.
    setDelayedReply(true);
    handlers.runCommand(
        std::move(words), json,
        [call = message(), bus = connection()](std::optional<CommandOutput> run) {
            QDBusConnection connection = bus;
            if (!run) {
                connection.send(
                    call.createErrorReply(QString::fromLatin1(kErrorNotRun),
                                          QStringLiteral("the program is closing; the command was "
                                                         "not run")));
                return;
            }
            connection.send(call.createReply({run->exitCode, QString::fromStdString(run->out),
                                              QString::fromStdString(run->err)}));
        });
    out.clear();
    err.clear();
    return 0;
}

} // namespace platform
