#pragma once
// What the capture layer hands the macro recorder: one key or mouse-button change, with the
// time it happened in milliseconds on a clock of the caller's choice (the recorder has none).

#include <cstdint>

namespace macro {

using Milliseconds = std::uint64_t;

// A key change. linuxKeyCode is the Linux input key code (KEY_A, KEY_LEFTSHIFT, ...): on X11
// and Wayland a Qt key event's nativeScanCode() minus 8. autoRepeat: the key is held and the
// system repeats it (QKeyEvent::isAutoRepeat()); such changes are never recorded.
struct KeyInput {
    int linuxKeyCode = 0;
    bool down = true;
    bool autoRepeat = false;
    Milliseconds time = 0;
};

// Back is the first extra button (Qt::BackButton, X11 button 8), Forward the second
// (Qt::ForwardButton, button 9).
enum class MouseButton : std::uint8_t { Left, Right, Middle, Back, Forward };

// A point in screen coordinates.
struct ScreenPoint {
    int x = 0;
    int y = 0;
};

// A screen rectangle; right and bottom are outside it.
struct ScreenRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    constexpr bool Contains(ScreenPoint p) const {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }
};

// A mouse-button change and where the cursor was.
struct MouseInput {
    MouseButton button = MouseButton::Left;
    bool down = true;
    ScreenPoint position;
    Milliseconds time = 0;
};

} // namespace macro
