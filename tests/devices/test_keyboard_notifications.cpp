// The keyboard's notification threads against the virtual keyboard's event collection: what
// each usage does to the keyboard and asks of the window, and that stopping ends a thread
// blocked in its read.

#include "KeyboardFixture.h"

#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace keyboardtest {
namespace {

using devices::CKelvaneUSBDevice;
using transport::kKindKeyboard;
using transport::kKindKeyboardReceiver;

constexpr auto kHangBound = std::chrono::seconds(5);

// The window side: records the state reads asked for and keeps the UI-thread calls for the
// test to run.
class RecordingTarget : public devices::INotificationTarget {
public:
    void RequestStateRead(CKelvaneUSBDevice&, int delayMs) override {
        const std::lock_guard lock(m_mutex);
        m_reads.push_back(delayMs);
        m_changed.notify_all();
    }
    void RunOnUiThread(std::function<void()> fn) override {
        const std::lock_guard lock(m_mutex);
        m_calls.push_back(std::move(fn));
        m_changed.notify_all();
    }
    // The delay of the next state read asked for; -1 when none came (a hang).
    int NextRead() {
        std::unique_lock lock(m_mutex);
        if (!m_changed.wait_for(lock, kHangBound, [this] { return !m_reads.empty(); }))
            return -1;
        const int delay = m_reads.front();
        m_reads.pop_front();
        return delay;
    }
    // Runs the next UI-thread call here; false when none came.
    bool RunNextCall() {
        std::function<void()> fn;
        {
            std::unique_lock lock(m_mutex);
            if (!m_changed.wait_for(lock, kHangBound, [this] { return !m_calls.empty(); }))
                return false;
            fn = std::move(m_calls.front());
            m_calls.pop_front();
        }
        fn();
        return true;
    }
    std::size_t PendingCalls() {
        const std::lock_guard lock(m_mutex);
        return m_calls.size();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<int> m_reads;
    std::deque<std::function<void()>> m_calls;
};

// Fails the whole run when `done` is not set within the bound: a join that never returns.
class Watchdog {
public:
    explicit Watchdog(const char* what)
        : m_thread([this, what] {
              std::unique_lock lock(m_mutex);
              if (!m_changed.wait_for(lock, kHangBound, [this] { return m_done; })) {
                  std::fprintf(stderr, "hang: %s\n", what);
                  std::abort();
              }
          }) {}
    ~Watchdog() {
        {
            const std::lock_guard lock(m_mutex);
            m_done = true;
        }
        m_changed.notify_all();
        m_thread.join();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_done = false;
    std::thread m_thread;
};

class KeyboardNotificationTest : public KeyboardTest {
protected:
    void SetUp() override {
        KeyboardTest::SetUp();
        keyboard->SetNotificationTarget(&target);
    }
    std::uint16_t Kind() const { return ThroughReceiver() ? kKindKeyboardReceiver : kKindKeyboard; }
    transport::CHidChannel& EventChannel(bool receiver) {
        transport::CDeviceComm& events = keyboard->EventChannel();
        return receiver ? events.ReceiverChannel() : events.CableChannel();
    }
    void Listen() {
        ASSERT_EQ(EventChannel(ThroughReceiver())
                      .Open(Wire().NotificationPath(), true, true, true, false),
                  1);
        keyboard->StartNotificationThread(Kind());
        ASSERT_TRUE(keyboard->IsNotificationThreadRunning(Kind()));
    }
    // Sends a profile switch and runs what it hands to the UI thread.
    void SwitchOnKeyboard(std::uint16_t usage) {
        ASSERT_TRUE(Wire().SendUsage(usage));
        ASSERT_TRUE(target.RunNextCall()) << std::hex << usage;
    }

