#pragma once
// A thread that calls `tick` at a steady rate while running, and sleeps otherwise. Ticks fall
// on a fixed grid (start + n * period); when a tick comes back too late for the next grid
// point, the missed points are skipped rather than caught up with, so frames never bunch.
// Paused or stopped, the thread waits on a condition variable and costs nothing.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

namespace recorder {

class FramePump {
public:
    using Clock = std::chrono::steady_clock;

    FramePump(Clock::duration period, std::function<void()> tick);
    ~FramePump(); // stops and joins
    FramePump(const FramePump&) = delete;
    FramePump& operator=(const FramePump&) = delete;

    void Resume(); // the first tick is due one period from now
    void Pause();
    // Grid points skipped because a tick overran.
    std::uint64_t Skipped() const;

private:
    void Run();

    const Clock::duration period_;
    const std::function<void()> tick_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    bool running_ = false;
    bool stop_ = false;
    std::uint64_t skipped_ = 0;
    std::thread thread_;
};

} // namespace recorder
