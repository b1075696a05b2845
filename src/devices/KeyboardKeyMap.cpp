#include "devices/KeyboardKeyMap.h"

#include <algorithm>

namespace devices {

namespace {
KeyCode CodeAt(std::span<const std::uint8_t> table, std::size_t key) {
    return {table[3 * key], table[3 * key + 1], table[3 * key + 2]};
}

bool IsLibraryMacro(const KeyCode& code, int librarySize) {
    return code.IsMacro() && code.param1 < librarySize;
}
} // namespace

KeyboardMaps BuildKeyboardMaps(std::span<const std::uint8_t> keyTable,
                               std::span<const std::uint8_t> ledTable, int deviceKeys) {
    KeyboardMaps maps;
    maps.keys.fill(kNoDeviceKey);
    maps.leds.fill(kNoLedNumber);
    const std::size_t keys = std::min<std::size_t>(
        {static_cast<std::size_t>(std::max(deviceKeys, 0)), keyTable.size() / 3, kNoDeviceKey});
    for (std::size_t j = 0; j < kOnScreenKeyCount; ++j) {
        const KeyCode native = NativeKeyCode(static_cast<int>(j));
        for (std::size_t k = 0; k < keys; ++k) {
            if (CodeAt(keyTable, k) == native) {
                maps.keys[j] = static_cast<std::uint8_t>(k);
                break;
            }
        }
        const std::uint8_t k = maps.keys[j];
        if (k != kNoDeviceKey && k != kDeviceKeyWithoutLed && k < ledTable.size())
            maps.leds[j] = ledTable[k];
    }
    return maps;
}

int MacroNumbering::NumberOf(int libraryIndex) {
    if (libraryIndex < 0 || libraryIndex >= m_librarySize)
        return -1;
    const auto found = std::find(m_used.begin(), m_used.end(), libraryIndex);
    if (found != m_used.end())
        return static_cast<int>(found - m_used.begin());
    m_used.push_back(libraryIndex);
    return static_cast<int>(m_used.size()) - 1;
}

std::vector<int> UsedMacroList(const OnScreenMap& keyMap, std::span<const KeyRecord> keys,
                               int librarySize) {
    MacroNumbering numbering(librarySize);
    const std::size_t count = std::min(keys.size(), keyMap.size());
    for (std::size_t j = 0; j < count; ++j) {
        if (keyMap[j] != kNoDeviceKey && IsLibraryMacro(keys[j].code, librarySize))
            numbering.NumberOf(keys[j].code.param1);
    }
    return numbering.UsedMacros();
}

std::vector<std::uint8_t> BuildKeyTableImage(std::span<const std::uint8_t> deviceTable,
                                             const OnScreenMap& keyMap, std::span<KeyRecord> keys,
                                             int librarySize) {
    std::vector<std::uint8_t> image(deviceTable.begin(), deviceTable.end());
    const std::size_t deviceKeys = image.size() / 3;
    MacroNumbering numbering(librarySize);
    const std::size_t count = std::min(keys.size(), keyMap.size());
    for (std::size_t j = 0; j < count; ++j) {
        const std::uint8_t k = keyMap[j];
        if (k == kNoDeviceKey || k >= deviceKeys)
            continue;
        KeyRecord& record = keys[j];
        KeyCode code = record.code;
        if (code.IsMacro()) {
            if (code.param1 < librarySize) {
                code.param1 = static_cast<std::uint8_t>(numbering.NumberOf(code.param1));
            } else {
                record.RestoreDefault();
                code = record.code;
            }
        }
        image[3 * k] = code.type;
        image[3 * k + 1] = code.param1;
        image[3 * k + 2] = code.param2;
    }
    return image;
}

bool RestoreMissingMacroKeys(std::span<KeyRecord> keys, int librarySize) {
    bool changed = false;
    for (KeyRecord& record : keys) {
        if (record.code.IsMacro() && record.code.param1 >= librarySize) {
            record.RestoreDefault();
            changed = true;
        }
    }
    return changed;
}

std::vector<int> KeysNamingMacro(std::span<const KeyRecord> keys, int position) {
    std::vector<int> found;
    for (std::size_t i = 0; i < keys.size(); ++i)
        if (keys[i].code.IsMacro() && keys[i].code.param1 == position)
            found.push_back(static_cast<int>(i));
    return found;
}

bool ShiftMacroReferences(std::span<KeyRecord> keys, int position) {
    bool changed = false;
    for (KeyRecord& record : keys) {
        if (!record.code.IsMacro() || record.code.param1 < position)
            continue;
        if (record.code.param1 == position)
            record.RestoreDefault();
        else
            --record.code.param1;
        changed = true;
    }
    return changed;
}

} // namespace devices
