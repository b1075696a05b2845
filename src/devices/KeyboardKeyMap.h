#pragma once
// How the keyboard's on-screen keys meet the device's own key numbering, and the key table
// image written to the device.
//
// The device reports N keys: its key table holds the native code of device key k at bytes
// 3k to 3k + 2, and its LED table the LED number of device key k at byte k. An on-screen key
// is the first device key with the same native code; the macro numbers in the image follow
// the order in which the macros are first used by on-screen key.

#include "devices/KeyCode.h"
#include "devices/KeyboardKeyTable.h"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace devices {

inline constexpr std::uint8_t kNoDeviceKey = 255;
inline constexpr std::uint8_t kNoLedNumber = 255;
// The device key that never gets an LED (the Fn key's matrix position).
inline constexpr int kDeviceKeyWithoutLed = 71;

using OnScreenMap = std::array<std::uint8_t, kOnScreenKeyCount>;

struct KeyboardMaps {
    OnScreenMap keys; // on-screen index -> device key, kNoDeviceKey when none
    OnScreenMap leds; // on-screen index -> LED number, kNoLedNumber when none
};

// `keyTable` holds at least 3 × deviceKeys bytes, `ledTable` at least deviceKeys bytes;
// device keys beyond either are not looked at.
KeyboardMaps BuildKeyboardMaps(std::span<const std::uint8_t> keyTable,
                               std::span<const std::uint8_t> ledTable, int deviceKeys);

// Hands out device macro numbers: a macro-library index gets the next number the first time
// it is asked for, the same number after that.
class MacroNumbering {
public:
    explicit MacroNumbering(int librarySize) : m_librarySize(librarySize) {}
    // -1 when the index is not in the library.
    int NumberOf(int libraryIndex);
    // Library indexes in device order.
    const std::vector<int>& UsedMacros() const { return m_used; }

private:
    int m_librarySize;
    std::vector<int> m_used;
};

// The macro-library indexes the keys use, in device order: on-screen keys with a device key,
// in on-screen order, whose current code is a macro below the library size.
std::vector<int> UsedMacroList(const OnScreenMap& keyMap, std::span<const KeyRecord> keys,
                               int librarySize);

// The table to write: `deviceTable` (3 × N bytes as read) with the current code of every
// on-screen key that has a device key below N put at its device key. A macro code gets its
// device number; a macro beyond the library is first restored to the key's default in
// `keys` itself. Keys without a record keep the device's code.
std::vector<std::uint8_t> BuildKeyTableImage(std::span<const std::uint8_t> deviceTable,
                                             const OnScreenMap& keyMap, std::span<KeyRecord> keys,
                                             int librarySize);

// Restores the default of every record whose macro is beyond the library; true when any
// record changed.
bool RestoreMissingMacroKeys(std::span<KeyRecord> keys, int librarySize);

// Deleting library macro `position` (config/MacroReferences.h does the same for a profile's
// entries): the records whose current code names it, and then the records fixed, those naming
// it restored to their default and those naming a later macro moved down by one. True when
// any record changed.
std::vector<int> KeysNamingMacro(std::span<const KeyRecord> keys, int position);
bool ShiftMacroReferences(std::span<KeyRecord> keys, int position);

} // namespace devices
