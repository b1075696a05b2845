// The program as a user starts it: --help and --version, the single-instance hand-over between
// two real processes on a private session bus, running without a bus, and ending on SIGTERM.

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

#include "support/TestEnvironment.h"

namespace {

const QString kProgram = QStringLiteral(QUARIN_PROGRAM);

// A private D-Bus session bus for one test, so the test never meets a real running instance.
class PrivateBus {
public:
    PrivateBus() {
        m_daemon.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
        if (m_daemon.waitForReadyRead(5000))
            m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
    }
    ~PrivateBus() {
        QDBusConnection::disconnectFromBus("private");
        m_daemon.kill();
        m_daemon.waitForFinished();
    }
    QString Address() const { return m_address; }
    bool IsOwned(const QString& name) {
        QDBusConnection bus = QDBusConnection::connectToBus(m_address, "private");
        return bus.isConnected() && bus.interface()->isServiceRegistered(name);
    }

private:
    QProcess m_daemon;
    QString m_address;
};

class ProgramTest : public ::testing::Test {
protected:
    std::unique_ptr<QProcess> Start(const QStringList& args = {}, const QString& busAddress = {},
                                    const QProcessEnvironment& extra = {}) {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(extra);
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("QUARIN_Z17_DEBUG", "1");
        environment.insert("XDG_DATA_HOME", dirs.path() + "/data");
        environment.insert("XDG_CONFIG_HOME", dirs.path() + "/config");
        environment.insert("XDG_RUNTIME_DIR", dirs.path());
        environment.insert("DBUS_SESSION_BUS_ADDRESS",
                           busAddress.isEmpty() ? bus.Address() : busAddress);
        process->setProcessEnvironment(environment);
        process->start(kProgram, args);
        return process;
    }
    static QString Finish(QProcess& process, int timeoutMs = 5000) {
        process.waitForFinished(timeoutMs);
        return QString::fromUtf8(process.readAllStandardError());
    }
    static bool WaitForOutput(QProcess& process, QString& output, const QString& text) {
        return test::WaitUntil(
            [&] {
                process.waitForReadyRead(20);
                output += QString::fromUtf8(process.readAllStandardError());
                return output.contains(text);
            },
            10000);
    }

