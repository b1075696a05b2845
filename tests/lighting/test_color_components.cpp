// The picker's red, green and blue edits as numbers: a component never spills into another.

#include "lighting/ColorComponents.h"

#include <gtest/gtest.h>

namespace {

using lighting::ColorFromTexts;
using lighting::ComponentFromText;

TEST(ColorComponents, TextsGiveAnOpaqueColourWithEachComponentInItsByte) {
    EXPECT_EQ(ColorFromTexts("255", "0", "0"), 0xFFFF0000u);
    EXPECT_EQ(ColorFromTexts("", "", "7"), 0xFF000007u);
    // Out of range: brought to 0..255 rather than carried into the next byte.
    EXPECT_EQ(ColorFromTexts("0", "300", "0"), 0xFF00FF00u);
    for (const auto& [text, value] : {std::pair{"", 0},
                                      {"abc", 0},
                                      {"-5", 0},
                                      {"999999999999999999999", 255},
                                      {" 12", 12},
                                      {"12x", 12},
                                      {"256", 255}})
        EXPECT_EQ(ComponentFromText(text), value) << text;
}

} // namespace
