#include "devices/ModelTables.h"

namespace devices {

using namespace transport;

namespace {
constexpr const char* kItemXml = "XML/CustomControlXML/DeviceOption.xml";
constexpr const char* kTabHeader = "tab_header_device";
constexpr const char* kPowerSwitch = "device_power_switch";
constexpr const char* kLightPrefix = "orbek_light";
} // namespace

const std::array<DeviceOptionRow, kModelCount>& DeviceOptionRows() {
    static const std::array<DeviceOptionRow, kModelCount> rows = {{
        {kItemXml, kTabHeader, kPowerSwitch, "mouse", 1, 0x320F, 0x221C, kKindMouse},
        {kItemXml, kTabHeader, kPowerSwitch, "keyboard", 0, 0x0C45, 0x7698, kKindKeyboard},
        {kItemXml, kTabHeader, kPowerSwitch, "MousePad", 2, 0x320F, 0x1004, kKindMousePad},
        {kItemXml, kTabHeader, kPowerSwitch, "HD", 3, 0x0C76, 0x1630, kKindHeadset},
    }};
    return rows;
}

const std::array<DevicePanelRow, kModelCount>& DevicePanelRows() {
    static const std::array<DevicePanelRow, kModelCount> rows = {{
        {15, 11, 1, -1, "XML/DeviceXml/mousedevice.xml", kLightPrefix},
        {170, 170, 0, -1, "XML/DeviceXml/keyboarddevice.xml", kLightPrefix},
        {15, 0, 0, -1, "XML/DeviceXml/mousepaddevice.xml", kLightPrefix},
        {13, 0, 0, -1, "XML/DeviceXml/hs6533device.xml", kLightPrefix},
    }};
    return rows;
}

std::array<UpdateModelRow, kModelCount>& UpdateModelRows() {
    static std::array<UpdateModelRow, kModelCount> rows = {{
        {1, 1, 0, "ORBEK", "RT20M", "MS", "MS", ""},
        {1, 1, 0, "ORBEK", "RT21K", "QUARIN Z17 Keyboard", "QUARIN Z17 Keyboard", ""},
        {2, 1, 0, "ORBEK", "RT22H_1", "RT23", "RT23", ""},
        {0, 1, 0, "ORBEK", "ALL", "RT23_C1_C2", "AP", "V0100"},
    }};
    return rows;
}

int FindModelRow(const std::vector<DeviceSlot>& slots, std::size_t slot) {
    if (slot >= slots.size())
        return -1;
    const DeviceSlot* key = &slots[slot];
    // A receiver is looked up under its cable partner.
    if ((key->kind == kKindMouseReceiver || key->kind == kKindKeyboardReceiver) &&
        key->hasPartner && key->partnerIndex < slots.size())
        key = &slots[key->partnerIndex];
    const std::uint16_t kind = key->kind;
    const auto& rows = DeviceOptionRows();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].vendorId == key->vendorId && rows[i].productId == key->productId &&
            rows[i].kind == kind)
            return static_cast<int>(i);
    }
    return -1;
}

} // namespace devices
