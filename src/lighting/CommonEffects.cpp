#include "lighting/CommonEffects.h"

#include "lighting/LightVisibility.h"

#include <array>

namespace lighting {

namespace {

// Mode of each common effect: keyboard, mouse, mouse pad and headset.
constexpr std::array<std::array<int, 3>, kCommonEffectCount> kModes = {{
    {5, 2, 2},  // breathing
    {6, 3, 3},  // steady
    {22, 4, 4}, // flashing
    {4, 1, 1},  // colour cycle
    {21, 9, 8}, // off
}};

int Column(int kind) {
    switch (kind) {
    case kPanelKeyboard:
        return 0;
    case kPanelMouse:
        return 1;
    case kPanelMousePad:
    case kPanelHeadset:
        return 2;
    default:
        return -1;
    }
}

} // namespace

int CommonEffectOfMode(int kind, int mode) {
    const int column = Column(kind);
    if (column < 0)
        return -1;
    for (int effect = 0; effect < kCommonEffectCount; ++effect) {
        if (kModes[static_cast<std::size_t>(effect)][static_cast<std::size_t>(column)] == mode)
            return effect;
    }
    return -1;
}

int ModeOfCommonEffect(int kind, int effect) {
    const int column = Column(kind);
    if (column < 0 || effect < 0 || effect >= kCommonEffectCount)
        return -1;
    return kModes[static_cast<std::size_t>(effect)][static_cast<std::size_t>(column)];
}

} // namespace lighting
