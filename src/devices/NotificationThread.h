#pragma once
// CNotificationThread: one thread reading the input reports of an event channel without a
// time limit and handing the first usage of each report's first button item to a handler.
// Stopping cancels the read in progress and joins; the thread is never killed.

#include "transport/HidChannel.h"

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace devices {

class CNotificationThread {
public:
    // Called on the thread for every report; 0 when the report names no usage.
    using Handler = std::function<void(std::uint16_t usage)>;

    // exitLog: the debug line the thread writes when it ends.
    explicit CNotificationThread(std::string exitLog);
    ~CNotificationThread();
    CNotificationThread(const CNotificationThread&) = delete;
    CNotificationThread& operator=(const CNotificationThread&) = delete;

    // Reads `channel` until stopped; a running thread is stopped first.
    void Start(transport::CHidChannel& channel, Handler handler);
    // Returns once the thread has ended.
    void Stop();
    bool IsRunning() const;

    // The first usage of the first button item of the report last unpacked on the channel.
    static std::uint16_t FirstButtonUsage(transport::CHidChannel& channel);

private:
    void Run(transport::CHidChannel& channel, const Handler& handler);
    bool StopRequested();
    // A channel that cannot be read any more: the thread waits to be stopped.
    void WaitForStop();

    const std::string m_exitLog;
    std::thread m_thread;
    transport::CHidChannel* m_channel = nullptr;
    mutable std::mutex m_mutex;
    std::condition_variable m_stopped;
    bool m_stop = false;
};

} // namespace devices
