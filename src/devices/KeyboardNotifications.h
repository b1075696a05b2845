#pragma once
// CKeyboardNotifications: the keyboard's two notification threads, one on the cable event
// channel (kind 1) and one on the receiver event channel (kind 9), and what the keyboard's
// usages ask for: 0x0401/0x0402 a state read by the device item after 50 ms, 0x10pp and
// 0x11gp a profile switch made on the keyboard.

#include "devices/NotificationThread.h"

#include <cstdint>

namespace devices {

class CKelvaneKeyboardDevice;

inline constexpr int kResyncDelayMs = 50;

class CKeyboardNotifications {
public:
    explicit CKeyboardNotifications(CKelvaneKeyboardDevice& keyboard);
    ~CKeyboardNotifications() { StopAll(); }

    // Kinds other than 1 and 9 have no thread.
    void Start(std::uint16_t kind);
    void Stop(std::uint16_t kind);
    void StopAll();
    bool IsRunning(std::uint16_t kind) const;

    // What one usage does; called on the thread.
    void HandleUsage(std::uint16_t usage);

private:
    CNotificationThread* ThreadOf(std::uint16_t kind);

    CKelvaneKeyboardDevice& m_keyboard;
    CNotificationThread m_cable{"MS 设备同步线程设定退出"};
    CNotificationThread m_receiver{"MS 设备同步线程设定退出"};
};

} // namespace devices
