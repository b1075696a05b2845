#include "devices/LightingLoop.h"

#include "devices/LightTick.h"

namespace devices {

namespace {
std::uint32_t Milliseconds(CLightingLoop::TimePoint at) {
    return static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(at.time_since_epoch()).count());
}
} // namespace

CLightingLoop::Clock::duration CLightingLoop::Period(int ticks) {
    return std::chrono::duration_cast<Clock::duration>(TicksToTime(ticks));
}

void CLightingLoop::Render(TimePoint now) {
    m_lastStep = now;
    m_target.RenderFrame(Milliseconds(now));
}

std::optional<CLightingLoop::TimePoint> CLightingLoop::RunUntil(TimePoint now, LightingWake wake) {
    const bool needed = m_target.LightChannelOpen() && !m_target.LightPaused() &&
                        (m_target.StreamsFrames() || m_target.PreviewWatched());
    if (!needed) {
        m_lastStep.reset();
        return std::nullopt;
    }
    const bool resumed = !m_lastStep;
    const int ticks = m_target.CurrentStepTicks();
    if (ticks < 0) {
        // Nothing moves: one frame shows the change.
        if (resumed || wake != LightingWake::kDeadline)
            Render(now);
        return std::nullopt;
    }
    if (ticks == 0) {
        const bool pass = wake == LightingWake::kMusicSettings || wake == LightingWake::kChange;
        if (resumed || pass || now - *m_lastStep >= kEveryPassRepeat)
            Render(now);
        return *m_lastStep + kEveryPassRepeat;
    }
    const auto period = Period(ticks);
    if (resumed) {
        m_lastStep = now; // counting starts now, as the ticks did
        return now + period;
    }
    const TimePoint due = *m_lastStep + period;
    if (now < due)
        return due;
    // Late steps are dropped: the next one is a period after this one at the latest.
    const TimePoint next = due + period;
    m_target.RenderFrame(Milliseconds(now));
    m_lastStep = next > now ? due : now;
    // The step may have changed the pace (a recorded effect moving to its next step).
    const int after = m_target.CurrentStepTicks();
    return *m_lastStep + (after > 0 ? Period(after) : period);
}

} // namespace devices