    RecordingTarget target;
};

TEST_P(KeyboardNotificationTest, AProfileSwitchOnTheKeyboardIsFollowedWithoutACommand) {
    Listen();
    Wire().ClearWireLog();

    SwitchOnKeyboard(0x1151);
    EXPECT_EQ(keyboard->GetActiveProfile(), 1);
    EXPECT_EQ(keyboard->BlockCopy()[17], 5);

    SwitchOnKeyboard(0x1003);
    EXPECT_EQ(keyboard->GetActiveProfile(), 3);
    EXPECT_EQ(keyboard->BlockCopy()[17], 5) << "0x10pp leaves byte 17";

    SwitchOnKeyboard(0x1103);
    EXPECT_EQ(keyboard->GetActiveProfile(), 3);
    EXPECT_EQ(keyboard->BlockCopy()[17], 0);

    EXPECT_TRUE(Requests().empty()) << "following a switch asks the keyboard nothing";

    // With the command channel closed a switch changes nothing.
    keyboard->CommandChannel().open = false;
    SwitchOnKeyboard(0x1162);
    EXPECT_EQ(keyboard->GetActiveProfile(), 3);
    EXPECT_EQ(keyboard->BlockCopy()[17], 0);
}

TEST_P(KeyboardNotificationTest, AResyncRequestAsksTheItemForAStateReadAfter50Ms) {
    Listen();
    ASSERT_TRUE(Wire().SendUsage(0x0401));
    EXPECT_EQ(target.NextRead(), devices::kResyncDelayMs);
    // Usages above 0x0402 that are no profile switch, and reports naming none, do nothing:
    // the resync sent after them is the first thing the target hears.
    ASSERT_TRUE(Wire().SendUsage(0x0403));
    ASSERT_TRUE(Wire().SendUsage(0x1200));
    ASSERT_TRUE(Wire().SendUsage(0));
    ASSERT_TRUE(Wire().SendUsage(0x0402));
    EXPECT_EQ(target.NextRead(), devices::kResyncDelayMs);
    EXPECT_EQ(target.PendingCalls(), 0u);
    EXPECT_EQ(keyboard->GetActiveProfile(), 0);
}

TEST_P(KeyboardNotificationTest, StoppingEndsThreadsBlockedInTheirReads) {
    ASSERT_EQ(EventChannel(false).Open(board->NotificationPath(), true, true, true, false), 1);
    ASSERT_EQ(EventChannel(true).Open(receiver->NotificationPath(), true, true, true, false), 1);
    for (int round = 0; round < 100; ++round) {
        keyboard->StartNotificationThread(kKindKeyboard);
        keyboard->StartNotificationThread(kKindKeyboardReceiver);
        const Watchdog watchdog("stopping the notification threads");
        keyboard->StopNotificationThread(kKindKeyboard);
        keyboard->StopNotificationThread(kKindKeyboardReceiver);
        ASSERT_FALSE(keyboard->IsNotificationThreadRunning(kKindKeyboard)) << round;
        ASSERT_FALSE(keyboard->IsNotificationThreadRunning(kKindKeyboardReceiver)) << round;
    }
    // A thread still reads after all those stops.
    keyboard->StartNotificationThread(Kind());
    SwitchOnKeyboard(0x1004);
    EXPECT_EQ(keyboard->GetActiveProfile(), 4);

    // Quitting with both threads in their reads.
    keyboard->StartNotificationThread(kKindKeyboard);
    keyboard->StartNotificationThread(kKindKeyboardReceiver);
    const Watchdog watchdog("destroying the keyboard");
    keyboard.reset();
}

TEST_P(KeyboardNotificationTest, AThreadWhoseKeyboardWentWaitsToBeStopped) {
    Listen();
    ASSERT_TRUE(backend.Unplug(board));
    if (ThroughReceiver()) {
        ASSERT_TRUE(backend.Unplug(receiver));
    }
    EXPECT_TRUE(keyboard->IsNotificationThreadRunning(Kind()));
    const Watchdog watchdog("stopping a thread whose channel is gone");
    keyboard->StopNotificationThread(Kind());
    EXPECT_FALSE(keyboard->IsNotificationThreadRunning(Kind()));
}

INSTANTIATE_TEST_SUITE_P(Connections, KeyboardNotificationTest, ::testing::Bool(), KindName);

} // namespace
} // namespace keyboardtest
