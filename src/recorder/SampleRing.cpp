#include "recorder/SampleRing.h"

#include <algorithm>

namespace recorder {

void SampleRing::Push(std::span<const float> samples) {
    const std::size_t capacity = samples_.size();
    if (samples.size() > capacity)
        samples = samples.last(capacity);
    std::lock_guard lock(mutex_);
    const std::size_t first = std::min(samples.size(), capacity - next_);
    std::copy_n(samples.begin(), first, samples_.begin() + next_);
    std::copy(samples.begin() + first, samples.end(), samples_.begin());
    next_ = (next_ + samples.size()) % capacity;
}

void SampleRing::CopyNewest(std::span<float> out) const {
    const std::size_t capacity = samples_.size();
    if (out.size() > capacity) {
        std::fill(out.begin(), out.end() - capacity, 0.0f);
        out = out.last(capacity);
    }
    std::lock_guard lock(mutex_);
    const std::size_t start = (next_ + capacity - out.size()) % capacity;
    const std::size_t first = std::min(out.size(), capacity - start);
    std::copy_n(samples_.begin() + start, first, out.begin());
    std::copy_n(samples_.begin(), out.size() - first, out.begin() + first);
}

void SampleRing::Clear() {
    std::lock_guard lock(mutex_);
    std::fill(samples_.begin(), samples_.end(), 0.0f);
}

} // namespace recorder
