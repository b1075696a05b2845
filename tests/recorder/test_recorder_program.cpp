// quarin-z17-recorder as the configurator sees it, on the test's session bus: a fake
// configurator owns org.quarin.Z17Keyboard and takes PushCopyData; the recorder plays a WAV
// file of tone bursts written by the test.

#include "recorder/FrequencyLayout.h"
#include "recorder/RecorderProtocol.h"
#include "recorder/RecorderService.h"
#include "recorder/WavWriter.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QProcess>

#include <QTest>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>

using namespace recorder;

namespace {

class FakeConfigurator : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.quarin.Z17Keyboard")

public:
    struct Data {
        quint32 id;
        QByteArray bytes;
    };
    std::vector<Data> received;

    std::size_t Count(quint32 id) const {
        return std::count_if(received.begin(), received.end(),
                             [id](const Data& d) { return d.id == id; });
    }
    std::vector<std::int32_t> Values(const Data& data) const {
        std::vector<std::int32_t> values(data.bytes.size() / 4);
        for (std::size_t i = 0; i < values.size(); ++i) {
            const auto* p = reinterpret_cast<const std::uint8_t*>(data.bytes.constData()) + 4 * i;
            values[i] = std::int32_t(p[0] | p[1] << 8 | p[2] << 16 | std::uint32_t(p[3]) << 24);
        }
        return values;
    }

public slots:
    void PushCopyData(quint32 id, const QByteArray& bytes) { received.push_back({id, bytes}); }
};

class RecorderProgram : public ::testing::Test {
protected:
    // A bus of the test's own: a configurator window of another test on the shared bus would
    // greet this recorder and, when it closes, tell it goodbye.
    void SetUp() override {
        FILE* daemon = popen("dbus-daemon --session --fork --print-address=1 --print-pid=1", "r");
        char address[512] = {}, pid[32] = {};
        const bool started = daemon && std::fgets(address, sizeof address, daemon) &&
                             std::fgets(pid, sizeof pid, daemon);
        if (daemon)
            pclose(daemon);
        if (!started)
            GTEST_SKIP() << "dbus-daemon could not start a bus for the test";
        daemonPid_ = std::atoi(pid);
        address_ = QString::fromLatin1(address).trimmed();
        environment_ = QProcessEnvironment::systemEnvironment();
        environment_.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), address_);
        static int connections = 0;
        bus_ = std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(
            address_, QStringLiteral("fake-configurator-%1").arg(++connections)));
        ASSERT_TRUE(bus_->isConnected());
        // The recorder is told this connection's own name: the program's bus name may belong
        // to a configurator of another test on the same bus.
        ASSERT_TRUE(bus_->registerObject(QString::fromLatin1(kConfiguratorObjectPath),
                                         &configurator_, QDBusConnection::ExportAllSlots));
        // Bursts of a bass and a treble tone: 0.2 s on, 0.2 s off.
        std::vector<float> bursts = recorder_test::SineBursts(1000.0, 48000, 0.2, 0.2, 3);
        const std::vector<float> bass = recorder_test::SineBursts(60.0, 48000, 0.2, 0.2, 3);
        for (std::size_t n = 0; n < bursts.size(); ++n)
            bursts[n] = 0.5f * (bursts[n] + bass[n]);
        wav_ = ::testing::TempDir() + "/recorder_bursts.wav";
        recorder_test::WriteFile(
            wav_, recorder_test::WavBytes(bursts, 1, 48000, recorder_test::WavSample::Pcm16));
    }

    void TearDown() override {
        for (auto& process : processes_) {
            if (process->state() != QProcess::NotRunning) {
                process->kill();
                process->waitForFinished(5000);
            }
        }
        if (bus_)
            QDBusConnection::disconnectFromBus(bus_->name());
        if (daemonPid_ > 0)
            kill(daemonPid_, SIGTERM);
    }

    bool RecorderOnBus() const {
        return bus_->interface()->isServiceRegistered(QString::fromLatin1(kRecorderBusName));
    }

    // Starts the recorder serving `configurator` (this test's connection by default).
    QProcess& Start(const QStringList& arguments, bool waitForBus = true,
                    QString configurator = QString()) {
        processes_.push_back(std::make_unique<QProcess>());
        QProcess& process = *processes_.back();
        process.setProcessChannelMode(QProcess::ForwardedOutputChannel);
        process.setProcessEnvironment(environment_);
        process.start(QStringLiteral(QUARIN_RECORDER_PATH),
                      QStringList(arguments)
                          << QStringLiteral("--configurator")
                          << (configurator.isEmpty() ? bus_->baseService() : configurator));
        EXPECT_TRUE(process.waitForStarted(5000));
        if (waitForBus) {
            EXPECT_TRUE(QTest::qWaitFor(
                [&] { return RecorderOnBus() || process.state() == QProcess::NotRunning; }, 5000));
        }
        return process;
    }

    QDBusMessage Message(quint32 command, quint32 argument) {
        QDBusMessage call = QDBusMessage::createMethodCall(
            QString::fromLatin1(kRecorderBusName), QString::fromLatin1(kRecorderObjectPath),
            QString::fromLatin1(kRecorderInterface), QStringLiteral("RecorderMessage"));
        call << command << argument;
        return bus_->call(call, QDBus::Block, 5000);
    }

    QDBusMessage CopyData(quint32 id, const QByteArray& payload) {
        QDBusMessage call = QDBusMessage::createMethodCall(
            QString::fromLatin1(kRecorderBusName), QString::fromLatin1(kRecorderObjectPath),
            QString::fromLatin1(kRecorderInterface), QStringLiteral("CopyData"));
        call << id << payload;
        return bus_->call(call, QDBus::Block, 5000);
    }

    static bool Ok(const QDBusMessage& reply) { return reply.type() == QDBusMessage::ReplyMessage; }

    bool WaitForData(quint32 id, std::size_t count) {
        return QTest::qWaitFor([&] { return configurator_.Count(id) >= count; }, 10000);
    }

    FakeConfigurator configurator_;
    pid_t daemonPid_ = -1;
    QString address_;
    QProcessEnvironment environment_;
    std::unique_ptr<QDBusConnection> bus_;
    std::string wav_;
    std::vector<std::unique_ptr<QProcess>> processes_;
};

