// The keyboard's power read against the virtual keyboard: command 0x1A for 6 bytes at offset
// 0, the wireless byte set by the connection in use, the record handed to the power item; no
// read while the channel is closed or the keyboard sleeps behind its receiver.

#include "KeyboardFixture.h"

namespace keyboardtest {
namespace {

class RecordingPowerItem : public devices::IPowerItem {
public:
    void ShowPowerStatus(std::span<const std::uint8_t> record) override {
        records.emplace_back(record.begin(), record.end());
    }
    void ShowNoPowerStatus() override {}
    std::vector<Bytes> records;
};

// The main window's side: the battery level of each read.
class LevelTarget : public devices::INotificationTarget {
public:
    void RequestStateRead(devices::CKelvaneUSBDevice&, int) override {}
    void RunOnUiThread(std::function<void()> fn) override { fn(); }
    void PowerLevel(devices::CKelvaneUSBDevice&, int level) override { levels.push_back(level); }
    std::vector<int> levels;
};

class KeyboardPowerTest : public KeyboardTest {
protected:
    void SetUp() override {
        KeyboardTest::SetUp();
        keyboard->SetPowerItem(&item);
        keyboard->SetNotificationTarget(&target);
        // Byte 3 says the opposite of the connection: the host's knowledge wins.
        ASSERT_TRUE(board->DeviceFirmware().WriteArea(
            sim::FirmwareArea::Status, 0,
            {55, 1, 0, static_cast<std::uint8_t>(ThroughReceiver() ? 0 : 1), 9, 0}));
        Wire().ClearWireLog();
    }
    RecordingPowerItem item;
    LevelTarget target;
};

TEST_P(KeyboardPowerTest, TheStatusReachesThePowerItemWithTheConnectionInByte3) {
    keyboard->ReadPowerStatus();
    std::vector<Request> requests = Requests();
    if (ThroughReceiver()) {
        ASSERT_EQ(requests.size(), 2u);
        EXPECT_EQ(requests[0].command, 0xAA) << "the link is checked first";
        requests.erase(requests.begin());
    }
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].command, 0x1A);
    EXPECT_EQ(requests[0].length, 6);
    EXPECT_EQ(requests[0].offset, 0);
    ASSERT_EQ(item.records.size(), 1u);
    EXPECT_EQ(item.records[0],
              (Bytes{55, 1, 0, static_cast<std::uint8_t>(ThroughReceiver()), 9, 0}));
    EXPECT_EQ(target.levels, std::vector<int>{9}) << "byte 4 goes to the main window";
}

TEST_P(KeyboardPowerTest, NothingIsReadWithoutAnAnsweringKeyboard) {
    keyboard->CommandChannel().open = false;
    keyboard->ReadPowerStatus();
    EXPECT_TRUE(Requests().empty());
    keyboard->CommandChannel().open = true;

    Wire().SetDeviceAsleep(true);
    keyboard->ReadPowerStatus();
    if (ThroughReceiver()) {
        EXPECT_EQ(Commands(), Bytes{0xAA}) << "a sleeping keyboard is not asked";
    }
    EXPECT_EQ(item.records.size(), ThroughReceiver() ? 0u : 1u);
    EXPECT_EQ(target.levels.size(), item.records.size()) << "no level without a read";
}

INSTANTIATE_TEST_SUITE_P(Connections, KeyboardPowerTest, ::testing::Bool(), KindName);

} // namespace
} // namespace keyboardtest
