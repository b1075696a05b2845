#pragma once
// The function tabs of a device page, held by the profile panel: their names, their numbers
// (1 lighting ... 8 virtual surround) and which of them a device kind hides or shows.

#include <QString>
#include <array>
#include <vector>

namespace shell {

inline constexpr int kProfileTabCount = 8;
// Tab n is kProfileTabNames[n - 1].
inline constexpr std::array<const char*, kProfileTabCount> kProfileTabNames = {
    "deng_Op_tab",   "key_Op_tab",        "macro_Op_tab", "system_Op_tab",
    "cursor_Op_tab", "6533_voice_Op_tab", "magic_Op_tab", "Virtual7.1_Op_tab"};

// The number (1 to 8) of the tab of this name, letter case ignored; 0 for any other name.
int ProfileTabNumber(const QString& name);

// The tabs a device kind hides and the ones it makes visible; the others stay as the skin has
// them.
struct ProfileTabRule {
    std::vector<int> hidden;
    std::vector<int> shown;
};
ProfileTabRule ProfileTabsForKind(int deviceKind);

} // namespace shell
