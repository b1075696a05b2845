#pragma once
// The thread on which the running configurator runs the commands quarin-z17ctl sends it: one
// at a time, in the order they came, never on the UI thread (an exchange through a receiver
// may take seconds). The caller is answered when its command ends. While the window holds
// them (it is connecting a device, and its first read stores the device's files: a command in
// between would have its change written over), the commands wait.

#include "ctl/CommandLine.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace ctl {

class CommandWorker {
public:
    // Runs one command line (RunForwardedCommand, as a rule).
    using Run = std::function<CapturedRun(const std::vector<std::string>& args, bool json)>;
    // Called on the worker's thread with what the command printed, or with nothing when the
    // worker was closed before the command's turn came.
    using Done = std::function<void(std::optional<CapturedRun> run)>;

    // A hold nobody releases lapses after this long: no fault of its holder keeps the commands
    // waiting for good (the ctl waits for its answer for minutes).
    static constexpr std::chrono::milliseconds kHoldLimit{15000};

    explicit CommandWorker(Run run, std::chrono::milliseconds holdLimit = kHoldLimit);
    // Close(), then waits for the command that runs.
    ~CommandWorker();
    CommandWorker(const CommandWorker&) = delete;
    CommandWorker& operator=(const CommandWorker&) = delete;

    void Post(std::vector<std::string> args, bool json, Done done);
    // Runs nothing more: the commands still waiting, and those posted later, are answered with
    // nothing once the one that runs has ended. Does not wait.
    void Close();

    // The commands wait from Hold until every holder has released them. A holder is named by
    // any address of its own; a second Hold renews its hold. Any thread.
    void Hold(const void* holder);
    void Release(const void* holder);

private:
    struct Job {
        std::vector<std::string> args;
        bool json = false;
        Done done;
    };
    using Clock = std::chrono::steady_clock;
    void Loop();
    // The earliest lapse of the holds still on, after dropping those that lapsed by `now`.
    std::optional<Clock::time_point> HeldUntil(Clock::time_point now);

    const Run m_run;
    const std::chrono::milliseconds m_holdLimit;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<Job> m_jobs;
    std::map<const void*, Clock::time_point> m_holds; // holder: when its hold lapses
    bool m_closing = false;
    std::thread m_thread; // last: it starts once the rest is ready
};

} // namespace ctl
