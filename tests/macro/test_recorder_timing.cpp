// The delays a recording gives its events in each timing mode.

#include "RecorderTestKit.h"

#include <gtest/gtest.h>

namespace {

using namespace macro;
using namespace macro::testkit;

struct RecorderTiming : ::testing::Test {
    MacroEventList list;
    MacroRecorder recorder{list};
};

TEST_F(RecorderTiming, RecordedModePutsTheTimeBetweenInputsOnTheEarlierEvent) {
    recorder.Start(TimingMode::Recorded, RecordPlace::Append, 0, 1000);
    // The wait before the first input is not kept: nothing lies in front of it.
    recorder.OnKey(Down(KEY_A, 1300));
    recorder.OnKey(Up(KEY_A, 1420));
    EXPECT_EQ(list.events,
              (std::vector{KeyEvent(kUsageA, true, 120), KeyEvent(kUsageA, false, 0)}));

    recorder.OnKey(Down(KEY_B, 1425));
    EXPECT_EQ(list.events[1].delay, 5);
    EXPECT_EQ(list.events[2].delay, 0);
}

TEST_F(RecorderTiming, RecordedModeCapsALongPauseAt65535) {
    recorder.Start(TimingMode::Recorded, RecordPlace::Append, 0, 0);
    recorder.OnKey(Down(KEY_A, 10));
    recorder.OnKey(Up(KEY_A, 70'010));
    EXPECT_EQ(list.events[0].delay, 65535);
    // A clock that steps back gives no delay rather than a wrapped one.
    recorder.OnKey(Down(KEY_B, 69'000));
    EXPECT_EQ(list.events[1].delay, 0);
}

TEST_F(RecorderTiming, FixedModeGivesEveryEventTheFixedDelay) {
    recorder.Start(TimingMode::Fixed, RecordPlace::Append, 50, 0);
    recorder.OnKey(Down(KEY_A, 7));
    // The only row of the list has no delay yet.
    EXPECT_EQ(list.events[0].delay, 0);
    recorder.OnKey(Up(KEY_A, 9000));
    recorder.OnMouse(Press(MouseButton::Right, 9001));
    ASSERT_EQ(list.events.size(), 3u);
    for (const config::MacroEvent& event : list.events)
        EXPECT_EQ(event.delay, 50);
}

TEST_F(RecorderTiming, FixedDelayIsCappedAndKeptUntilTheNextFixedRecording) {
    recorder.Start(TimingMode::Fixed, RecordPlace::Append, 70'000, 0);
    EXPECT_EQ(recorder.FixedDelay(), 65535);
    recorder.Stop();
    recorder.Start(TimingMode::Recorded, RecordPlace::Append, 20, 0);
    EXPECT_EQ(recorder.FixedDelay(), 65535);
}

TEST_F(RecorderTiming, IgnoredModeGivesNoDelayAndClearsTheOneInFront) {
    list.events = {KeyEvent(kUsageC, true, 300)};
    recorder.Start(TimingMode::Ignored, RecordPlace::Append, 50, 0);
    recorder.OnKey(Down(KEY_A, 100));
    recorder.OnKey(Up(KEY_A, 900));
    EXPECT_EQ(list.events, (std::vector{KeyEvent(kUsageC, true, 0), KeyEvent(kUsageA, true, 0),
                                        KeyEvent(kUsageA, false, 0)}));
}

TEST_F(RecorderTiming, AppendingToAKeptMacroTimesItsLastEvent) {
    // A macro loaded from its file: the first input's wait lands on its last event.
    list.events = {KeyEvent(kUsageC, true, 40), KeyEvent(kUsageC, false, 0)};
    recorder.Start(TimingMode::Recorded, RecordPlace::Append, 0, 5000);
    recorder.OnKey(Down(KEY_A, 5250));
    EXPECT_EQ(list.events[1].delay, 250);
    EXPECT_EQ(list.events[2].delay, 0);
}

TEST_F(RecorderTiming, DroppedInputsDoNotRestartTheTiming) {
    recorder.Start(TimingMode::Recorded, RecordPlace::Append, 0, 0);
    recorder.OnKey(Down(KEY_A, 100));
    recorder.OnKey(Down(KEY_A, 150, true));
    recorder.OnKey(Down(KEY_F13, 180)); // not a key the tables have
    recorder.OnKey(Up(KEY_A, 200));
    ASSERT_EQ(list.events.size(), 2u);
    EXPECT_EQ(list.events[0].delay, 100);
}

} // namespace
