#pragma once
// The key table written to the mouse: the table as read at connection with the assignment of
// every on-screen button the mouse has put into its slot, and the macros those assignments
// use.
//
// A macro assignment (0x70, 0x71) names a library macro by its position in "macro.config";
// the mouse gets it as its position in the used-macro list, which follows the on-screen order
// of the buttons that first use each macro. A button naming a macro beyond the library goes
// with its default bytes.

#include "devices/KeyCode.h"
#include "devices/MouseButtonMap.h"

#include <cstdint>
#include <span>
#include <vector>

namespace devices {

// The library indexes the present buttons' macro assignments use, each once, in on-screen
// order. `buttons`: on-screen button j's record at j.
std::vector<int> MouseUsedMacros(const MouseButtonMap& map, std::span<const KeyRecord> buttons,
                                 int librarySize);

// `deviceTable`: the 3 × N bytes as read. Buttons without a record, and slots at or beyond N,
// keep the table's bytes.
std::vector<std::uint8_t> BuildMouseButtonTable(std::span<const std::uint8_t> deviceTable,
                                                const MouseButtonMap& map,
                                                std::span<const KeyRecord> buttons,
                                                int librarySize);

} // namespace devices
