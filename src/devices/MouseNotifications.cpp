#include "devices/MouseNotifications.h"

#include "devices/KelvaneMouseDevice.h"
#include "platform/DebugLog.h"

namespace devices {

namespace {
constexpr std::uint16_t kResyncUsage = 0x0401;
constexpr std::uint16_t kClickUsage = 0x0403;
constexpr std::uint8_t kPageSwitch = 0x10;
constexpr std::uint8_t kPageAndStageSwitch = 0x11;
} // namespace

CMouseNotifications::CMouseNotifications(CKelvaneMouseDevice& mouse) : m_mouse(mouse) {}

CNotificationThread* CMouseNotifications::ThreadOf(std::uint16_t kind) {
    if (kind == transport::kKindMouse)
        return &m_cable;
    if (kind == transport::kKindMouseReceiver)
        return &m_receiver;
    return nullptr;
}

void CMouseNotifications::Start(std::uint16_t kind) {
    CNotificationThread* thread = ThreadOf(kind);
    if (!thread)
        return;
    transport::CDeviceComm& events = m_mouse.EventChannel();
    transport::CHidChannel& channel =
        thread == &m_cable ? events.CableChannel() : events.ReceiverChannel();
    thread->Start(channel, [this, kind](std::uint16_t usage) { HandleUsage(kind, usage); });
}

void CMouseNotifications::Stop(std::uint16_t kind) {
    if (CNotificationThread* thread = ThreadOf(kind))
        thread->Stop();
}

void CMouseNotifications::StopAll() {
    m_cable.Stop();
    m_receiver.Stop();
}

bool CMouseNotifications::IsRunning(std::uint16_t kind) const {
    if (kind == transport::kKindMouse)
        return m_cable.IsRunning();
    if (kind == transport::kKindMouseReceiver)
        return m_receiver.IsRunning();
    return false;
}

void CMouseNotifications::HandleUsage(std::uint16_t kind, std::uint16_t usage) {
    INotificationTarget* target = m_mouse.GetNotificationTarget();
    if (usage == kResyncUsage) {
        platform::DebugLine("接收到自动添加设备的同步信息要求");
        if (target)
            target->RequestStateRead(m_mouse, kMouseResyncDelayMs);
        return;
    }
    if (usage == kClickUsage) {
        // The receiver does not pass the mouse's clicks on for the preview.
        if (kind == transport::kKindMouse)
            m_mouse.LightReactive();
        return;
    }
    const std::uint8_t high = usage >> 8;
    if (usage <= kResyncUsage || (high != kPageSwitch && high != kPageAndStageSwitch))
        return;
    if (!m_mouse.CommandChannel().open)
        return;
    const int page = usage & 0x0F;
    const int stage = high == kPageAndStageSwitch ? (usage >> 4) & 0x0F : -1;
    // The device state and the panels belong to the UI thread.
    auto follow = [mouse = &m_mouse, page, stage] { mouse->FollowDeviceSwitch(page, stage); };
    if (target)
        target->RunOnUiThread(follow);
    else
        follow();
}

} // namespace devices
