// The mouse's preview: the lighting loop over the mouse at the times a test chooses (the step
// period of each speed, sleeping while nobody watches), its thread ending on stop, and the
// frames of the mouse's modes over its seven LED groups.

#include "MouseFixture.h"
#include "NotificationTestSupport.h"

#include "devices/LightTables.h"
#include "devices/LightTick.h"
#include "devices/LightingLoop.h"
#include "devices/MousePreview.h"

namespace mousetest {
namespace {

using devices::CLightingLoop;
using devices::LedColour;
using devices::LightingWake;

class MousePreviewTest : public MouseTest {
protected:
    void SetUp() override {
        MouseTest::SetUp();
        loop = std::make_unique<CLightingLoop>(device->LightingTarget());
        device->SetFrameListener([this] { ++frames; });
        Watch(true);
    }
    void Watch(bool on) {
        device->SetWindowShown(on);
        device->SetWindowHovered(on);
        device->SetPreviewShown(on);
    }
    void SetMode(std::uint8_t mode, std::uint8_t speed, std::uint8_t brightness,
                 std::uint8_t multiColour) {
        config::LightInfoRecord record = device->GetLightFields();
        record.selectItem = mode;
        record.speed = speed;
        record.light = brightness;
        record.multiColor = multiColour;
        record.fx = 0;
        record.red = 0x40;
        record.green = 0x80;
        record.blue = 0xC0;
        device->SetLightFields(record);
    }
    LedColour Led(int index) { return device->GetLedColour(index); }

