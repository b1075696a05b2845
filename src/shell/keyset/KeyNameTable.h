#pragma once
// The key name table of the key assignment panel: 142 fixed rows, each a virtual-key code, a
// key code and the text id of the key's name. Rows 0-7 are the modifiers (left Ctrl, Shift,
// Alt, Windows, then the right ones), rows 8-113 the keyboard keys (type 0x20, no modifier),
// 114-131 the media keys, 132-134 the system keys, 135-139 the M keys, then Fn and GM.

#include "devices/KeyCode.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace shell::keyset {

struct KeyNameRow {
    std::uint16_t vk;
    devices::KeyCode code;
    const char* textId;
};

inline constexpr std::size_t kKeyNameRowCount = 142;
inline constexpr std::size_t kModifierRowCount = 8;
inline constexpr std::size_t kFirstKeyRow = 8;

std::span<const KeyNameRow, kKeyNameRowCount> KeyNameTable();

// The first row from `firstRow` on whose code equals `code`.
std::optional<std::size_t> FindKeyNameRow(devices::KeyCode code,
                                          std::size_t firstRow = kFirstKeyRow);

// The modifier row (0-7) whose bit is exactly `modifierBits`.
std::optional<std::size_t> FindModifierRow(std::uint8_t modifierBits);

// The modifier option of the panel for a modifier row: 1 Ctrl, 2 Shift, 3 Alt, 4 Windows,
// the same for the left and the right key.
constexpr int ModifierOptionOfRow(std::size_t row) {
    const int n = static_cast<int>(row) + 1;
    return n % 5 + n / 5;
}

// The modifier bit a modifier option stands for: the left key's (1 Ctrl 0x01, 2 Shift 0x02,
// 3 Alt 0x04, 4 Windows 0x08); none for option 0.
constexpr std::uint8_t ModifierBitOfOption(int option) {
    return option >= 1 ? static_cast<std::uint8_t>(1 << (option - 1)) : 0;
}

} // namespace shell::keyset
