// The mouse pad's light block against the virtual pad: what the state read asks for and keeps,
// what apply writes where, and the pad's memory afterwards.

#include "PadFixture.h"

#include "devices/PadLightBlock.h"

namespace padtest {
namespace {

using devices::PadLightBlock;
namespace padblock = devices::padblock;

constexpr std::uint8_t kCmdBegin = 0x01;
constexpr std::uint8_t kCmdEnd = 0x02;
constexpr std::uint8_t kCmdInfo = 0x03;
constexpr std::uint8_t kCmdRead = 0x05;
constexpr std::uint8_t kCmdWrite = 0x06;

// The 26 bytes of a page as the pad holds them: page byte (or the previous page's last byte),
// mode code, brightness, 3 - speed, direction, multi-colour, colour, 12 bytes of its own and
// 5 bytes beyond the block.
Bytes StoredPage(std::uint8_t first, std::uint8_t code, std::uint8_t wireSpeed) {
    Bytes page = {first, code, 2, wireSpeed, 7, 1, 0x11, 0x22, 0x33};
    for (int i = 0; i < 12; ++i)
        page.push_back(static_cast<std::uint8_t>(0xA0 + i));
    for (int i = 0; i < 5; ++i)
        page.push_back(0xEE);
    return page;
}

Bytes Kept(const Bytes& bytes) {
    return Bytes(bytes.begin() + padblock::kKeptAt,
                 bytes.begin() + padblock::kKeptAt + padblock::kKeptSize);
}

TEST_F(PadTest, PageTwoIsReadFromOffset50AndTheBlockWrittenAtOffset0) {
    PresetMemory(0, {2});
    PresetMemory(50, StoredPage(0x99, ModeCode(4), 0));
    virtualPad->ClearWireLog();

    ASSERT_EQ(pad->ReadStateFromDevice(), 1);
    std::vector<Request> reads = Requests();
    ASSERT_EQ(reads.size(), 2u);
    EXPECT_EQ(reads[0].command, kCmdRead);
    EXPECT_EQ(reads[0].length, 1);
    EXPECT_EQ(reads[0].offset, 0);
    EXPECT_EQ(reads[1].command, kCmdRead);
    EXPECT_EQ(reads[1].length, 26);
    EXPECT_EQ(reads[1].offset, 50);

    // Field by field: the page, the code back to its index, the speed from 3 - 0, the rest.
    const PadLightBlock& block = pad->LightBlock();
    EXPECT_EQ(pad->GetPage(), 2);
    EXPECT_EQ(block[padblock::kModeAt], 4);
    EXPECT_EQ(block[padblock::kBrightnessAt], 2);
    EXPECT_EQ(block[padblock::kSpeedAt], 3);
    EXPECT_EQ(block[padblock::kDirectionAt], 7);
    EXPECT_EQ(block[padblock::kMultiColourAt], 1);
    EXPECT_EQ(block[padblock::kRedAt], 0x11);
    EXPECT_EQ(block[padblock::kGreenAt], 0x22);
    EXPECT_EQ(block[padblock::kBlueAt], 0x33);
    EXPECT_EQ(Kept(Bytes(block.begin(), block.end())), Kept(StoredPage(0, 0, 0)));

    virtualPad->ClearWireLog();
    ASSERT_EQ(pad->Apply(0), 1);
    EXPECT_EQ(Commands(), (Bytes{kCmdBegin, kCmdWrite, kCmdEnd}));
    const Request write = Requests()[1];
    EXPECT_EQ(write.offset, 0);
    EXPECT_EQ(write.length, 21);
    Bytes expected = StoredPage(2, ModeCode(4), 0);
    expected.resize(21);
    EXPECT_EQ(write.data, expected) << "the page byte, the code and 3 - speed on the wire";
    EXPECT_EQ(Memory(0, 21), expected);
    EXPECT_EQ(Memory(50, 26), StoredPage(0x99, ModeCode(4), 0)) << "page 2 is not touched";
}

TEST_F(PadTest, TheLightFieldsGoOutInTheirBytesAndTheRestAsRead) {
    PresetMemory(0, StoredPage(0, ModeCode(2), 1));
    ASSERT_EQ(pad->ReadStateFromDevice(), 1);
    EXPECT_EQ(pad->GetLightFields().speed, 2);

    config::LightInfoRecord record = pad->GetLightFields();
    record.selectItem = 5;
    record.light = 1;
    record.speed = 1;
    record.fx = 9; // the direction is the pad's: sent as read
    record.multiColor = 0;
    record.red = 0xC1;
    record.green = 0xC2;
    record.blue = 0xC3;
    pad->SetLightFields(record);
    virtualPad->ClearWireLog();
    ASSERT_EQ(pad->WriteLightBlock(), 1);

    const Bytes memory = Memory(0, 26);
    EXPECT_EQ(memory[padblock::kPageAt], 0);
    EXPECT_EQ(memory[padblock::kModeAt], ModeCode(5));
    EXPECT_EQ(memory[padblock::kBrightnessAt], 1);
    EXPECT_EQ(memory[padblock::kSpeedAt], 2) << "speed 1 is sent as 2";
    EXPECT_EQ(memory[padblock::kDirectionAt], 7);
    EXPECT_EQ(memory[padblock::kMultiColourAt], 0);
    EXPECT_EQ(memory[padblock::kRedAt], 0xC1);
    EXPECT_EQ(memory[padblock::kGreenAt], 0xC2);
    EXPECT_EQ(memory[padblock::kBlueAt], 0xC3);
    EXPECT_EQ(Kept(memory), Kept(StoredPage(0, 0, 0)));
    EXPECT_EQ(Bytes(memory.begin() + 21, memory.end()), Bytes(5, 0xEE)) << "21 bytes only";
    EXPECT_EQ(Requests()[1].data, Memory(0, 21));
}

TEST_F(PadTest, ReloadingTheProfileRefreshesOnlyTheLightBytes) {
    PresetMemory(0, StoredPage(0, ModeCode(4), 0));
    ASSERT_EQ(pad->ReadStateFromDevice(), 1);
    const PadLightBlock before = pad->LightBlock();

    config::LightInfoRecord record{};
    record.selectItem = 3;
    record.light = 4;
    record.speed = 0;
    record.fx = 5;
    record.multiColor = 0;
    record.red = 1;
    record.green = 2;
    record.blue = 3;
    pad->ProfileData().WriteLightInfo(record);
    pad->ApplyProfileLighting();

    const PadLightBlock& after = pad->LightBlock();
    EXPECT_EQ(after[padblock::kModeAt], 3);
    EXPECT_EQ(after[padblock::kBrightnessAt], 4);
    EXPECT_EQ(after[padblock::kSpeedAt], 0);
    EXPECT_EQ(after[padblock::kMultiColourAt], 0);
    EXPECT_EQ(after[padblock::kRedAt], 1);
    EXPECT_EQ(after[padblock::kGreenAt], 2);
    EXPECT_EQ(after[padblock::kBlueAt], 3);
    EXPECT_EQ(after[padblock::kPageAt], before[padblock::kPageAt]);
    EXPECT_EQ(after[padblock::kDirectionAt], before[padblock::kDirectionAt]);
    EXPECT_TRUE(std::equal(after.begin() + padblock::kKeptAt, after.end(),
                           before.begin() + padblock::kKeptAt));
}

TEST_F(PadTest, TheStateReadIsKeptInTheSavedProfileWithItsDirection) {
    PresetMemory(0, StoredPage(0, ModeCode(6), 2));
    pad->ReloadProfile();
    const std::uint8_t direction = pad->GetLightFields().fx;
    ASSERT_EQ(pad->ReadStateFromDevice(), 1);

    // A fresh load of the profile file gives what was read.
    pad->ProfileData().WriteLightInfo({});
    pad->ReloadProfile();
    const config::LightInfoRecord saved = pad->GetLightFields();
    EXPECT_EQ(saved.selectItem, 6);
    EXPECT_EQ(saved.light, 2);
    EXPECT_EQ(saved.speed, 1);
    EXPECT_EQ(saved.multiColor, 1);
    EXPECT_EQ(saved.red, 0x11);
    EXPECT_EQ(saved.blue, 0x33);
    EXPECT_EQ(saved.fx, direction) << "the direction stays the profile's";
}

TEST_F(PadTest, AModeCodeOutsideTheListIsKeptAndSentBackAsItIs) {
    PresetMemory(0, StoredPage(0, 0x30, 3));
    ASSERT_EQ(pad->ReadStateFromDevice(), 1);
    EXPECT_EQ(pad->LightBlock()[padblock::kModeAt], 0x30);
    EXPECT_EQ(pad->GetLightFields().selectItem, 0x30);
    EXPECT_EQ(pad->GetLightFields().speed, 0);
    ASSERT_EQ(pad->Apply(0), 1);
    EXPECT_EQ(Memory(0, 4), (Bytes{0, 0x30, 2, 3}));
}

TEST_F(PadTest, AClosedChannelOrAFailedReadChangesNothingAndApplySaysSo) {
    PresetMemory(0, StoredPage(0, ModeCode(1), 1));
    ASSERT_EQ(pad->ReadStateFromDevice(), 1);
    const PadLightBlock read = pad->LightBlock();

    // The pad refuses the block read: the block stays the one read before.
    PresetMemory(0, StoredPage(0, ModeCode(7), 0));
    virtualPad->ForceStatus(0xFF, 2);
    EXPECT_NE(pad->ReadStateFromDevice(), 1);
    EXPECT_EQ(pad->LightBlock(), read);
    virtualPad->ClearFaults();

    pad->CommandChannel().open = false;
    pad->CommandChannel().lightPause = true;
    virtualPad->ClearWireLog();
    EXPECT_EQ(pad->ReadStateFromDevice(), 0);
    EXPECT_FALSE(pad->CommandChannel().lightPause) << "the pause ends with any state read";
    EXPECT_EQ(pad->Apply(0), 0) << "a write never sent is no success";
    EXPECT_TRUE(Requests().empty());
    EXPECT_EQ(pad->LightBlock(), read);
}

TEST_F(PadTest, ReadingAllConnectsReadsTheStateAndStartsThePreview) {
    PresetMemory(0, StoredPage(0, ModeCode(3), 1));
    virtualPad->ClearWireLog();
    ASSERT_EQ(pad->ReadAllFromDevice(), 1);
    EXPECT_EQ(Commands(), (Bytes{kCmdBegin, kCmdInfo, kCmdEnd, kCmdRead, kCmdRead}));
    const Bytes info = virtualPad->InfoBlock();
    EXPECT_TRUE(std::equal(info.begin(), info.end(), pad->InfoBlock().begin()));
    EXPECT_EQ(pad->GetLightFields().selectItem, 3) << "the pad's state over the profile's";
    EXPECT_TRUE(pad->IsPreviewThreadRunning());

    pad->CommandChannel().open = false;
    virtualPad->ClearWireLog();
    EXPECT_EQ(pad->Connect(), 0);
    EXPECT_TRUE(Requests().empty());
}

} // namespace
} // namespace padtest
