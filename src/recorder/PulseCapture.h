#pragma once
// Captures what the desktop plays through the PulseAudio client API (which PipeWire serves as
// well): by default the monitor source of the server's default output (its name followed by
// ".monitor", looked up when capturing starts), or a source named by the user. The server
// converts to 48 kHz float mono, so a stereo output is mixed down there. Capture runs on
// libpulse's own event thread, which sleeps until the server delivers the next 10 ms fragment.

#include "recorder/AudioSource.h"

#include <string>

struct pa_context;
struct pa_stream;
struct pa_threaded_mainloop;

namespace recorder {

class PulseCapture : public AudioSource {
public:
    static constexpr int kSampleRate = 48000;

    // `source` empty: the default output's monitor.
    explicit PulseCapture(std::string source);
    ~PulseCapture() override;

    // Connects to the sound server; false with the reason when there is none. Call once
    // before Start.
    bool Connect(std::string& error);

    int SampleRate() const override { return kSampleRate; }
    bool Start(SampleRing& ring, std::string& error) override;
    void Stop() override;

    // The source being captured, once started.
    std::string SourceName() const { return active_; }

private:
    static void OnContextState(pa_context* context, void* self);
    static void OnStreamState(pa_stream* stream, void* self);
    static void OnRead(pa_stream* stream, size_t bytes, void* self);
    bool WaitForContext(std::string& error);
    std::string DefaultMonitor(std::string& error);
    void Fail(const std::string& reason);

    const std::string source_;
    std::string active_;
    pa_threaded_mainloop* loop_ = nullptr;
    pa_context* context_ = nullptr;
    pa_stream* stream_ = nullptr;
    SampleRing* ring_ = nullptr;
    bool ready_ = false;  // context connected
    bool failed_ = false; // reported once
};

} // namespace recorder
