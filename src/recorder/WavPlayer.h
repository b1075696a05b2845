#pragma once
// Plays a file's samples into the ring in real time, in 10 ms steps on a fixed grid, from a
// thread that sleeps between steps. At the end of the file it starts again when looping;
// otherwise the ring is cleared (what follows the file is silence) and the thread sleeps
// until stopped. Stop pauses; Start resumes where it paused.

#include "recorder/AudioSource.h"
#include "recorder/WavReader.h"

#include <condition_variable>
#include <mutex>
#include <thread>

namespace recorder {

class WavPlayer : public AudioSource {
public:
    WavPlayer(WavAudio audio, bool loop);
    ~WavPlayer() override;

    int SampleRate() const override { return audio_.sampleRate; }
    bool Start(SampleRing& ring, std::string& error) override;
    void Stop() override;

private:
    void Run();

    const WavAudio audio_;
    const bool loop_;
    std::mutex mutex_;
    std::condition_variable wake_;
    SampleRing* ring_ = nullptr; // set while playing
    bool quit_ = false;
    std::thread thread_;
};

} // namespace recorder
