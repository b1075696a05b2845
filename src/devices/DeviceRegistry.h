#pragma once
// DeviceRegistry: the device objects of the run and what happens to them when the scan binds
// or loses an interface — creation from the model tables the first time a product is seen,
// opening its command and event channels, switching between cable and receiver, closing on
// removal. Objects live until the registry goes. The window side (device items, timers,
// notification threads) is reached through IDeviceItems.

#include "devices/KelvaneUSBDevice.h"
#include "transport/DeviceSlot.h"

#include <functional>
#include <memory>
#include <vector>

namespace devices {

class IDeviceItems {
public:
    virtual ~IDeviceItems() = default;
    // A device object was made; its item, power item and page are to be built.
    virtual void OnDeviceCreated(CKelvaneUSBDevice& device) = 0;
    // Shows the device's item; makes it current only when no item is connected yet.
    virtual void ShowItem(CKelvaneUSBDevice& device) = 0;
    virtual void HideItem(CKelvaneUSBDevice& device) = 0;
    // Starts the item's refresh (reading the device) after the delay.
    virtual void StartRefresh(CKelvaneUSBDevice& device, int delayMs) = 0;
    // The device's receiver link came back (1) or went (0).
    virtual void ReceiverState(CKelvaneUSBDevice& device, int state) = 0;
    // The event channel was opened (start the notification thread) or is to be closed.
    virtual void StartNotifications(CKelvaneUSBDevice& device, std::uint16_t kind) = 0;
    virtual void StopNotifications(CKelvaneUSBDevice& device, std::uint16_t kind) = 0;
};

class DeviceRegistry {
public:
    static constexpr int kRefreshDelayMs = 500;
    static constexpr int kReceiverRefreshDelayMs = 2000;
    static constexpr int kLinkCheckTries = 26;
    static constexpr int kLinkCheckPauseMs = 50;

    // slots: the scan's slot list (the registry reads it while handling a bind or a loss).
    DeviceRegistry(const std::vector<transport::DeviceSlot>& slots, IDeviceItems& items,
                   transport::HidBackend* backend = nullptr);

    void Bind(std::size_t slot);
    void Lose(std::size_t slot);

    // Every device object, in creation order, and those of one kind (1, 2, 3 or 7).
    std::vector<CKelvaneUSBDevice*> Devices() const;
    std::vector<CKelvaneUSBDevice*> DevicesOfKind(int kind) const;
    // The profile id new device objects get.
    void SetCurrentProfileId(const std::string& id) { m_profileId = id; }

private:
    // The command-interface slot that names the product of `slot`, and the identity its
    // device object carries (a receiver's is its cable partner's).
    std::size_t CommandSlotOf(std::size_t slot) const;
    const transport::DeviceSlot& IdentityOf(std::size_t commandSlot) const;
    CKelvaneUSBDevice* FindByIdentity(const transport::DeviceSlot& identity) const;
    bool PartnerBound(std::size_t slot) const;
    void AttachCommand(std::size_t slot);
    void AttachEvent(std::size_t slot);
    void SwitchConnection(CKelvaneUSBDevice& device, std::size_t cableSlot,
                          std::size_t receiverSlot);

    const std::vector<transport::DeviceSlot>& m_slots;
    IDeviceItems& m_items;
    transport::HidBackend* m_backend;
    std::string m_profileId;
    std::vector<std::unique_ptr<CKelvaneUSBDevice>> m_devices;
};

} // namespace devices
