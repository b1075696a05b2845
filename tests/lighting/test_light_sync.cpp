// The light synchronisation: the common effects of the device kinds, the frames of each effect
// stepped with a clock the test moves, and the thread's pass over the devices that take part.

#include "devices/KelvaneUSBDevice.h"
#include "devices/LightTables.h"
#include "devices/LightTick.h"
#include "lighting/CommonEffects.h"
#include "lighting/LightSyncStep.h"
#include "lighting/LightSyncThread.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

using namespace lighting;
using std::chrono::microseconds;

TEST(CommonEffectsTest, EveryKindHasItsModeForTheFiveEffects) {
    // breathing, steady, flashing, colour cycle, off
    const int keyboard[] = {5, 6, 22, 4, 21};
    const int mouse[] = {2, 3, 4, 1, 9};
    const int pad[] = {2, 3, 4, 1, 8};
    for (int effect = 0; effect < kCommonEffectCount; ++effect) {
        EXPECT_EQ(ModeOfCommonEffect(1, effect), keyboard[effect]);
        EXPECT_EQ(ModeOfCommonEffect(2, effect), mouse[effect]);
        EXPECT_EQ(ModeOfCommonEffect(3, effect), pad[effect]);
        EXPECT_EQ(ModeOfCommonEffect(7, effect), pad[effect]);
        EXPECT_EQ(CommonEffectOfMode(1, keyboard[effect]), effect);
        EXPECT_EQ(CommonEffectOfMode(2, mouse[effect]), effect);
        EXPECT_EQ(CommonEffectOfMode(7, pad[effect]), effect);
    }
    EXPECT_EQ(CommonEffectOfMode(1, 7), -1);
    EXPECT_EQ(CommonEffectOfMode(3, 9), -1) << "9 is off on the mouse only";
    EXPECT_EQ(ModeOfCommonEffect(5, 0), -1);
    EXPECT_EQ(ModeOfCommonEffect(1, 5), -1);
}

TEST(SyncStepTest, StepsAreTheTicksOfTheSpeedInLightTicks) {
    EXPECT_EQ(SyncStepTicks(0), 28);
    EXPECT_EQ(SyncStepTicks(3), 13);
    EXPECT_EQ(SyncStepTicks(4), 7);
    EXPECT_EQ(SyncStepTicks(9), 7);
    EXPECT_EQ(SyncStepPeriod(1), 23 * devices::kLightTick);
}

SyncSettings Settings(int effect, std::uint8_t brightness = 3, bool multi = false) {
    SyncSettings s;
    s.effect = static_cast<std::uint8_t>(effect);
    s.brightness = brightness;
    s.multiColour = multi ? 1 : 0;
    s.red = 10;
    s.green = 20;
    s.blue = 30;
    return s;
}

TEST(SyncStepTest, SteadyAndOffShowTheStoredColourOrBlack) {
    SyncState state;
    EXPECT_EQ(StepSyncFrame(Settings(kEffectSteady, 1), state, 0), PackSyncColour(10, 20, 30, 80));
    EXPECT_EQ(StepSyncFrame(Settings(kEffectSteady, 2), state, 0), PackSyncColour(10, 20, 30, 135));
    EXPECT_EQ(StepSyncFrame(Settings(kEffectOff), state, 0), 0u);
}

TEST(SyncStepTest, BreathingFollowsTheCurveBothWaysAndMovesTheWheelWhileDark) {
    SyncState state;
    SyncSettings up = Settings(kEffectBreathing, 3);
    up.direction = 1;
    std::vector<std::uint8_t> intensities;
    for (int i = 0; i < 3; ++i)
        intensities.push_back(static_cast<std::uint8_t>(StepSyncFrame(up, state, 0) >> 24));
    EXPECT_EQ(intensities, (std::vector<std::uint8_t>{
                               static_cast<std::uint8_t>(255 * devices::BreathingCurve(1) >> 8),
                               static_cast<std::uint8_t>(255 * devices::BreathingCurve(2) >> 8),
                               static_cast<std::uint8_t>(255 * devices::BreathingCurve(3) >> 8)}));
    // Downwards from 0 the phase wraps to 127.
    SyncState down;
    const std::uint32_t frame = StepSyncFrame(Settings(kEffectBreathing, 3), down, 0);
    EXPECT_EQ(down.phase, 127);
    EXPECT_EQ(frame, PackSyncColour(10, 20, 30, 255 * devices::BreathingCurve(127) >> 8));

    // Multi-colour: the wheel moves by 16 each time the phase passes below 2.
    SyncState multi;
    SyncSettings colours = Settings(kEffectBreathing, 3, true);
    colours.direction = 1;
    std::vector<int> wheel;
    for (int i = 0; i < 130; ++i) {
        StepSyncFrame(colours, multi, 0);
        wheel.push_back(multi.wheel);
    }
    EXPECT_EQ(wheel[0], 16) << "phase 1";
    EXPECT_EQ(wheel[1], 16) << "phase 2";
    EXPECT_EQ(wheel[127], 32) << "phase 0 again";
    EXPECT_EQ(wheel[128], 48) << "phase 1";
    const devices::Rgb c = devices::Wheel(48);
    EXPECT_EQ(StepSyncFrame(colours, multi, 0) & 0xFFFFFFu,
              PackSyncColour(c.red, c.green, c.blue, 0));
}

