#include "recorder/WavPlayer.h"

#include <chrono>
#include <span>

namespace recorder {

namespace {
constexpr auto kStep = std::chrono::milliseconds(10);
}

WavPlayer::WavPlayer(WavAudio audio, bool loop)
    : audio_(std::move(audio)), loop_(loop), thread_([this] { Run(); }) {}

WavPlayer::~WavPlayer() {
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

bool WavPlayer::Start(SampleRing& ring, std::string&) {
    {
        std::lock_guard lock(mutex_);
        ring_ = &ring;
    }
    wake_.notify_all();
    return true;
}

void WavPlayer::Stop() {
    {
        std::lock_guard lock(mutex_);
        ring_ = nullptr;
    }
    wake_.notify_all();
}

void WavPlayer::Run() {
    using Clock = std::chrono::steady_clock;
    const std::span<const float> samples(audio_.samples);
    const std::size_t perStep = std::max<std::size_t>(1, audio_.sampleRate / 100);
    std::size_t position = 0;
    bool finished = false;
    std::unique_lock lock(mutex_);
    while (!quit_) {
        wake_.wait(lock, [this] { return quit_ || ring_; });
        Clock::time_point due = Clock::now();
        while (!quit_ && ring_ && !finished) {
            if (position == samples.size()) {
                if (!loop_) {
                    ring_->Clear();
                    finished = true;
                    break;
                }
                position = 0;
            }
            const std::size_t count = std::min(perStep, samples.size() - position);
            ring_->Push(samples.subspan(position, count));
            position += count;
            due += kStep;
            wake_.wait_until(lock, due, [this] { return quit_ || !ring_; });
        }
        if (finished)
            wake_.wait(lock, [this] { return quit_; });
    }
}

} // namespace recorder
