// The keyboard's light block: its bytes, the mode-list mapping both ways, and the block
// written to and read back from the virtual keyboard's memory, by cable and through the
// receiver.

#include "KeyboardFixture.h"

#include "config/JsonFile.h"
#include "devices/LightBlock.h"

namespace keyboardtest {
namespace {

using namespace devices;

// Entry i of the mode list carries the device code 40 + i.
constexpr int kCodeBase = 40;

std::vector<int> ShiftedCodes() {
    std::vector<int> codes;
    for (int i = 0; i < 31; ++i)
        codes.push_back(kCodeBase + i);
    return codes;
}

LightBlockFields SampleFields() {
    LightBlockFields f;
    f.profileByte = 0;
    f.effectIndex = 5;
    f.brightness = 2;
    f.speed = 1;
    f.direction = 1;
    f.multiColour = 0;
    f.red = 0x12;
    f.green = 0x34;
    f.blue = 0x56;
    f.zzccLedMode = 7;
    f.wFlag = 1;
    f.key6Flag = 1;
    f.winFlag = 0;
    f.pollingRate = 2;
    f.customGroup = 3;
    return f;
}

TEST(LightBlockBytes, EveryFieldHasItsByteAndTheModeListMapsBothWays) {
    const std::vector<int> codes = ShiftedCodes();
    const LightBlock block = BuildLightBlock(SampleFields(), codes);
    const LightBlock expected = {0,    kCodeBase + 5,
                                 2,    2,
                                 1,    0,
                                 0x12, 0x34,
                                 0x56, 0,
                                 0,    0,
                                 0,    0,
                                 0,    0,
                                 0,    0,
                                 7,    1,
                                 1,    0,
                                 2,    0,
                                 0,    3};
    EXPECT_EQ(block, expected);

    LightBlockFields back = ParseLightBlock(block, codes);
    EXPECT_EQ(back.pollingRate, 0) << "the polling rate is not read back";
    back.pollingRate = 2;
    EXPECT_EQ(back, SampleFields());

    EXPECT_EQ(EffectCodeOf(codes, 31), kCodeBase) << "31 and above go as entry 0";
    EXPECT_EQ(EffectCodeOf(codes, 200), kCodeBase);
    EXPECT_EQ(EffectIndexOf(codes, 7), 7) << "a code in no entry is its own index";
    EXPECT_EQ(EffectIndexOf(std::vector<int>{9, 4, 4}, 4), 1) << "the first entry with it";
    EXPECT_EQ(EffectCodeOf({}, 12), 12) << "no entry: the index itself, as it reads back";

    LightBlock fast{};
    fast[lightblock::kSpeedAt] = 9;
    EXPECT_EQ(ParseLightBlock(fast, codes).speed, 0) << "a speed byte above 3 is speed 0";
}

class LightBlockTest : public KeyboardTest {
protected:
    void SetUp() override {
        KeyboardTest::SetUp();
        std::string modes;
        for (int i = 0; i < 31; ++i)
            modes += std::string(i ? "," : "") + "{\"LightName\":\"m\",\"visible\":true," +
                     "\"value\":" + std::to_string(kCodeBase + i) + "}";
        WriteProgramFile("default_light.json",
                         "{\"DefaultLightName\":[[" + modes + "]],\"AreaLightName\":[[]]}");
        keyboard->ReloadProfile();
        keyboard->LoadLists();
        board->ClearWireLog();
        receiver->ClearWireLog();
    }
    Bytes Memory(std::size_t offset, std::size_t length) {
        const Bytes memory = board->MemoryImage();
        return Bytes(memory.begin() + static_cast<std::ptrdiff_t>(offset),
                     memory.begin() + static_cast<std::ptrdiff_t>(offset + length));
    }
    Json::Value SavedRecord() {
        return config::ReadJsonFile(UserFolder() + keyboard->GetCurrentProfileId() +
                                    ".Json")["Device"][0];
    }
};

TEST_P(LightBlockTest, TheBlockIsWrittenForProfileZeroWithTheSystemSettings) {
    config::LightInfoRecord info = keyboard->GetLightInfo();
    info.selectItem = 5;
    info.light = 2;
    info.speed = 1;
    info.fx = 1;
    info.multiColor = 0;
    info.red = 0x12;
    info.green = 0x34;
    info.blue = 0x56;
    info.zzccLedMode = 7;
    info.customGroup = 3;
    keyboard->SetLightInfo(info);
    config::SystemStageWords system;
    system.SetValue(2, 1); // "Key6Flag"
    system.SetValue(3, 2); // "PollingRate"
    system.SetValue(4, 1); // "WFlag"
    keyboard->SetSystemSettings(system);

    EXPECT_EQ(keyboard->WriteLightBlock(), 1);

    const Bytes commands =
        ThroughReceiver() ? Bytes{0x01, 0x06, 0x06, 0x02} : Bytes{0x01, 0x06, 0x02};
    EXPECT_EQ(Commands(), commands);
    const std::vector<Request> requests = Requests();
    EXPECT_EQ(requests[1].offset, 0);
    EXPECT_EQ(requests[1].length, ThroughReceiver() ? 24 : 26);
    const LightBlock expected = BuildLightBlock(SampleFields(), ShiftedCodes());
    EXPECT_EQ(Memory(0, kLightBlockSize), Bytes(expected.begin(), expected.end()));
}

TEST_P(LightBlockTest, ReadingTakesTheActiveProfilesBlockAndKeepsItInTheProfile) {
    LightBlockFields fields = SampleFields();
    fields.effectIndex = 9;
    fields.winFlag = 1;
    fields.key6Flag = 0;
    LightBlock block = BuildLightBlock(fields, ShiftedCodes());
    block[lightblock::kCleared16At] = 0x5A;
    block[lightblock::kProfileGroupAt] = 0x11;
    ASSERT_TRUE(board->DeviceFirmware().WriteArea(sim::FirmwareArea::Memory, 51,
                                                  Bytes(block.begin() + 1, block.end())));
    ASSERT_TRUE(board->DeviceFirmware().WriteArea(sim::FirmwareArea::Memory, 0, {2}));

    int active = -1;
    EXPECT_EQ(keyboard->ReadStateFromDevice(&active), 1);
    EXPECT_EQ(active, 2);

    const std::vector<Request> requests = Requests();
    ASSERT_EQ(requests.size(), ThroughReceiver() ? 3u : 2u);
    EXPECT_EQ(requests[0].command, 0x05);
    EXPECT_EQ(requests[0].length, 1);
    EXPECT_EQ(requests[0].offset, 0);
    EXPECT_EQ(requests[1].command, 0x05);
    EXPECT_EQ(requests[1].offset, 50);
    EXPECT_EQ(requests[1].length, ThroughReceiver() ? 24 : 26);

    const config::LightInfoRecord& info = keyboard->GetLightInfo();
    EXPECT_EQ(info.selectItem, 9);
    EXPECT_EQ(info.light, 2);
    EXPECT_EQ(info.speed, 1);
    EXPECT_EQ(info.fx, 1);
    EXPECT_EQ(info.red, 0x12);
    EXPECT_EQ(info.zzccLedMode, 7);
    EXPECT_EQ(info.customGroup, 3);
    const config::SystemStageWords& system = keyboard->GetSystemSettings();
    EXPECT_EQ(system.Value(4), 1) << "WFlag";
    EXPECT_EQ(system.Value(2), 0) << "Key6Flag";
    EXPECT_EQ(system.Value(5), 1) << "WinFlag";
    EXPECT_EQ(keyboard->BlockCopy()[0], 2);
    EXPECT_EQ(keyboard->BlockCopy()[lightblock::kCleared16At], 0);
    EXPECT_EQ(keyboard->BlockCopy()[lightblock::kProfileGroupAt], 0x11);

    const Json::Value saved = SavedRecord();
    EXPECT_EQ(saved["LightInfo"]["SelectItem"].asInt(), 9);
    EXPECT_EQ(saved["SystemStages"]["WinFlag"].asInt(), 1);
    EXPECT_EQ(saved["SystemStages"]["PollingRate"].asInt(), 3) << "kept from the profile";
}

TEST_P(LightBlockTest, AWrittenBlockReadsBackTheSame) {
    config::LightInfoRecord info = keyboard->GetLightInfo();
    info.selectItem = 30;
    info.speed = 3;
    info.red = 200;
    keyboard->SetLightInfo(info);
    ASSERT_EQ(keyboard->WriteLightBlock(), 1);
    info.selectItem = 0;
    keyboard->SetLightInfo(info);
    EXPECT_EQ(Memory(1, 1), Bytes{kCodeBase + 30});
    ASSERT_EQ(keyboard->ReadStateFromDevice(nullptr), 1);
    EXPECT_EQ(keyboard->GetLightInfo().selectItem, 30);
    EXPECT_EQ(keyboard->GetLightInfo().speed, 3);
    EXPECT_EQ(keyboard->GetLightInfo().red, 200);
}

TEST_P(LightBlockTest, AFailedOrClosedReadChangesNothing) {
    const config::LightInfoRecord before = keyboard->GetLightInfo();
    board->ForceStatus(0xFF, 1);
    receiver->ForceStatus(0xFF, 1);
    EXPECT_EQ(keyboard->ReadStateFromDevice(nullptr), transport::kCommStatusError);
    EXPECT_EQ(keyboard->GetLightInfo(), before);
    keyboard->CommandChannel().open = false;
    board->ClearWireLog();
    receiver->ClearWireLog();
    EXPECT_EQ(keyboard->ReadStateFromDevice(nullptr), 0);
    EXPECT_EQ(keyboard->WriteLightBlock(), 0);
    EXPECT_TRUE(Requests().empty());
}

TEST_P(LightBlockTest, TheCustomEffectStoresItsSchemeByCableOnly) {
    ASSERT_EQ(keyboard->ReadDeviceTables(), 1);
    LightBlockFields fields = SampleFields();
    fields.effectIndex = 20;
    fields.customGroup = 2;
    const LightBlock block = BuildLightBlock(fields, ShiftedCodes());
    ASSERT_TRUE(board->DeviceFirmware().WriteArea(sim::FirmwareArea::Memory, 1,
                                                  Bytes(block.begin() + 1, block.end())));
    ASSERT_TRUE(board->DeviceFirmware().WriteArea(sim::FirmwareArea::Memory, 0, {0}));
    keyboard->Profile().WriteCustomLightColors(2, {{255, 128, 0, 255}});
    board->ClearWireLog();
    receiver->ClearWireLog();

    ASSERT_EQ(keyboard->ReadStateFromDevice(nullptr), 1);
    std::size_t schemePackets = 0;
    for (const Request& r : Requests()) {
        if (r.command != 0x0B)
            continue;
        EXPECT_GE(r.offset, 2 * 512);
        ++schemePackets;
    }
    if (ThroughReceiver()) {
        EXPECT_EQ(schemePackets, 0u);
        return;
    }
    EXPECT_GT(schemePackets, 0u);
    const Bytes schemes = board->LightSchemes();
    const std::size_t led0 = keyboard->Maps().leds[0];
    EXPECT_EQ(schemes[2 * 512 + 3 * led0], 254); // 255 × 255 >> 8
    EXPECT_EQ(schemes[2 * 512 + 3 * led0 + 1], 127);
    EXPECT_EQ(schemes[2 * 512 + 3 * led0 + 2], 0);
}

INSTANTIATE_TEST_SUITE_P(Keyboard, LightBlockTest, ::testing::Bool(), KindName);

} // namespace
} // namespace keyboardtest