TEST(SyncStepTest, FlashingTogglesByTheClockAndStepsTheWheelByFourteen) {
    SyncState state;
    SyncSettings s = Settings(kEffectFlashing, 3);
    s.speed = 3; // toggles every 13 × 200 ms
    EXPECT_EQ(StepSyncFrame(s, state, 0), 0u) << "starts dark";
    EXPECT_EQ(StepSyncFrame(s, state, 2599), 0u);
    EXPECT_EQ(StepSyncFrame(s, state, 2600), PackSyncColour(10, 20, 30, 255));
    EXPECT_EQ(state.wheel, 14);
    EXPECT_EQ(StepSyncFrame(s, state, 4000), PackSyncColour(10, 20, 30, 255)) << "still on";
    EXPECT_EQ(StepSyncFrame(s, state, 5200), 0u);
    // Multi-colour shows the wheel; the position wraps to 0 at 192 or more.
    state.wheel = 182;
    s.multiColour = 1;
    EXPECT_EQ(StepSyncFrame(s, state, 7800), PackSyncColour(255, 1, 0, 255));
    EXPECT_EQ(state.wheel, 0);
}

TEST(SyncStepTest, ColourCycleWalksTheWheelAndWrapsAt192) {
    SyncState state;
    state.wheel = 190;
    const SyncSettings s = Settings(kEffectColourCycle, 1);
    const devices::Rgb c191 = devices::Wheel(191);
    EXPECT_EQ(StepSyncFrame(s, state, 0), PackSyncColour(c191.red, c191.green, c191.blue, 80));
    const devices::Rgb c0 = devices::Wheel(0);
    EXPECT_EQ(StepSyncFrame(s, state, 0), PackSyncColour(c0.red, c0.green, c0.blue, 80));
}

// A device that records the synchronisation frames it is given.
class FrameDevice : public devices::CKelvaneUSBDevice {
public:
    void ShowSyncFrame(std::uint32_t packed) override { frames.push_back(packed); }
    std::vector<std::uint32_t> frames;
};

TEST(LightSyncThreadTest, OnlyOpenPausedDevicesGetFramesWhenTheyAreDue) {
    LightSyncThread sync;
    auto now = std::chrono::steady_clock::time_point{} + std::chrono::hours(1);
    sync.SetClock([&now] { return now; });
    FrameDevice taking, closed, notPaused;
    taking.CommandChannel().open = true;
    taking.CommandChannel().lightPause = true;
    closed.CommandChannel().lightPause = true;
    notPaused.CommandChannel().open = true;
    for (FrameDevice* d : {&taking, &closed, &notPaused})
        sync.AddDevice(d);
    SyncSettings s = Settings(kEffectSteady, 2);
    s.speed = 4;
    sync.SetSettings(s);

    EXPECT_EQ(sync.RunOnce(), SyncStepPeriod(4));
    ASSERT_EQ(taking.frames.size(), 1u);
    EXPECT_EQ(taking.frames[0], PackSyncColour(10, 20, 30, 135));
    EXPECT_TRUE(closed.frames.empty());
    EXPECT_TRUE(notPaused.frames.empty());

    now += microseconds(1000);
    EXPECT_EQ(sync.RunOnce(), SyncStepPeriod(4) - microseconds(1000)) << "sleeps until it is due";
    EXPECT_EQ(taking.frames.size(), 1u);
    now += SyncStepPeriod(4);
    sync.RunOnce();
    EXPECT_EQ(taking.frames.size(), 2u);

    taking.CommandChannel().lightPause = false;
    EXPECT_LT(sync.RunOnce(), microseconds::zero()) << "nobody takes part: it waits to be woken";
}

TEST(LightSyncThreadTest, TheThreadEndsWhenStoppedWhileNobodyTakesPart) {
    LightSyncThread sync;
    transport::Event stop;
    std::thread thread([&] { sync.Run(stop); });
    stop.Set();
    sync.Wake();
    thread.join();
    SUCCEED();
}

} // namespace
