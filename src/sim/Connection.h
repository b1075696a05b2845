#pragma once
// One plug-in of a virtual device: the input queues of the handles opened while it is plugged
// in. Unplugging ends it for good and a re-plug makes a new one, so a handle opened before
// stays dead, like the file of a removed /dev/hidraw node.

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace sim {

using Clock = std::chrono::steady_clock;

// The input reports waiting for one open handle, and its cancel request.
struct InputQueue {
    struct Report {
        std::vector<std::uint8_t> bytes;
        Clock::time_point due; // when the report has crossed the interrupt endpoint
    };
    std::size_t collection = 0;
    std::deque<Report> reports;
    bool cancelled = false;
};

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

    // Hands an input report to every handle open on the collection, readable from `due` on.
    void Deliver(std::size_t collection, const std::vector<std::uint8_t>& report,
                 Clock::time_point due);

    // HidDevice::Read for one handle: the byte count, 0 on time-out or cancel, -1 once ended.
    int Read(InputQueue& queue, std::uint8_t* buffer, std::size_t capacity, int timeoutMs);
    void Cancel(InputQueue& queue);
    // Consumes a pending cancel request; Write calls it before doing anything.
    bool TakeCancel(InputQueue& queue);

private:
    const std::string m_node;
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_alive = true;
    std::vector<std::shared_ptr<InputQueue>> m_queues;
};

} // namespace sim
