// quarin-z17ctl while the configurator runs: the command goes through the configurator's D-Bus
// interface and runs on the configurator's devices and files, with the output a run of its own
// would give; with nobody on the bus it runs itself. Each test has a private session bus, the
// configurator runs with --demo on the offscreen platform.

#include "support/TestEnvironment.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace {

struct CtlRun {
    int exitCode = -1;
    QString out;
    QString err;
};

bool operator==(const CtlRun& a, const CtlRun& b) {
    return a.exitCode == b.exitCode && a.out == b.out && a.err == b.err;
}

std::ostream& operator<<(std::ostream& stream, const CtlRun& run) {
    return stream << "exit " << run.exitCode << ", out \"" << run.out.toStdString() << "\", err \""
                  << run.err.toStdString() << "\"";
}

constexpr const char* kBusName = "org.quarin.Z17Keyboard";

class CtlThroughProgram : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dirs.isValid());
        for (const char* folder : {"program", "ctl", "direct", "config", "run", "work"})
            ASSERT_TRUE(QDir(m_dirs.path()).mkpath(folder));
        m_daemon.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
        if (m_daemon.waitForReadyRead(5000))
            m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
        if (m_address.isEmpty())
            GTEST_SKIP() << "dbus-daemon could not start a bus for the test";
    }
    void TearDown() override {
        if (m_program) {
            m_program->terminate();
            if (!m_program->waitForFinished(10000))
                m_program->kill();
        }
        QDBusConnection::disconnectFromBus(QStringLiteral("ctl-test"));
        m_daemon.kill();
        m_daemon.waitForFinished();
    }

    QString Folder(const char* name) const { return m_dirs.path() + "/" + name; }
    QString ProgramTrace() const { return Folder("program-trace"); }
    QString ProgramLog() const { return Folder("program.log"); }
    // How often the configurator read its profiles again after a command wrote its files.
    int ProfileRereads() const {
        QFile log(ProgramLog());
        return log.open(QIODevice::ReadOnly)
                   ? static_cast<int>(log.readAll().count("a command changed the user files"))
                   : 0;
    }

    QProcessEnvironment Environment(const char* dataFolder) const {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("XDG_DATA_HOME", Folder(dataFolder));
        environment.insert("XDG_CONFIG_HOME", Folder("config"));
        environment.insert("XDG_RUNTIME_DIR", Folder("run"));
        environment.insert("QUARIN_Z17_DATA_DIR", QStringLiteral(QUARIN_SOURCE_DATA_DIR));
        environment.insert("DBUS_SESSION_BUS_ADDRESS", m_address);
        environment.remove("QUARIN_Z17_SIM_TRACE");
        return environment;
    }

    bool NameOwned() {
        QDBusConnection bus = QDBusConnection::connectToBus(m_address, "ctl-test");
        return bus.isConnected() && bus.interface()->isServiceRegistered(kBusName);
    }

    // The configurator with the default demo devices, its files in "program", its virtual
    // devices' traffic traced, its diagnostics in ProgramLog(), its working folder not the
    // ctl's.
    void StartProgram() {
        m_program = std::make_unique<QProcess>();
        QProcessEnvironment environment = Environment("program");
        environment.insert("QUARIN_Z17_SIM_TRACE", ProgramTrace());
        environment.insert("QUARIN_Z17_DEBUG", "1");
        m_program->setProcessEnvironment(environment);
        m_program->setWorkingDirectory(Folder("program"));
        m_program->setProcessChannelMode(QProcess::ForwardedOutputChannel);
        m_program->setStandardErrorFile(ProgramLog());
        m_program->start(QUARIN_PROGRAM, {"--demo"});
        ASSERT_TRUE(test::WaitUntil([&] { return NameOwned(); }, 15000))
            << "the configurator did not take its bus name";
    }

    // quarin-z17ctl with `args`, its files in `dataFolder`, its working folder "work". The
    // event loop runs meanwhile, for a peer of this process's own on the bus.
    CtlRun Ctl(const QStringList& args, const char* dataFolder = "ctl", const QString& trace = {}) {
        QProcess ctl;
        QProcessEnvironment environment = Environment(dataFolder);
        if (!trace.isEmpty())
            environment.insert("QUARIN_Z17_SIM_TRACE", trace);
        if (m_withoutBus) {
            environment.remove("DBUS_SESSION_BUS_ADDRESS");
            environment.insert("XDG_RUNTIME_DIR", Folder("work"));
        }
        ctl.setProcessEnvironment(environment);
        ctl.setWorkingDirectory(Folder("work"));
        ctl.start(QUARIN_CTL_PROGRAM, args);
        EXPECT_TRUE(test::WaitUntil([&] { return ctl.state() == QProcess::NotRunning; }, 30000));
        CtlRun run;
        run.exitCode = ctl.exitStatus() == QProcess::NormalExit ? ctl.exitCode() : -1;
        run.out = QString::fromUtf8(ctl.readAllStandardOutput());
        run.err = QString::fromUtf8(ctl.readAllStandardError());
        return run;
    }
    // The same command run by a ctl of its own on its own demo devices and fresh files.
    CtlRun Direct(QStringList args, const QString& trace = {}) {
        args.prepend("--demo");
        return Ctl(args, "direct", trace);
    }

    // The keyboard's requests of one command (byte 3) in a trace, from `from` bytes on.
    static QStringList KeyboardRequests(const QString& trace, const QString& command,
                                        qint64 from = 0) {
        QFile file(trace);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        file.seek(from);
        QStringList requests;
        for (const QString& line : QString::fromUtf8(file.readAll()).split('\n')) {
            const QStringList bytes = line.split(' ', Qt::SkipEmptyParts);
            if (bytes.size() > 5 && bytes[0] == "keyboard" && bytes[1] == "<" &&
                bytes[5] == command)
                requests << bytes.mid(2).join(' ');
        }
        return requests;
    }

    QTemporaryDir m_dirs;
    QProcess m_daemon;
    QString m_address;
    std::unique_ptr<QProcess> m_program;
    bool m_withoutBus = false;
};

