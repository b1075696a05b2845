#pragma once
// A flag shared between threads that tells one watcher when it changes: a thread sleeping
// until the flag is cleared or set is woken without looking at it again and again.

#include <atomic>
#include <functional>
#include <mutex>
#include <utility>

namespace transport {

class WatchedFlag {
public:
    explicit WatchedFlag(bool value = false) : m_value(value) {}
    WatchedFlag(const WatchedFlag&) = delete;
    WatchedFlag& operator=(const WatchedFlag&) = delete;

    WatchedFlag& operator=(bool value) {
        store(value);
        return *this;
    }
    operator bool() const { return load(); }
    bool load() const { return m_value.load(); }
    // Tells the watcher when the value changed.
    void store(bool value) {
        if (m_value.exchange(value) == value)
            return;
        const std::lock_guard lock(m_watcherLock);
        if (m_watcher)
            m_watcher();
    }
    // The one watcher (called on the thread that changed the flag); empty to stop watching.
    // Once this returns, the previous watcher is not called any more.
    void SetWatcher(std::function<void()> watcher) {
        const std::lock_guard lock(m_watcherLock);
        m_watcher = std::move(watcher);
    }

private:
    std::atomic<bool> m_value;
    std::mutex m_watcherLock;
    std::function<void()> m_watcher;
};

} // namespace transport
