#include "devices/LightEngine.h"

#include <gtest/gtest.h>

#include <vector>

using namespace devices;

namespace {

struct Frame {
    std::vector<LedColour> leds = std::vector<LedColour>(170, LedColour{9, 9, 9, 9});
    EffectState state;
    LightSettings settings{0, 2, 3, 0, 0, 10, 20, 30};

    // The colour every LED got; fails when the LEDs differ.
    LedColour Shown() const {
        for (const LedColour& led : leds) {
            EXPECT_EQ(led, leds.front());
        }
        return leds.front();
    }
};

LedColour Lit(Rgb c, std::uint8_t alpha) {
    return {c.red, c.green, c.blue, alpha};
}

TEST(LightTables, WheelSegmentsMeetAtTheirEnds) {
    EXPECT_EQ(Wheel(0), (Rgb{255, 1, 0}));
    EXPECT_EQ(Wheel(31), (Rgb{255, 255, 0}));
    EXPECT_EQ(Wheel(32), (Rgb{248, 255, 0}));
    EXPECT_EQ(Wheel(63), (Rgb{0, 255, 0}));
    EXPECT_EQ(Wheel(64), (Rgb{0, 255, 1}));
    EXPECT_EQ(Wheel(128), (Rgb{1, 0, 255}));
    EXPECT_EQ(Wheel(191), (Rgb{255, 0, 0}));
    EXPECT_EQ(Wheel(192), Wheel(0));
}

TEST(LightTables, CurveRisesToTwoPeaksAndFallsBackSymmetrically) {
    EXPECT_EQ(BreathingCurve(0), 0);
    EXPECT_EQ(BreathingCurve(63), 255);
    EXPECT_EQ(BreathingCurve(64), 255);
    for (std::size_t i = 0; i < 64; ++i) {
        EXPECT_EQ(BreathingCurve(i), BreathingCurve(127 - i)) << i;
        if (i > 0) {
            EXPECT_GT(BreathingCurve(i), BreathingCurve(i - 1)) << i;
        }
    }
}

TEST(LightTables, LevelsAndPeriodsClampAboveThree) {
    EXPECT_EQ(BrightnessLevel(2), 135);
    EXPECT_EQ(BrightnessLevel(9), 255);
    EXPECT_EQ(FlashPeriodMs(0), 5600u);
    EXPECT_EQ(FlashPeriodMs(3), 2600u);
    EXPECT_EQ(FlashPeriodMs(200), 2600u);
    EXPECT_EQ(FourColour(3), (Rgb{255, 0, 0}));
}

TEST(BaseSteps, BreathingScalesTheCurveByTheLevel) {
    Frame f;
    const std::uint8_t expected[] = {0, 1, 1}; // curve 1, 2, 3 at level 2: (c * 135) >> 8
    for (std::uint8_t alpha : expected) {
        StepBreathing(f.leds, f.settings, f.state);
        EXPECT_EQ(f.Shown(), (LedColour{10, 20, 30, alpha}));
    }
    f.state.stepCounter = 61;
    StepBreathing(f.leds, f.settings, f.state);
    EXPECT_EQ(f.Shown().alpha, 130); // 248 * 135 >> 8
    f.settings.brightness = 3;
    StepBreathing(f.leds, f.settings, f.state);
    EXPECT_EQ(f.Shown().alpha, 254); // 255 * 255 >> 8
}

TEST(BaseSteps, BreathingMovesTheWheelPhaseOnEachWrapEitherWay) {
    Frame f;
    f.settings.multiColour = 1;
    f.state.stepCounter = 127;
    StepBreathing(f.leds, f.settings, f.state);
    EXPECT_EQ(f.state.stepCounter, 0);
    EXPECT_EQ(f.Shown(), Lit(Wheel(16), 0));
    StepBreathing(f.leds, f.settings, f.state); // no wrap, same colour
    EXPECT_EQ(f.Shown(), Lit(Wheel(16), 0));

    f.settings.direction = 1;
    StepBreathing(f.leds, f.settings, f.state); // 1 -> 0
    StepBreathing(f.leds, f.settings, f.state); // 0 -> 127
    EXPECT_EQ(f.state.stepCounter, 127);
    EXPECT_EQ(f.state.phase[kColourPhase], 32);

    f.state.phase[kColourPhase] = 176;
    f.state.stepCounter = 0;
    StepBreathing(f.leds, f.settings, f.state);
    EXPECT_EQ(f.state.phase[kColourPhase], 192);
    EXPECT_EQ(f.Shown(), Lit(Wheel(0), 0));
    f.state.stepCounter = 0;
    StepBreathing(f.leds, f.settings, f.state);
    EXPECT_EQ(f.state.phase[kColourPhase], 0);
}

TEST(BaseSteps, FourColourBreathingCyclesOneColourPerBreath) {
    Frame f;
    for (std::size_t breath = 1; breath <= 4; ++breath) {
        for (int i = 0; i < 128; ++i) {
            StepBreathingFourColours(f.leds, f.settings, f.state);
        }
        EXPECT_EQ(f.state.stepCounter, 0);
        EXPECT_EQ(f.Shown(), Lit(FourColour(breath % 4), 0)) << breath;
    }
}

TEST(BaseSteps, StaticAndOff) {
    Frame f;
    f.settings.brightness = 1;
    StepStatic(f.leds, f.settings);
    EXPECT_EQ(f.Shown(), (LedColour{10, 20, 30, 80}));
    StepOff(f.leds);
    EXPECT_EQ(f.Shown(), (LedColour{0, 0, 0, 0}));
}

TEST(BaseSteps, SpectrumWrapsAt191EitherWay) {
    Frame f;
    StepSpectrumCycle(f.leds, f.settings, f.state);
    EXPECT_EQ(f.Shown(), Lit(Wheel(1), 135));
    f.state.stepCounter = 191;
    StepSpectrumCycle(f.leds, f.settings, f.state);
    EXPECT_EQ(f.state.stepCounter, 0);
    EXPECT_EQ(f.Shown(), Lit(Wheel(0), 135));
    f.settings.direction = 1;
    StepSpectrumCycle(f.leds, f.settings, f.state);
    EXPECT_EQ(f.state.stepCounter, 191);
    EXPECT_EQ(f.Shown(), Lit(Wheel(191), 135));
}

TEST(BaseSteps, FlashTogglesEachPeriodAndMovesColourOnWhileDark) {
    Frame f;
    f.settings.multiColour = 1;          // speed 3: 2600 ms
    const std::uint32_t t0 = 0xFFFFF000; // the clock wraps during the test
    StepFlash(f.leds, f.settings, f.state, t0);
    EXPECT_EQ(f.Shown(), Lit(Wheel(0), 135));
    StepFlash(f.leds, f.settings, f.state, t0 + 2599);
    EXPECT_EQ(f.Shown(), Lit(Wheel(0), 135));
    StepFlash(f.leds, f.settings, f.state, t0 + 2600);
    EXPECT_EQ(f.Shown(), (LedColour{0, 0, 0, 0}));
    StepFlash(f.leds, f.settings, f.state, t0 + 5199);
    EXPECT_EQ(f.Shown(), (LedColour{0, 0, 0, 0}));
    StepFlash(f.leds, f.settings, f.state, t0 + 5200);
    EXPECT_EQ(f.Shown(), Lit(Wheel(16), 135));

    f.state.stepCounter = 176;
    StepFlash(f.leds, f.settings, f.state, t0 + 7800);
    StepFlash(f.leds, f.settings, f.state, t0 + 10400);
    EXPECT_EQ(f.Shown(), Lit(Wheel(0), 135));

    f.settings.multiColour = 0;
    StepFlash(f.leds, f.settings, f.state, t0 + 10400);
    EXPECT_EQ(f.Shown(), (LedColour{10, 20, 30, 135}));
}

TEST(BaseSteps, FourColourFlashShowsEachColourInTurn) {
    Frame f;
    f.settings.speed = 0; // 5600 ms
    for (std::uint32_t flash = 0; flash < 5; ++flash) {
        StepFlashFourColours(f.leds, f.settings, f.state, 11200 * flash);
        EXPECT_EQ(f.Shown(), Lit(FourColour(flash % 4), 135)) << flash;
        StepFlashFourColours(f.leds, f.settings, f.state, 11200 * flash + 5600);
        EXPECT_EQ(f.Shown().alpha, 0);
    }
}

TEST(KeyDecay, EachBandTakesItsAmountPerEffect) {
    struct Row {
        std::uint8_t from, effect0, effect29, other;
    };
    const Row rows[] = {
        {255, 215, 210, 215}, {144, 104, 99, 104}, {143, 103, 103, 103}, {128, 88, 88, 88},
        {127, 97, 92, 97},    {112, 82, 77, 82},   {111, 81, 81, 81},    {96, 66, 66, 66},
        {95, 65, 70, 65},     {80, 50, 55, 50},    {79, 49, 59, 49},     {64, 34, 44, 34},
        {63, 48, 53, 53},     {32, 17, 22, 22},    {31, 23, 26, 23},     {17, 9, 12, 9},
        {16, 15, 15, 15},     {1, 0, 0, 0},        {0, 0, 0, 0},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(DecayKey(r.from, 0), r.effect0) << int(r.from);
        EXPECT_EQ(DecayKey(r.from, 29), r.effect29) << int(r.from);
        EXPECT_EQ(DecayKey(r.from, 7), r.other) << int(r.from);
    }
}

TEST(KeyDecay, FadesOutWithoutWrapping) {
    for (int effect : {0, 29, 30}) {
        std::uint8_t v = 255;
        for (int i = 0; i < 300; ++i) {
            const std::uint8_t next = DecayKey(v, effect);
            ASSERT_LE(next, v);
            v = next;
        }
        EXPECT_EQ(v, 0) << effect;
    }
}

} // namespace
