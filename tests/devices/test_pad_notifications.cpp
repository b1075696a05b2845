// The mouse pad's notification thread on its event channel: the resync usage asks the device
// item for a state read after 500 ms, nothing else does anything, and stopping ends a thread
// blocked in its read.

#include "NotificationTestSupport.h"
#include "PadFixture.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

namespace padtest {
namespace {

using devicetest::kHangBound;

// The window side: the state reads asked for.
class RecordingTarget : public devices::INotificationTarget {
public:
    void RequestStateRead(devices::CKelvaneUSBDevice& device, int delayMs) override {
        const std::lock_guard lock(m_mutex);
        m_reads.push_back({&device, delayMs});
        m_changed.notify_all();
    }
    void RunOnUiThread(std::function<void()> fn) override {
        const std::lock_guard lock(m_mutex);
        ++m_uiCalls;
        fn();
    }
    // The next state read asked for; a null device when none came (a hang).
    std::pair<devices::CKelvaneUSBDevice*, int> NextRead() {
        std::unique_lock lock(m_mutex);
        if (!m_changed.wait_for(lock, kHangBound, [this] { return !m_reads.empty(); }))
            return {nullptr, -1};
        const auto read = m_reads.front();
        m_reads.pop_front();
        return read;
    }
    std::size_t PendingReads() {
        const std::lock_guard lock(m_mutex);
        return m_reads.size();
    }
    int UiCalls() {
        const std::lock_guard lock(m_mutex);
        return m_uiCalls;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<std::pair<devices::CKelvaneUSBDevice*, int>> m_reads;
    int m_uiCalls = 0;
};

using devicetest::Watchdog;

class PadNotificationTest : public PadTest {
protected:
    void SetUp() override {
        PadTest::SetUp();
        pad->SetNotificationTarget(&target);
        ASSERT_EQ(pad->EventChannel().CableChannel().Open(virtualPad->NotificationPath(), true,
                                                          true, true, false),
                  1);
    }
    RecordingTarget target;
};

TEST_F(PadNotificationTest, TheResyncUsageAsksForAStateReadAfter500MsAndNothingElseDoes) {
    pad->StartNotificationThread(transport::kKindMousePad);
    ASSERT_TRUE(pad->IsNotificationThreadRunning());
    virtualPad->ClearWireLog();

    ASSERT_TRUE(virtualPad->SendUsage(0x0401));
    const auto read = target.NextRead();
    EXPECT_EQ(read.first, pad.get());
    EXPECT_EQ(read.second, 500);

    // The mouse's and the keyboard's other usages mean nothing to the pad: the resync sent
    // after them is the next thing the target hears.
    for (std::uint16_t usage : {0x0402, 0x0403, 0x1123, 0x1005, 0})
        ASSERT_TRUE(virtualPad->SendUsage(usage));
    ASSERT_TRUE(virtualPad->SendUsage(0x0401));
    EXPECT_EQ(target.NextRead().second, 500);
    EXPECT_EQ(target.PendingReads(), 0u);
    EXPECT_EQ(target.UiCalls(), 0);
    EXPECT_TRUE(Requests().empty()) << "the thread itself asks the pad nothing";
    EXPECT_EQ(pad->GetPage(), 0);
}

TEST_F(PadNotificationTest, OnlyThePadsOwnKindHasAThread) {
    pad->StartNotificationThread(transport::kKindKeyboard);
    pad->StartNotificationThread(transport::kKindMouse);
    EXPECT_FALSE(pad->IsNotificationThreadRunning());
    pad->StartNotificationThread(transport::kKindMousePad);
    pad->StopNotificationThread(transport::kKindMouse);
    EXPECT_TRUE(pad->IsNotificationThreadRunning());
}

TEST_F(PadNotificationTest, StoppingEndsAThreadBlockedInItsRead) {
    for (int round = 0; round < 50; ++round) {
        pad->StartNotificationThread(transport::kKindMousePad);
        const Watchdog watchdog("stopping the pad's notification thread");
        pad->StopNotificationThread(transport::kKindMousePad);
        ASSERT_FALSE(pad->IsNotificationThreadRunning()) << round;
    }
    // It still reads after all those stops.
    pad->StartNotificationThread(transport::kKindMousePad);
    ASSERT_TRUE(virtualPad->SendUsage(0x0401));
    EXPECT_EQ(target.NextRead().second, 500);

    // Destroyed with the thread in its read and the preview running.
    pad->StartPreviewThread();
    const Watchdog watchdog("destroying the pad");
    pad.reset();
}

} // namespace
} // namespace padtest
