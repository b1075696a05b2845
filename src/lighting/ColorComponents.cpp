#include "lighting/ColorComponents.h"

#include <algorithm>
#include <charconv>

namespace lighting {

ColorComponents SplitColor(std::uint32_t colour) {
    return {static_cast<int>(colour >> 16 & 0xFF), static_cast<int>(colour >> 8 & 0xFF),
            static_cast<int>(colour & 0xFF)};
}

int ComponentFromText(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return 0;
    long value = 0;
    const char* begin = text.data() + first;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(begin, end, value);
    if (error == std::errc::result_out_of_range)
        return *begin == '-' ? 0 : 255;
    if (error != std::errc() || stop == begin)
        return 0;
    return static_cast<int>(std::clamp(value, 0L, 255L));
}

std::uint32_t ColorFromTexts(const std::string& red, const std::string& green,
                             const std::string& blue) {
    return 0xFF000000u | static_cast<std::uint32_t>(ComponentFromText(red)) << 16 |
           static_cast<std::uint32_t>(ComponentFromText(green)) << 8 |
           static_cast<std::uint32_t>(ComponentFromText(blue));
}

} // namespace lighting
