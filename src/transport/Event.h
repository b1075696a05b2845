#pragma once
// Events for threads: set, reset, and wait with a time limit.

#include <condition_variable>
#include <mutex>

namespace transport {

class Event {
public:
    explicit Event(bool manualReset = true) : m_manualReset(manualReset) {}
    void Set() {
        {
            const std::lock_guard lock(m_mutex);
            m_set = true;
        }
        m_changed.notify_all();
    }
    void Reset() {
        const std::lock_guard lock(m_mutex);
        m_set = false;
    }
    bool IsSet() const {
        const std::lock_guard lock(m_mutex);
        return m_set;
    }
    // True when the event was set within timeoutMs (-1: without limit). An auto-reset event is
    // cleared by the wait that sees it.
    bool Wait(int timeoutMs) {
        std::unique_lock lock(m_mutex);
        auto isSet = [this] { return m_set; };
        bool fired = timeoutMs < 0
                         ? (m_changed.wait(lock, isSet), true)
                         : m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), isSet);
        if (fired && !m_manualReset)
            m_set = false;
        return fired;
    }

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_set = false;
    const bool m_manualReset;
};

} // namespace transport
