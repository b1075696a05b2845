#include "recorder/FramePump.h"

namespace recorder {

FramePump::FramePump(Clock::duration period, std::function<void()> tick)
    : period_(period), tick_(std::move(tick)), thread_([this] { Run(); }) {}

FramePump::~FramePump() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void FramePump::Resume() {
    {
        std::lock_guard lock(mutex_);
        running_ = true;
    }
    wake_.notify_all();
}

void FramePump::Pause() {
    {
        std::lock_guard lock(mutex_);
        running_ = false;
    }
    wake_.notify_all();
}

std::uint64_t FramePump::Skipped() const {
    std::lock_guard lock(mutex_);
    return skipped_;
}

void FramePump::Run() {
    std::unique_lock lock(mutex_);
    while (!stop_) {
        wake_.wait(lock, [this] { return stop_ || running_; });
        Clock::time_point due = Clock::now() + period_;
        while (!stop_ && running_) {
            if (wake_.wait_until(lock, due, [this] { return stop_ || !running_; }))
                break;
            lock.unlock();
            tick_();
            lock.lock();
            due += period_;
            const Clock::time_point now = Clock::now();
            if (now >= due) {
                const auto behind = (now - due) / period_ + 1;
                skipped_ += static_cast<std::uint64_t>(behind);
                due += behind * period_;
            }
        }
    }
}

} // namespace recorder
