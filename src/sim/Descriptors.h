#pragma once
// The report descriptors of the devices' HID interfaces.
//
// Interface 1 of the keyboard, the mouse and the mouse pad (by cable and through a receiver
// alike) has four top-level collections: 1 keyboard or mouse input, 2 keyboard or system
// control, 3 consumer control (000C/01, report ID 3) carrying the notifications, and 4 vendor
// FF1C/92 (report ID 4) carrying the 64-byte commands. The headset's interface 3 has a single
// consumer collection that carries both its consumer keys (report ID 1) and the commands.

#include <cstdint>
#include <vector>

namespace sim {

// One report of a collection; the length counts the report ID byte.
struct ReportLayout {
    std::uint8_t id;
    std::uint16_t length;
};

// What the device itself knows of one top-level collection of its interface, in descriptor
// order: what the descriptor declares, kept as the firmware's own table.
struct CollectionLayout {
    std::uint16_t usagePage;
    std::uint16_t usage;
    std::vector<ReportLayout> inputs;
    std::vector<ReportLayout> outputs;
};

struct InterfaceLayout {
    std::vector<std::uint8_t> descriptor;
    std::vector<CollectionLayout> collections;
};

inline constexpr std::uint8_t kCommandReportId = 4;
inline constexpr std::uint8_t kNotificationReportId = 3;
inline constexpr std::uint8_t kHeadsetKeysReportId = 1;

InterfaceLayout KeyboardInterface();
InterfaceLayout MouseInterface();
InterfaceLayout HeadsetInterface();

} // namespace sim