TEST_F(CtlThroughProgram, DevicesInfoAndLightGiveWhatARunOfItsOwnGives) {
    StartProgram();
    for (const QStringList& args :
         {QStringList{"devices"}, QStringList{"info", "keyboard"},
          QStringList{"--json", "info", "mousepad"}, QStringList{"--json", "devices"}}) {
        const CtlRun through = Ctl(args);
        EXPECT_EQ(through.exitCode, 0) << args.join(' ').toStdString() << ": " << through;
        EXPECT_EQ(through, Direct(args)) << args.join(' ').toStdString();
    }
}

TEST_F(CtlThroughProgram, TheVirtualKeyboardInTheProgramGetsTheLightCommandsBytes) {
    StartProgram();
    const qint64 before = QFileInfo(ProgramTrace()).size();
    // A command that only reads leaves the window's copies as they are; one that writes
    // makes it read its profiles again (in the order the commands came).
    EXPECT_EQ(Ctl({"light", "keyboard"}).exitCode, 0);
    const QStringList light{"light", "keyboard", "--mode", "3"};
    const CtlRun through = Ctl(light);
    EXPECT_EQ(through.exitCode, 0) << through;
    const QString directTrace = Folder("direct-trace");
    EXPECT_EQ(through, Direct(light, directTrace));

    // The light block goes out as a memory write (0x06), as in the ctl's own run.
    const QStringList written = KeyboardRequests(ProgramTrace(), "06", before);
    ASSERT_FALSE(written.isEmpty()) << "the configurator's keyboard got no memory write";
    EXPECT_EQ(written, KeyboardRequests(directTrace, "06"));
    // The configurator's files took the change, the ctl's did not.
    EXPECT_TRUE(Ctl({"light", "keyboard"}).out.startsWith("mode\t3\t"));
    EXPECT_TRUE(test::WaitUntil([&] { return ProfileRereads() > 0; }, 10000));
    EXPECT_EQ(ProfileRereads(), 1);
    m_program->terminate();
    ASSERT_TRUE(m_program->waitForFinished(10000));
    m_program.reset();
    EXPECT_FALSE(Ctl({"light", "keyboard"}).out.startsWith("mode\t3\t"));
}

