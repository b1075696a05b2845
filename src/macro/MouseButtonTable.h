#pragma once
// The mouse-button table: a mouse window message (0x0201 left down ... 0x020C extra up) as
// the mouse capture reports it, and the macro event it records. The two extra-button
// messages carry the button's number in the high word of the mouse data: 1 the first extra
// button (back), 2 the second (forward).

#include "macro/RecordingInput.h"
#include "platform/MouseHookRecord.h"

#include <cstdint>
#include <optional>
#include <span>

namespace macro {

struct MouseButtonRow {
    unsigned message = 0;
    std::uint16_t extraButton = 0; // 0 for the messages that name their button
    std::uint8_t buttonBit = 0;    // "Button": 1 left, 2 right, 4 middle, 8 back, 16 forward
    std::uint8_t flags = 0;        // "Type" in bits 0-6, bit 7 for "down" (0x81 / 0x01)
    bool Down() const { return (flags & 0x80) != 0; }
};

inline constexpr std::size_t kMouseButtonRowCount = 10;
std::span<const MouseButtonRow, kMouseButtonRowCount> MouseButtonRows();

// The row of a message; mouseData is the record's 32-bit field whose high word names the
// extra button. Nothing for another message or an extra button other than 1 or 2.
std::optional<MouseButtonRow> FindMouseButtonRow(unsigned message, std::uint32_t mouseData);
// The row of a button change.
MouseButtonRow MouseButtonRowOf(MouseButton button, bool down);

} // namespace macro
