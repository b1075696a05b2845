#include "macro/MouseButtonTable.h"

#include "config/MacroEvent.h"

#include <algorithm>
#include <array>

namespace macro {

namespace {

constexpr std::uint8_t kDown = 0x80 | config::kMacroMouseButton;
constexpr std::uint8_t kUp = config::kMacroMouseButton;

constexpr std::array<MouseButtonRow, kMouseButtonRowCount> kRows{{
    {platform::kMsgLeftButtonDown, 0, 1, kDown},
    {platform::kMsgLeftButtonUp, 0, 1, kUp},
    {platform::kMsgRightButtonDown, 0, 2, kDown},
    {platform::kMsgRightButtonUp, 0, 2, kUp},
    {platform::kMsgMiddleButtonDown, 0, 4, kDown},
    {platform::kMsgMiddleButtonUp, 0, 4, kUp},
    {platform::kMsgExtraButtonDown, platform::kSecondExtraButton, 16, kDown},
    {platform::kMsgExtraButtonUp, platform::kSecondExtraButton, 16, kUp},
    {platform::kMsgExtraButtonDown, platform::kFirstExtraButton, 8, kDown},
    {platform::kMsgExtraButtonUp, platform::kFirstExtraButton, 8, kUp},
}};

bool IsExtraMessage(unsigned message) {
    return message == platform::kMsgExtraButtonDown || message == platform::kMsgExtraButtonUp;
}

} // namespace

std::span<const MouseButtonRow, kMouseButtonRowCount> MouseButtonRows() {
    return kRows;
}

std::optional<MouseButtonRow> FindMouseButtonRow(unsigned message, std::uint32_t mouseData) {
    const std::uint16_t extra = IsExtraMessage(message) ? mouseData >> 16 : 0;
    const auto it = std::find_if(kRows.begin(), kRows.end(), [&](const MouseButtonRow& row) {
        return row.message == message && row.extraButton == extra;
    });
    if (it == kRows.end())
        return std::nullopt;
    return *it;
}

MouseButtonRow MouseButtonRowOf(MouseButton button, bool down) {
    switch (button) {
    case MouseButton::Left:
        return *FindMouseButtonRow(down ? platform::kMsgLeftButtonDown : platform::kMsgLeftButtonUp,
                                   0);
    case MouseButton::Right:
        return *FindMouseButtonRow(
            down ? platform::kMsgRightButtonDown : platform::kMsgRightButtonUp, 0);
    case MouseButton::Middle:
        return *FindMouseButtonRow(
            down ? platform::kMsgMiddleButtonDown : platform::kMsgMiddleButtonUp, 0);
    case MouseButton::Back:
        return *FindMouseButtonRow(down ? platform::kMsgExtraButtonDown
                                        : platform::kMsgExtraButtonUp,
                                   std::uint32_t{platform::kFirstExtraButton} << 16);
    case MouseButton::Forward:
        break;
    }
    return *FindMouseButtonRow(down ? platform::kMsgExtraButtonDown : platform::kMsgExtraButtonUp,
                               std::uint32_t{platform::kSecondExtraButton} << 16);
}

} // namespace macro
