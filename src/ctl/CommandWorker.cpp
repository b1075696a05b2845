#include "ctl/CommandWorker.h"

#include <utility>

namespace ctl {

CommandWorker::CommandWorker(Run run, std::chrono::milliseconds holdLimit)
    : m_run(std::move(run)), m_holdLimit(holdLimit), m_thread([this] { Loop(); }) {}

CommandWorker::~CommandWorker() {
    Close();
    m_thread.join();
}

void CommandWorker::Close() {
    {
        const std::lock_guard lock(m_mutex);
        m_closing = true;
    }
    m_wake.notify_all();
}

void CommandWorker::Post(std::vector<std::string> args, bool json, Done done) {
    {
        const std::lock_guard lock(m_mutex);
        if (!m_closing) {
            m_jobs.push_back({std::move(args), json, std::move(done)});
            m_wake.notify_all();
            return;
        }
    }
    done(std::nullopt);
}

void CommandWorker::Hold(const void* holder) {
    const std::lock_guard lock(m_mutex);
    m_holds[holder] = Clock::now() + m_holdLimit;
}

void CommandWorker::Release(const void* holder) {
    {
        const std::lock_guard lock(m_mutex);
        if (m_holds.erase(holder) == 0)
            return;
    }
    m_wake.notify_all();
}

std::optional<CommandWorker::Clock::time_point> CommandWorker::HeldUntil(Clock::time_point now) {
    std::optional<Clock::time_point> earliest;
    for (auto it = m_holds.begin(); it != m_holds.end();) {
        if (it->second <= now) {
            it = m_holds.erase(it);
            continue;
        }
        if (!earliest || it->second < *earliest)
            earliest = it->second;
        ++it;
    }
    return earliest;
}

void CommandWorker::Loop() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_closing || !m_jobs.empty(); });
        if (m_closing)
            break;
        if (const auto heldUntil = HeldUntil(Clock::now())) {
            m_wake.wait_until(lock, *heldUntil);
            continue;
        }
        Job job = std::move(m_jobs.front());
        m_jobs.pop_front();
        lock.unlock();
        job.done(m_run(job.args, job.json));
        lock.lock();
    }
    std::deque<Job> left;
    left.swap(m_jobs);
    lock.unlock();
    for (Job& job : left)
        job.done(std::nullopt);
}

} // namespace ctl
