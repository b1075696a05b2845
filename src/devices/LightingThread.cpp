#include "devices/LightingThread.h"

#include "platform/DebugLog.h"

#include <algorithm>

namespace devices {

CLightingThread::CLightingThread(CLightingLoop& loop, std::string exitLog,
                                 std::function<void()> cancelIo)
    : m_loop(loop), m_exitLog(std::move(exitLog)), m_cancelIo(std::move(cancelIo)) {}

CLightingThread::~CLightingThread() {
    Stop();
}

void CLightingThread::Start() {
    const std::lock_guard lock(m_lock);
    if (m_thread.joinable())
        return;
    m_stop = false;
    m_finished = false;
    m_pending = true; // the first pass looks at the state as a change
    m_pendingWake = LightingWake::kChange;
    m_thread = std::thread([this] { Run(); });
}

bool CLightingThread::Stop() {
    std::unique_lock lock(m_lock);
    if (!m_thread.joinable())
        return true;
    m_stop = true;
    m_wake.notify_all();
    // Only while the loop runs: a cancel with no I/O in progress would be left for the next
    // read on the channel. One that comes just after the frame's last read is taken by the
    // next exchange's drop of queued reports.
    if (m_running && m_cancelIo)
        m_cancelIo();
    const bool ended = m_ended.wait_for(lock, kStopWait, [this] { return m_finished; });
    lock.unlock();
    platform::DebugLine(ended ? "线程退出：：对象处于激发状态"
                              : "线程退出：：对象处于非激发状态，超时");
    m_thread.join();
    return ended;
}

bool CLightingThread::IsRunning() const {
    const std::lock_guard lock(m_lock);
    return m_thread.joinable() && !m_finished;
}

void CLightingThread::Wake(LightingWake reason) {
    {
        const std::lock_guard lock(m_lock);
        // The strongest reason wins: new music settings step the every-pass effect.
        m_pendingWake = m_pending ? std::max(m_pendingWake, reason) : reason;
        m_pending = true;
    }
    m_wake.notify_all();
}

bool CLightingThread::Sleep(const std::optional<CLightingLoop::TimePoint>& deadline,
                            LightingWake& wake) {
    std::unique_lock lock(m_lock);
    m_running = false;
    auto woken = [this] { return m_stop || m_pending; };
    if (deadline)
        m_wake.wait_until(lock, *deadline, woken);
    else
        m_wake.wait(lock, woken);
    m_running = !m_stop;
    if (m_stop)
        return false;
    wake = m_pending ? m_pendingWake : LightingWake::kDeadline;
    m_pending = false;
    return true;
}

void CLightingThread::Run() {
    std::optional<CLightingLoop::TimePoint> deadline;
    LightingWake wake = LightingWake::kDeadline;
    while (Sleep(deadline, wake))
        deadline = m_loop.RunUntil(CLightingLoop::Clock::now(), wake);
    platform::DebugLine(m_exitLog);
    const std::lock_guard lock(m_lock);
    m_running = false;
    m_finished = true;
    m_ended.notify_all();
}

} // namespace devices
