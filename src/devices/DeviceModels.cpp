#include "devices/DeviceModels.h"

#include "devices/ModelTables.h"

namespace devices {

using namespace transport;

std::unique_ptr<CKelvaneUSBDevice> CreateDeviceForModel(int modelRow, HidBackend* backend) {
    if (modelRow < 0 || static_cast<std::size_t>(modelRow) >= kModelCount)
        return nullptr;
    const DeviceOptionRow& option = DeviceOptionRows()[static_cast<std::size_t>(modelRow)];
    const DevicePanelRow& panel = DevicePanelRows()[static_cast<std::size_t>(modelRow)];
    std::unique_ptr<CKelvaneUSBDevice> device;
    switch (option.kind) {
    case kKindKeyboard:
        device = std::make_unique<CKelvaneKeyboardDevice>(backend);
        break;
    case kKindMouse:
        device = std::make_unique<CKelvaneMouseDevice>(backend);
        break;
    case kKindMousePad:
        device = std::make_unique<CKelvaneMousePadDevice>(backend);
        break;
    case kKindHeadset:
        device = std::make_unique<CKelvaneHS6533Device>(backend);
        break;
    default:
        return nullptr;
    }
    device->SetPanelXml(panel.panelXml);
    device->SetKeyButtonCount(panel.keyButtonCount);
    device->SetLedCount(panel.ledCount);
    device->SetModelRowIndex(modelRow);
    device->SetReceiverCapable(panel.receiverCapable != 0);
    device->SetDeviceName(option.deviceName);
    device->SetDataFileModelIndex(option.dataFileModelIndex);
    device->SetLightFilePrefix(panel.lightFilePrefix);
    return device;
}

std::unique_ptr<CKelvaneUSBDevice> CreateDeviceForSlot(const std::vector<DeviceSlot>& slots,
                                                       std::size_t slot,
                                                       const std::string& currentProfileId,
                                                       HidBackend* backend) {
    const int row = FindModelRow(slots, slot);
    std::unique_ptr<CKelvaneUSBDevice> device = CreateDeviceForModel(row, backend);
    if (!device)
        return nullptr;
    const DeviceSlot& own = slots[slot];
    const bool receiver = (own.kind == kKindMouseReceiver || own.kind == kKindKeyboardReceiver) &&
                          own.hasPartner && own.partnerIndex < slots.size();
    device->SetIdentity(receiver ? slots[own.partnerIndex] : own);
    device->SetCurrentProfileId(currentProfileId);
    return device;
}

} // namespace devices
