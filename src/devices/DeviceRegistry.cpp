#include "devices/DeviceRegistry.h"

#include "devices/DeviceModels.h"
#include "platform/DebugLog.h"

#include <chrono>
#include <thread>

namespace devices {

using namespace transport;

namespace {
bool IsReceiverKind(std::uint16_t kind) {
    return kind == kKindMouseReceiver || kind == kKindKeyboardReceiver;
}
bool IsCableWithReceiver(std::uint16_t kind) {
    return kind == kKindKeyboard || kind == kKindMouse;
}

void LogBinding(std::uint16_t kind, bool added, bool command) {
    const bool keyboard = kind == kKindKeyboard || kind == kKindKeyboardReceiver;
    const bool mouse = kind == kKindMouse || kind == kKindMouseReceiver;
    if (added) {
        platform::DebugLine(keyboard ? "添加一个键盘设备"
                            : mouse  ? "添加一个鼠标设备"
                                     : "添加一个鼠标垫设备");
        return;
    }
    platform::DebugLine(keyboard ? "删除一个键盘设备"
                        : mouse  ? "删除一个鼠标设备"
                                 : "删除一个鼠标垫设备");
    if (command && keyboard)
        platform::DebugLine("键盘设备丢失");
    else if (command && mouse)
        platform::DebugLine("鼠标设备丢失");
}

// The event channel of a kind and the lock it is opened and closed under: the cable's under
// the event channel's I/O lock, the receiver's under its spare lock.
CHidChannel& EventChannelOf(CKelvaneUSBDevice& device, std::uint16_t kind) {
    CDeviceComm& events = device.EventChannel();
    return IsReceiverKind(kind) ? events.ReceiverChannel() : events.CableChannel();
}
std::recursive_mutex& EventLockOf(CKelvaneUSBDevice& device, std::uint16_t kind) {
    CDeviceComm& events = device.EventChannel();
    return IsReceiverKind(kind) ? events.SpareLock() : events.IoLock();
}

// Opens a channel for commands or events: read and write, shared.
bool OpenShared(CHidChannel& channel, const std::string& path) {
    return channel.Open(path, true, true, true, false) == 1;
}
} // namespace

DeviceRegistry::DeviceRegistry(const std::vector<DeviceSlot>& slots, IDeviceItems& items,
                               HidBackend* backend)
    : m_slots(slots), m_items(items), m_backend(backend) {}

std::vector<CKelvaneUSBDevice*> DeviceRegistry::Devices() const {
    std::vector<CKelvaneUSBDevice*> out;
    for (const auto& device : m_devices)
        out.push_back(device.get());
    return out;
}

std::vector<CKelvaneUSBDevice*> DeviceRegistry::DevicesOfKind(int kind) const {
    std::vector<CKelvaneUSBDevice*> out;
    for (const auto& device : m_devices) {
        if (device->GetDeviceKind() == kind)
            out.push_back(device.get());
    }
    return out;
}

std::size_t DeviceRegistry::CommandSlotOf(std::size_t slot) const {
    const DeviceSlot& s = m_slots[slot];
    if (s.role == kRoleCommand)
        return slot;
    for (std::size_t i = 0; i < m_slots.size(); ++i) {
        const DeviceSlot& c = m_slots[i];
        if (c.role == kRoleCommand && c.vendorId == s.vendorId && c.productId == s.productId &&
            c.kind == s.kind)
            return i;
    }
    return slot;
}

const DeviceSlot& DeviceRegistry::IdentityOf(std::size_t commandSlot) const {
    const DeviceSlot& s = m_slots[commandSlot];
    // A product seen through its receiver carries its cable form's identity.
    if (IsReceiverKind(s.kind) && s.hasPartner && s.partnerIndex < m_slots.size() &&
        m_slots[s.partnerIndex].partnerIndex == commandSlot)
        return m_slots[s.partnerIndex];
    return s;
}

CKelvaneUSBDevice* DeviceRegistry::FindByIdentity(const DeviceSlot& identity) const {
    for (const auto& device : m_devices) {
        if (device->GetIdentity() == identity)
            return device.get();
    }
    return nullptr;
}

bool DeviceRegistry::PartnerBound(std::size_t slot) const {
    const DeviceSlot& s = m_slots[slot];
    return s.hasPartner && s.partnerIndex < m_slots.size() && m_slots[s.partnerIndex].bound;
}

void DeviceRegistry::Bind(std::size_t slot) {
    if (slot >= m_slots.size())
        return;
    const DeviceSlot& s = m_slots[slot];
    LogBinding(s.kind, true, s.role == kRoleCommand);
    const std::size_t command = CommandSlotOf(slot);
    if (!FindByIdentity(IdentityOf(command))) {
        std::unique_ptr<CKelvaneUSBDevice> device =
            CreateDeviceForSlot(m_slots, command, m_profileId, m_backend);
        if (!device)
            return;
        m_devices.push_back(std::move(device));
        m_items.OnDeviceCreated(*m_devices.back());
    }
    if (s.role == kRoleCommand)
        AttachCommand(slot);
    else
        AttachEvent(slot);
}

void DeviceRegistry::AttachCommand(std::size_t slot) {
    const DeviceSlot& s = m_slots[slot];
    CKelvaneUSBDevice* device = FindByIdentity(IdentityOf(slot));
    if (!device)
        return;
    if (PartnerBound(slot)) {
        // While both are present the cable is used: a cable arriving takes over from the
        // receiver; a receiver arriving beside the cable waits.
        if (IsReceiverKind(s.kind))
            return;
        if (device->CommandChannel().open && device->IsUsingReceiver()) {
            SwitchConnection(*device, slot, s.partnerIndex);
            return;
        }
    }
    CDeviceComm& comm = device->CommandChannel();
    const bool receiver = IsReceiverKind(s.kind);
    if (!comm.open) {
        const std::lock_guard lock(comm.IoLock());
        CHidChannel& channel = receiver ? comm.ReceiverChannel() : comm.CableChannel();
        if (!OpenShared(channel, s.path))
            return;
        comm.open = true;
        comm.SelectMode(receiver ? CDeviceComm::kModeReceiver : CDeviceComm::kModeCable);
        device->SetIdentity(IdentityOf(slot));
        device->SetUsingReceiver(receiver);
    }
    // A receiver's item shows once its refresh finds the device answering.
    if (!receiver)
        m_items.ShowItem(*device);
    m_items.StartRefresh(*device, kRefreshDelayMs);
}

void DeviceRegistry::AttachEvent(std::size_t slot) {
    const DeviceSlot& s = m_slots[slot];
    CKelvaneUSBDevice* device = FindByIdentity(IdentityOf(CommandSlotOf(slot)));
    if (!device)
        return;
    CDeviceComm& events = device->EventChannel();
    CHidChannel& channel = EventChannelOf(*device, s.kind);
    // The thread reading the channel ends before the channel is replaced.
    if (channel.IsOpen())
        m_items.StopNotifications(*device, s.kind);
    {
        const std::lock_guard lock(EventLockOf(*device, s.kind));
        channel.Close();
        if (!OpenShared(channel, s.path))
            return;
        events.open = true;
    }
    m_items.StartNotifications(*device, s.kind);
}

void DeviceRegistry::Lose(std::size_t slot) {
    if (slot >= m_slots.size())
        return;
    const DeviceSlot& s = m_slots[slot];
    LogBinding(s.kind, false, s.role == kRoleCommand);
    if (s.role == kRoleCommand) {
        CKelvaneUSBDevice* device = FindByIdentity(IdentityOf(slot));
        if (!device)
            return;
        if (PartnerBound(slot)) {
            // The cable went while the receiver stays: carry on through the receiver.
            if (IsCableWithReceiver(s.kind) && !device->IsUsingReceiver())
                SwitchConnection(*device, slot, s.partnerIndex);
            return;
        }
        CDeviceComm& comm = device->CommandChannel();
        comm.open = false;
        {
            const std::lock_guard lock(comm.IoLock());
            comm.CableChannel().Close();
            comm.ReceiverChannel().Close();
        }
        m_items.HideItem(*device);
        return;
    }
    CKelvaneUSBDevice* device = FindByIdentity(IdentityOf(CommandSlotOf(slot)));
    if (!device)
        return;
    CDeviceComm& events = device->EventChannel();
    CHidChannel& channel = EventChannelOf(*device, s.kind);
    if (!channel.IsOpen())
        return;
    m_items.StopNotifications(*device, s.kind);
    const std::lock_guard lock(EventLockOf(*device, s.kind));
    channel.Close();
    events.open = events.CableChannel().IsOpen() || events.ReceiverChannel().IsOpen();
}

void DeviceRegistry::SwitchConnection(CKelvaneUSBDevice& device, std::size_t cableSlot,
                                      std::size_t receiverSlot) {
    CDeviceComm& comm = device.CommandChannel();
    const bool toCable = device.IsUsingReceiver();
    bool opened;
    {
        const std::lock_guard lock(comm.IoLock());
        comm.open = false;
        CHidChannel& channel = toCable ? comm.CableChannel() : comm.ReceiverChannel();
        opened = OpenShared(channel, m_slots[toCable ? cableSlot : receiverSlot].path);
    }
    if (!opened)
        return;
    comm.open = true;
    device.SetUsingReceiver(!toCable);
    if (toCable) {
        comm.SelectMode(CDeviceComm::kModeCable);
        m_items.StartRefresh(device, kRefreshDelayMs);
        m_items.ReceiverState(device, 1);
        if (device.IsReceiverCapable())
            device.ReadPowerStatus();
        return;
    }
    comm.SelectMode(CDeviceComm::kModeReceiver);
    if (device.IsReceiverCapable()) {
        for (int attempt = 0; attempt < kLinkCheckTries && !comm.CheckReceiverLink(); ++attempt) {
            std::this_thread::sleep_for(std::chrono::milliseconds(kLinkCheckPauseMs));
            if (attempt + 1 < kLinkCheckTries)
                platform::DebugLine("获取2.4G模式失败");
        }
        platform::DebugLine("获取2");
        device.ReadPowerStatus();
    }
    m_items.StartRefresh(device, kReceiverRefreshDelayMs);
}

} // namespace devices
