#pragma once
// The lighting loop of a device: when its next frame is due, and what wakes it. It keeps no
// thread and reads no clock: the lighting thread (LightingThread.h) runs it at the times it
// asks for, and tests run it at the times they choose.
//
// The loop steps an effect every threshold ticks (LightTick.h), counted from its last step.
// It asks for no time at all — the thread then sleeps until something changes — while the
// device's command channel is closed, while its light-pause flag is set, and while nobody
// watches its preview and no frame is streamed to it.

#include <chrono>
#include <cstdint>
#include <optional>

namespace devices {

// Why the loop runs.
enum class LightingWake : std::uint8_t {
    kDeadline,      // the time it asked for came
    kSpectrum,      // a music spectrum arrived
    kChange,        // the light state changed, or the channel, the pause or the watching did
    kMusicSettings, // new music settings arrived
};

// What the loop asks of its device.
class ILightingTarget {
public:
    virtual ~ILightingTarget() = default;
    virtual bool LightChannelOpen() const = 0;
    virtual bool LightPaused() const = 0;
    // Frames of the current effect go to the device now.
    virtual bool StreamsFrames() const = 0;
    // The preview is on the screen.
    virtual bool PreviewWatched() const = 0;
    // Ticks between two steps of the current effect: 0 steps on every wake that is not a
    // deadline (and once per repeat period), a negative value never steps on its own (the
    // frame is drawn once after a change).
    virtual int CurrentStepTicks() const = 0;
    // Renders one frame at `nowMs` and hands it on (to the device, to the preview).
    virtual void RenderFrame(std::uint32_t nowMs) = 0;
};

class CLightingLoop {
public:
    using Clock = std::chrono::steady_clock;
    using TimePoint = Clock::time_point;
    // An effect stepping on every pass still renders this often, so that a device falling
    // back to its own lighting without frames keeps getting one.
    static constexpr std::chrono::milliseconds kEveryPassRepeat{1000};

    explicit CLightingLoop(ILightingTarget& target) : m_target(target) {}

    // Runs what is due at `now` and returns when the next step is due; nothing when the loop
    // sleeps until a change. Several missed steps make one: the loop never catches up.
    std::optional<TimePoint> RunUntil(TimePoint now, LightingWake wake = LightingWake::kDeadline);

private:
    void Render(TimePoint now);
    static Clock::duration Period(int ticks);

    ILightingTarget& m_target;
    // The last step while the loop is running; empty while it sleeps.
    std::optional<TimePoint> m_lastStep;
};

} // namespace devices
