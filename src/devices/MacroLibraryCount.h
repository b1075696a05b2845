#pragma once
// The number of macros in a device's macro library: the entries of "MacroInfo" in
// "macro.config" of the device's user data folder. A key assignment names a macro by its
// position there.

#include <string>

namespace devices {

// 0 when the file is missing, unreadable or has no "MacroInfo" array.
int CountLibraryMacros(const std::string& userDataFolder);
// Whether "macro.config" is there but could not be looked into: which macros exist is then
// unknown, and no key may lose its macro for it.
bool IsLibraryUnreadable(const std::string& userDataFolder);

} // namespace devices
