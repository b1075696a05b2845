#pragma once
// Key assignments that name a macro by its library position, and what deleting a macro does
// to them.

#include "config/ProfileRecords.h"

#include <vector>

namespace config {

// ---- Deleting a macro that keys refer to ----
//
// Deleting the macro at library position p: after the first confirmation, the panel asks
// again when KeysNamingMacro is not empty; then ShiftMacroReferences fixes the key list, which
// the device model stores and sends when it changed; then DeleteMacro.

// Whether a current assignment names a macro (0x70 or 0x71; the position is byte 1).
bool NamesMacro(const KeyListEntry& entry);
// The indexes of the entries whose current assignment names macro `position`.
std::vector<int> KeysNamingMacro(const std::vector<KeyListEntry>& keys, int position);
// Entries naming `position` get their default assignment back; those naming a later position
// name the one before it. True when any entry changed.
bool ShiftMacroReferences(std::vector<KeyListEntry>& keys, int position);

} // namespace config
