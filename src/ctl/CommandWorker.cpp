#include "ctl/CommandWorker.h"

#include <utility>

namespace ctl {

CommandWorker::CommandWorker(Run run) : m_run(std::move(run)), m_thread([this] { Loop(); }) {}

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

void CommandWorker::Loop() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_closing || !m_jobs.empty(); });
        if (m_closing)
            break;
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
