#pragma once
// A captured key as a macro event: its position in the scan-code table selects the key-table
// entry at the same position; a modifier (HID usage 0, a modifier bit) is recorded as "Type" 9
// with its bit, any other key as "Type" 10 with its HID usage. Keys the tables do not have
// give nothing and are not recorded.
//
// The three lock keys are ordinary keys here (Caps Lock 0x39, Num Lock 0x53, Scroll Lock
// 0x47); the capture lets them through, so they still toggle in the system while recording.

#include "config/MacroEvent.h"
#include "platform/WinKeyTables.h"

#include <cstddef>
#include <cstdint>
#include <optional>

namespace macro {

struct CapturedKey {
    std::size_t tablePosition = 0; // in platform::ScanCodeTable() and CaptureKeyTable()
    std::uint8_t type = 0;         // config::kMacroModifierKey or config::kMacroKey
    std::uint8_t button = 0;       // modifier bit or HID usage
};

// A Linux input key code (KEY_A ...).
std::optional<CapturedKey> CaptureLinuxKey(int linuxKeyCode);
// A low-level keyboard record as the key capture delivers it (vk, scan code, extended bit).
std::optional<CapturedKey> CaptureHookRecord(const platform::KeyboardHookRecord& record);
// The key at a scan-code table position; nothing past the table's end.
std::optional<CapturedKey> CaptureTablePosition(std::size_t position);

} // namespace macro
