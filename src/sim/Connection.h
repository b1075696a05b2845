#pragma once
// One plug-in of a virtual device: the input queues of the handles opened while it is plugged
// in, and its interrupt OUT endpoint. Unplugging ends it for good and a re-plug makes a new
// one, so a handle opened before stays dead, like the file of a removed /dev/hidraw node.
//
// Input goes as hidraw hands it out: every open handle of the interface gets every input
// report, whichever collection the report belongs to, and a handle whose queue is full loses
// the reports that arrive meanwhile. Picking out a collection's reports is the reader's job.

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace sim {

using Clock = std::chrono::steady_clock;

// The input reports waiting for one open handle, the collection it was opened on, and its
// cancel request.
struct InputQueue {
    struct Report {
        std::vector<std::uint8_t> bytes;
        Clock::time_point due; // when the report has crossed the interrupt endpoint
    };
    std::size_t collection = 0;
    std::deque<Report> reports;
    bool cancelled = false;
};

// The bus frame that carries a report written at `now` on an interrupt endpoint polled every
// `interval`, the last report having gone in the frame starting at `lastFrame`: the first frame
// to start at or after `now`, and never the last one again. The host controller runs the frames
// on its own clock, so a writer that comes back within a frame of its last report loses no
// bus time to its own wake-up. An interval of 0 carries every report at once.
Clock::time_point NextBusFrame(Clock::time_point now, Clock::time_point lastFrame,
                               std::chrono::microseconds interval);

class Connection {
public:
    // Like the kernel's per-reader buffer: reports arriving while it is full are lost.
    static constexpr std::size_t kQueueLimit = 64;

    explicit Connection(std::string node) : m_node(std::move(node)) {}

    const std::string& Node() const { return m_node; }
    bool Alive() const;
    // Unplugs: every waiting and later Read and Write fails.
    void End();

    // nullptr once ended.
    std::shared_ptr<InputQueue> Attach(std::size_t collection);
    void Detach(const std::shared_ptr<InputQueue>& queue);

    // Hands an input report to every open handle, readable from `due` on.
    void Deliver(const std::vector<std::uint8_t>& report, Clock::time_point due);

    // The OUT endpoint carries one report per bus frame of `interval` (NextBusFrame): waits
    // until this report has crossed it. 1 once it has, 0 on time-out or cancel (the report is
    // not sent), -1 once ended.
    int Send(InputQueue& queue, std::chrono::microseconds interval, int timeoutMs);

    // HidDevice::Read for one handle: the byte count, 0 on time-out or cancel, -1 once ended.
    int Read(InputQueue& queue, std::uint8_t* buffer, std::size_t capacity, int timeoutMs);
    void Cancel(InputQueue& queue);

    // The lock the host's exchanges on this node hold (HidDevice::ExchangeLock): one per
    // node, shared by every handle opened on it, as the host keeps one per hidraw node.
    std::mutex& ExchangeLock() { return m_exchanges; }

private:
    // What a wait on the queue ends with, with the mutex held: 0 when it was cancelled (the
    // cancel is taken), -1 when the connection is gone, nothing while it may go on.
    std::optional<int> EndedLocked(InputQueue& queue);
    // Waits for `until` or a change; false when the deadline passed first.
    bool WaitUntil(std::unique_lock<std::mutex>& lock, Clock::time_point until,
                   Clock::time_point deadline);

    const std::string m_node;
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_alive = true;
    Clock::time_point m_lastFrame = Clock::now(); // the bus frame of the last OUT report
    std::vector<std::shared_ptr<InputQueue>> m_queues;
    std::mutex m_exchanges;
};

} // namespace sim
