#include "recorder/Recorder.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusPendingCallWatcher>
#include <QDBusServiceWatcher>
#include <QMetaObject>
#include <chrono>
#include <cstdio>

namespace recorder {

namespace {
// An unanswered spectrum call is given up after this long, and the next frame may go.
constexpr int kReplyTimeoutMs = 1000;
} // namespace

Recorder::Recorder(std::unique_ptr<AudioSource> source, int framesPerSecond, QString configurator)
    : bus_(QDBusConnection::sessionBus()),
      service_(protocol_, [this](const Reaction& reaction) { React(reaction); }),
      source_(std::move(source)), analyser_(source_->SampleRate()), ring_(analyser_.BlockSize()),
      block_(analyser_.BlockSize()),
      pump_(std::chrono::nanoseconds(std::chrono::seconds(1)) / framesPerSecond,
            [this] { AnalyseAndSend(); }),
      configurator_(std::move(configurator)) {
    source_->onFailure = [this](const std::string& reason) {
        std::fprintf(stderr, "quarin-z17-recorder: %s\n", reason.c_str());
        QMetaObject::invokeMethod(
            this, [this] { Quit(kExitError); }, Qt::QueuedConnection);
    };
}

Recorder::~Recorder() {
    pump_.Pause();
    source_->Stop();
}

int Recorder::Publish() {
    if (!bus_.isConnected()) {
        std::fprintf(stderr, "quarin-z17-recorder: no D-Bus session bus\n");
        return kExitError;
    }
    const auto reply = bus_.interface()->registerService(
        QString::fromLatin1(kRecorderBusName), QDBusConnectionInterface::DontQueueService,
        QDBusConnectionInterface::DontAllowReplacement);
    if (!reply.isValid() || reply.value() != QDBusConnectionInterface::ServiceRegistered) {
        std::fprintf(stderr, "quarin-z17-recorder: %s\n",
                     reply.isValid() ? "another recorder is running"
                                     : qPrintable(reply.error().message()));
        return reply.isValid() ? kExitAlreadyRunning : kExitError;
    }
    bus_.registerObject(QString::fromLatin1(kRecorderObjectPath), &service_,
                        QDBusConnection::ExportAllSlots);
    // A configurator that is not there yet is waited for; one that leaves ends the recorder.
    configuratorWatcher_ = new QDBusServiceWatcher(
        configurator_, bus_, QDBusServiceWatcher::WatchForUnregistration, this);
    connect(configuratorWatcher_, &QDBusServiceWatcher::serviceUnregistered, this,
            [this] { Quit(kExitNormal); });
    // A connection's own name never comes back: one that is gone already will not be waited for.
    if (configurator_.startsWith(QLatin1Char(':')) &&
        !bus_.interface()->isServiceRegistered(configurator_))
        QMetaObject::invokeMethod(
            this, [this] { Quit(kExitNormal); }, Qt::QueuedConnection);
    return kExitNormal;
}

void Recorder::React(const Reaction& reaction) {
    if (reaction.startSending)
        StartSending();
    if (reaction.stopSending)
        StopSending();
    if (reaction.sendColour)
        SendColour();
    // Leave once the answer to this call is on its way.
    if (reaction.exit)
        QMetaObject::invokeMethod(
            this, [this] { Quit(kExitNormal); }, Qt::QueuedConnection);
}

void Recorder::StartSending() {
    std::string error;
    if (!source_->Start(ring_, error)) {
        std::fprintf(stderr, "quarin-z17-recorder: %s\n", error.c_str());
        Quit(kExitError);
        return;
    }
    pump_.Resume();
}

void Recorder::StopSending() {
    pump_.Pause();
    source_->Stop();
}

void Recorder::Quit(int code) {
    StopSending();
    QCoreApplication::exit(code);
}

void Recorder::AnalyseAndSend() {
    if (inFlight_.exchange(true))
        return; // the previous frame is still on its way: this one would be late
    ring_.CopyNewest(block_);
    analyser_.Analyse(block_, frame_);
    const auto bytes = EncodeSpectrum(frame_);
    QByteArray payload(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    QMetaObject::invokeMethod(
        this, [this, payload] { SendSpectrum(payload); }, Qt::QueuedConnection);
}

QDBusMessage Recorder::CallToConfigurator(std::uint32_t id, const QByteArray& payload) const {
    QDBusMessage call = QDBusMessage::createMethodCall(
        configurator_, QString::fromLatin1(kConfiguratorObjectPath),
        QString::fromLatin1(kConfiguratorInterface), QStringLiteral("PushCopyData"));
    call.setAutoStartService(false);
    call << quint32(id) << payload;
    return call;
}

void Recorder::SendSpectrum(const QByteArray& payload) {
    auto* watcher = new QDBusPendingCallWatcher(
        bus_.asyncCall(CallToConfigurator(kSpectrumDataId, payload), kReplyTimeoutMs), this);
    connect(
        watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* call) {
            if (call->isError() && !reportedSendError_) {
                reportedSendError_ = true;
                std::fprintf(stderr, "quarin-z17-recorder: the configurator refused a frame: %s\n",
                             qPrintable(call->error().message()));
            }
            inFlight_ = false;
            call->deleteLater();
        });
}

void Recorder::SendColour() {
    const auto bytes = EncodeColourSettings(protocol_.CurrentColour());
    // send() asks for no answer: colour settings are not flow-controlled.
    bus_.send(CallToConfigurator(
        kColourDataId, QByteArray(reinterpret_cast<const char*>(bytes.data()), bytes.size())));
}

} // namespace recorder
