// A device that was away gets the selected profile again, once, by itself: plugged in again,
// back from sleep behind its receiver, or after the system resumes (logind's signal on a
// private bus standing in for the system bus).

#include "MainWindowFixture.h"
#include "devices/KelvaneUSBDevice.h"
#include "sim/FirmwarePacket.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QProcess>
#include <fstream>
#include <iterator>
#include <set>

namespace {

using sim::FirmwareArea;
using sim::VirtualProduct;

std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class ProfileBackTest : public test::MainWindowTest {
protected:
    // Plugs the device in and waits until the window has read it once (its key table read
    // and its lighting taken), with the wire log cleared afterwards.
    void PlugAndSettle(const std::shared_ptr<sim::VirtualDevice>& device) {
        ASSERT_TRUE(devices.Plug(device));
        ASSERT_TRUE(test::WaitUntil([&] { return wnd->ConnectedCount() == 1; }, 10000));
        ASSERT_TRUE(
            test::WaitUntil([&] { return Requests(*device, sim::kReadMemory) >= 2; }, 10000));
        QTest::qWait(300); // the refresh ends
        device->ClearWireLog();
    }
    static int Requests(const sim::VirtualDevice& device, std::uint8_t command) {
        int count = 0;
        for (const sim::WirePacket& packet : device.WireLog())
            count += packet.direction == sim::WireDirection::Request &&
                     packet.bytes[sim::wire::kCommandAt] == command;
        return count;
    }
    // The key assignments go out once: no offset is written twice.
    static void ExpectOneKeyTableWrite(const sim::VirtualDevice& device) {
        std::set<int> offsets;
        int packets = 0;
        for (const sim::WirePacket& packet : device.WireLog()) {
            if (packet.direction != sim::WireDirection::Request ||
                packet.bytes[sim::wire::kCommandAt] != sim::kWriteKeyTable)
                continue;
            ++packets;
            offsets.insert(packet.bytes[sim::wire::kOffsetLowAt] |
                           packet.bytes[sim::wire::kOffsetHighAt] << 8);
        }
        EXPECT_GT(packets, 0);
        EXPECT_EQ(offsets.size(), static_cast<std::size_t>(packets)) << "the profile went twice";
    }
    // The device forgets its key assignments, as one that lost its settings does.
    static void ForgetAssignments(sim::VirtualDevice& device) {
        const std::size_t size = device.DeviceFirmware().Area(FirmwareArea::KeyAssignments).size();
        ASSERT_GT(size, 0u);
        ASSERT_TRUE(device.DeviceFirmware().WriteArea(FirmwareArea::KeyAssignments, 0,
                                                      std::vector<std::uint8_t>(size, 0)));
    }
    static std::vector<std::uint8_t> Assignments(sim::VirtualDevice& device) {
        return device.DeviceFirmware().Area(FirmwareArea::KeyAssignments);
    }
    std::string ProfileFile() const {
        devices::CKelvaneUSBDevice* device = wnd->Registry()->Devices().at(0);
        return device->UserDataFolder() + device->GetCurrentProfileId() + ".Json";
    }
};

TEST_F(ProfileBackTest, APluggedBackKeyboardGetsItsProfileOnceWithoutTakingItsLostState) {
    auto keyboard = sim::MakeVirtualDevice(VirtualProduct::Keyboard);
    PlugAndSettle(keyboard);
    const std::vector<std::uint8_t> assignments = Assignments(*keyboard);
    const std::string profile = FileBytes(ProfileFile());
    ASSERT_FALSE(profile.empty());

    devices.Unplug(keyboard);
    ASSERT_TRUE(test::WaitUntil([&] { return wnd->ConnectedCount() == 0; }));
    ForgetAssignments(*keyboard);
    const std::vector<std::uint8_t> memory = keyboard->DeviceFirmware().Area(FirmwareArea::Memory);
    ASSERT_TRUE(keyboard->DeviceFirmware().WriteArea(FirmwareArea::Memory, 0,
                                                     std::vector<std::uint8_t>(memory.size(), 0)));
    keyboard->ClearWireLog();
    devices.Plug(keyboard);

    ASSERT_TRUE(test::WaitUntil([&] { return Assignments(*keyboard) == assignments; }, 10000));
    QTest::qWait(1500); // room for a second, unwanted, apply
    ExpectOneKeyTableWrite(*keyboard);
    EXPECT_EQ(FileBytes(ProfileFile()), profile)
        << "the device's emptied memory was taken into the profile";
    EXPECT_NE(keyboard->DeviceFirmware().Area(FirmwareArea::Memory),
              std::vector<std::uint8_t>(memory.size(), 0))
        << "the profile's lighting went back";
}

TEST_F(ProfileBackTest, AMouseWakingBehindItsReceiverGetsItsProfileOnce) {
    auto mouse = sim::MakeVirtualDevice(VirtualProduct::Mouse);
    auto receiver = sim::MakeVirtualReceiver(*mouse);
    PlugAndSettle(receiver);
    const std::vector<std::uint8_t> assignments = Assignments(*receiver);

    receiver->SetDeviceAsleep(true);
    ASSERT_TRUE(test::WaitUntil([&] { return wnd->ConnectedCount() == 0; }, 10000));
    ForgetAssignments(*receiver);
    receiver->ClearWireLog();
    receiver->SetDeviceAsleep(false);

    ASSERT_TRUE(test::WaitUntil([&] { return Assignments(*receiver) == assignments; }, 15000));
    QTest::qWait(1500);
    ExpectOneKeyTableWrite(*receiver);
    EXPECT_EQ(wnd->ConnectedCount(), 1u);
}

// logind's name and signal on a bus of the test's own, which the window is given as its
// system bus.
class ResumeTest : public ProfileBackTest {
protected:
    void SetUp() override {
        QProcess& daemon = daemon_;
        daemon.start(QStringLiteral("dbus-daemon"),
                     {QStringLiteral("--session"), QStringLiteral("--print-address=1"),
                      QStringLiteral("--nofork")});
        if (!daemon.waitForStarted(5000) || !daemon.waitForReadyRead(5000))
            GTEST_SKIP() << "dbus-daemon could not start a bus standing in for the system bus";
        address_ = QString::fromLatin1(daemon.readLine()).trimmed();
        system_ = std::make_unique<QDBusConnection>(
            QDBusConnection::connectToBus(address_, QStringLiteral("stand-in-system-bus")));
        logind_ = std::make_unique<QDBusConnection>(
            QDBusConnection::connectToBus(address_, QStringLiteral("fake-logind")));
        ASSERT_TRUE(logind_->registerService(QStringLiteral("org.freedesktop.login1")));
        ProfileBackTest::SetUp();
        ASSERT_TRUE(wnd->WatchSystemSleep(*system_));
    }
    void TearDown() override {
        ProfileBackTest::TearDown();
        logind_.reset();
        system_.reset();
        QDBusConnection::disconnectFromBus(QStringLiteral("fake-logind"));
        QDBusConnection::disconnectFromBus(QStringLiteral("stand-in-system-bus"));
        if (daemon_.state() != QProcess::NotRunning) {
            daemon_.kill();
            daemon_.waitForFinished(5000);
        }
    }
    void PrepareForSleep(bool start) {
        QDBusMessage signal = QDBusMessage::createSignal(
            QStringLiteral("/org/freedesktop/login1"),
            QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("PrepareForSleep"));
        signal << start;
        ASSERT_TRUE(logind_->send(signal));
    }

    QProcess daemon_;
    QString address_;
    std::unique_ptr<QDBusConnection> system_;
    std::unique_ptr<QDBusConnection> logind_;
};

TEST_F(ResumeTest, AfterTheSystemResumesAConnectedKeyboardGetsItsProfileOnce) {
    auto keyboard = sim::MakeVirtualDevice(VirtualProduct::Keyboard);
    PlugAndSettle(keyboard);
    const std::vector<std::uint8_t> assignments = Assignments(*keyboard);

    PrepareForSleep(true);
    QTest::qWait(300);
    ForgetAssignments(*keyboard);
    EXPECT_EQ(Requests(*keyboard, sim::kWriteKeyTable), 0) << "nothing goes out while asleep";

    PrepareForSleep(false);
    ASSERT_TRUE(test::WaitUntil([&] { return Requests(*keyboard, sim::kTakeLightControl) > 0; }))
        << "awake, the window takes the lighting again";
    ASSERT_TRUE(test::WaitUntil([&] { return Assignments(*keyboard) == assignments; }, 10000));
    QTest::qWait(2000); // past the wake's own timer: a second apply would show now
    ExpectOneKeyTableWrite(*keyboard);
}

} // namespace
