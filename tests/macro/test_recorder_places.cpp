// Where a recording puts its events: append, before or after the selected row, replacing it,
// and the list's row limit.

#include "RecorderTestKit.h"

#include <gtest/gtest.h>

namespace {

using namespace macro;
using namespace macro::testkit;

// Three kept events, 1, 2 and 4 ms after each other, the middle one selected.
struct RecorderPlaces : ::testing::Test {
    RecorderPlaces() {
        list.events = {ButtonEvent(1, true, 1), ButtonEvent(2, true, 2), ButtonEvent(4, true, 4)};
        list.selected = 1;
    }
    void RecordAB(RecordPlace place) {
        recorder.Start(TimingMode::Recorded, place, 0, 0);
        recorder.OnKey(Down(KEY_A, 30));
        recorder.OnKey(Down(KEY_B, 100));
        recorder.Stop();
    }
    MacroEventList list;
    MacroRecorder recorder{list};
};

TEST_F(RecorderPlaces, AppendAddsAtTheEndAndKeepsTheSelection) {
    RecordAB(RecordPlace::Append);
    EXPECT_EQ(list.events, (std::vector{ButtonEvent(1, true, 1), ButtonEvent(2, true, 2),
                                        ButtonEvent(4, true, 30), KeyEvent(kUsageA, true, 70),
                                        KeyEvent(kUsageB, true, 0)}));
    EXPECT_EQ(list.selected, 1);
}

TEST_F(RecorderPlaces, BeforeLinesInputsUpInFrontOfTheSelectedRow) {
    RecordAB(RecordPlace::Before);
    EXPECT_EQ(list.events, (std::vector{ButtonEvent(1, true, 30), KeyEvent(kUsageA, true, 70),
                                        KeyEvent(kUsageB, true, 0), ButtonEvent(2, true, 2),
                                        ButtonEvent(4, true, 4)}));
    EXPECT_EQ(list.selected, 3);
}

TEST_F(RecorderPlaces, BeforeTheFirstRowTimesNothingInFront) {
    list.selected = 0;
    recorder.Start(TimingMode::Recorded, RecordPlace::Before, 0, 0);
    EXPECT_EQ(recorder.OnKey(Down(KEY_A, 30)).delayedRow, -1);
    EXPECT_EQ(list.events[0], KeyEvent(kUsageA, true, 0));
    EXPECT_EQ(list.events[1], ButtonEvent(1, true, 1));
    EXPECT_EQ(list.selected, 1);
}

TEST_F(RecorderPlaces, AfterLinesInputsUpBehindTheSelectedRowAndSelectsTheNewOne) {
    recorder.Start(TimingMode::Recorded, RecordPlace::After, 0, 0);
    const RecordResult first = recorder.OnKey(Down(KEY_A, 30));
    EXPECT_EQ(first.row, 2);
    EXPECT_EQ(first.delayedRow, 1);
    recorder.OnKey(Down(KEY_B, 100));
    EXPECT_EQ(list.events, (std::vector{ButtonEvent(1, true, 1), ButtonEvent(2, true, 30),
                                        KeyEvent(kUsageA, true, 70), KeyEvent(kUsageB, true, 0),
                                        ButtonEvent(4, true, 4)}));
    EXPECT_EQ(list.selected, 3);
}

TEST_F(RecorderPlaces, ReplaceTakesTheKeyButKeepsActionAndDelay) {
    recorder.Start(TimingMode::Ignored, RecordPlace::Replace, 0, 0);
    const RecordResult result = recorder.OnKey(Up(KEY_LEFTSHIFT, 10));
    EXPECT_EQ(result.kind, RecordResult::Replaced);
    EXPECT_EQ(list.events[1], (config::MacroEvent{config::kMacroModifierKey, true, 2, 2}));
    recorder.OnMouse(Press(MouseButton::Forward, 20));
    EXPECT_EQ(list.events[1], ButtonEvent(16, true, 2));
    EXPECT_EQ(list.events.size(), 3u);
    EXPECT_EQ(list.selected, 1);
}

TEST_F(RecorderPlaces, PlacesAtTheSelectionDropInputsWithoutOne) {
    list.selected = -1;
    for (RecordPlace place : {RecordPlace::Before, RecordPlace::After, RecordPlace::Replace}) {
        recorder.Start(TimingMode::Recorded, place, 0, 0);
        EXPECT_EQ(recorder.OnKey(Down(KEY_A, 30)).kind, RecordResult::Dropped);
        EXPECT_EQ(recorder.OnMouse(Press(MouseButton::Left, 40)).kind, RecordResult::Dropped);
        recorder.Stop();
    }
    EXPECT_EQ(list.events.size(), 3u);
}

TEST_F(RecorderPlaces, NothingIsRecordedOutsideARecording) {
    EXPECT_EQ(recorder.OnKey(Down(KEY_A, 30)).kind, RecordResult::Dropped);
    RecordAB(RecordPlace::Append);
    EXPECT_EQ(recorder.OnMouse(Press(MouseButton::Left, 40)).kind, RecordResult::Dropped);
    EXPECT_EQ(list.events.size(), 5u);
}

TEST_F(RecorderPlaces, AFullListTakesNoMoreRowsButCanStillBeReplacedInto) {
    list.events.resize(kMaxMacroRows - 1, ButtonEvent(1, true, 9));
    recorder.Start(TimingMode::Recorded, RecordPlace::After, 0, 0);
    EXPECT_EQ(recorder.OnKey(Down(KEY_A, 30)).kind, RecordResult::Inserted);
    EXPECT_EQ(recorder.OnKey(Up(KEY_A, 60)).kind, RecordResult::Dropped);
    ASSERT_EQ(list.events.size(), kMaxMacroRows);
    // The dropped input neither timed the row in front nor moved the selection.
    EXPECT_EQ(list.events[2], KeyEvent(kUsageA, true, 0));
    EXPECT_EQ(list.selected, 2);
    recorder.Stop();

    recorder.Start(TimingMode::Ignored, RecordPlace::Replace, 0, 0);
    EXPECT_EQ(recorder.OnKey(Down(KEY_B, 90)).kind, RecordResult::Replaced);
    EXPECT_EQ(list.events[2].button, kUsageB);
}

} // namespace
