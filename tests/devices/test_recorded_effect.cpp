// Playback of a recorded light effect: each step shown for its own time, drawn with the base
// steps from its own settings, the list starting again after the last.

#include "devices/LightTick.h"
#include "devices/RecordedEffect.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace devices;

config::LightEffectStep Step(std::uint8_t mode, std::uint8_t speed, std::int32_t timeMs,
                             std::uint8_t red) {
    config::LightEffectStep s;
    s.mode = mode;
    s.brightness = 2;
    s.speed = speed;
    s.red = red;
    s.time = timeMs;
    return s;
}

TEST(RecordedEffect, EachStepIsShownForItsTimeAndTheListStartsAgain) {
    CRecordedEffect effect;
    std::vector<LedColour> leds(4, LedColour{1, 1, 1, 1});
    EffectState state;
    EXPECT_EQ(effect.StepTicks(), kRecordedPlaybackTicks) << "nothing to play";
    effect.Step(leds, state, 0);
    EXPECT_EQ(leds[0], (LedColour{0, 0, 0, 0})) << "an empty list shows nothing";

    // A red standing still for 100 ms, the lights off for 50 ms, a zero-time step.
    effect.Load({Step(6, 1, 100, 200), Step(21, 3, 50, 0), Step(6, 0, 0, 9)});
    EXPECT_EQ(effect.StepTicks(), kSpeed1ThresholdTicks);
    const std::pair<std::uint32_t, std::uint8_t> shown[] = {
        {1000, 200}, {1099, 200}, {1100, 0}, {1149, 0}, {1150, 9}, {1151, 200}, {1260, 0}};
    for (const auto& [at, red] : shown) {
        SCOPED_TRACE(at);
        effect.Step(leds, state, at);
        EXPECT_EQ(leds[3].red, red);
    }
    EXPECT_EQ(leds[3].alpha, 0) << "off";
    EXPECT_EQ(effect.StepTicks(), kSpeed3ThresholdTicks) << "the pace of the step shown";

    effect.Load({Step(6, 2, 100, 50)});
    effect.Step(leds, state, 5000);
    EXPECT_EQ(leds[0], (LedColour{50, 0, 0, BrightnessLevel(2)})) << "a new list starts over";
}

} // namespace
