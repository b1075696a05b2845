#include "devices/KeyboardNotifications.h"

#include "devices/KelvaneKeyboardDevice.h"
#include "platform/DebugLog.h"

namespace devices {

namespace {
constexpr std::uint16_t kResyncUsage = 0x0401;
constexpr std::uint16_t kResyncUsageToo = 0x0402;
constexpr std::uint8_t kProfileSwitch = 0x10;
constexpr std::uint8_t kProfileSwitchWithByte17 = 0x11;
} // namespace

CKeyboardNotifications::CKeyboardNotifications(CKelvaneKeyboardDevice& keyboard)
    : m_keyboard(keyboard) {}

CNotificationThread* CKeyboardNotifications::ThreadOf(std::uint16_t kind) {
    if (kind == transport::kKindKeyboard)
        return &m_cable;
    if (kind == transport::kKindKeyboardReceiver)
        return &m_receiver;
    return nullptr;
}

void CKeyboardNotifications::Start(std::uint16_t kind) {
    CNotificationThread* thread = ThreadOf(kind);
    if (!thread)
        return;
    transport::CDeviceComm& events = m_keyboard.EventChannel();
    transport::CHidChannel& channel =
        thread == &m_cable ? events.CableChannel() : events.ReceiverChannel();
    thread->Start(channel, [this](std::uint16_t usage) { HandleUsage(usage); });
}

void CKeyboardNotifications::Stop(std::uint16_t kind) {
    if (CNotificationThread* thread = ThreadOf(kind))
        thread->Stop();
}

void CKeyboardNotifications::StopAll() {
    m_cable.Stop();
    m_receiver.Stop();
}

bool CKeyboardNotifications::IsRunning(std::uint16_t kind) const {
    if (kind == transport::kKindKeyboard)
        return m_cable.IsRunning();
    if (kind == transport::kKindKeyboardReceiver)
        return m_receiver.IsRunning();
    return false;
}

void CKeyboardNotifications::HandleUsage(std::uint16_t usage) {
    platform::DebugLine("接收到自动添加设备的同步信息要求  TEST");
    INotificationTarget* target = m_keyboard.GetNotificationTarget();
    if (usage == kResyncUsage || usage == kResyncUsageToo) {
        platform::DebugLine("接收到自动添加设备的同步信息要求");
        if (target)
            target->RequestStateRead(m_keyboard, kResyncDelayMs);
        return;
    }
    const std::uint8_t high = usage >> 8;
    if (high != kProfileSwitch && high != kProfileSwitchWithByte17)
        return;
    const int profile = usage & 0x0F;
    const int byte17 = high == kProfileSwitchWithByte17 ? (usage >> 4) & 0x0F : -1;
    // The block copy and the panels belong to the UI thread.
    auto follow = [keyboard = &m_keyboard, profile, byte17] {
        keyboard->FollowDeviceProfile(profile, byte17);
    };
    if (target)
        target->RunOnUiThread(follow);
    else
        follow();
}

} // namespace devices
