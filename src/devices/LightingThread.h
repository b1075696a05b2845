#pragma once
// A device's lighting thread: it runs the device's lighting loop (LightingLoop.h) and sleeps
// until the loop's next step is due, or without a limit when the loop asks for no time. Its
// stop event and every change wake it early. It is stopped by its stop event and joined,
// never killed.

#include "devices/LightingLoop.h"

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace devices {

class CLightingThread {
public:
    // How long a stop waits for the thread to end before it says so (it is joined anyway).
    static constexpr std::chrono::milliseconds kStopWait{1000};

    // `exitLog` is written through the debug log when the thread ends. `cancelIo`, when given,
    // ends the device I/O of a frame in progress at a stop: a frame waits up to its 1000 ms
    // time limit for each reply of a device that has stopped answering.
    CLightingThread(CLightingLoop& loop, std::string exitLog, std::function<void()> cancelIo = {});
    ~CLightingThread();
    CLightingThread(const CLightingThread&) = delete;
    CLightingThread& operator=(const CLightingThread&) = delete;

    // Starts the thread unless it runs.
    void Start();
    // Sets the stop event, cancels the I/O of a frame in progress and joins the thread; true
    // when it ended within kStopWait (or did not run).
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
    const std::function<void()> m_cancelIo;
    mutable std::mutex m_lock;
    std::condition_variable m_wake;
    std::condition_variable m_ended;
    bool m_stop = false;
    bool m_finished = true;
    bool m_pending = false;
    bool m_running = false; // between a wake and the next sleep: the loop may be in device I/O
    LightingWake m_pendingWake = LightingWake::kDeadline;
    std::thread m_thread;
};

} // namespace devices
