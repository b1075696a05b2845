// The bus frames of an interrupt endpoint: which frame carries a report, on a clock the test
// sets.

#include "sim/Connection.h"

#include <gtest/gtest.h>

namespace {

using sim::Clock;
using sim::NextBusFrame;
using std::chrono::microseconds;

const Clock::time_point kStart{};
constexpr microseconds kFrame{1000};

TEST(BusFrames, AReportGoesInTheNextFreeFrameOnTheControllersClock) {
    // Written back to back, or by a writer that wakes late within the frame: one a frame.
    EXPECT_EQ(NextBusFrame(kStart, kStart, kFrame), kStart + kFrame);
    EXPECT_EQ(NextBusFrame(kStart + microseconds(80), kStart, kFrame), kStart + kFrame);
    EXPECT_EQ(NextBusFrame(kStart + kFrame, kStart, kFrame), kStart + kFrame);
    // After an idle spell, the first frame to start at or after the write, not a frame later.
    EXPECT_EQ(NextBusFrame(kStart + microseconds(2500), kStart, kFrame), kStart + 3 * kFrame);
    EXPECT_EQ(NextBusFrame(kStart + 4 * kFrame, kStart, kFrame), kStart + 4 * kFrame);
    EXPECT_EQ(NextBusFrame(kStart + 4 * kFrame + microseconds(1), kStart, kFrame),
              kStart + 5 * kFrame);
}

TEST(BusFrames, WithoutAnIntervalEveryReportGoesAtOnce) {
    EXPECT_EQ(NextBusFrame(kStart + microseconds(7), kStart, microseconds(0)),
              kStart + microseconds(7));
}

} // namespace
