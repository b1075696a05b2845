#pragma once
// Inputs and events spelled the short way for the recorder's tests.

#include "macro/MacroRecorder.h"

#include <linux/input-event-codes.h>

namespace macro::testkit {

inline KeyInput Down(int key, Milliseconds time, bool autoRepeat = false) {
    return {key, true, autoRepeat, time};
}
inline KeyInput Up(int key, Milliseconds time, bool autoRepeat = false) {
    return {key, false, autoRepeat, time};
}
inline MouseInput Press(MouseButton button, Milliseconds time, ScreenPoint at = {}) {
    return {button, true, at, time};
}
inline MouseInput Release(MouseButton button, Milliseconds time, ScreenPoint at = {}) {
    return {button, false, at, time};
}

inline config::MacroEvent KeyEvent(std::uint8_t usage, bool down, std::uint16_t delay) {
    return {config::kMacroKey, down, usage, delay};
}
inline config::MacroEvent ButtonEvent(std::uint8_t bit, bool down, std::uint16_t delay = 0) {
    return {config::kMacroMouseButton, down, bit, delay};
}

// HID usages of the keys the tests press.
inline constexpr std::uint8_t kUsageA = 0x04;
inline constexpr std::uint8_t kUsageB = 0x05;
inline constexpr std::uint8_t kUsageC = 0x06;

} // namespace macro::testkit
