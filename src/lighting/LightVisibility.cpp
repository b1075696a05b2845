#include "lighting/LightVisibility.h"

namespace lighting {

namespace {

LightRule Row(bool mc, bool cl, bool cp, bool br, bool sp, bool fx, bool same = false) {
    LightRule rule;
    rule.multiColour = mc;
    rule.colourLayout = cl;
    rule.palette = cp;
    rule.brightness = br;
    rule.speed = sp;
    rule.direction = fx;
    rule.same = same;
    return rule;
}

LightRule WithTexts(LightRule rule, const char* left, const char* right) {
    rule.leftText = left;
    rule.rightText = right;
    return rule;
}

LightRule WithoutColourBlock(LightRule rule) {
    rule.colourBlock = false;
    return rule;
}

LightRule KeyboardRule(int mode) {
    constexpr bool on = true;
    constexpr bool off = false;
    switch (mode) {
    case 1:
    case 2:
        return Row(on, on, on, on, on, on);
    case 3:
    case 24:
        return WithTexts(Row(on, on, on, on, on, on), "light_set_clockwise_text",
                         "light_set_anticlockwise_text");
    case 4:
        return WithoutColourBlock(Row(off, off, off, on, on, off, true));
    case 5:
    case 22:
        return Row(on, on, on, on, on, off, true);
    case 6:
        return Row(on, on, on, on, off, off, true);
    case 7:
    case 8:
    case 9:
    case 10:
    case 13:
    case 14:
    case 15:
    case 23:
    case 25:
        return Row(on, on, on, on, on, off);
    case 11:
    case 26:
        return WithoutColourBlock(Row(off, off, off, on, on, off));
    case 12:
        return WithTexts(Row(off, off, off, on, on, on), "light_set_down_to_up_text",
                         "light_set_up_to_down_text");
    case 16:
        return Row(on, on, on, on, off, off);
    case 17: {
        LightRule rule = WithoutColourBlock(Row(off, off, off, on, on, off));
        rule.speedShown = false;
        rule.variantShown = true;
        return rule;
    }
    case 18:
        return WithTexts(WithoutColourBlock(Row(off, off, off, on, off, on)),
                         "light_set_outside_to_inside_text", "light_set_inside_to_outside_text");
    case 20: {
        LightRule rule = Row(off, on, on, on, off, off);
        rule.customShown = true;
        rule.speedShown = false;
        return rule;
    }
    case 21:
        return Row(off, off, off, off, off, off, true);
    case 27:
        return Row(off, off, off, on, on, off);
    case 28:
        return WithTexts(Row(on, on, on, on, on, on), "light_set_up_to_down_text",
                         "light_set_down_to_up_text");
    case 29: {
        LightRule rule = Row(on, on, on, on, off, on);
        rule.speedShown = false;
        rule.musicShown = true;
        rule.colourPage = 1;
        return rule;
    }
    case 30:
        return WithoutColourBlock(Row(off, off, off, on, off, off));
    default:
        return Row(off, off, off, off, off, off);
    }
}

LightRule MouseRule(int mode) {
    constexpr bool on = true;
    constexpr bool off = false;
    switch (mode) {
    case 0:
    case 5:
        return Row(on, on, on, on, on, on);
    case 1:
        return Row(off, off, off, on, on, off, true);
    case 2:
    case 4:
    case 6:
        return Row(on, on, on, on, on, off, true);
    case 3:
        return Row(off, on, on, on, off, off, true);
    case 7:
    case 8:
        return Row(off, off, off, on, on, off);
    case 9:
        return Row(off, off, off, off, off, off, true);
    default:
        return Row(off, off, off, off, off, off);
    }
}

LightRule PadRule(int mode) {
    constexpr bool on = true;
    constexpr bool off = false;
    switch (mode) {
    case 0:
        return Row(on, on, on, on, on, on);
    case 1:
        return Row(off, off, off, on, on, off, true);
    case 2:
    case 4:
        return Row(on, on, on, on, on, off, true);
    case 3:
        return Row(off, on, on, on, off, off, true);
    case 8:
        return Row(off, off, off, off, off, off, true);
    default:
        return Row(off, off, off, off, off, off);
    }
}

} // namespace

LightRule LightRuleFor(int kind, int mode) {
    switch (kind) {
    case kPanelKeyboard:
        return KeyboardRule(mode);
    case kPanelMouse:
        return MouseRule(mode);
    case kPanelMousePad:
    case kPanelHeadset:
        return PadRule(mode);
    default:
        return Row(false, false, false, false, false, false);
    }
}

} // namespace lighting
