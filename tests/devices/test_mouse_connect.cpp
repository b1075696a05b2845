// Reading the virtual mouse on connection: the information block and key table, the button map
// and DPI scale built from them, and the device state (current page and its block) taken into
// the light state and the profile.

#include "MouseFixture.h"

#include "config/MouseProfiledata.h"
#include "config/Utf8.h"

namespace mousetest {
namespace {

using MouseConnectTest = MouseTest;

TEST_P(MouseConnectTest, TheTablesGiveTheButtonMapAndTheDpiScale) {
    ClearWireLogs();
    ASSERT_EQ(device->ReadDeviceTables(), 1);
    const Bytes cable = {0x01, 0x03, 0x07, 0x02};
    Bytes expected = cable;
    if (ThroughReceiver())
        expected.insert(expected.begin(), 0xAA);
    const Bytes commands = Commands();
    // The 34-byte information block and the 30-byte key table come in one or two packets.
    Bytes merged;
    for (std::uint8_t c : commands)
        if (merged.empty() || c != merged.back())
            merged.push_back(c);
    EXPECT_EQ(merged, expected);
    for (const Request& r : Requests()) {
        if (r.command == 0x07) {
            EXPECT_LE(r.offset + r.length, 30) << "only the 10 buttons' slots are asked for";
        }
    }

    EXPECT_EQ(device->GetDeviceButtonCount(), 10);
    const Bytes table = mouse->KeyTable();
    EXPECT_TRUE(std::equal(table.begin(), table.begin() + 30, device->DeviceKeyTable().begin()));
    // The virtual mouse keeps back before forward and DPI cycle after DPI up and down, and has
    // no 16 90 01 button.
    const devices::MouseButtonMap expectedMap = {0, 1, 2, 4, 3, 6, 7, 5, 9, 170, 8};
    EXPECT_EQ(device->ButtonMap(), expectedMap);

    const devices::DpiScale& scale = device->GetDpiScale();
    EXPECT_TRUE(scale.TwoSlopes());
    EXPECT_EQ(scale.step, 100);
    EXPECT_EQ(scale.sliderMaximum, 153);
    EXPECT_EQ(scale.minimum, 200);
}

TEST_P(MouseConnectTest, AMouseAsleepOrAClosedChannelIsNotRead) {
    if (ThroughReceiver()) {
        receiver->SetDeviceAsleep(true);
        ClearWireLogs();
        EXPECT_EQ(device->ReadDeviceTables(), 0);
        EXPECT_EQ(Commands(), Bytes{0xAA});
        EXPECT_EQ(device->ReadStateFromDevice(), 0);
        receiver->SetDeviceAsleep(false);
    }
    device->CommandChannel().open = false;
    ClearWireLogs();
    EXPECT_EQ(device->ReadDeviceTables(), 0);
    EXPECT_EQ(device->ReadStateFromDevice(), 0);
    EXPECT_TRUE(Requests().empty());
    const devices::MouseButtonMap none = {170, 170, 170, 170, 170, 170, 170, 170, 170, 170, 170};
    EXPECT_EQ(device->ButtonMap(), none) << "nothing was read";
}

TEST_P(MouseConnectTest, AMouseWithMoreButtonsThanATableHoldsKeepsThePreviousTables) {
    ASSERT_EQ(device->ReadDeviceTables(), 1);
    const devices::MouseButtonMap before = device->ButtonMap();
    ASSERT_TRUE(mouse->DeviceFirmware().WriteArea(sim::FirmwareArea::Info, 5, {171}));
    ClearWireLogs();
    EXPECT_EQ(device->ReadDeviceTables(), 0);
    EXPECT_EQ(device->ButtonMap(), before);
    EXPECT_EQ(device->GetDeviceButtonCount(), 10);
    const Bytes sent = Commands();
    EXPECT_EQ(std::count(sent.begin(), sent.end(), 0x07), 0) << "no key table asked for";
}

TEST_P(MouseConnectTest, TheStateOfTheCurrentPageGoesIntoTheProfile) {
    // Page 2 is current; its block: mode code 3, level 2, 3 − speed = 0, direction 1,
    // single colour 10 20 30, DPI stage 4.
    Bytes block(71, 0);
    block[1] = 3, block[2] = 2, block[3] = 0, block[4] = 1, block[5] = 0;
    block[6] = 10, block[7] = 20, block[8] = 30, block[12] = 4;
    ASSERT_TRUE(mouse->DeviceFirmware().WriteArea(sim::FirmwareArea::Memory, 256, block));
    ASSERT_TRUE(mouse->DeviceFirmware().WriteArea(sim::FirmwareArea::Memory, 0, {2}));
    const std::uint8_t directionBefore = device->GetLightFields().fx;
    ClearWireLogs();

    ASSERT_EQ(device->ReadStateFromDevice(), 1);
    const std::vector<Request> requests = Requests();
    std::size_t at = 0;
    if (ThroughReceiver()) {
        EXPECT_EQ(requests[at++].command, 0xAA);
    }
    ASSERT_GT(requests.size(), at);
    EXPECT_EQ(requests[at].command, 0x05);
    EXPECT_EQ(requests[at].length, 1);
    EXPECT_EQ(requests[at].offset, 0);
    const std::vector<Request> rest(requests.begin() + static_cast<std::ptrdiff_t>(at + 1),
                                    requests.end());
    std::size_t read = 0;
    for (const Request& r : rest) {
        EXPECT_EQ(r.command, 0x05);
        EXPECT_EQ(r.offset, 256 + read);
        read += r.length;
    }
    EXPECT_EQ(read, 71u);

    EXPECT_EQ(device->GetCurrentPage(), 2);
    EXPECT_EQ(device->GetCurrentDpiStage(), 4);
    const config::LightInfoRecord light = device->GetLightFields();
    EXPECT_EQ(light.selectItem, 3) << "code 3 sits at position 3 of the mouse's list";
    EXPECT_EQ(light.light, 2);
    EXPECT_EQ(light.speed, 3);
    EXPECT_EQ(light.fx, directionBefore) << "the direction keeps its profile value";
    EXPECT_EQ(light.multiColor, 0);
    EXPECT_EQ(light.red, 10);
    EXPECT_EQ(light.green, 20);
    EXPECT_EQ(light.blue, 30);

    // Saved: a fresh profile object reads the same.
    config::CMouseProfiledata saved;
    saved.LoadProfile(
        config::Utf8ToWide(device->UserDataFolder() + device->GetCurrentProfileId() + ".Json"));
    EXPECT_EQ(saved.GetDpiStageActive(), 4);
    const config::LightInfoRecord savedLight = saved.ReadLightInfo();
    EXPECT_EQ(savedLight.selectItem, 3);
    EXPECT_EQ(savedLight.speed, 3);
    EXPECT_EQ(savedLight.red, 10);
}

TEST_P(MouseConnectTest, AFailedBlockReadKeepsThePreviousState) {
    const config::LightInfoRecord before = device->GetLightFields();
    const int stageBefore = device->GetCurrentDpiStage();
    // Page 7 is past the mouse's memory: the block read fails.
    ASSERT_TRUE(mouse->DeviceFirmware().WriteArea(sim::FirmwareArea::Memory, 0, {7}));
    EXPECT_EQ(device->ReadStateFromDevice(), 0);
    EXPECT_EQ(device->GetLightFields(), before);
    EXPECT_EQ(device->GetCurrentDpiStage(), stageBefore);
}

TEST_P(MouseConnectTest, ReadAllReadsTablesAndState) {
    ASSERT_TRUE(mouse->DeviceFirmware().WriteArea(sim::FirmwareArea::Memory, 12, {2}));
    EXPECT_EQ(device->ReadAllFromDevice(), 1);
    EXPECT_EQ(device->GetDeviceButtonCount(), 10);
    EXPECT_EQ(device->GetCurrentDpiStage(), 2);
    EXPECT_EQ(device->GetStageList().size(), 5u);
}

INSTANTIATE_TEST_SUITE_P(Mouse, MouseConnectTest, ::testing::Bool(), KindName);

} // namespace
} // namespace mousetest
