#pragma once
// The supported HID interfaces and the slots they are bound to.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace transport {

enum DeviceKind : std::uint16_t {
    kKindKeyboard = 1,
    kKindMouse = 2,
    kKindMousePad = 3,
    kKindMouseReceiver = 6,
    kKindHeadset = 7,
    kKindKeyboardReceiver = 9,
};

enum InterfaceRole : std::uint16_t {
    kRoleCommand = 0, // the vendor collection that carries the 64-byte commands
    kRoleEvent = 255, // the consumer collection whose input reports are notifications
};

// One supported interface, and, in a slot list, whether a present interface is bound to it.
struct DeviceSlot {
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::uint16_t interfaceNumber = 0;
    std::uint16_t collectionNumber = 0;
    std::uint16_t kind = 0;
    std::uint16_t role = 0;
    std::uint16_t bound = 0;
    std::uint16_t usagePage = 0;
    std::uint16_t usage = 0;
    std::uint16_t hasPartner = 0;   // the product exists in a cable and a receiver form
    std::uint16_t partnerIndex = 0; // the partner's slot, when hasPartner
    std::string path;               // empty while unbound

    // Same interface: every identity field equal; path and bound flag take no part.
    friend bool operator==(const DeviceSlot& a, const DeviceSlot& b) {
        return a.vendorId == b.vendorId && a.productId == b.productId &&
               a.interfaceNumber == b.interfaceNumber && a.collectionNumber == b.collectionNumber &&
               a.kind == b.kind && a.role == b.role && a.usagePage == b.usagePage &&
               a.usage == b.usage;
    }
    bool IsFree() const { return !bound && path.empty(); }
};

inline constexpr std::size_t kSupportedInterfaceCount = 11;

// The eleven supported interfaces in slot order; slot indices are these row numbers.
const std::array<DeviceSlot, kSupportedInterfaceCount>& SupportedInterfaces();

// A fresh slot list: the supported interfaces, all unbound.
std::vector<DeviceSlot> MakeSlotList();

} // namespace transport
