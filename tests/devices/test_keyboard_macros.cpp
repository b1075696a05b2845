// The macro download against the virtual keyboard, by cable and through the receiver: the
// image on the wire (0x15 between 0x01 and 0x02) and in the macro memory, the capacity of
// information byte 6 × 128, and macros whose files are not there.

#include "KeyboardFixture.h"

#include "config/AtomicFile.h"
#include "config/JsonFile.h"
#include "config/MacroFiles.h"
#include "support/DenyOpening.h"

#include <cerrno>

namespace keyboardtest {
namespace {

using namespace devices;

constexpr std::size_t kCapacity = 32 * 128; // the virtual keyboard's information byte 6

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

// Event i of macro `macro`: key 4 + i pressed, after 300 + i ms.
config::MacroEvent EventOf(int macro, int i) {
    return {config::kMacroKey, i % 2 == 0, static_cast<std::uint8_t>(4 + i + macro),
            static_cast<std::uint16_t>(300 + i)};
}

class MacroDownloadTest : public KeyboardTest {
protected:
    // "macro.config" naming macros g0, g1 ... and their files with `counts` events each.
    void WriteMacros(const std::vector<int>& counts) {
        WriteMacroLibrary(static_cast<int>(counts.size()));
        for (std::size_t m = 0; m < counts.size(); ++m) {
            std::vector<config::MacroEvent> events;
            for (int i = 0; i < counts[m]; ++i)
                events.push_back(EventOf(static_cast<int>(m), i));
            const std::string guid = "g" + std::to_string(m);
            ASSERT_EQ(config::WriteMacroEvents(config::MacroEventsPath(UserFolder(), guid),
                                               {"m", guid}, events),
                      config::kMacroFileDone);
        }
    }
    void ClearLogs() {
        board->ClearWireLog();
        receiver->ClearWireLog();
    }
    // The factory macro memory: erased.
    Bytes Erased() const { return Bytes(kCapacity, 0xFF); }
};

TEST_P(MacroDownloadTest, ThreeMacrosMakeTheImageOfTheTable) {
    WriteMacros({2, 0, 5});
    ClearLogs();
    EXPECT_EQ(keyboard->DownloadMacros({0, 1, 2}), kMacroDownloadDone);

    Bytes expected{0xAA, 0x55, 62, 0, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 22, 0, 34, 0, 38, 0};
    auto block = [&](int macro, int count) {
        expected = expected + Bytes{static_cast<std::uint8_t>(count), 0, 0, 0};
        for (int i = 0; i < count; ++i) {
            const auto packed = config::PackMacroEvent(EventOf(macro, i));
            expected = expected + Bytes(packed.begin(), packed.end());
        }
    };
    block(0, 2);
    block(1, 0);
    block(2, 5);
    ASSERT_EQ(expected.size(), 62u);
    EXPECT_EQ(expected[26], 0x2C) << "300 ms, low byte first";
    EXPECT_EQ(expected[28], 0x8A) << "a key press";
    EXPECT_EQ(expected[32], 0x0A) << "a key release";

    EXPECT_EQ(Commands(), Times(0x03, Packets(34, Chunk())) + Bytes{0x01} +
                              Times(0x15, Packets(62, Chunk())) + Bytes{0x02});
    EXPECT_EQ(Gathered(Requests(), 0x15), expected);
    const Bytes memory = board->MacroMemory();
    EXPECT_EQ(Bytes(memory.begin(), memory.begin() + 62), expected);
    EXPECT_EQ(memory[62], 0xFF);
}

TEST_P(MacroDownloadTest, AnImageFillingTheMemoryIsWrittenAndALongerOneIsRefused) {
    // 16 + 2 × 6 + 4 × 1017 = 4096
    WriteMacros({1000, 17, 1001, 1019});
    ClearLogs();
    ASSERT_EQ(keyboard->DownloadMacros({0, 1}), kMacroDownloadDone);
    EXPECT_EQ(Gathered(Requests(), 0x15).size(), kCapacity);
    const Bytes full = board->MacroMemory();
    EXPECT_EQ(full[2] | full[3] << 8, static_cast<int>(kCapacity));
    EXPECT_EQ(full, Gathered(Requests(), 0x15));

    ClearLogs();
    EXPECT_EQ(keyboard->DownloadMacros({3}), 1) << "4098 bytes: ((4098 - 4096) >> 2) + 1";
    EXPECT_EQ(keyboard->DownloadMacros({1, 2}), 2) << "4100 bytes";
    EXPECT_EQ(Commands(), Times(0x03, 2 * Packets(34, Chunk()))) << "nothing sent";
    EXPECT_EQ(board->MacroMemory(), full);
}

TEST_P(MacroDownloadTest, MacrosWithoutAReadableFileGoAsEmptyBlocks) {
    WriteMacros({1, 1, 1});
    WriteUserFile("g1.mac", "{\"Events\": [");
    std::filesystem::remove(UserFolder() + "g2.mac");
    ClearLogs();
    ASSERT_EQ(keyboard->DownloadMacros({1, 2, 9, 0}), kMacroDownloadDone);
    const Bytes image = Gathered(Requests(), 0x15);
    ASSERT_EQ(image.size(), 16u + 4 * 6 + 4);
    EXPECT_EQ(image[4], 4);
    for (std::size_t block = 24; block < 24 + 3 * 4; block += 4)
        EXPECT_EQ(image[block], 0) << "an empty block at " << block;
    EXPECT_EQ(image[36], 1) << "the last macro's event";
}

TEST_P(MacroDownloadTest, WithoutALibraryOrAnOpenChannelNothingIsSent) {
    ClearLogs();
    EXPECT_EQ(keyboard->DownloadMacros({0}), kMacroDownloadDone);
    EXPECT_EQ(Commands(), Times(0x03, Packets(34, Chunk())))
        << "no library: the device keeps its macros";

    WriteMacros({1});
    {
        config::ScopedFileCalls denied(test::DenyOpening("macro.config"));
        EXPECT_EQ(keyboard->DownloadMacros({0}), kMacroDownloadDone);
    }
    ClearLogs();
    EXPECT_EQ(keyboard->DownloadMacros({}), kMacroDownloadDone);
    EXPECT_EQ(Commands(), Times(0x03, Packets(34, Chunk())));
    keyboard->CommandChannel().open = false;
    EXPECT_EQ(keyboard->DownloadMacros({0}), kMacroDownloadDone);
    EXPECT_EQ(Commands(), Times(0x03, Packets(34, Chunk())));
    EXPECT_EQ(board->MacroMemory(), Erased());
}

TEST_P(MacroDownloadTest, ApplyingAProfileDownloadsTheUsedMacrosInDeviceOrder) {
    WriteMacros({1, 0, 3});
    ASSERT_EQ(keyboard->ReadDeviceTables(), 1);
    keyboard->ReloadProfile();
    for (auto [key, code] : {std::pair{1, MacroCode(2, 0)}, std::pair{2, MacroTimesCode(0, 4)}}) {
        KeyRecord record = keyboard->GetKeyRecord(key);
        record.code = code;
        ASSERT_TRUE(keyboard->SetKeyRecord(key, record));
    }
    ClearLogs();
    const KeyboardApplyResult result = keyboard->ApplyProfile();
    EXPECT_EQ(result.usedMacros, (std::vector<int>{2, 0}));
    EXPECT_EQ(result.macroDownload, kMacroDownloadDone);
    const Bytes image = Gathered(Requests(), 0x15);
    ASSERT_EQ(image.size(), 16u + 2 * 6 + 4 * 4);
    EXPECT_EQ(image[4], 2);
    EXPECT_EQ(image[20], 3) << "device macro 0 is library macro 2";
    EXPECT_EQ(image[36], 1) << "device macro 1 is library macro 0";
    EXPECT_EQ(image[43], EventOf(0, 0).button);
}

// A library the program cannot look into says nothing about which macros are gone: the keys
// naming macros keep them, in the profile and in memory.
TEST_P(MacroDownloadTest, AnUnreadableLibraryTakesNoMacroFromTheKeys) {
    WriteMacros({1, 1});
    ASSERT_EQ(keyboard->ReadDeviceTables(), 1);
    keyboard->ReloadProfile();
    KeyRecord record = keyboard->GetKeyRecord(1);
    record.code = MacroCode(1, 0);
    ASSERT_TRUE(keyboard->SetKeyRecord(1, record));

    config::ScopedFileCalls denied(test::DenyOpening("macro.config"));
    keyboard->ApplyProfile();
    EXPECT_EQ(keyboard->GetKeyRecord(1).code, MacroCode(1, 0));
    const Json::Value saved =
        config::ReadJsonFile(UserFolder() + keyboard->GetCurrentProfileId() + ".Json");
    EXPECT_EQ(saved["Device"][0]["KeyList"][1]["Assignment"].asInt(), 0x700100);
}

TEST(MacroKeyReferences, DeletingTheFirstOfThreeMacrosMovesTheKeysThatNameTheOthers) {
    auto key = [](KeyCode code, KeyCode defaults) {
        KeyRecord record;
        record.code = code;
        record.defaultCode = defaults;
        return record;
    };
    std::vector<KeyRecord> keys{key(MacroCode(0, 1), KeyboardCode(0, 4)),
                                key(MacroTimesCode(2, 3), KeyboardCode(0, 5)),
                                key(KeyboardCode(0, 6), KeyboardCode(0, 6))};
    EXPECT_EQ(KeysNamingMacro(keys, 0), std::vector<int>{0});
    EXPECT_TRUE(KeysNamingMacro(keys, 1).empty());
    EXPECT_TRUE(ShiftMacroReferences(keys, 0));
    EXPECT_EQ(keys[0].code, KeyboardCode(0, 4));
    EXPECT_EQ(keys[1].code, MacroTimesCode(1, 3));
    EXPECT_EQ(keys[2].code, KeyboardCode(0, 6));
    EXPECT_FALSE(ShiftMacroReferences(keys, 2)) << "no key names the last macro now";
}

INSTANTIATE_TEST_SUITE_P(Keyboard, MacroDownloadTest, ::testing::Bool(), KindName);

} // namespace
} // namespace keyboardtest
