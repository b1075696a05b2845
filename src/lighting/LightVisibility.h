#pragma once
// Which parts of the lighting panel a mode enables, by device kind. A mode change first puts
// the panel back to the kind's reset state, then applies its row. No Qt.

namespace lighting {

// Panel kinds: the device kind whose lighting the panel shows.
enum PanelKind : int { kPanelKeyboard = 1, kPanelMouse = 2, kPanelMousePad = 3, kPanelHeadset = 7 };

struct LightRule {
    // Enabled: "deng_7color_check", "deng_color_layout", "colorpallet_layout",
    // "deng_light_layout", "deng_speed_layout", "deng_fx_layout".
    bool multiColour = false;
    bool colourLayout = false;
    bool palette = false;
    bool brightness = false;
    bool speed = false;
    bool direction = false;
    // "deng_same_mode" shows when the panel knows of several devices.
    bool same = false;
    // Keyboard only: "light_color_layout" enabled, "deng_speed_layout" shown, the layouts of
    // the mode variant, the custom modes and the music modes shown, the page of
    // "light_color_tablayout" and the text ids of "deng_FXL_check" / "deng_FXR_check".
    bool colourBlock = true;
    bool speedShown = true;
    bool variantShown = false;
    bool customShown = false;
    bool musicShown = false;
    int colourPage = 0;
    const char* leftText = "light_set_right_to_left_text";
    const char* rightText = "light_set_left_to_right_text";
};

// The row of `mode` for a panel of `kind` (1 keyboard, 2 mouse, 3 and 7 pad and headset).
// Unknown modes and kinds enable nothing.
LightRule LightRuleFor(int kind, int mode);

} // namespace lighting
