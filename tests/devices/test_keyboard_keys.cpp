// The keyboard's key tables against the virtual keyboard, by cable and through the receiver:
// reading the device tables, the key and LED maps, and the key table written with 0x01, 0x09
// and 0x02.

#include "KeyboardFixture.h"

#include "config/JsonFile.h"
#include "devices/KeyboardKeyTable.h"

#include <set>

namespace keyboardtest {
namespace {

using namespace devices;

// 122 keys, then a position with no key fitted (20 00 00) and a second Esc.
constexpr int kFactoryKeys = 124;
constexpr int kNoKeyFitted = 122;
constexpr int kOnScreenA = 64;   // native 20 00 04
constexpr int kOnScreenFn = 110; // native A0 01 00, device key 71
constexpr int kEmptyPosition = 104;

// `count` copies of `command`.
Bytes Times(std::uint8_t command, std::size_t count) {
    return Bytes(count, command);
}

Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

std::size_t Packets(std::size_t length, std::size_t chunk) {
    return (length + chunk - 1) / chunk;
}

using KeyTableTest = KeyboardTest;

TEST_P(KeyTableTest, ReadsTheDeviceTablesAndMapsKeysAndLeds) {
    ASSERT_EQ(keyboard->ReadDeviceTables(), 1);

    const Bytes expected = Bytes{0x01} + Times(0x03, Packets(34, Chunk())) +
                           Times(0x07, Packets(3 * kFactoryKeys, Chunk())) +
                           Times(0x1B, Packets(kFactoryKeys, Chunk())) + Bytes{0x02};
    EXPECT_EQ(Commands(), expected);
    EXPECT_EQ(keyboard->GetDeviceKeyCount(), kFactoryKeys);

    const KeyboardMaps& maps = keyboard->Maps();
    EXPECT_EQ(maps.keys[0], 0);
    EXPECT_EQ(maps.leds[0], 0);
    EXPECT_EQ(maps.keys[kOnScreenFn], kDeviceKeyWithoutLed);
    EXPECT_EQ(maps.leds[kOnScreenFn], kNoLedNumber) << "device key 71 never gets an LED";
    // The empty positions' code is the one of the device position without a key, so they
    // share that device key, which has no LED; the second Esc is never reached.
    for (int empty : {18, 19, 20, kEmptyPosition, 126, 169}) {
        EXPECT_EQ(maps.keys[empty], kNoKeyFitted) << empty;
        EXPECT_EQ(maps.leds[empty], kNoLedNumber) << empty;
    }
    std::set<int> reached;
    for (std::size_t j = 0; j < kOnScreenKeyCount; ++j) {
        ASSERT_NE(maps.keys[j], kNoDeviceKey) << j;
        reached.insert(maps.keys[j]);
        EXPECT_EQ(DeviceCode(maps.keys[j]), NativeKeyCode(static_cast<int>(j))) << j;
    }
    EXPECT_EQ(reached.size(), kFactoryKeys - 1u);
    EXPECT_EQ(reached.count(kFactoryKeys - 1), 0u) << "the first of two equal codes wins";
}

TEST_P(KeyTableTest, ADeviceReportingMoreThan170KeysIsNotRead) {
    ASSERT_EQ(keyboard->ReadDeviceTables(), 1);
    const KeyboardMaps before = keyboard->Maps();
    const auto tableBefore = keyboard->DeviceKeyTable();
    board->ClearWireLog();
    receiver->ClearWireLog();

    ASSERT_TRUE(board->DeviceFirmware().WriteArea(sim::FirmwareArea::Info, 5, {171}));
    EXPECT_EQ(keyboard->ReadDeviceTables(), 0);
    EXPECT_EQ(Commands(), Bytes{0x01} + Times(0x03, Packets(34, Chunk())))
        << "no table read and no 0x02";
    EXPECT_EQ(keyboard->Maps().keys, before.keys);
    EXPECT_EQ(keyboard->DeviceKeyTable(), tableBefore);

    // Writing must not reach past the 512-byte table either.
    board->ClearWireLog();
    receiver->ClearWireLog();
    keyboard->ReloadProfile();
    EXPECT_EQ(keyboard->WriteKeyTable(), 0);
    for (std::uint8_t command : Commands())
        EXPECT_NE(command, 0x09);
}

TEST_P(KeyTableTest, ARemapIsWrittenOverTheDeviceTableInChunks) {
    ASSERT_EQ(keyboard->ReadAllFromDevice(), 1);
    const Bytes table = board->KeyTable();
    const Bytes factory(table.begin(), table.begin() + 3 * kFactoryKeys);
    KeyRecord a = keyboard->GetKeyRecord(kOnScreenA);
    ASSERT_EQ(a.code, KeyboardCode(0, 0x04));
    a.code = KeyboardCode(kModLeftShift, 0x05);
    ASSERT_TRUE(keyboard->SetKeyRecord(kOnScreenA, a));
    board->ClearWireLog();
    receiver->ClearWireLog();

    EXPECT_EQ(keyboard->WriteKeyTable(), 1);

    const std::size_t length = 3 * kFactoryKeys;
    EXPECT_EQ(Commands(), Times(0x03, Packets(34, Chunk())) + Bytes{0x01} +
                              Times(0x09, Packets(length, Chunk())) + Bytes{0x02});
    const std::vector<Request> requests = Requests();
    for (const Request& r : requests) {
        if (r.command == 0x09) {
            EXPECT_EQ(r.length, std::min(Chunk(), length - r.offset));
        }
    }
    Bytes expected = factory;
    const std::size_t k = keyboard->Maps().keys[kOnScreenA];
    expected[3 * k + 1] = kModLeftShift;
    expected[3 * k + 2] = 0x05;
    EXPECT_EQ(Gathered(requests, 0x09), expected);
    const Bytes after = board->KeyTable();
    EXPECT_EQ(Bytes(after.begin(), after.begin() + static_cast<std::ptrdiff_t>(length)), expected);

    // The profile on disk keeps the remap.
    const Json::Value saved =
        config::ReadJsonFile(UserFolder() + keyboard->GetCurrentProfileId() + ".Json");
    EXPECT_EQ(saved["Device"][0]["KeyList"][kOnScreenA]["Assignment"].asInt(), 0x200205);
    EXPECT_EQ(saved["Device"][0]["KeyList"][kOnScreenA]["DefaultAssignment"].asInt(), 0x200004);

    // Reading the keyboard again (a reconnect) finds every key where it was.
    const auto maps = keyboard->Maps();
    ASSERT_EQ(keyboard->ReadAllFromDevice(), 1);
    EXPECT_EQ(keyboard->Maps().keys, maps.keys);
}

TEST_P(KeyTableTest, KeysSharingANativeCodeShareADeviceKeyAndTheLaterOneWins) {
    // Device key 5 now reports the code of the empty positions.
    ASSERT_TRUE(board->DeviceFirmware().WriteArea(sim::FirmwareArea::KeyTable, 15, {0x20, 0, 0}));
    ASSERT_EQ(keyboard->ReadAllFromDevice(), 1);
    const KeyboardMaps& maps = keyboard->Maps();
    EXPECT_EQ(maps.keys[5], kNoDeviceKey) << "key 5's own code is gone";
    EXPECT_EQ(maps.keys[18], 5);
    EXPECT_EQ(maps.keys[kEmptyPosition], 5);
    EXPECT_EQ(maps.leds[kEmptyPosition], maps.leds[18]);

    // Every empty position now shares device key 5; the last of them decides.
    KeyRecord early = keyboard->GetKeyRecord(kEmptyPosition);
    early.code = ConsumerCode(0x00CD);
    ASSERT_TRUE(keyboard->SetKeyRecord(kEmptyPosition, early));
    KeyRecord late = keyboard->GetKeyRecord(169);
    late.code = SystemCode(0x02);
    ASSERT_TRUE(keyboard->SetKeyRecord(169, late));
    ASSERT_EQ(keyboard->WriteKeyTable(), 1);
    EXPECT_EQ(DeviceCode(5), SystemCode(0x02));
}

// A keyboard that reports only its 122 keys: the empty positions find no device key.
void DropSparePositions(sim::VirtualDevice& board) {
    ASSERT_TRUE(board.DeviceFirmware().WriteArea(sim::FirmwareArea::Info, 5, {122}));
}

TEST_P(KeyTableTest, KeysWithoutADeviceKeyAreNotWritten) {
    DropSparePositions(*board);
    ASSERT_EQ(keyboard->ReadAllFromDevice(), 1);
    ASSERT_EQ(keyboard->Maps().keys[kEmptyPosition], kNoDeviceKey);
    const Bytes before = board->KeyTable();
    KeyRecord empty = keyboard->GetKeyRecord(kEmptyPosition);
    empty.code = KeyboardCode(0, 0x2C);
    ASSERT_TRUE(keyboard->SetKeyRecord(kEmptyPosition, empty));
    ASSERT_EQ(keyboard->WriteKeyTable(), 1);
    EXPECT_EQ(board->KeyTable(), before);
}

TEST_P(KeyTableTest, MacrosAreNumberedByFirstUseAndMissingOnesRevertToTheDefault) {
    WriteMacroLibrary(3);
    DropSparePositions(*board);
    ASSERT_EQ(keyboard->ReadAllFromDevice(), 1);
    auto assign = [&](int key, KeyCode code) {
        KeyRecord record = keyboard->GetKeyRecord(key);
        record.code = code;
        ASSERT_TRUE(keyboard->SetKeyRecord(key, record));
    };
    assign(1, MacroTimesCode(2, 5));         // library macro 2, first used: device macro 0
    assign(2, MacroCode(0, 1));              // library macro 0: device macro 1
    assign(3, MacroCode(2, 3));              // library macro 2 again: device macro 0
    assign(kOnScreenA, MacroCode(7, 0));     // beyond the library
    assign(kEmptyPosition, MacroCode(1, 0)); // no device key: not counted

    EXPECT_EQ(keyboard->UsedMacroList(), (std::vector<int>{2, 0}));
    ASSERT_EQ(keyboard->WriteKeyTable(), 1);
    const KeyboardMaps& maps = keyboard->Maps();
    EXPECT_EQ(DeviceCode(maps.keys[1]), MacroTimesCode(0, 5));
    EXPECT_EQ(DeviceCode(maps.keys[2]), MacroCode(1, 1));
    EXPECT_EQ(DeviceCode(maps.keys[3]), MacroCode(0, 3));
    EXPECT_EQ(DeviceCode(maps.keys[kOnScreenA]), KeyboardCode(0, 0x04));
    EXPECT_EQ(keyboard->GetKeyRecord(kOnScreenA).code, KeyboardCode(0, 0x04))
        << "the record itself gets its default back";
    EXPECT_EQ(keyboard->GetKeyRecord(1).code, MacroTimesCode(2, 5))
        << "the profile keeps library indexes";
}

TEST_P(KeyTableTest, ClearingMissingMacrosKeepsTheDefaultsInTheProfile) {
    WriteMacroLibrary(1);
    ASSERT_EQ(keyboard->ReadAllFromDevice(), 1);
    KeyRecord gone = keyboard->GetKeyRecord(kOnScreenA);
    gone.code = MacroCode(1, 0);
    ASSERT_TRUE(keyboard->SetKeyRecord(kOnScreenA, gone));
    KeyRecord kept = keyboard->GetKeyRecord(2);
    kept.code = MacroCode(0, 0);
    ASSERT_TRUE(keyboard->SetKeyRecord(2, kept));

    keyboard->ClearMissingMacroKeys();
    EXPECT_EQ(keyboard->GetKeyRecord(kOnScreenA).code, KeyboardCode(0, 0x04));
    EXPECT_EQ(keyboard->GetKeyRecord(2).code, MacroCode(0, 0));
    keyboard->ReloadProfile();
    EXPECT_EQ(keyboard->GetKeyRecord(kOnScreenA).code, KeyboardCode(0, 0x04));
}

TEST_P(KeyTableTest, AClosedChannelWritesNothing) {
    ASSERT_EQ(keyboard->ReadAllFromDevice(), 1);
    board->ClearWireLog();
    receiver->ClearWireLog();
    keyboard->CommandChannel().open = false;
    EXPECT_EQ(keyboard->WriteKeyTable(), 0);
    EXPECT_EQ(keyboard->ReadDeviceTables(), 0);
    EXPECT_TRUE(Requests().empty());
    keyboard->CommandChannel().open = true;
    std::vector<KeyRecord> keys = keyboard->KeyList();
    EXPECT_EQ(keyboard->WriteKeyTable(1, keys), transport::kCommBadPage);
    EXPECT_TRUE(Requests().empty());
}

TEST_P(KeyTableTest, ApplyingAProfileWritesTheLightBlockTheMacrosThenTheKeyTable) {
    WriteMacroLibrary(2);
    ASSERT_EQ(keyboard->ReadDeviceTables(), 1);
    keyboard->ReloadProfile();
    KeyRecord used = keyboard->GetKeyRecord(7);
    used.code = MacroCode(1, 0);
    ASSERT_TRUE(keyboard->SetKeyRecord(7, used));
    KeyRecord gone = keyboard->GetKeyRecord(kOnScreenA);
    gone.code = MacroCode(2, 0);
    ASSERT_TRUE(keyboard->SetKeyRecord(kOnScreenA, gone));
    board->ClearWireLog();
    receiver->ClearWireLog();

    const KeyboardApplyResult result = keyboard->ApplyProfile();
    EXPECT_EQ(result.lightBlock, 1);
    EXPECT_EQ(result.keyTable, 1);
    EXPECT_EQ(result.usedMacros, std::vector<int>{1});
    const Bytes expected = Bytes{0x01} + Times(0x06, Packets(26, Chunk())) + Bytes{0x02} +
                           Times(0x03, Packets(34, Chunk())) + Bytes{0x01, 0x15, 0x02} +
                           Times(0x03, Packets(34, Chunk())) + Bytes{0x01} +
                           Times(0x09, Packets(3 * kFactoryKeys, Chunk())) + Bytes{0x02};
    EXPECT_EQ(Commands(), expected);
    EXPECT_EQ(DeviceCode(keyboard->Maps().keys[7]), MacroCode(0, 0));
    EXPECT_EQ(DeviceCode(keyboard->Maps().keys[kOnScreenA]), KeyboardCode(0, 0x04));
    const Json::Value saved =
        config::ReadJsonFile(UserFolder() + keyboard->GetCurrentProfileId() + ".Json");
    EXPECT_EQ(saved["Device"][0]["KeyList"][kOnScreenA]["Assignment"].asInt(), 0x200004)
        << "the missing macro's key is cleared in the profile too";
}

INSTANTIATE_TEST_SUITE_P(Keyboard, KeyTableTest, ::testing::Bool(), KindName);

} // namespace
} // namespace keyboardtest
