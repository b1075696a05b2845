#pragma once
// The mouse's on-screen buttons and the key-table slots that hold them. The mouse's key table
// keeps 3 bytes per button; a slot belongs to on-screen button j when it holds j's factory
// code.

#include "devices/KeyCode.h"

#include <array>
#include <cstdint>
#include <span>

namespace devices {

inline constexpr int kMouseButtonCount = 11;
// The slot of an on-screen button the mouse does not have.
inline constexpr int kNoMouseSlot = 170;
inline constexpr int kMouseSlotLimit = 170;

using MouseButtonMap = std::array<int, kMouseButtonCount>;

// The factory code of on-screen button j: left, right, middle, forward, back, DPI cycle, DPI
// up, DPI down, the key A0 1B 00, 16 90 01 and fire (14 78 02), in on-screen order.
const std::array<KeyCode, kMouseButtonCount>& MouseFactoryCodes();

// The first slot of the `slots` slots of `keyTable` holding each button's factory code.
MouseButtonMap BuildMouseButtonMap(std::span<const std::uint8_t> keyTable, int slots);

} // namespace devices
