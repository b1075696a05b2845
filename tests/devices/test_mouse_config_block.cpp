// The mouse's 66-byte configuration block, field by field, and the state taken from a block
// read back.

#include "devices/MouseConfigBlock.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace devices;
using Bytes = std::vector<std::uint8_t>;

DpiStageRecord Stage(std::uint8_t enable, std::uint16_t x, std::uint16_t y, std::uint8_t r,
                     std::uint8_t g, std::uint8_t b, std::uint8_t xy = 0) {
    DpiStageRecord stage;
    stage.enable = enable;
    stage.xy = xy;
    stage.SetDpiX(x);
    stage.SetDpiY(y);
    stage.red = r, stage.green = g, stage.blue = b;
    return stage;
}

MouseConfigFields SampleFields() {
    MouseConfigFields fields;
    fields.light.selectItem = 2;
    fields.light.light = 4;
    fields.light.speed = 1;
    fields.light.fx = 1;
    fields.light.multiColor = 1;
    fields.light.red = 0x11, fields.light.green = 0x22, fields.light.blue = 0x33;
    fields.system.SetValue(5, 3);
    fields.system.SetValue(0, 500); // double-click: not in the block
    fields.currentStage = 2;
    for (int i = 0; i < 5; ++i)
        fields.stages.push_back(
            Stage(1, static_cast<std::uint16_t>(0x100 + i), static_cast<std::uint16_t>(0x200 + i),
                  static_cast<std::uint8_t>(i), 0x80, 0xF0, static_cast<std::uint8_t>(i % 2)));
    fields.corrections = {{7, 8, 0, L"off"}, {9, 10, 1, L"first"}, {11, 12, 1, L"second"}};
    fields.screenWidth = 2560;
    fields.screenHeight = 1440;
    return fields;
}

const std::vector<int> kCodes = {0x00, 0x05, 0x07, 0x09};

TEST(MouseConfigBlockTest, EveryByteOfABlock) {
    const MouseConfigBlock block = BuildMouseConfigBlock(SampleFields(), kCodes);
    const Bytes head(block.begin(), block.begin() + 14);
    EXPECT_EQ(head, (Bytes{0, 0x07, 4, 2, 1, 1, 0x11, 0x22, 0x33, 0, 0, 3, 2, 0}));
    for (int i = 0; i < 5; ++i) {
        const auto at = block.begin() + 14 + 9 * i;
        EXPECT_EQ(
            Bytes(at, at + 9),
            (Bytes{1, static_cast<std::uint8_t>(i % 2), static_cast<std::uint8_t>(i), 0x01,
                   static_cast<std::uint8_t>(i), 0x02, static_cast<std::uint8_t>(i), 0x80, 0xF0}))
            << "stage " << i;
    }
    const Bytes tail(block.begin() + 59, block.end());
    EXPECT_EQ(tail, (Bytes{1, 0x00, 0x0A, 0xA0, 0x05, 10, 9}))
        << "byte 59, the screen size low byte first, the first selected correction";
}

TEST(MouseConfigBlockTest, TheCallerGivesTheFirstByteAndByte59) {
    MouseConfigFields fields = SampleFields();
    fields.firstByte = 0x42;
    fields.byte59 = 0;
    const MouseConfigBlock block = BuildMouseConfigBlock(fields, kCodes);
    EXPECT_EQ(block[0], 0x42);
    EXPECT_EQ(block[59], 0);
}

TEST(MouseConfigBlockTest, MissingStagesAndCorrectionGoAsZeros) {
    MouseConfigFields fields = SampleFields();
    fields.stages.resize(2);
    fields.corrections[1].select = 0;
    fields.corrections[2].select = 0;
    const MouseConfigBlock block = BuildMouseConfigBlock(fields, kCodes);
    EXPECT_EQ(block[14 + 9], 1) << "stage 1 is there";
    for (std::size_t at = 14 + 2 * 9; at < 59; ++at)
        EXPECT_EQ(block[at], 0) << "byte " << at;
    EXPECT_EQ(block[64], 0);
    EXPECT_EQ(block[65], 0);

    fields.stages.resize(7, Stage(1, 9, 9, 9, 9, 9));
    const MouseConfigBlock seven = BuildMouseConfigBlock(fields, kCodes);
    EXPECT_EQ(seven[59], 1) << "stages beyond five do not run into byte 59";
    EXPECT_EQ(seven[60], 0x00);
}

TEST(MouseConfigBlockTest, ModeIndexesWithoutACodeOrOutOfRange) {
    MouseConfigFields fields = SampleFields();
    fields.light.selectItem = 10;
    EXPECT_EQ(BuildMouseConfigBlock(fields, kCodes)[1], 0x00) << "10 and above count as 0";
    fields.light.selectItem = 6;
    EXPECT_EQ(BuildMouseConfigBlock(fields, kCodes)[1], 6) << "no code in the list: itself";
    fields.light.selectItem = 3;
    EXPECT_EQ(BuildMouseConfigBlock(fields, {})[1], 3);

    fields.system.SetValue(5, 5);
    fields.currentStage = 5;
    const MouseConfigBlock block = BuildMouseConfigBlock(fields, kCodes);
    EXPECT_EQ(block[11], 0) << "report rate beyond 0 to 4";
    EXPECT_EQ(block[12], 0) << "stage beyond 0 to 4";
    fields.currentStage = -1;
    EXPECT_EQ(BuildMouseConfigBlock(fields, kCodes)[12], 0);
}

TEST(MouseConfigBlockTest, AReadBlockGivesTheLightAndTheCurrentStage) {
    MouseStateBlock read{};
    const MouseConfigBlock built = BuildMouseConfigBlock(SampleFields(), kCodes);
    std::copy(built.begin(), built.end(), read.begin());
    read[66] = 0xEE; // the five bytes past the block mean nothing to the host
    MouseBlockState state = ParseMouseStateBlock(read, kCodes);
    EXPECT_EQ(state.modeIndex, 2);
    EXPECT_EQ(state.brightness, 4);
    EXPECT_EQ(state.speed, 1);
    EXPECT_EQ(state.multiColour, 1);
    EXPECT_EQ(state.red, 0x11);
    EXPECT_EQ(state.green, 0x22);
    EXPECT_EQ(state.blue, 0x33);
    EXPECT_EQ(state.currentStage, 2);

    read[1] = 0x33;
    EXPECT_EQ(ParseMouseStateBlock(read, kCodes).modeIndex, 0x33) << "an unknown code stays";
    read[1] = 0x05;
    EXPECT_EQ(
        ParseMouseStateBlock(std::span<const std::uint8_t, 71>(read), std::vector<int>{0x05, 0x05})
            .modeIndex,
        0)
        << "the first position holding the code";
}

} // namespace
