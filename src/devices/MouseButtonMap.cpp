#include "devices/MouseButtonMap.h"

#include <algorithm>

namespace devices {

const std::array<KeyCode, kMouseButtonCount>& MouseFactoryCodes() {
    static constexpr std::array<KeyCode, kMouseButtonCount> codes = {{
        {0x10, 0x01, 0x00},
        {0x10, 0x02, 0x00},
        {0x10, 0x04, 0x00},
        {0x10, 0x10, 0x00},
        {0x10, 0x08, 0x00},
        {0x13, 0x01, 0x00},
        {0x13, 0x02, 0x00},
        {0x13, 0x03, 0x00},
        {0xA0, 0x1B, 0x00},
        {0x16, 0x90, 0x01},
        {0x14, 0x78, 0x02},
    }};
    return codes;
}

MouseButtonMap BuildMouseButtonMap(std::span<const std::uint8_t> keyTable, int slots) {
    MouseButtonMap map;
    map.fill(kNoMouseSlot);
    const std::size_t count = std::min(static_cast<std::size_t>(slots < 0 ? 0 : slots),
                                       std::min<std::size_t>(keyTable.size() / 3, kMouseSlotLimit));
    for (int j = 0; j < kMouseButtonCount; ++j) {
        const KeyCode& code = MouseFactoryCodes()[static_cast<std::size_t>(j)];
        for (std::size_t slot = 0; slot < count; ++slot) {
            const std::uint8_t* at = keyTable.data() + 3 * slot;
            if (at[0] == code.type && at[1] == code.param1 && at[2] == code.param2) {
                map[static_cast<std::size_t>(j)] = static_cast<int>(slot);
                break;
            }
        }
    }
    return map;
}

} // namespace devices
