#include "shell/music/RecorderLink.h"

#include "platform/DebugLog.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusServiceWatcher>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>

namespace shell::music {

namespace {

// The first greeting waits for the window to settle; a recorder that just came up is given
// time to export its object.
constexpr int kFirstGreetingMs = 100;
constexpr int kNewRecorderGreetingMs = 500;
// A recorder that does not take the style colour within this time is passed over.
constexpr int kStyleColourTimeoutMs = 1500;
constexpr int kRecorderExitMs = 1000;

} // namespace

CRecorderLink::CRecorderLink(QDBusConnection bus) : m_bus(std::move(bus)) {}

CRecorderLink::~CRecorderLink() {
    Stop();
}

void CRecorderLink::Start() {
    if (m_watcher || !m_bus.isConnected())
        return;
    m_watcher = new QDBusServiceWatcher(QString::fromLatin1(kRecorderService), m_bus,
                                        QDBusServiceWatcher::WatchForRegistration |
                                            QDBusServiceWatcher::WatchForUnregistration,
                                        this);
    m_greeting = new QTimer(this);
    m_greeting->setSingleShot(true);
    connect(m_greeting, &QTimer::timeout, this, [this] { Handshake(); });
    connect(m_watcher, &QDBusServiceWatcher::serviceRegistered, this,
            [this] { m_greeting->start(kNewRecorderGreetingMs); });
    connect(m_watcher, &QDBusServiceWatcher::serviceUnregistered, this, [this] {
        m_known = false;
        m_greeting->stop();
    });
    m_greeting->start(kFirstGreetingMs);
}

void CRecorderLink::Stop() {
    if (!m_watcher)
        return;
    Shutdown();
    delete m_watcher;
    m_watcher = nullptr;
    delete m_greeting;
    m_greeting = nullptr;
    EndProcess();
    platform::DebugLine("AudioDaemonThreadPrc stop");
}

bool CRecorderLink::Handshake() {
    QDBusConnectionInterface* names = m_bus.interface();
    m_known = names && names->isServiceRegistered(QString::fromLatin1(kRecorderService));
    if (!m_known)
        return false;
    // Calls to one peer arrive in the order sent: the three need no waiting in between.
    Call(QStringLiteral("RecorderMessage"),
         {quint32(kGreet), quint32(QCoreApplication::applicationPid())});
    Call(QStringLiteral("RecorderMessage"), {quint32(kGreetSecond), quint32(0)});
    Call(QStringLiteral("RecorderMessage"), {quint32(kGreetLast), quint32(0)});
    return true;
}

void CRecorderLink::Shutdown() {
    QDBusConnectionInterface* names = m_bus.isConnected() ? m_bus.interface() : nullptr;
    if (!names || !names->isServiceRegistered(QString::fromLatin1(kRecorderService)))
        return;
    for (const std::uint32_t command : {kStop, kStopSecond, kStopLast})
        Call(QStringLiteral("RecorderMessage"), {quint32(command), quint32(0)});
}

void CRecorderLink::SendCommand(std::uint32_t command, std::uint32_t argument) {
    if (m_known)
        Call(QStringLiteral("RecorderMessage"), {quint32(command), quint32(argument)});
}

void CRecorderLink::SendStyleColour(const std::vector<std::uint8_t>& payload) {
    if (!m_known)
        return;
    QDBusMessage call = QDBusMessage::createMethodCall(
        QString::fromLatin1(kRecorderService), QString::fromLatin1(kRecorderPath),
        QString::fromLatin1(kRecorderInterface), QStringLiteral("CopyData"));
    call << quint32(kStyleColourId)
         << QByteArray(reinterpret_cast<const char*>(payload.data()),
                       static_cast<qsizetype>(payload.size()));
    // The answer is not waited for; after the time-out it is dropped.
    m_bus.asyncCall(call, kStyleColourTimeoutMs);
}

void CRecorderLink::Call(const QString& method, const QVariantList& arguments) {
    QDBusMessage call = QDBusMessage::createMethodCall(
        QString::fromLatin1(kRecorderService), QString::fromLatin1(kRecorderPath),
        QString::fromLatin1(kRecorderInterface), method);
    call.setArguments(arguments);
    call.setAutoStartService(false);
    m_bus.send(call);
}

QString CRecorderLink::FindProgram() {
    const QString named = qEnvironmentVariable(kRecorderVariable);
    if (!named.isEmpty())
        return QFileInfo(named).isExecutable() ? named : QString();
    const QString here = QCoreApplication::applicationDirPath();
    for (const QString& candidate :
         {here + QLatin1Char('/') + QLatin1String(kRecorderProgram),
          here + QStringLiteral("/../recorder/") + QLatin1String(kRecorderProgram)}) {
        if (QFileInfo(candidate).isExecutable())
            return QDir::cleanPath(candidate);
    }
    return QStandardPaths::findExecutable(QLatin1String(kRecorderProgram));
}

bool CRecorderLink::IsRunning() const {
    return m_process && m_process->state() != QProcess::NotRunning;
}

void CRecorderLink::SetWanted(bool wanted, const QStringList& arguments) {
    if (!wanted) {
        if (IsRunning())
            Shutdown();
        EndProcess();
        return;
    }
    if (IsRunning())
        return;
    const QString program = FindProgram();
    if (program.isEmpty()) {
        if (!m_missingReported)
            platform::DebugLine("the music recorder (quarin-z17-recorder) is not installed");
        m_missingReported = true;
        return;
    }
    m_process = std::make_unique<QProcess>();
    m_process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process->setStandardOutputFile(QProcess::nullDevice());
    // The recorder sends to this connection and ends when it goes.
    m_process->start(program, QStringList(arguments)
                                  << QStringLiteral("--configurator") << m_bus.baseService());
}

void CRecorderLink::EndProcess() {
    if (!m_process)
        return;
    // The goodbye makes it end by itself; one that does not is ended.
    if (m_process->state() != QProcess::NotRunning &&
        !m_process->waitForFinished(kRecorderExitMs)) {
        m_process->terminate();
        if (!m_process->waitForFinished(kRecorderExitMs))
            m_process->kill();
        m_process->waitForFinished(kRecorderExitMs);
    }
    m_process.reset();
}

} // namespace shell::music
