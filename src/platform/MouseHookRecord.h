#pragma once
// The mouse hook record delivered with every captured mouse button, laid out like the
// extended mouse-hook record of the platform the program was designed on (its 32-bit form):
// the macro recorder reads the cursor position from the start and the extra button's number
// from the field at byte offset 20.

#include <cstddef>
#include <cstdint>

namespace platform {

struct MouseHookRecord {
    std::int32_t x = 0; // screen coordinates
    std::int32_t y = 0;
    std::uint32_t window = 0;      // the native window the button went to; 0 when it has none
    std::uint32_t hitTestCode = 0; // kHitClient: the program only sees its windows' client area
    std::uint32_t extraInfo = 0;
    std::uint32_t mouseData = 0; // high 16 bits: kFirstExtraButton, kSecondExtraButton
};
static_assert(offsetof(MouseHookRecord, x) == 0);
static_assert(offsetof(MouseHookRecord, y) == 4);
static_assert(offsetof(MouseHookRecord, window) == 8);
static_assert(offsetof(MouseHookRecord, hitTestCode) == 12);
static_assert(offsetof(MouseHookRecord, extraInfo) == 16);
static_assert(offsetof(MouseHookRecord, mouseData) == 20);
static_assert(sizeof(MouseHookRecord) == 24);

inline constexpr std::uint32_t kHitClient = 1;

// The mouse button messages that come with a record (its wParam).
inline constexpr unsigned kMsgLeftButtonDown = 0x0201;
inline constexpr unsigned kMsgLeftButtonUp = 0x0202;
inline constexpr unsigned kMsgRightButtonDown = 0x0204;
inline constexpr unsigned kMsgRightButtonUp = 0x0205;
inline constexpr unsigned kMsgMiddleButtonDown = 0x0207;
inline constexpr unsigned kMsgMiddleButtonUp = 0x0208;
inline constexpr unsigned kMsgExtraButtonDown = 0x020B;
inline constexpr unsigned kMsgExtraButtonUp = 0x020C;

// The extra button's number, in the high word of mouseData.
inline constexpr std::uint16_t kFirstExtraButton = 1;
inline constexpr std::uint16_t kSecondExtraButton = 2;
inline constexpr std::uint32_t ExtraButtonData(std::uint16_t button) {
    return std::uint32_t{button} << 16;
}

} // namespace platform
