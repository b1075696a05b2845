#pragma once
// Where the analysed sound comes from: the desktop's output (PulseCapture) or a file played
// in real time (WavPlayer). A source writes mono samples into its ring while started.

#include "recorder/SampleRing.h"

#include <functional>
#include <string>

namespace recorder {

class AudioSource {
public:
    virtual ~AudioSource() = default;
    // Sample rate of what goes into the ring, in Hz; known from construction on.
    virtual int SampleRate() const = 0;
    // Begins (or resumes) writing into `ring`; false with the reason in `error`.
    virtual bool Start(SampleRing& ring, std::string& error) = 0;
    // Stops writing; what is in the ring stays.
    virtual void Stop() = 0;
    // Called from the source's own thread when it fails after a successful start (the sound
    // server went away); the source then stays stopped.
    std::function<void(const std::string& reason)> onFailure;
};

} // namespace recorder
