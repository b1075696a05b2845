#pragma once
// The keyboard's six system settings in its three system-settings words (see
// config::SystemStageWords): which value sits where, their defaults and the repeat delay shown.

#include <cstdint>

namespace devices::keyboard_settings {

enum SettingValue : int {
    kRepeat = 0,      // key repeat rate, the slider's value
    kRepeatDelay = 1, // index 0-3
    kKey6Flag = 2,
    kPollingRate = 3, // index 0-3
    kWFlag = 4,
    kWinFlag = 5, // Windows-key lock
};

inline constexpr int kRepeatRateMax = 31;
inline constexpr std::uint16_t kDefaultRepeat = 31;
inline constexpr std::uint16_t kDefaultRepeatDelay = 1;
inline constexpr int kRepeatDelayCount = 4;
inline constexpr int kPollingRateCount = 4;

// The flags and the polling rate travel in the light block; the repeat values stay on the host.
constexpr bool IsSentToKeyboard(SettingValue value) {
    return value == kKey6Flag || value == kPollingRate || value == kWFlag || value == kWinFlag;
}

// 250, 500, 750 or 1000 ms; an index outside 0-3 counts as 0.
constexpr int RepeatDelayMs(int index) {
    return (index >= 0 && index < kRepeatDelayCount ? index : 0) * 250 + 250;
}

} // namespace devices::keyboard_settings
