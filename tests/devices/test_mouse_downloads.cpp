// The button and macro downloads against the virtual mouse, by cable and through the
// receiver: the packets on the wire, the mouse's key assignments and macro memory afterwards.

#include "MouseFixture.h"

#include "config/MacroFiles.h"
#include "devices/MacroImage.h"

#include <fstream>

namespace mousetest {
namespace {

using namespace devices;

Bytes Merged(const Bytes& commands) {
    Bytes merged;
    for (std::uint8_t c : commands)
        if (merged.empty() || c != merged.back())
            merged.push_back(c);
    return merged;
}

class MouseDownloadTest : public MouseTest {
protected:
    void SetUp() override {
        MouseTest::SetUp();
        ASSERT_EQ(device->ReadDeviceTables(), 1);
    }
    // "macro.config" naming macros g0 ... and their files, macro m with m + 1 key presses.
    void WriteMacros(int count) {
        std::string text = "{\"MacroInfo\":[";
        for (int m = 0; m < count; ++m) {
            const std::string guid = "g" + std::to_string(m);
            text += std::string(m ? "," : "") + "{\"MacroName\":\"m" + std::to_string(m) +
                    "\",\"Guid\":\"" + guid + "\"}";
            std::vector<config::MacroEvent> events;
            for (int i = 0; i <= m; ++i)
                events.push_back({config::kMacroKey, true, static_cast<std::uint8_t>(4 + m),
                                  static_cast<std::uint16_t>(100 + i)});
            ASSERT_EQ(
                config::WriteMacroEvents(config::MacroEventsPath(device->UserDataFolder(), guid),
                                         {"m", guid}, events),
                config::kMacroFileDone);
        }
        std::ofstream(device->UserDataFolder() + "macro.config") << text + "]}";
    }
    Bytes Assignments() { return mouse->DeviceFirmware().Area(sim::FirmwareArea::KeyAssignments); }
};

TEST_P(MouseDownloadTest, ButtonsGoIntoTheirSlotsWithMacrosRenumbered) {
    WriteMacros(5);
    std::vector<KeyRecord> buttons = device->GetButtonList();
    ASSERT_EQ(buttons.size(), 11u);
    buttons[1].code = {0x70, 4, 1}; // right: macro 4
    buttons[3].code = {0x70, 7, 0}; // forward (slot 4): macro 7, beyond the library
    buttons[4].code = {0x71, 2, 3}; // back (slot 3): macro 2
    buttons[9].code = {0x70, 0, 0}; // a button the virtual mouse lacks
    device->SetButtonList(buttons);
    EXPECT_EQ(device->UsedMacroList(), (std::vector<int>{4, 2}));
    ClearWireLogs();

    EXPECT_EQ(device->WriteKeyTable(), 1);
    const Bytes expected = ThroughReceiver() ? Bytes{0xAA, 0x03, 0xAA, 0x01, 0x09, 0xAA, 0x02}
                                             : Bytes{0x03, 0x01, 0x09, 0x02};
    EXPECT_EQ(Merged(Commands()), expected);
    const Bytes written = Gathered(Requests(), 0x09, 0);
    ASSERT_EQ(written.size(), 30u) << "3 bytes for each of the 10 buttons";
    Bytes table = mouse->KeyTable();
    table.resize(30);
    table[3] = 0x70, table[4] = 0, table[5] = 1;   // macro 4 is the mouse's 0
    table[9] = 0x71, table[10] = 1, table[11] = 3; // macro 2 its 1
    EXPECT_EQ(written, table) << "forward keeps its default bytes";
    const Bytes memory = Assignments();
    EXPECT_EQ(Bytes(memory.begin(), memory.begin() + 30), table);
}

TEST_P(MouseDownloadTest, TheUsedMacrosGoAsOneImage) {
    WriteMacros(5);
    std::vector<KeyRecord> buttons = device->GetButtonList();
    buttons[2].code = {0x70, 3, 0};
    buttons[0].code = {0x70, 1, 0};
    device->SetButtonList(buttons);
    ClearWireLogs();

    EXPECT_EQ(device->DownloadMacros(), kMacroDownloadDone);
    const Bytes merged = Merged(Commands());
    const Bytes expected = ThroughReceiver() ? Bytes{0x03, 0xAA, 0x01, 0xAA, 0x15, 0xAA, 0x02}
                                             : Bytes{0x03, 0x01, 0x15, 0x02};
    EXPECT_EQ(merged, expected);
    MacroBlocks blocks(2);
    for (int i = 0; i <= 1; ++i)
        blocks[0].push_back({config::kMacroKey, true, 5, static_cast<std::uint16_t>(100 + i)});
    for (int i = 0; i <= 3; ++i)
        blocks[1].push_back({config::kMacroKey, true, 7, static_cast<std::uint16_t>(100 + i)});
    const Bytes image = BuildMacroImage(blocks);
    EXPECT_EQ(Gathered(Requests(), 0x15, 0), image) << "macro 1 first: the left button uses it";
    const Bytes memory = mouse->MacroMemory();
    EXPECT_EQ(Bytes(memory.begin(), memory.begin() + static_cast<std::ptrdiff_t>(image.size())),
              image);
}

TEST_P(MouseDownloadTest, NoMacroUsedSendsNothing) {
    WriteMacros(2);
    ClearWireLogs();
    EXPECT_EQ(device->DownloadMacros(), kMacroDownloadDone);
    EXPECT_TRUE(Requests().empty());
}

TEST_P(MouseDownloadTest, AnImageOverTheMacroMemoryIsNotSentAndSaysByHowMuch) {
    WriteMacros(2);
    ClearWireLogs();
    const Bytes memory = mouse->MacroMemory();
    const std::size_t capacity = std::size_t{device->InfoBlock()[6]} * 128;
    ASSERT_GT(capacity, 22u);
    // 16 + 2 + 4 + 4 × n bytes for one macro: two events more than fit.
    const std::vector<config::MacroEvent> events((capacity - 22) / 4 + 2,
                                                 {config::kMacroKey, true, 4, 1});
    ASSERT_EQ(config::WriteMacroEvents(config::MacroEventsPath(device->UserDataFolder(), "g0"),
                                       {"m0", "g0"}, events),
              config::kMacroFileDone);
    ClearWireLogs();
    EXPECT_EQ(device->DownloadMacros(std::vector<int>{0}), 2);
    EXPECT_EQ(Merged(Commands()), Bytes{0x03}) << "only the information is read";
    EXPECT_EQ(mouse->MacroMemory(), memory);
}

TEST_P(MouseDownloadTest, NothingGoesToAMouseAsleepOrAClosedChannel) {
    WriteMacros(2);
    const Bytes before = Assignments();
    if (ThroughReceiver()) {
        receiver->SetDeviceAsleep(true);
        ClearWireLogs();
        EXPECT_EQ(device->WriteKeyTable(), 0);
        EXPECT_EQ(Commands(), Bytes{0xAA});
        ClearWireLogs();
        EXPECT_EQ(device->DownloadMacros(std::vector<int>{0}), 0);
        EXPECT_EQ(Merged(Commands()), Bytes{0x03}) << "the information is not there";
        receiver->SetDeviceAsleep(false);
    }
    device->CommandChannel().open = false;
    ClearWireLogs();
    EXPECT_EQ(device->WriteKeyTable(), 0);
    EXPECT_EQ(device->DownloadMacros(std::vector<int>{0}), 0);
    EXPECT_TRUE(Requests().empty());
    EXPECT_EQ(Assignments(), before);
}

TEST_P(MouseDownloadTest, TheRecoilImageGoesAsLargeDataBetweenBeginAndEnd) {
    Bytes image(150);
    for (std::size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<std::uint8_t>(3 * i + 1);
    ClearWireLogs();
    EXPECT_EQ(device->DownloadShoot(image), 1);
    const Bytes expected =
        ThroughReceiver() ? Bytes{0xAA, 0x01, 0xAA, 0x17, 0xAA, 0x02} : Bytes{0x01, 0x17, 0x02};
    EXPECT_EQ(Merged(Commands()), expected);
    int packets = 0;
    for (const Request& r : Requests())
        packets += r.command == 0x17 ? 1 : 0;
    EXPECT_EQ(packets, 3) << "56 + 56 + 38 bytes";
    EXPECT_EQ(Gathered(Requests(), 0x17, 0), image);
    const Bytes stored = mouse->LargeData();
    ASSERT_GE(stored.size(), image.size());
    EXPECT_EQ(Bytes(stored.begin(), stored.begin() + 150), image);

    // Asleep behind the receiver or with the channel closed: nothing but the failed check.
    if (ThroughReceiver()) {
        receiver->SetDeviceAsleep(true);
        ClearWireLogs();
        EXPECT_EQ(device->DownloadShoot(image), 0);
        EXPECT_EQ(Commands(), Bytes{0xAA});
        receiver->SetDeviceAsleep(false);
    }
    device->CommandChannel().open = false;
    ClearWireLogs();
    EXPECT_EQ(device->DownloadShoot(image), 0);
    EXPECT_TRUE(Requests().empty());
}

TEST_P(MouseDownloadTest, TheLeftClickStaysAndADeletedMacroRenumbersTheButtonsAndTheMouse) {
    EXPECT_TRUE(device->IsSoleLeftClick(0));
    EXPECT_FALSE(device->IsSoleLeftClick(1));
    KeyRecord left = device->GetKeyRecord(0);
    KeyRecord forward = device->GetKeyRecord(3);
    forward.code = left.code;
    ASSERT_TRUE(device->SetKeyRecord(3, forward));
    EXPECT_FALSE(device->IsSoleLeftClick(0)) << "forward clicks left now";
    EXPECT_FALSE(device->SetKeyRecord(kMouseButtonCount, forward));

    WriteMacros(3);
    KeyRecord back = device->GetKeyRecord(4);
    back.code = {0x70, 2, 0};
    ASSERT_TRUE(device->SetKeyRecord(4, back));
    EXPECT_EQ(device->KeysNamingMacro(2), std::vector<int>{4});
    ClearWireLogs();
    ASSERT_TRUE(device->ShiftMacroKeys(1));
    EXPECT_EQ(device->GetKeyRecord(4).code, (KeyCode{0x70, 1, 0}));
    bool tableWritten = false;
    for (const Request& r : Requests())
        tableWritten |= r.command == 0x09;
    EXPECT_TRUE(tableWritten);
    device->ReloadProfile();
    EXPECT_EQ(device->GetKeyRecord(4).code, (KeyCode{0x70, 1, 0})) << "and saved";
    EXPECT_EQ(device->GetKeyRecord(3).code, left.code);
}

TEST_P(MouseDownloadTest, OnlyPageZeroTakesButtons) {
    ClearWireLogs();
    EXPECT_EQ(device->DownloadButtons(1, device->GetButtonList()), transport::kCommBadPage);
    const Bytes sent = Commands();
    EXPECT_EQ(std::count(sent.begin(), sent.end(), 0x01), 0) << "no begin";
}

INSTANTIATE_TEST_SUITE_P(Mouse, MouseDownloadTest, ::testing::Bool(), KindName);

} // namespace
} // namespace mousetest
