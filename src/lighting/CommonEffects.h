#pragma once
// The effects every device kind has under its own mode number, used to copy one device's
// lighting to the others and by the light synchronisation thread. No Qt.

#include <cstdint>

namespace lighting {

enum CommonEffect : int {
    kEffectBreathing = 0,
    kEffectSteady = 1,
    kEffectFlashing = 2,
    kEffectColourCycle = 3,
    kEffectOff = 4,
};
inline constexpr int kCommonEffectCount = 5;

// The common effect of a device kind's mode, or -1 when the mode has none.
int CommonEffectOfMode(int kind, int mode);
// The mode of a device kind that shows the common effect, or -1.
int ModeOfCommonEffect(int kind, int effect);

// What the synchronisation runs: set by "deng_same_mode" on the UI thread, read by the
// synchronisation thread. Single bytes, so a frame never sees a torn value.
struct SyncSettings {
    std::uint8_t effect = kEffectSteady;
    std::uint8_t brightness = 3;
    std::uint8_t speed = 0;
    std::uint8_t multiColour = 0;
    std::uint8_t red = 255;
    std::uint8_t green = 255;
    std::uint8_t blue = 255;
    std::uint8_t direction = 0;
};

} // namespace lighting
