#include "macro/MouseButtonTable.h"

#include "config/MacroEvent.h"

#include <algorithm>
#include <array>

namespace macro {

namespace {

constexpr std::uint8_t kDown = 0x80 | config::kMacroMouseButton;
constexpr std::uint8_t kUp = config::kMacroMouseButton;

constexpr std::array<MouseButtonRow, kMouseButtonRowCount> kRows{{
    {kMsgLeftDown, 0, 1, kDown},
    {kMsgLeftUp, 0, 1, kUp},
    {kMsgRightDown, 0, 2, kDown},
    {kMsgRightUp, 0, 2, kUp},
    {kMsgMiddleDown, 0, 4, kDown},
    {kMsgMiddleUp, 0, 4, kUp},
    {kMsgExtraDown, kSecondExtraButton, 16, kDown},
    {kMsgExtraUp, kSecondExtraButton, 16, kUp},
    {kMsgExtraDown, kFirstExtraButton, 8, kDown},
    {kMsgExtraUp, kFirstExtraButton, 8, kUp},
}};

bool IsExtraMessage(unsigned message) {
    return message == kMsgExtraDown || message == kMsgExtraUp;
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
        return *FindMouseButtonRow(down ? kMsgLeftDown : kMsgLeftUp, 0);
    case MouseButton::Right:
        return *FindMouseButtonRow(down ? kMsgRightDown : kMsgRightUp, 0);
    case MouseButton::Middle:
        return *FindMouseButtonRow(down ? kMsgMiddleDown : kMsgMiddleUp, 0);
    case MouseButton::Back:
        return *FindMouseButtonRow(down ? kMsgExtraDown : kMsgExtraUp,
                                   std::uint32_t{kFirstExtraButton} << 16);
    case MouseButton::Forward:
        break;
    }
    return *FindMouseButtonRow(down ? kMsgExtraDown : kMsgExtraUp,
                               std::uint32_t{kSecondExtraButton} << 16);
}

} // namespace macro
