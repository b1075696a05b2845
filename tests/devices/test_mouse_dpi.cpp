// The mouse's DPI scale: the two-slope scale of model 0x3325, the single slope of every other
// model, and typed DPI back to slider positions.

#include "devices/MouseDpi.h"

#include <gtest/gtest.h>

namespace {

using devices::DpiOfPosition;
using devices::DpiScale;
using devices::PositionOfDpi;

constexpr DpiScale kTwoSlope{0x3325, 100, 153, 200};
constexpr DpiScale kOneSlope{0x1234, 100, 153, 200};

TEST(MouseDpiTest, TheScaleIsReadFromTheInformationBlock) {
    devices::DeviceInfoBlock info{};
    info[9] = 0x25, info[10] = 0x33;
    info[11] = 50;
    info[12] = 0x2C, info[13] = 0x01;
    info[14] = 0x64, info[15] = 0x00;
    const DpiScale scale = devices::DpiScaleOfInfo(info);
    EXPECT_EQ(scale.modelCode, 0x3325);
    EXPECT_TRUE(scale.TwoSlopes());
    EXPECT_EQ(scale.step, 50);
    EXPECT_EQ(scale.sliderMaximum, 300);
    EXPECT_EQ(scale.minimum, 100);
    EXPECT_EQ(scale.EditMaximum(), 15000);
}

TEST(MouseDpiTest, TheTwoSlopeModelClimbsBy200AfterPosition48) {
    EXPECT_EQ(DpiOfPosition(kTwoSlope, 0), 200);
    EXPECT_EQ(DpiOfPosition(kTwoSlope, 47), 4900);
    EXPECT_EQ(DpiOfPosition(kTwoSlope, 48), 5000);
    EXPECT_EQ(DpiOfPosition(kTwoSlope, 49), 5200);
    EXPECT_EQ(DpiOfPosition(kTwoSlope, 60), 7400);
    EXPECT_EQ(DpiOfPosition(kTwoSlope, 153), 26000);
}

TEST(MouseDpiTest, OtherModelsKeepOneSlope) {
    EXPECT_EQ(DpiOfPosition(kOneSlope, 48), 5000);
    EXPECT_EQ(DpiOfPosition(kOneSlope, 49), 5100);
    EXPECT_EQ(DpiOfPosition(kOneSlope, 60), 6200);
}

TEST(MouseDpiTest, TypedDpiBecomesThePositionShowingAtMostThatMuch) {
    EXPECT_EQ(PositionOfDpi(kTwoSlope, 5000), 48);
    EXPECT_EQ(PositionOfDpi(kTwoSlope, 5100), 48) << "between two positions of the upper slope";
    EXPECT_EQ(PositionOfDpi(kTwoSlope, 5200), 49);
    EXPECT_EQ(PositionOfDpi(kTwoSlope, 7400), 60);
    EXPECT_EQ(PositionOfDpi(kTwoSlope, 4999), 47);
    EXPECT_EQ(PositionOfDpi(kOneSlope, 5200), 50);
    EXPECT_EQ(PositionOfDpi(kOneSlope, 250), 0);
}

TEST(MouseDpiTest, DpiBelowTheMinimumIsTheMinimum) {
    for (const DpiScale& scale : {kTwoSlope, kOneSlope}) {
        EXPECT_EQ(PositionOfDpi(scale, 199), 0);
        EXPECT_EQ(PositionOfDpi(scale, 0), 0);
        EXPECT_EQ(PositionOfDpi(scale, -500), 0);
    }
}

TEST(MouseDpiTest, DpiAboveTheTopPositionStopsThere) {
    EXPECT_EQ(PositionOfDpi(kTwoSlope, 99999), 153);
    EXPECT_EQ(PositionOfDpi(kOneSlope, 99999), 153);
}

TEST(MouseDpiTest, AScaleWithoutAStepHasOnlyPositionZero) {
    EXPECT_EQ(PositionOfDpi(DpiScale{0x1234, 0, 10, 400}, 1600), 0);
}

// Every slider position shows a DPI that comes back to the same position, also for a
// two-slope model whose lower slope does not end at 5000.
TEST(MouseDpiTest, EverySliderPositionComesBack) {
    const DpiScale scales[] = {kTwoSlope, kOneSlope, DpiScale{0x3325, 50, 200, 100},
                               DpiScale{0x3325, 250, 120, 400}, DpiScale{0x0001, 10, 500, 50}};
    for (const DpiScale& scale : scales) {
        for (int p = 0; p <= scale.sliderMaximum; ++p)
            ASSERT_EQ(PositionOfDpi(scale, DpiOfPosition(scale, p)), p)
                << "model " << scale.modelCode << " step " << int{scale.step} << " min "
                << scale.minimum;
    }
}

} // namespace