    std::unique_ptr<CLightingLoop> loop;
    CLightingLoop::TimePoint now{};
    int frames = 0;
};

TEST_P(MousePreviewTest, EachSpeedStepsAtItsThresholdAndAnUnwatchedPreviewSleeps) {
    const int ticks[] = {28, 23, 18, 13, 7};
    for (std::uint8_t mode : {devices::mousemode::kWave, devices::mousemode::kOff}) {
        for (std::uint8_t speed = 0; speed <= 4; ++speed) {
            SetMode(mode, speed, 3, 1);
            const auto period = std::chrono::duration_cast<CLightingLoop::Clock::duration>(
                devices::TicksToTime(ticks[speed]));
            const auto due = loop->RunUntil(now, LightingWake::kChange);
            ASSERT_TRUE(due);
            const int before = frames;
            EXPECT_EQ(loop->RunUntil(*due - std::chrono::milliseconds(1)), due) << "not yet";
            EXPECT_EQ(frames, before);
            now = *due;
            EXPECT_EQ(loop->RunUntil(now), now + period) << int(mode) << " " << int(speed);
            EXPECT_EQ(frames, before + 1);
        }
    }

    Watch(false);
    EXPECT_FALSE(loop->RunUntil(now, LightingWake::kChange)) << "nobody watches";
    Watch(true);
    device->CommandChannel().lightPause = true;
    EXPECT_FALSE(loop->RunUntil(now, LightingWake::kChange)) << "paused";
    device->CommandChannel().lightPause = false;
    device->CommandChannel().open = false;
    EXPECT_FALSE(loop->RunUntil(now, LightingWake::kChange)) << "closed";
}

TEST_P(MousePreviewTest, ARecordedEffectWithNoStepsIsDrawnOnceAndDark) {
    SetMode(devices::mousemode::kRecorded, 2, 3, 0);
    EXPECT_FALSE(loop->RunUntil(now, LightingWake::kChange));
    EXPECT_EQ(frames, 1);
    EXPECT_FALSE(loop->RunUntil(now + std::chrono::seconds(5)));
    EXPECT_EQ(frames, 1);
    for (int i = 0; i < device->GetLedCount(); ++i)
        EXPECT_EQ(Led(i).alpha, 0) << i;
}

TEST_P(MousePreviewTest, TheWaveAndTheCustomColoursRunOverTheSevenGroups) {
    ASSERT_EQ(device->GetLedCount(), 15);
    SetMode(devices::mousemode::kWave, 0, 2, 1);
    device->StepEffect(0);
    device->StepEffect(0);
    for (std::size_t g = 0; g < devices::kMouseLedGroups.size(); ++g) {
        const devices::Rgb c = devices::Wheel(2 + 7 * g);
        for (int index : devices::kMouseLedGroups[g]) {
            if (index >= 0) {
                EXPECT_EQ(Led(index), (LedColour{c.red, c.green, c.blue, 135})) << index;
            }
        }
    }
    // Without the multi-colour flag: the fixed colour, its intensity moving along the groups.
    SetMode(devices::mousemode::kWave, 0, 4, 0);
    device->StepEffect(0);
    EXPECT_EQ((LedColour{Led(13).red, Led(13).green, Led(13).blue, 0}),
              (LedColour{0x40, 0x80, 0xC0, 0}));
    EXPECT_EQ(Led(0).alpha, Led(13).alpha) << "one group, one intensity";
    EXPECT_NE(Led(0).alpha, Led(4).alpha);

    SetMode(devices::mousemode::kCustomColours, 0, 1, 0);
    device->GetEffectState().phase[0] = 0;
    device->StepEffect(0);
    for (std::size_t g = 0; g < devices::kMouseLedGroups.size(); ++g) {
        const devices::Rgb c = devices::FourColour((1 + g) % 4);
        EXPECT_EQ(Led(devices::kMouseLedGroups[g][0]), (LedColour{c.red, c.green, c.blue, 80}))
            << g;
    }
    EXPECT_EQ(Led(14), Led(6)) << "the middle LED goes with the last group";
}

TEST_P(MousePreviewTest, TheReactiveFadeRisesToFullThenFallsToDark) {
    SetMode(devices::mousemode::kReactive, 0, 3, 0);
    std::vector<LedColour> leds(2);
    std::vector<devices::MouseFade> fades(2, devices::MouseFade::kIdle);
    fades[0] = devices::MouseFade::kRising;
    leds[0].alpha = 230;
    leds[1].alpha = 100; // resting: left alone
    devices::StepMouseReactive(leds, fades);
    EXPECT_EQ(leds[0].alpha, 245);
    devices::StepMouseReactive(leds, fades);
    EXPECT_EQ(leds[0].alpha, 255);
    EXPECT_EQ(fades[0], devices::MouseFade::kFalling);
    for (int frame = 0; frame < 17; ++frame)
        devices::StepMouseReactive(leds, fades);
    EXPECT_EQ(leds[0].alpha, 0);
    EXPECT_EQ(fades[0], devices::MouseFade::kIdle);
    EXPECT_EQ(leds[1].alpha, 100);

    const std::uint32_t dice[] = {193, 5};
    devices::StartMouseReactive(leds, fades, dice);
    const devices::Rgb c = devices::Wheel(1);
    EXPECT_EQ(leds[0], (LedColour{c.red, c.green, c.blue, 255})) << "modulo the wheel";
    EXPECT_EQ(fades[1], devices::MouseFade::kRising);
}

TEST_P(MousePreviewTest, ThePreviewThreadEndsOnStopEveryTime) {
    SetMode(devices::mousemode::kWave, 4, 3, 1);
    for (int round = 0; round < 50; ++round) {
        device->StartPreviewThread();
        ASSERT_TRUE(device->IsPreviewThreadRunning());
        const devicetest::Watchdog watchdog("stopping the mouse's preview thread");
        device->StopPreviewThread();
        ASSERT_FALSE(device->IsPreviewThreadRunning()) << round;
    }
    // Reading the mouse starts it again.
    device->ReadAllFromDevice();
    EXPECT_TRUE(device->IsPreviewThreadRunning());
}

INSTANTIATE_TEST_SUITE_P(Mouse, MousePreviewTest, ::testing::Values(false), KindName);

} // namespace
} // namespace mousetest
