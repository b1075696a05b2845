#pragma once
// The four device models. Each is the base device with its own class name and kind; the
// keyboard, mouse, mouse pad and headset behaviour is added to these classes.

#include "devices/KelvaneHS6533Device.h"
#include "devices/KelvaneKeyboardDevice.h"
#include "devices/KelvaneMouseDevice.h"
#include "devices/KelvaneMousePadDevice.h"
#include "devices/KelvaneUSBDevice.h"

#include <memory>

namespace devices {

// A device object of the model row's kind, set up from the model tables (device name,
// folder, default document, LED and key counts, panel, data-file index). nullptr for a row
// that does not exist.
std::unique_ptr<CKelvaneUSBDevice> CreateDeviceForModel(int modelRow,
                                                        transport::HidBackend* backend = nullptr);

// The device object for the product whose command interface is slot `slot`, or nullptr when
// no model row matches. The identity is the slot, or for a receiver its cable partner, so a
// product seen first through its receiver is the same object when its cable comes.
std::unique_ptr<CKelvaneUSBDevice>
CreateDeviceForSlot(const std::vector<transport::DeviceSlot>& slots, std::size_t slot,
                    const std::string& currentProfileId, transport::HidBackend* backend = nullptr);

} // namespace devices
