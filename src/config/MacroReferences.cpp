#include "config/MacroReferences.h"

namespace config {

namespace {
constexpr std::uint8_t kMacroAssignment = 0x70;
constexpr std::uint8_t kMacroTimesAssignment = 0x71;
} // namespace

bool NamesMacro(const KeyListEntry& entry) {
    const std::uint8_t type = entry.current.code[0];
    return type == kMacroAssignment || type == kMacroTimesAssignment;
}

std::vector<int> KeysNamingMacro(const std::vector<KeyListEntry>& keys, int position) {
    std::vector<int> found;
    for (std::size_t i = 0; i < keys.size(); ++i)
        if (NamesMacro(keys[i]) && keys[i].current.code[1] == position)
            found.push_back(static_cast<int>(i));
    return found;
}

bool ShiftMacroReferences(std::vector<KeyListEntry>& keys, int position) {
    bool changed = false;
    for (KeyListEntry& entry : keys) {
        if (!NamesMacro(entry))
            continue;
        const int named = entry.current.code[1];
        if (named == position) {
            entry.current.code = entry.defaults.code;
            changed = true;
        } else if (named > position) {
            entry.current.code[1] = static_cast<std::uint8_t>(named - 1);
            changed = true;
        }
    }
    return changed;
}

} // namespace config
