#pragma once
// The light synchronisation thread (worker slot 8 of the main window): while at least one
// device with an open command channel has its light-pause flag set, every such device gets
// the same frame of the synchronisation effect. It sleeps until the next frame is due, and
// while no device takes part until it is woken: by its stop (the worker's cancel) or by a
// change of participation or settings. No Qt.

#include "lighting/LightSyncStep.h"
#include "transport/Event.h"

#include <chrono>
#include <functional>
#include <mutex>
#include <vector>

namespace devices {
class CKelvaneUSBDevice;
}

namespace lighting {

class LightSyncThread {
public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;

    LightSyncThread();

    // Devices are added as they are made (UI thread) and never removed.
    void AddDevice(devices::CKelvaneUSBDevice* device);
    // The settings "deng_same_mode" chose; the thread is woken to take them.
    void SetSettings(const SyncSettings& settings);
    SyncSettings GetSettings() const;
    // A device's participation changed, or the thread is to stop.
    void Wake() { m_wake.Set(); }
    // The clock of the frames (steady_clock by default).
    void SetClock(Clock clock) { m_clock = std::move(clock); }

    // The thread's body: runs until `stop` is set (Wake must follow the stop, as the worker's
    // cancel does).
    void Run(transport::Event& stop);
    // One pass: the devices taking part get the next frame when it is due. The time until the
    // next frame, or a negative value when no device takes part.
    std::chrono::microseconds RunOnce();

private:
    std::vector<devices::CKelvaneUSBDevice*> TakingPart() const;

    mutable std::mutex m_lock;
    std::vector<devices::CKelvaneUSBDevice*> m_devices;
    SyncSettings m_settings;
    SyncState m_state;
    bool m_running = false;
    std::chrono::steady_clock::time_point m_nextFrame{};
    std::chrono::steady_clock::time_point m_epoch{};
    transport::Event m_wake{false};
    Clock m_clock = [] { return std::chrono::steady_clock::now(); };
};

} // namespace lighting
