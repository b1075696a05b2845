#pragma once
// The supported models: which product gets which device item, panel and update entry. One
// row per model, in the same order in the three tables.

#include "transport/DeviceSlot.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace devices {

struct DeviceOptionRow {
    const char* itemXml;
    const char* tabHeaderControl;
    const char* powerSwitchControl;
    const char* deviceName; // names the user data folder and the default profile document
    int dataFileModelIndex; // index into the per-model arrays of the shipped data files
    std::uint16_t vendorId;
    std::uint16_t productId;
    std::uint16_t kind;
};

struct DevicePanelRow {
    int ledCount;
    int keyButtonCount;
    int receiverCapable;
    int spare;
    const char* panelXml;
    const char* lightFilePrefix;
};

struct UpdateModelRow {
    int rowType; // 0 the application, 1 a device by its firmware, 2 a device by its model
    int flag;
    std::uint32_t version; // filled at run time from the device (or the application)
    const char* maker;
    const char* modelCode;
    const char* displayName;
    const char* shortName;
    std::string versionString;
};

inline constexpr std::size_t kModelCount = 4;

const std::array<DeviceOptionRow, kModelCount>& DeviceOptionRows();
const std::array<DevicePanelRow, kModelCount>& DevicePanelRows();
// Read and filled in by the update service; the last row is the application.
std::array<UpdateModelRow, kModelCount>& UpdateModelRows();

// The model row of the product whose command interface is `slot` (an index into `slots`):
// looked up by vendor, product and kind; a receiver by its cable partner's. -1 when there is
// none.
int FindModelRow(const std::vector<transport::DeviceSlot>& slots, std::size_t slot);

} // namespace devices
