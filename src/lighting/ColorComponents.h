#pragma once
// A colour as the picker's three edits show it: red, green and blue in bits 16-23, 8-15 and
// 0-7, each as decimal text. No Qt.

#include <cstdint>
#include <string>

namespace lighting {

struct ColorComponents {
    int red = 0;
    int green = 0;
    int blue = 0;
};

ColorComponents SplitColor(std::uint32_t colour);
// The edits' texts read as decimal numbers: an empty or unreadable text counts as 0 and a
// number above 255 as 255, so one component never spills into another.
int ComponentFromText(const std::string& text);
// 0xFF000000 | red << 16 | green << 8 | blue of the three texts.
std::uint32_t ColorFromTexts(const std::string& red, const std::string& green,
                             const std::string& blue);

} // namespace lighting
