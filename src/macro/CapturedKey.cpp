#include "macro/CapturedKey.h"

namespace macro {

std::optional<CapturedKey> CaptureTablePosition(std::size_t position) {
    if (position >= platform::kCaptureKeyCount)
        return std::nullopt;
    const platform::KeyTableEntry& entry = platform::CaptureKeyTable()[position];
    if (entry.IsModifier())
        return CapturedKey{position, config::kMacroModifierKey, entry.modifierBit};
    return CapturedKey{position, config::kMacroKey, entry.usage};
}

std::optional<CapturedKey> CaptureHookRecord(const platform::KeyboardHookRecord& record) {
    const std::optional<std::size_t> position = platform::FindScanCodeEntry(record);
    if (!position)
        return std::nullopt;
    return CaptureTablePosition(*position);
}

std::optional<CapturedKey> CaptureLinuxKey(int linuxKeyCode) {
    const std::optional<platform::ScanCodeEntry> key = platform::TranslateLinuxKey(linuxKeyCode);
    if (!key)
        return std::nullopt;
    const std::optional<std::size_t> position =
        platform::FindScanCodeEntry(key->vk, key->scan, key->extended);
    if (!position)
        return std::nullopt;
    return CaptureTablePosition(*position);
}

} // namespace macro
