#pragma once
// The window side of the notification threads as the device tests see it, and a watchdog
// ending the run when a thread's stop never returns.

#include "devices/DevicePanel.h"

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace devicetest {

using devices::CKelvaneUSBDevice;

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

} // namespace devicetest
