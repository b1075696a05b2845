#pragma once
// One event of a macro: an "Events" element of a ".mac" file and a row of the macro editor.

#include <array>
#include <cstdint>

namespace config {

// "Type": what the event is; "Button" means by kind.
enum MacroEventType : std::uint8_t {
    kMacroMouseButton = 1,    // 1 left, 2 right, 4 middle, 8 back, 16 forward
    kMacroMoveHorizontal = 4, // distance in counts; "down" moves left, "up" right
    kMacroMoveVertical = 5,   // distance in counts; "down" moves up, "up" down
    kMacroModifierKey = 9,    // the modifier's bit (1 left Ctrl ... 128 right Win)
    kMacroKey = 10,           // the key's HID usage (4 for A)
};

inline constexpr std::uint16_t kMaxMacroDelay = 65535;

struct MacroEvent {
    std::uint8_t type = kMacroKey;
    bool down = true; // "Action": "down" or "up"
    std::uint8_t button = 0;
    std::uint16_t delay = 0; // "Delay" in ms, after this event

    bool operator==(const MacroEvent&) const = default;
};

// How a device holds it: the delay (low byte first), the type with bit 7 set for "down", the
// button. The recorder's flags byte is the third byte (0x81 a mouse-button press, 0x01 its
// release ...).
inline std::array<std::uint8_t, 4> PackMacroEvent(const MacroEvent& event) {
    return {static_cast<std::uint8_t>(event.delay & 0xFF),
            static_cast<std::uint8_t>(event.delay >> 8),
            static_cast<std::uint8_t>((event.type & 0x7F) | (event.down ? 0x80 : 0)), event.button};
}

} // namespace config
