#pragma once
// How the kernel names a HID device, and how hidraw paths are built from those names. No
// system calls here.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace transport {

struct HidId {
    std::uint16_t bus = 0;
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::optional<std::uint32_t> instance; // the ".0007" of a sysfs name; new on every plug-in
};

// Parses the hid device's HID_ID property ("0003:0000320F:00005001") or its sysfs name
// ("0003:320F:5001.0007"). Vendor and product keep their low 16 bits.
std::optional<HidId> ParseHidId(std::string_view text);

// Reads a sysfs attribute written in hexadecimal ("01" of bInterfaceNumber, "0100" of
// bcdDevice); 0 when absent or not hexadecimal.
std::uint16_t ParseHexAttribute(const char* text);

// What follows the last '/' ("0003:320F:5001.0007" of "../../../0003:320F:5001.0007").
std::string_view LastPathComponent(std::string_view path);

// The device node a path names ("/dev/hidraw3" of "/dev/hidraw3?vid_320f&...").
std::string NodeOfPath(const std::string& path);

// The paths of one interface, one per top-level collection in descriptor order; "&col" only
// when there are several.
std::vector<std::string> InterfacePaths(const std::string& node, const HidId& id,
                                        std::uint16_t interfaceNumber, std::size_t collections);

} // namespace transport
