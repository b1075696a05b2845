#include "transport/DeviceSlot.h"

namespace transport {

namespace {
DeviceSlot Row(std::uint16_t vid, std::uint16_t pid, std::uint16_t mi, std::uint16_t col,
               std::uint16_t kind, std::uint16_t role, std::uint16_t page, std::uint16_t usage,
               std::uint16_t hasPartner, std::uint16_t partner) {
    DeviceSlot slot;
    slot.vendorId = vid;
    slot.productId = pid;
    slot.interfaceNumber = mi;
    slot.collectionNumber = col;
    slot.kind = kind;
    slot.role = role;
    slot.usagePage = page;
    slot.usage = usage;
    slot.hasPartner = hasPartner;
    slot.partnerIndex = partner;
    return slot;
}
} // namespace

const std::array<DeviceSlot, kSupportedInterfaceCount>& SupportedInterfaces() {
    // Keyboard, mouse and mouse pad: collection 4 carries commands, collection 3 events. The
    // cable and receiver forms of the keyboard and the mouse are partners row for row.
    static const std::array<DeviceSlot, kSupportedInterfaceCount> rows = {
        Row(0x0C45, 0x7698, 1, 4, kKindKeyboard, kRoleCommand, 0xFF1C, 0x92, 1, 2),
        Row(0x0C45, 0x7698, 1, 3, kKindKeyboard, kRoleEvent, 0x000C, 0x01, 1, 3),
        Row(0x320F, 0x5001, 1, 4, kKindKeyboardReceiver, kRoleCommand, 0xFF1C, 0x92, 1, 0),
        Row(0x320F, 0x5001, 1, 3, kKindKeyboardReceiver, kRoleEvent, 0x000C, 0x01, 1, 1),
        Row(0x320F, 0x221C, 1, 4, kKindMouse, kRoleCommand, 0xFF1C, 0x92, 1, 6),
        Row(0x320F, 0x221C, 1, 3, kKindMouse, kRoleEvent, 0x000C, 0x01, 1, 7),
        Row(0x320F, 0x221D, 1, 4, kKindMouseReceiver, kRoleCommand, 0xFF1C, 0x92, 1, 4),
        Row(0x320F, 0x221D, 1, 3, kKindMouseReceiver, kRoleEvent, 0x000C, 0x01, 1, 5),
        Row(0x320F, 0x1004, 1, 4, kKindMousePad, kRoleCommand, 0xFF1C, 0x92, 0, 0),
        Row(0x320F, 0x1004, 1, 3, kKindMousePad, kRoleEvent, 0x000C, 0x01, 0, 0),
        // The headset has one consumer interface and no collection suffix.
        Row(0x0C76, 0x1630, 3, 0, kKindHeadset, kRoleCommand, 0x000C, 0x01, 0, 0),
    };
    return rows;
}

std::vector<DeviceSlot> MakeSlotList() {
    const auto& rows = SupportedInterfaces();
    return std::vector<DeviceSlot>(rows.begin(), rows.end());
}

} // namespace transport
