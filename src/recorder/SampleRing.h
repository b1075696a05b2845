#pragma once
// The newest mono samples of the audio source, shared by the thread that captures them and
// the thread that analyses them. Only the newest `capacity` samples are kept: the analysis
// always wants the latest block, never a backlog.

#include <cstddef>
#include <mutex>
#include <span>
#include <vector>

namespace recorder {

class SampleRing {
public:
    explicit SampleRing(std::size_t capacity) : samples_(capacity) {}

    std::size_t Capacity() const { return samples_.size(); }
    // Appends `samples`, overwriting the oldest.
    void Push(std::span<const float> samples);
    // Copies the newest out.size() (at most Capacity()) samples into `out`, oldest first;
    // samples never written read as 0.
    void CopyNewest(std::span<float> out) const;
    // Forgets everything: reads give silence until new samples come.
    void Clear();

private:
    mutable std::mutex mutex_;
    std::vector<float> samples_;
    std::size_t next_ = 0; // where the next sample goes
};

} // namespace recorder
