#pragma once
// A device's lighting thread: it runs the device's lighting loop (LightingLoop.h) and sleeps
// until the loop's next step is due, or without a limit when the loop asks for no time. Its
// stop event and every change wake it early. It is stopped by its stop event and joined,
// never killed.

#include "devices/LightingLoop.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

namespace devices {

class CLightingThread {
public:
    // How long a stop waits for the thread to end before it says so (it is joined anyway: a
    // light frame in flight ends within its 1000 ms write timeout).
    static constexpr std::chrono::milliseconds kStopWait{1000};

    // `exitLog` is written through the debug log when the thread ends.
    CLightingThread(CLightingLoop& loop, std::string exitLog);
    ~CLightingThread();
    CLightingThread(const CLightingThread&) = delete;
    CLightingThread& operator=(const CLightingThread&) = delete;

    // Starts the thread unless it runs.
    void Start();
    // Sets the stop event and joins the thread; true when it ended within kStopWait (or did
    // not run).
    bool Stop();
    bool IsRunning() const;
    // Wakes the thread for `reason`; a wake that comes while the loop runs is kept for the
    // next wait. Any thread may call it.
    void Wake(LightingWake reason);

private:
    void Run();
    // Waits for the deadline (none: without limit), a wake or the stop; false on stop.
    bool Sleep(const std::optional<CLightingLoop::TimePoint>& deadline, LightingWake& wake);

    CLightingLoop& m_loop;
    const std::string m_exitLog;
    mutable std::mutex m_lock;
    std::condition_variable m_wake;
    std::condition_variable m_ended;
    bool m_stop = false;
    bool m_finished = true;
    bool m_pending = false;
    LightingWake m_pendingWake = LightingWake::kDeadline;
    std::thread m_thread;
};

} // namespace devices
