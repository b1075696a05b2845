#include "lighting/LightSyncThread.h"

#include "devices/KelvaneUSBDevice.h"
#include "platform/DebugLog.h"

namespace lighting {

using std::chrono::duration_cast;
using std::chrono::microseconds;
using std::chrono::milliseconds;

LightSyncThread::LightSyncThread() = default;

void LightSyncThread::AddDevice(devices::CKelvaneUSBDevice* device) {
    {
        const std::lock_guard lock(m_lock);
        m_devices.push_back(device);
    }
    Wake();
}

void LightSyncThread::SetSettings(const SyncSettings& settings) {
    {
        const std::lock_guard lock(m_lock);
        m_settings = settings;
    }
    Wake();
}

SyncSettings LightSyncThread::GetSettings() const {
    const std::lock_guard lock(m_lock);
    return m_settings;
}

std::vector<devices::CKelvaneUSBDevice*> LightSyncThread::TakingPart() const {
    std::vector<devices::CKelvaneUSBDevice*> taking;
    const std::lock_guard lock(m_lock);
    for (devices::CKelvaneUSBDevice* device : m_devices) {
        transport::CDeviceComm& channel = device->CommandChannel();
        if (channel.open && channel.lightPause)
            taking.push_back(device);
    }
    return taking;
}

microseconds LightSyncThread::RunOnce() {
    const std::vector<devices::CKelvaneUSBDevice*> taking = TakingPart();
    const auto now = m_clock();
    if (taking.empty()) {
        // The effect starts again from its first frame when devices join.
        m_running = false;
        return microseconds(-1);
    }
    if (!m_running) {
        m_running = true;
        m_state = SyncState{};
        m_epoch = now;
        m_nextFrame = now;
    }
    if (now < m_nextFrame)
        return duration_cast<microseconds>(m_nextFrame - now);
    const SyncSettings settings = GetSettings();
    const auto nowMs =
        static_cast<std::uint32_t>(duration_cast<milliseconds>(now - m_epoch).count());
    const std::uint32_t frame = StepSyncFrame(settings, m_state, nowMs);
    for (devices::CKelvaneUSBDevice* device : taking)
        device->ShowSyncFrame(frame);
    m_nextFrame = now + SyncStepPeriod(settings.speed);
    return SyncStepPeriod(settings.speed);
}

void LightSyncThread::Run(transport::Event& stop) {
    while (!stop.IsSet()) {
        const microseconds wait = RunOnce();
        if (stop.IsSet())
            break;
        if (wait < microseconds::zero()) {
            m_wake.Wait(-1);
        } else {
            // Rounded up: a wake-up just before the frame is due would only sleep again.
            const auto ms = duration_cast<milliseconds>(wait + milliseconds(1) - microseconds(1));
            m_wake.Wait(static_cast<int>(ms.count()));
        }
    }
    platform::DebugLine("同步灯光线程设定退出");
}

} // namespace lighting