    QTemporaryDir dirs;
    PrivateBus bus;
};

TEST_F(ProgramTest, HelpAndVersionAnswerWithoutADisplayAndBadOptionsAreRefused) {
    auto version = Start({"--version"});
    version->waitForFinished();
    EXPECT_EQ(version->exitCode(), 0);
    EXPECT_TRUE(version->readAllStandardOutput().startsWith("quarin-z17 "));

    auto help = Start({"--help"});
    help->waitForFinished();
    EXPECT_EQ(help->exitCode(), 0);
    const QByteArray helpText = help->readAllStandardOutput();
    EXPECT_TRUE(helpText.contains("Usage: quarin-z17"));
    EXPECT_TRUE(helpText.contains("--hidden"));

    auto bad = Start({"--bogus"});
    const QString error = Finish(*bad);
    EXPECT_EQ(bad->exitCode(), 2);
    EXPECT_TRUE(error.contains("unknown option '--bogus'")) << error.toStdString();
}

TEST_F(ProgramTest, ASecondStartHandsOverToTheFirstAndExits) {
    ASSERT_FALSE(bus.Address().isEmpty()) << "dbus-daemon could not be started";
    auto first = Start();
    QString firstOutput;
    ASSERT_TRUE(WaitForOutput(*first, firstOutput, "windowinit")) << firstOutput.toStdString();
    ASSERT_TRUE(bus.IsOwned("org.quarin.Z17Keyboard"));

    auto second = Start();
    ASSERT_TRUE(second->waitForFinished(5000));
    const QString secondOutput = QString::fromUtf8(second->readAllStandardError());
    EXPECT_EQ(second->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second->exitCode(), 0);
    EXPECT_FALSE(secondOutput.contains("InitWindow")) << "the second copy made no window";

    // The first copy was asked to come forward (its debug line for the instance message).
    EXPECT_TRUE(WaitForOutput(*first, firstOutput, "软件标示 ")) << firstOutput.toStdString();

    first->terminate();
    ASSERT_TRUE(first->waitForFinished(5000));
    EXPECT_EQ(first->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(first->exitCode(), 0);
    EXPECT_FALSE(bus.IsOwned("org.quarin.Z17Keyboard")) << "the name goes with the process";
}

// Another program on the bus: asks who this is, pushes recorder data and a game event.
TEST_F(ProgramTest, PeersGetTheIdentityRecordAndOversizedDataIsRefused) {
    ASSERT_FALSE(bus.Address().isEmpty()) << "dbus-daemon could not be started";
    auto program = Start({"--demo"});
    QString output;
    ASSERT_TRUE(WaitForOutput(*program, output, "windowinit")) << output.toStdString();
    QDBusConnection peer = QDBusConnection::connectToBus(bus.Address(), "peer");
    auto call = [&](const QString& method, const QVariantList& args = {}) {
        QDBusMessage message = QDBusMessage::createMethodCall(
            "org.quarin.Z17Keyboard", "/org/quarin/Z17Keyboard", "org.quarin.Z17Keyboard", method);
        message.setArguments(args);
        return peer.call(message, QDBus::Block, 5000);
    };

    const QDBusMessage identity = call("Identify");
    ASSERT_EQ(identity.type(), QDBusMessage::ReplyMessage) << identity.errorMessage().toStdString();
    const QByteArray record = identity.arguments().value(0).toByteArray();
    ASSERT_EQ(record.size(), 1024);
    auto word = [&](int at) { return qFromLittleEndian<quint32>(record.constData() + at); };
    EXPECT_EQ(word(0), 2u);
    EXPECT_EQ(word(4), 3u);
    EXPECT_EQ(word(8), 0u);
    EXPECT_EQ(word(12), 2u);
    ASSERT_EQ(word(16), 4u) << "four models";
    const quint32 models[4][3] = {
        {0x320F, 0x221C, 2}, {0x0C45, 0x7698, 1}, {0x320F, 0x1004, 3}, {0x0C76, 0x1630, 7}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(word(20 + 12 * i), models[i][0]) << "vendor of row " << i;
        EXPECT_EQ(word(24 + 12 * i), models[i][1]) << "product of row " << i;
        EXPECT_EQ(word(28 + 12 * i), models[i][2]) << "kind of row " << i;
    }
    EXPECT_EQ(record.mid(68), QByteArray(1024 - 68, '\0')) << "the rest is zero";

    const QDBusMessage tooLarge = call("PushCopyData", {1u, QByteArray(4201, '\x7f')});
    EXPECT_EQ(tooLarge.type(), QDBusMessage::ErrorMessage);
    EXPECT_EQ(tooLarge.errorName(), "org.quarin.Z17Keyboard.Error.PayloadTooLarge");
    EXPECT_EQ(call("PushCopyData", {2u, QByteArray(157, 1)}).type(), QDBusMessage::ErrorMessage);
    EXPECT_EQ(call("PushCopyData", {2u, QByteArray(156, 1)}).type(), QDBusMessage::ReplyMessage);
    EXPECT_EQ(call("GameEvent", {QString("Game_Pause"), 0u, 3u}).errorName(),
              "org.quarin.Z17Keyboard.Error.UnknownEvent");
    EXPECT_EQ(call("SetLightControl", {1u, 0u}).type(), QDBusMessage::ReplyMessage);

    QDBusConnection::disconnectFromBus("peer");
    program->terminate();
    ASSERT_TRUE(program->waitForFinished(5000))
        << (output + QString::fromUtf8(program->readAllStandardError())).toStdString();
    EXPECT_EQ(program->exitCode(), 0) << "still well after all of it";
}

// The offscreen platform has no tray: a window kept hidden could never be brought back, so
// --hidden shows it after the first scan all the same. The data comes from the source tree.
TEST_F(ProgramTest, StartedHiddenWithoutATrayTheWindowShowsAfterTheFirstScan) {
    auto program = Start({"--hidden", "--demo=keyboard"});
    QString output;
    ASSERT_TRUE(WaitForOutput(*program, output, "软件标示 ")) << output.toStdString();
    program->terminate();
    ASSERT_TRUE(program->waitForFinished(5000));
    output += QString::fromUtf8(program->readAllStandardError());
    EXPECT_EQ(program->exitCode(), 0);
    EXPECT_TRUE(output.contains("No system tray is available")) << output.toStdString();
    EXPECT_FALSE(output.contains("started hidden")) << output.toStdString();
    EXPECT_TRUE(output.contains(
        QStringLiteral("program data folder: %1/data/").arg(QStringLiteral(QUARIN_SOURCE_DIR))))
        << output.toStdString();
}

TEST_F(ProgramTest, RunsWithoutASessionBusAndSaysSoOnce) {
    // Without a bus Qt's desktop portal theme leaves its settings call behind for good (a leak
    // the leak checker reports at exit); the generic theme makes no such call.
    QProcessEnvironment genericTheme;
    genericTheme.insert("QT_QPA_PLATFORMTHEME", "generic");
    auto program = Start({}, "unix:path=/nonexistent/bus", genericTheme);
    QString output;
    ASSERT_TRUE(WaitForOutput(*program, output, "windowinit")) << output.toStdString();
    EXPECT_EQ(output.count("no D-Bus session bus"), 1) << output.toStdString();
    program->terminate();
    ASSERT_TRUE(program->waitForFinished(5000));
    EXPECT_EQ(program->exitCode(), 0);
}

} // namespace
