#pragma once
// The thread on which the running configurator runs the commands quarin-z17ctl sends it: one
// at a time, in the order they came, never on the UI thread (an exchange through a receiver
// may take seconds). The caller is answered when its command ends.

#include "ctl/CommandLine.h"

#include <condition_variable>
#include <deque>
#include <functional>
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

    explicit CommandWorker(Run run);
    // Close(), then waits for the command that runs.
    ~CommandWorker();
    CommandWorker(const CommandWorker&) = delete;
    CommandWorker& operator=(const CommandWorker&) = delete;

    void Post(std::vector<std::string> args, bool json, Done done);
    // Runs nothing more: the commands still waiting, and those posted later, are answered with
    // nothing once the one that runs has ended. Does not wait.
    void Close();

private:
    struct Job {
        std::vector<std::string> args;
        bool json = false;
        Done done;
    };
    void Loop();

    const Run m_run;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<Job> m_jobs;
    bool m_closing = false;
    std::thread m_thread; // last: it starts once the rest is ready
};

} // namespace ctl