QByteArray StyleColour(int r, int g, int b) {
    QByteArray payload(40, '\0');
    payload[0] = char(r);
    payload[4] = char(g);
    payload[8] = char(b);
    return payload;
}

} // namespace

TEST_F(RecorderProgram, SendsSpectraAfterTheHandshakeAndColoursWhenAskedThenShutsDown) {
    QProcess& recorder = Start({"--input", QString::fromStdString(wav_), "--loop"});
    ASSERT_TRUE(RecorderOnBus());

    EXPECT_TRUE(Ok(Message(kHandshakeBegin, 1234)));
    EXPECT_TRUE(Ok(Message(kHandshakeContinue, 0)));
    EXPECT_TRUE(Ok(Message(kHandshakeEnd, 0)));
    ASSERT_TRUE(WaitForData(kSpectrumDataId, 40));

    // Every frame is 500 values; the tone bursts show in the 1 kHz value, and the frame-to-frame
    // differences the configurator sums give band levels in the range its effect expects.
    bool sawTone = false;
    std::vector<std::int32_t> previous(500, 0);
    std::array<std::int64_t, 25> bands{};
    std::int64_t loudestBand = 0;
    for (const auto& data : configurator_.received) {
        if (data.id != kSpectrumDataId)
            continue;
        ASSERT_EQ(data.bytes.size(), 2000);
        const auto values = configurator_.Values(data);
        const auto loudest = std::max_element(values.begin(), values.end());
        if (*loudest > 1000 && values[ValueForFrequency(1000.0)] > 1000)
            sawTone = true;
        for (int j = 0; j < 25; ++j) {
            std::int64_t sum = 0;
            for (int i = 5 * j; i < 5 * j + 4; ++i)
                sum += std::abs(previous[i] - values[i]);
            bands[j] = (bands[j] + sum) / 4;
            loudestBand = std::max(loudestBand, bands[j]);
        }
        previous = values;
    }
    EXPECT_TRUE(sawTone);
    EXPECT_GT(loudestBand, 500);
    EXPECT_LT(loudestBand, 4000);

    // Colour components, then a style colour: each answered with the colour settings.
    EXPECT_TRUE(Ok(Message(kSetRed, 200)));
    EXPECT_TRUE(Ok(Message(kSetGreen, 100)));
    EXPECT_TRUE(Ok(Message(kSetBlue, 50)));
    ASSERT_TRUE(WaitForData(kColourDataId, 3));
    auto colours = [&] {
        std::vector<std::vector<std::int32_t>> all;
        for (const auto& data : configurator_.received)
            if (data.id == kColourDataId)
                all.push_back(configurator_.Values(data));
        return all;
    };
    EXPECT_EQ(colours().back(), (std::vector<std::int32_t>{200, 100, 50, 0, 0, 0}));
    EXPECT_EQ(colours().front(), (std::vector<std::int32_t>{200, 0, 0, 0, 0, 0}));

    EXPECT_TRUE(Ok(CopyData(kStyleColourId, StyleColour(0, 1, 200))));
    ASSERT_TRUE(WaitForData(kColourDataId, 4));
    EXPECT_EQ(colours().back(), (std::vector<std::int32_t>{0, 1, 200, 0, 0, 0}));

    EXPECT_TRUE(Ok(Message(kShutdownBegin, 0)));
    EXPECT_TRUE(Ok(Message(kShutdownContinue, 0)));
    EXPECT_TRUE(Ok(Message(kShutdownEnd, 0)));
    ASSERT_TRUE(recorder.waitForFinished(5000));
    EXPECT_EQ(recorder.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(recorder.exitCode(), 0);
    EXPECT_FALSE(RecorderOnBus());
}

TEST_F(RecorderProgram, RefusesWrongMessagesWithErrors) {
    Start({"--input", QString::fromStdString(wav_)});
    ASSERT_TRUE(RecorderOnBus());
    const QDBusMessage unknown = Message(9, 0);
    EXPECT_EQ(unknown.errorName().toStdString(), kErrorUnknownCommand);
    EXPECT_EQ(Message(kSetRed, 256).errorName().toStdString(), kErrorOutOfRange);
    EXPECT_EQ(CopyData(11, StyleColour(1, 2, 3)).errorName().toStdString(), kErrorUnknownData);
    EXPECT_EQ(CopyData(kStyleColourId, StyleColour(1, 2, 3).left(39)).errorName().toStdString(),
              kErrorWrongSize);
    // Nothing refused was taken as a colour.
    EXPECT_TRUE(Ok(Message(kSetBlue, 9)));
    ASSERT_TRUE(WaitForData(kColourDataId, 1));
    EXPECT_EQ(configurator_.Values(configurator_.received.back()),
              (std::vector<std::int32_t>{0, 0, 9, 0, 0, 0}));
}

TEST_F(RecorderProgram, LeavesWhenTheConfiguratorLeaves) {
    // The connection closes once its last handle goes.
    auto connection = std::make_unique<QDBusConnection>(
        QDBusConnection::connectToBus(address_, QStringLiteral("leaving")));
    ASSERT_TRUE(connection->isConnected());
    QProcess& recorder =
        Start({"--input", QString::fromStdString(wav_), "--loop"}, true, connection->baseService());
    ASSERT_TRUE(RecorderOnBus());
    EXPECT_TRUE(Ok(Message(kHandshakeEnd, 0)));
    EXPECT_EQ(recorder.state(), QProcess::Running) << "serves its configurator while it is there";
    connection.reset();
    QDBusConnection::disconnectFromBus(QStringLiteral("leaving"));
    ASSERT_TRUE(recorder.waitForFinished(5000));
    EXPECT_EQ(recorder.exitCode(), 0);
}

TEST_F(RecorderProgram, DoesNotWaitForAConfiguratorThatIsGoneAlready) {
    QString gone;
    {
        QDBusConnection connection =
            QDBusConnection::connectToBus(address_, QStringLiteral("gone"));
        gone = connection.baseService();
    }
    QDBusConnection::disconnectFromBus(QStringLiteral("gone"));
    QProcess& recorder = Start({"--input", QString::fromStdString(wav_)}, false, gone);
    ASSERT_TRUE(recorder.waitForFinished(5000));
    EXPECT_EQ(recorder.exitCode(), 0);
}

TEST_F(RecorderProgram, OnlyOneRuns) {
    Start({"--input", QString::fromStdString(wav_)});
    ASSERT_TRUE(RecorderOnBus());
    QProcess& second = Start({"--input", QString::fromStdString(wav_)}, false);
    ASSERT_TRUE(second.waitForFinished(5000));
    EXPECT_EQ(second.exitCode(), 2);
    EXPECT_TRUE(RecorderOnBus());
}

TEST_F(RecorderProgram, ExitsWithAnErrorOnBadArgumentsAndWithoutASoundServer) {
    auto exitCode = [&](const QStringList& arguments,
                        const QProcessEnvironment& environment = QProcessEnvironment()) {
        QProcess process;
        process.setProcessEnvironment(environment.isEmpty() ? environment_ : environment);
        process.setProcessChannelMode(QProcess::ForwardedOutputChannel);
        process.start(QStringLiteral(QUARIN_RECORDER_PATH), arguments);
        process.waitForFinished(10000);
        return process.exitCode();
    };
    EXPECT_EQ(exitCode({"--rate", "0", "--input", QString::fromStdString(wav_)}), 1);
    EXPECT_EQ(exitCode({"--rate", "fast", "--input", QString::fromStdString(wav_)}), 1);
    EXPECT_EQ(exitCode({"--loop"}), 1);
    EXPECT_EQ(exitCode({"--input", QString::fromStdString(wav_), "--source", "mic"}), 1);
    EXPECT_EQ(exitCode({"--input", QString::fromStdString(wav_ + ".missing")}), 1);
    QProcessEnvironment noServer = environment_;
    noServer.insert("PULSE_SERVER", QString::fromStdString("unix:" + ::testing::TempDir() +
                                                           "/no-such-sound-server"));
    EXPECT_EQ(exitCode({}, noServer), 1);
    EXPECT_FALSE(RecorderOnBus());
}

#include "test_recorder_program.moc"
