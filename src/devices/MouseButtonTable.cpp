#include "devices/MouseButtonTable.h"

#include <algorithm>

namespace devices {

namespace {
// The code a present button sends, with its macro named by list position; the list grows
// with the macros met for the first time.
KeyCode SentCode(const KeyRecord& record, int librarySize, std::vector<int>& used) {
    KeyCode code = record.code;
    if (!code.IsMacro())
        return code;
    if (code.param1 >= librarySize)
        return record.defaultCode;
    auto found = std::find(used.begin(), used.end(), int{code.param1});
    if (found == used.end())
        found = used.insert(used.end(), code.param1);
    code.param1 = static_cast<std::uint8_t>(found - used.begin());
    return code;
}
} // namespace

std::vector<int> MouseUsedMacros(const MouseButtonMap& map, std::span<const KeyRecord> buttons,
                                 int librarySize) {
    std::vector<int> used;
    for (std::size_t j = 0; j < map.size() && j < buttons.size(); ++j) {
        if (map[j] != kNoMouseSlot)
            SentCode(buttons[j], librarySize, used);
    }
    return used;
}

std::vector<std::uint8_t> BuildMouseButtonTable(std::span<const std::uint8_t> deviceTable,
                                                const MouseButtonMap& map,
                                                std::span<const KeyRecord> buttons,
                                                int librarySize) {
    std::vector<std::uint8_t> table(deviceTable.begin(), deviceTable.end());
    std::vector<int> used;
    const std::size_t slots = table.size() / 3;
    for (std::size_t j = 0; j < map.size() && j < buttons.size(); ++j) {
        if (map[j] == kNoMouseSlot || static_cast<std::size_t>(map[j]) >= slots)
            continue;
        const KeyCode code = SentCode(buttons[j], librarySize, used);
        std::uint8_t* at = table.data() + 3 * static_cast<std::size_t>(map[j]);
        at[0] = code.type, at[1] = code.param1, at[2] = code.param2;
    }
    return table;
}

} // namespace devices
