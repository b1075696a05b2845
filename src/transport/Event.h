#pragma once
// Events for threads: set, reset, and wait with a time limit; and, for a thread that waits on
// an event together with file descriptors, a descriptor that is readable while it is set.

#include <sys/eventfd.h>
#include <unistd.h>

#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace transport {

class Event {
public:
    explicit Event(bool manualReset = true) : m_manualReset(manualReset) {}
    ~Event() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Event(const Event&) = delete;
    Event& operator=(const Event&) = delete;

    void Set() {
        {
            const std::lock_guard lock(m_mutex);
            if (!m_set)
                Signal(true);
            m_set = true;
        }
        m_changed.notify_all();
    }
    void Reset() {
        const std::lock_guard lock(m_mutex);
        if (m_set)
            Signal(false);
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
        if (fired && !m_manualReset) {
            Signal(false);
            m_set = false;
        }
        return fired;
    }
    // A descriptor for poll(): readable while the event is set. Reading it is the event's own
    // business; callers only poll it. Made on the first call and kept until the event goes;
    // -1 when the system has no descriptor to give (poll() then ignores the entry).
    int WaitFd() {
        const std::lock_guard lock(m_mutex);
        if (m_fd < 0) {
            m_fd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
            if (m_set)
                Signal(true);
        }
        return m_fd;
    }

private:
    // Keeps the descriptor's counter non-zero exactly while the event is set.
    void Signal(bool set) {
        if (m_fd < 0)
            return;
        std::uint64_t value = 1;
        const ssize_t done =
            set ? ::write(m_fd, &value, sizeof value) : ::read(m_fd, &value, sizeof value);
        (void)done; // a full counter stays readable; an empty one has nothing to read
    }

    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_set = false;
    const bool m_manualReset;
    int m_fd = -1;
};

} // namespace transport
