#pragma once
// The keyboard tables that captured keys are described with, and the translation of Linux
// key codes into them.
//
// A captured key is reported as the low-level keyboard record of the platform the program was
// designed on: a virtual-key code, a scan code and flags (bit 0: an extended key, such as the
// right Ctrl, the arrows or the numeric pad's Enter). The scan-code table lists the 113 keys
// the program knows in that form; the key table at the same position gives the key's group
// (0x20 for keyboard keys), its modifier bit (modifiers only) and its HID keyboard usage.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace platform {

// The low-level keyboard record delivered with every captured key.
struct KeyboardHookRecord {
    std::uint32_t vkCode = 0;
    std::uint32_t scanCode = 0;
    std::uint32_t flags = 0; // kHookFlagExtended, kHookFlagAltDown, kHookFlagUp
    std::uint32_t time = 0;  // milliseconds
    std::uintptr_t extraInfo = 0;
};
inline constexpr std::uint32_t kHookFlagExtended = 0x01;
inline constexpr std::uint32_t kHookFlagAltDown = 0x20;
inline constexpr std::uint32_t kHookFlagUp = 0x80;

// The key message kinds that come with a record (its wParam).
inline constexpr unsigned kMsgKeyDown = 0x0100;
inline constexpr unsigned kMsgKeyUp = 0x0101;
inline constexpr unsigned kMsgSysKeyDown = 0x0104;
inline constexpr unsigned kMsgSysKeyUp = 0x0105;
inline constexpr bool IsKeyDownMessage(unsigned message) {
    return message == kMsgKeyDown || message == kMsgSysKeyDown;
}

// Virtual-key codes the capture treats specially.
inline constexpr std::uint16_t kVkCapsLock = 0x14;
inline constexpr std::uint16_t kVkNumLock = 0x90;
inline constexpr std::uint16_t kVkScrollLock = 0x91;
inline constexpr std::uint16_t kVkLeftAlt = 0xA4;
inline constexpr std::uint16_t kVkRightAlt = 0xA5;
inline constexpr std::uint16_t kVkLeftCtrl = 0xA2;
inline constexpr std::uint16_t kVkRightCtrl = 0xA3;
// Keys without a virtual-key code of their own (some JIS and Korean keys) carry this one and
// are told apart by their scan code.
inline constexpr std::uint16_t kVkNone = 0xFF;

struct ScanCodeEntry {
    std::uint16_t vk = 0;
    std::uint8_t scan = 0;
    bool extended = false;
};

struct KeyTableEntry {
    std::uint16_t vk = 0;
    std::uint8_t group = 0;       // 0x20: keyboard key
    std::uint8_t modifierBit = 0; // non-zero for the eight modifiers
    std::uint8_t usage = 0;       // HID keyboard usage; 0 for a modifier
    bool IsModifier() const { return usage == 0 && modifierBit != 0; }
};

inline constexpr std::size_t kCaptureKeyCount = 113;
std::span<const ScanCodeEntry, kCaptureKeyCount> ScanCodeTable();
std::span<const KeyTableEntry, kCaptureKeyCount> CaptureKeyTable();

// The position of a key in the scan-code table: the entry with the same virtual-key code and
// extended bit, or, for a key without a virtual-key code, the same scan code and extended bit.
std::optional<std::size_t> FindScanCodeEntry(std::uint16_t vk, std::uint8_t scan, bool extended);
inline std::optional<std::size_t> FindScanCodeEntry(const KeyboardHookRecord& record) {
    return FindScanCodeEntry(static_cast<std::uint16_t>(record.vkCode),
                             static_cast<std::uint8_t>(record.scanCode),
                             (record.flags & kHookFlagExtended) != 0);
}

// A Linux input key code (KEY_A, KEY_RIGHTCTRL, ...) as the scan-code table describes it;
// nothing for a key the table does not have. The numeric pad always gives its digit keys,
// whatever the Num Lock state, as the key itself is what is captured.
std::optional<ScanCodeEntry> TranslateLinuxKey(int linuxKeyCode);

// The X11 and Wayland key code of a key event is the Linux key code plus 8.
inline constexpr int kXkbKeycodeOffset = 8;
inline std::optional<ScanCodeEntry> TranslateXkbKeycode(int xkbKeycode) {
    if (xkbKeycode <= kXkbKeycodeOffset)
        return std::nullopt;
    return TranslateLinuxKey(xkbKeycode - kXkbKeycodeOffset);
}

} // namespace platform
