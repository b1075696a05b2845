// The mouse pad's preview: the lighting loop over the pad at the times a test chooses (the
// step period of each speed, sleeping while nobody watches), and the frames of its modes.

#include "PadFixture.h"

#include "devices/LightTables.h"
#include "devices/LightTick.h"
#include "devices/LightingLoop.h"
#include "devices/PadPreview.h"

namespace padtest {
namespace {

using devices::CLightingLoop;
using devices::LedColour;
using devices::LightingWake;

class PadPreviewTest : public PadTest {
protected:
    void SetUp() override {
        PadTest::SetUp();
        loop = std::make_unique<CLightingLoop>(pad->LightingTarget());
        pad->SetFrameListener([this] { ++frames; });
        Watch(true);
    }
    void Watch(bool on) {
        pad->SetWindowShown(on);
        pad->SetWindowHovered(on);
        pad->SetPreviewShown(on);
    }
    void SetMode(std::uint8_t mode, std::uint8_t speed, std::uint8_t brightness,
                 std::uint8_t multiColour) {
        config::LightInfoRecord record = pad->GetLightFields();
        record.selectItem = mode;
        record.speed = speed;
        record.light = brightness;
        record.multiColor = multiColour;
        record.red = 0x40;
        record.green = 0x80;
        record.blue = 0xC0;
        pad->SetLightFields(record);
    }
    std::vector<LedColour> Leds() {
        std::vector<LedColour> leds;
        for (int i = 0; i < pad->GetLedCount(); ++i)
            leds.push_back(pad->GetLedColour(i));
        return leds;
    }

    // Made once the pad is.
    std::unique_ptr<CLightingLoop> loop;
    CLightingLoop::TimePoint now{};
    int frames = 0;
};

TEST_F(PadPreviewTest, EachSpeedStepsAtItsThresholdAndNobodyWatchingSleeps) {
    const int ticks[] = {28, 23, 18, 13, 7};
    for (std::uint8_t speed = 0; speed <= 4; ++speed) {
        SetMode(devices::padmode::kWave, speed, 3, 1);
        const auto period = std::chrono::duration_cast<CLightingLoop::Clock::duration>(
            devices::TicksToTime(ticks[speed]));
        auto due = loop->RunUntil(now, LightingWake::kChange);
        ASSERT_TRUE(due);
        const int before = frames;
        EXPECT_EQ(loop->RunUntil(*due - std::chrono::milliseconds(1)), due) << "not yet";
        EXPECT_EQ(frames, before);
        now = *due;
        EXPECT_EQ(loop->RunUntil(now), now + period) << int(speed);
        EXPECT_EQ(frames, before + 1);
    }
    EXPECT_EQ(devices::PadStepTicks(9), 7) << "above 4 counts as 4";

    Watch(false);
    EXPECT_FALSE(loop->RunUntil(now, LightingWake::kChange)) << "nobody watches";
    Watch(true);
    pad->CommandChannel().lightPause = true;
    EXPECT_FALSE(loop->RunUntil(now, LightingWake::kChange)) << "paused";
    pad->CommandChannel().lightPause = false;
    pad->CommandChannel().open = false;
    EXPECT_FALSE(loop->RunUntil(now, LightingWake::kChange)) << "closed";
}

TEST_F(PadPreviewTest, TheRecordedModesAreDrawnOnceAfterAChange) {
    SetMode(devices::padmode::kRecorded, 2, 3, 0);
    EXPECT_FALSE(loop->RunUntil(now, LightingWake::kChange));
    EXPECT_EQ(frames, 1);
    EXPECT_FALSE(loop->RunUntil(now + std::chrono::seconds(5)));
    EXPECT_EQ(frames, 1);
}

TEST_F(PadPreviewTest, TheWaveRunsTheWheelAlongTheLedsAtThePreviewBrightness) {
    SetMode(devices::padmode::kWave, 0, 2, 1);
    pad->StepEffect(0);
    pad->StepEffect(0);
    const std::vector<LedColour> leds = Leds();
    ASSERT_EQ(leds.size(), 15u);
    for (std::size_t i = 0; i < leds.size(); ++i) {
        const devices::Rgb c = devices::Wheel(2 + 7 * i);
        EXPECT_EQ(leds[i], (LedColour{c.red, c.green, c.blue, 135})) << i;
    }
    // Without the multi-colour flag: the fixed colour, its intensity moving along the pad.
    SetMode(devices::padmode::kWave, 0, 4, 0);
    pad->StepEffect(0);
    for (const LedColour& led : Leds())
        EXPECT_EQ((LedColour{led.red, led.green, led.blue, 0}), (LedColour{0x40, 0x80, 0xC0, 0}));
    EXPECT_NE(Leds()[0].alpha, Leds()[4].alpha);

    const std::uint8_t alphas[] = {0, 80, 135, 255, 255, 255};
    for (std::uint8_t level = 0; level < 6; ++level)
        EXPECT_EQ(devices::PadPreviewAlpha(level), alphas[level]);
}

TEST_F(PadPreviewTest, TheReactiveModeFadesEveryLitLed) {
    SetMode(devices::padmode::kReactive, 0, 3, 0);
    pad->SetLedColour(0, {1, 2, 3, 40});
    pad->SetLedColour(1, {1, 2, 3, 10});
    pad->StepEffect(0);
    EXPECT_EQ(pad->GetLedColour(0).alpha, 25);
    EXPECT_EQ(pad->GetLedColour(1).alpha, 0);
    pad->StepEffect(0);
    EXPECT_EQ(pad->GetLedColour(0).alpha, 10);
}

} // namespace
} // namespace padtest
