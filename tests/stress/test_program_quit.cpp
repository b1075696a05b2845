// The whole program quit while its readers are blocked: quarin-z17 --demo runs until every
// virtual device has been read and its threads wait, then gets SIGTERM, which ends it the way
// its "exit" menu item does. Starting the program takes too long to do it a thousand times
// within the time the slow tests have; the device layer's quit is stressed that often in
// test_quit_while_blocked.cpp, and the whole program here a few times, under the same limit.

#include "StressFigures.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

constexpr int kQuits = 10;
constexpr qint64 kQuitLimitMs = 1000;
constexpr int kStartLimitMs = 60000;

// Written when the window shows, once the first scan has bound the devices; their pages read
// them 500 ms later, and then every reader waits.
const QString kReadyLine = QStringLiteral("windowsize root");
constexpr int kSettleMs = 1200;

class RunningProgram {
public:
    explicit RunningProgram(const QString& folder) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("QUARIN_Z17_DEBUG", "1");
        environment.insert("XDG_DATA_HOME", folder + "/data");
        environment.insert("XDG_CONFIG_HOME", folder + "/config");
        environment.insert("XDG_RUNTIME_DIR", folder);
        // No session bus: no other instance to hand over to.
        environment.insert("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/bus");
        // Without a bus Qt's desktop portal theme leaves its settings call behind for good (a
        // leak the leak checker reports at exit); the generic theme makes no such call.
        environment.insert("QT_QPA_PLATFORMTHEME", "generic");
        m_process.setProcessEnvironment(environment);
        m_process.setProcessChannelMode(QProcess::SeparateChannels);
        // The debug lines come on the error output.
        m_process.setReadChannel(QProcess::StandardError);
        m_process.start(QStringLiteral(QUARIN_PROGRAM), {QStringLiteral("--demo")});
    }
    ~RunningProgram() {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished();
        }
    }
    // Reads the error output until `line` shows or the time is up.
    bool WaitFor(const QString& line, int timeoutMs) {
        QElapsedTimer timer;
        timer.start();
        while (!m_output.contains(line)) {
            const qint64 left = timeoutMs - timer.elapsed();
            if (left <= 0 || !m_process.waitForReadyRead(static_cast<int>(left)))
                return m_output.contains(line);
            m_output += QString::fromUtf8(m_process.readAllStandardError());
        }
        return true;
    }
    QProcess& Process() { return m_process; }
    const QString& Output() const { return m_output; }

private:
    QProcess m_process;
    QString m_output;
};

TEST(ProgramQuit, SigtermWhileEveryReaderIsBlockedEndsWithinASecond) {
    stress::Stopwatch watch;
    qint64 worstMs = 0, totalMs = 0;
    for (int round = 0; round < kQuits; ++round) {
        QTemporaryDir folder;
        RunningProgram program(folder.path());
        ASSERT_TRUE(program.WaitFor(kReadyLine, kStartLimitMs))
            << program.Output().right(2000).toStdString();
        ASSERT_FALSE(program.Process().waitForFinished(kSettleMs)) << "it ended by itself";

        QElapsedTimer quit;
        quit.start();
        program.Process().terminate();
        ASSERT_TRUE(program.Process().waitForFinished(30000)) << "round " << round;
        const qint64 quitMs = quit.elapsed();
        EXPECT_EQ(program.Process().exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.Process().exitCode(), 0);
        EXPECT_LE(quitMs, kQuitLimitMs) << "round " << round;
        worstMs = std::max(worstMs, quitMs);
        totalMs += quitMs;
    }
    stress::Figure("program quits", static_cast<long long>(kQuits));
    stress::Figure("worst program quit ms", static_cast<long long>(worstMs));
    stress::Figure("mean program quit ms", static_cast<double>(totalMs) / kQuits);
    watch.Report();
}

} // namespace
