#include "sim/Connection.h"

#include <algorithm>

namespace sim {

Clock::time_point NextBusFrame(Clock::time_point now, Clock::time_point lastFrame,
                               std::chrono::microseconds interval) {
    if (interval <= std::chrono::microseconds::zero())
        return std::max(now, lastFrame);
    const Clock::duration step = interval;
    if (now <= lastFrame + step)
        return lastFrame + step;
    const Clock::duration since = now - lastFrame;
    return lastFrame + ((since + step - Clock::duration(1)) / step) * step;
}

bool Connection::Alive() const {
    const std::lock_guard lock(m_mutex);
    return m_alive;
}

void Connection::End() {
    {
        const std::lock_guard lock(m_mutex);
        m_alive = false;
        m_queues.clear();
    }
    m_changed.notify_all();
}

std::shared_ptr<InputQueue> Connection::Attach(std::size_t collection) {
    const std::lock_guard lock(m_mutex);
    if (!m_alive)
        return nullptr;
    auto queue = std::make_shared<InputQueue>();
    queue->collection = collection;
    m_queues.push_back(queue);
    return queue;
}

void Connection::Detach(const std::shared_ptr<InputQueue>& queue) {
    const std::lock_guard lock(m_mutex);
    std::erase(m_queues, queue);
}

void Connection::Deliver(const std::vector<std::uint8_t>& report, Clock::time_point due) {
    {
        const std::lock_guard lock(m_mutex);
        for (const auto& queue : m_queues) {
            if (queue->reports.size() >= kQueueLimit)
                continue;
            // Reports leave the endpoint in order, whatever delay each was given.
            const Clock::time_point at =
                queue->reports.empty() ? due : std::max(due, queue->reports.back().due);
            queue->reports.push_back({report, at});
        }
    }
    m_changed.notify_all();
}

namespace {
Clock::time_point DeadlineAfter(int timeoutMs) {
    return timeoutMs < 0 ? Clock::time_point::max()
                         : Clock::now() + std::chrono::milliseconds(timeoutMs);
}
} // namespace

int Connection::Read(InputQueue& queue, std::uint8_t* buffer, std::size_t capacity, int timeoutMs) {
    std::unique_lock lock(m_mutex);
    const Clock::time_point deadline = DeadlineAfter(timeoutMs);
    for (;;) {
        if (const std::optional<int> ended = EndedLocked(queue))
            return *ended;
        const Clock::time_point now = Clock::now();
        if (!queue.reports.empty() && queue.reports.front().due <= now) {
            const std::vector<std::uint8_t> report = std::move(queue.reports.front().bytes);
            queue.reports.pop_front();
            const std::size_t count = std::min(capacity, report.size());
            std::copy_n(report.begin(), count, buffer);
            return static_cast<int>(count);
        }
        if (now >= deadline)
            return 0;
        Clock::time_point wake = deadline;
        if (!queue.reports.empty())
            wake = std::min(wake, queue.reports.front().due);
        if (wake == Clock::time_point::max())
            m_changed.wait(lock);
        else
            m_changed.wait_until(lock, wake);
    }
}

void Connection::Cancel(InputQueue& queue) {
    {
        const std::lock_guard lock(m_mutex);
        queue.cancelled = true;
    }
    m_changed.notify_all();
}

int Connection::Send(InputQueue& queue, std::chrono::microseconds interval, int timeoutMs) {
    std::unique_lock lock(m_mutex);
    const Clock::time_point deadline = DeadlineAfter(timeoutMs);
    // The report waits for the one before it to have left.
    const Clock::time_point sent = NextBusFrame(Clock::now(), m_lastFrame, interval);
    m_lastFrame = sent;
    for (;;) {
        if (const std::optional<int> ended = EndedLocked(queue))
            return *ended;
        if (Clock::now() >= sent)
            return 1;
        if (!WaitUntil(lock, sent, deadline))
            return 0;
    }
}

std::optional<int> Connection::EndedLocked(InputQueue& queue) {
    if (queue.cancelled) {
        queue.cancelled = false;
        return 0;
    }
    if (!m_alive)
        return -1;
    return std::nullopt;
}

bool Connection::WaitUntil(std::unique_lock<std::mutex>& lock, Clock::time_point until,
                           Clock::time_point deadline) {
    if (Clock::now() >= deadline)
        return false;
    m_changed.wait_until(lock, std::min(until, deadline));
    return true;
}

} // namespace sim