TEST_F(CtlThroughProgram, FailuresAndUsageErrorsComeBackWithTheirExitCodeAndErrorOutput) {
    StartProgram();
    const CtlRun missing = Ctl({"profile", "select", "keyboard", "99"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err, "quarin-z17ctl: there is no profile 99\n");
    EXPECT_EQ(missing.out, "");
    for (const QStringList& args :
         {QStringList{"--json", "profile", "select", "keyboard", "99"},
          QStringList{"light", "keyboard", "--mode", "x"}, QStringList{"--json", "macro", "frob"},
          QStringList{"dpi", "mouse", "9", "800"}}) {
        const CtlRun through = Ctl(args);
        EXPECT_NE(through.exitCode, 0) << args.join(' ').toStdString();
        EXPECT_FALSE(through.err.isEmpty()) << args.join(' ').toStdString();
        EXPECT_EQ(through, Direct(args)) << args.join(' ').toStdString();
    }
}

TEST_F(CtlThroughProgram, AFileIsTheCallersEvenThoughTheProgramRunsElsewhere) {
    StartProgram();
    const CtlRun exported = Ctl({"profile", "export", "keyboard", "out.json"});
    EXPECT_EQ(exported.exitCode, 0) << exported;
    EXPECT_TRUE(QFile::exists(Folder("work") + "/out.json"));
    EXPECT_FALSE(QFile::exists(Folder("program") + "/out.json"));
    const CtlRun missing = Ctl({"macro", "import", "keyboard", "none.mac"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err, "quarin-z17ctl: there is no file " + Folder("work") + "/none.mac\n");
}

TEST_F(CtlThroughProgram, WithNobodyOnTheNameOrNoBusTheCtlRunsItself) {
    // The ctl's own files get a profile of their own name.
    ASSERT_EQ(Ctl({"profile", "rename", "keyboard", "Mine"}).exitCode, 0);
    EXPECT_TRUE(Ctl({"profile", "list", "keyboard"}).out.contains("Mine"));
    m_withoutBus = true;
    EXPECT_TRUE(Ctl({"profile", "list", "keyboard"}).out.contains("Mine"));
    m_withoutBus = false;

    StartProgram();
    const CtlRun through = Ctl({"profile", "list", "keyboard"});
    EXPECT_EQ(through.exitCode, 0) << through;
    EXPECT_FALSE(through.out.contains("Mine")) << "the configurator's files are listed";
    // --demo keeps its own devices and files while the configurator runs.
    EXPECT_TRUE(Ctl({"--demo", "profile", "list", "keyboard"}).out.contains("Mine"));
}

// A peer on the name that has no RunCommand: a configurator older than the ctl.
class OldProgram : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.quarin.Z17Keyboard")
public slots:
    void Activate() {}
};

TEST_F(CtlThroughProgram, AnOwnerThatCannotRunTheCommandIsNamedAndTheCtlFails) {
    QDBusConnection bus = QDBusConnection::connectToBus(m_address, "ctl-test");
    OldProgram old;
    ASSERT_TRUE(
        bus.registerObject("/org/quarin/Z17Keyboard", &old, QDBusConnection::ExportAllSlots));
    ASSERT_TRUE(bus.registerService(kBusName));
    const CtlRun run = Ctl({"info", "keyboard"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_TRUE(run.err.startsWith("quarin-z17ctl: the running configurator owns the devices "
                                   "but did not run the command (org.freedesktop.DBus.Error."))
        << run;
    const CtlRun json = Ctl({"--json", "info", "keyboard"});
    EXPECT_EQ(json.exitCode, 1);
    EXPECT_TRUE(json.out.contains("\"error\" : \"the running configurator")) << json;
    bus.unregisterService(kBusName);
}

} // namespace

#include "test_ctl_through_program.moc"
