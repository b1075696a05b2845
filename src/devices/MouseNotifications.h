#pragma once
// CMouseNotifications: the mouse's two notification threads, one on the cable event channel
// (kind 2) and one on the receiver event channel (kind 6), and what the mouse's usages ask
// for: 0x0401 a state read by the device item after 50 ms, 0x0403 (by cable) a click lighting
// the reactive preview, 0x10p a profile page and 0x11sp a page and a DPI stage chosen on the
// mouse.

#include "devices/NotificationThread.h"

#include <cstdint>

namespace devices {

class CKelvaneMouseDevice;

inline constexpr int kMouseResyncDelayMs = 50;

class CMouseNotifications {
public:
    explicit CMouseNotifications(CKelvaneMouseDevice& mouse);
    ~CMouseNotifications() { StopAll(); }

    // Kinds other than 2 and 6 have no thread.
    void Start(std::uint16_t kind);
    void Stop(std::uint16_t kind);
    void StopAll();
    bool IsRunning(std::uint16_t kind) const;

    // What one usage read on the thread of `kind` does; called on that thread.
    void HandleUsage(std::uint16_t kind, std::uint16_t usage);

private:
    CNotificationThread* ThreadOf(std::uint16_t kind);

    CKelvaneMouseDevice& m_mouse;
    CNotificationThread m_cable{"MS 设备同步线程设定退出"};
    CNotificationThread m_receiver{"MS 设备同步线程设定退出"};
};

} // namespace devices
