#include "platform/WinKeyTables.h"

#include <algorithm>
#include <array>
#include <linux/input-event-codes.h>

namespace platform {

namespace {

struct KeyRow {
    int linuxCode;
    std::uint16_t vk;
    std::uint8_t scan;
    bool extended;
    std::uint8_t modifierBit;
    std::uint8_t usage;
};

constexpr bool E = true;  // extended key
constexpr bool N = false; // not extended

// The modifiers first, then the keys in the order of the key name table. The ISO key left of
// Enter (usage 0x32) is missing: it has the backslash key's scan code, so it reaches the
// program as the backslash key.
constexpr std::array<KeyRow, kCaptureKeyCount> kRows{{
    {KEY_LEFTCTRL, 0xA2, 0x1D, N, 0x01, 0},
    {KEY_LEFTSHIFT, 0xA0, 0x2A, N, 0x02, 0},
    {KEY_LEFTALT, 0xA4, 0x38, N, 0x04, 0},
    {KEY_LEFTMETA, 0x5B, 0x5B, E, 0x08, 0},
    {KEY_RIGHTCTRL, 0xA3, 0x1D, E, 0x10, 0},
    {KEY_RIGHTSHIFT, 0xA1, 0x36, N, 0x20, 0},
    {KEY_RIGHTALT, 0xA5, 0x38, E, 0x40, 0},
    {KEY_RIGHTMETA, 0x5C, 0x5C, E, 0x80, 0},
    {KEY_A, 0x41, 0x1E, N, 0, 0x04},
    {KEY_B, 0x42, 0x30, N, 0, 0x05},
    {KEY_C, 0x43, 0x2E, N, 0, 0x06},
    {KEY_D, 0x44, 0x20, N, 0, 0x07},
    {KEY_E, 0x45, 0x12, N, 0, 0x08},
    {KEY_F, 0x46, 0x21, N, 0, 0x09},
    {KEY_G, 0x47, 0x22, N, 0, 0x0A},
    {KEY_H, 0x48, 0x23, N, 0, 0x0B},
    {KEY_I, 0x49, 0x17, N, 0, 0x0C},
    {KEY_J, 0x4A, 0x24, N, 0, 0x0D},
    {KEY_K, 0x4B, 0x25, N, 0, 0x0E},
    {KEY_L, 0x4C, 0x26, N, 0, 0x0F},
    {KEY_M, 0x4D, 0x32, N, 0, 0x10},
    {KEY_N, 0x4E, 0x31, N, 0, 0x11},
    {KEY_O, 0x4F, 0x18, N, 0, 0x12},
    {KEY_P, 0x50, 0x19, N, 0, 0x13},
    {KEY_Q, 0x51, 0x10, N, 0, 0x14},
    {KEY_R, 0x52, 0x13, N, 0, 0x15},
    {KEY_S, 0x53, 0x1F, N, 0, 0x16},
    {KEY_T, 0x54, 0x14, N, 0, 0x17},
    {KEY_U, 0x55, 0x16, N, 0, 0x18},
    {KEY_V, 0x56, 0x2F, N, 0, 0x19},
    {KEY_W, 0x57, 0x11, N, 0, 0x1A},
    {KEY_X, 0x58, 0x2D, N, 0, 0x1B},
    {KEY_Y, 0x59, 0x15, N, 0, 0x1C},
    {KEY_Z, 0x5A, 0x2C, N, 0, 0x1D},
    {KEY_1, 0x31, 0x02, N, 0, 0x1E},
    {KEY_2, 0x32, 0x03, N, 0, 0x1F},
    {KEY_3, 0x33, 0x04, N, 0, 0x20},
    {KEY_4, 0x34, 0x05, N, 0, 0x21},
    {KEY_5, 0x35, 0x06, N, 0, 0x22},
    {KEY_6, 0x36, 0x07, N, 0, 0x23},
    {KEY_7, 0x37, 0x08, N, 0, 0x24},
    {KEY_8, 0x38, 0x09, N, 0, 0x25},
    {KEY_9, 0x39, 0x0A, N, 0, 0x26},
    {KEY_0, 0x30, 0x0B, N, 0, 0x27},
    {KEY_ENTER, 0x0D, 0x1C, N, 0, 0x28},
    {KEY_ESC, 0x1B, 0x01, N, 0, 0x29},
    {KEY_BACKSPACE, 0x08, 0x0E, N, 0, 0x2A},
    {KEY_TAB, 0x09, 0x0F, N, 0, 0x2B},
    {KEY_SPACE, 0x20, 0x39, N, 0, 0x2C},
    {KEY_MINUS, 0xBD, 0x0C, N, 0, 0x2D},
    {KEY_EQUAL, 0xBB, 0x0D, N, 0, 0x2E},
    {KEY_LEFTBRACE, 0xDB, 0x1A, N, 0, 0x2F},
    {KEY_RIGHTBRACE, 0xDD, 0x1B, N, 0, 0x30},
    {KEY_BACKSLASH, 0xDC, 0x2B, N, 0, 0x31},
    {KEY_SEMICOLON, 0xBA, 0x27, N, 0, 0x33},
    {KEY_APOSTROPHE, 0xDE, 0x28, N, 0, 0x34},
    {KEY_GRAVE, 0xC0, 0x29, N, 0, 0x35},
    {KEY_COMMA, 0xBC, 0x33, N, 0, 0x36},
    {KEY_DOT, 0xBE, 0x34, N, 0, 0x37},
    {KEY_SLASH, 0xBF, 0x35, N, 0, 0x38},
    {KEY_CAPSLOCK, 0x14, 0x3A, N, 0, 0x39},
    {KEY_F1, 0x70, 0x3B, N, 0, 0x3A},
    {KEY_F2, 0x71, 0x3C, N, 0, 0x3B},
    {KEY_F3, 0x72, 0x3D, N, 0, 0x3C},
    {KEY_F4, 0x73, 0x3E, N, 0, 0x3D},
    {KEY_F5, 0x74, 0x3F, N, 0, 0x3E},
    {KEY_F6, 0x75, 0x40, N, 0, 0x3F},
    {KEY_F7, 0x76, 0x41, N, 0, 0x40},
    {KEY_F8, 0x77, 0x42, N, 0, 0x41},
    {KEY_F9, 0x78, 0x43, N, 0, 0x42},
    {KEY_F10, 0x79, 0x44, N, 0, 0x43},
    {KEY_F11, 0x7A, 0x57, N, 0, 0x44},
    {KEY_F12, 0x7B, 0x58, N, 0, 0x45},
    {KEY_SYSRQ, 0x2C, 0x37, E, 0, 0x46},
    {KEY_SCROLLLOCK, 0x91, 0x46, N, 0, 0x47},
    {KEY_PAUSE, 0x13, 0x45, N, 0, 0x48},
    {KEY_INSERT, 0x2D, 0x52, E, 0, 0x49},
    {KEY_HOME, 0x24, 0x47, E, 0, 0x4A},
    {KEY_PAGEUP, 0x21, 0x49, E, 0, 0x4B},
    {KEY_DELETE, 0x2E, 0x53, E, 0, 0x4C},
    {KEY_END, 0x23, 0x4F, E, 0, 0x4D},
    {KEY_PAGEDOWN, 0x22, 0x51, E, 0, 0x4E},
    {KEY_RIGHT, 0x27, 0x4D, E, 0, 0x4F},
    {KEY_LEFT, 0x25, 0x4B, E, 0, 0x50},
    {KEY_DOWN, 0x28, 0x50, E, 0, 0x51},
    {KEY_UP, 0x26, 0x48, E, 0, 0x52},
    // Num Lock shares its scan code with Pause and is the extended one of the two.
    {KEY_NUMLOCK, 0x90, 0x45, E, 0, 0x53},
    {KEY_KPSLASH, 0x6F, 0x35, E, 0, 0x54},
    {KEY_KPASTERISK, 0x6A, 0x37, N, 0, 0x55},
    {KEY_KPMINUS, 0x6D, 0x4A, N, 0, 0x56},
    {KEY_KPPLUS, 0x6B, 0x4E, N, 0, 0x57},
    // The pad's Enter is Enter with the extended bit.
    {KEY_KPENTER, 0x0D, 0x1C, E, 0, 0x58},
    {KEY_KP1, 0x61, 0x4F, N, 0, 0x59},
    {KEY_KP2, 0x62, 0x50, N, 0, 0x5A},
    {KEY_KP3, 0x63, 0x51, N, 0, 0x5B},
    {KEY_KP4, 0x64, 0x4B, N, 0, 0x5C},
    {KEY_KP5, 0x65, 0x4C, N, 0, 0x5D},
    {KEY_KP6, 0x66, 0x4D, N, 0, 0x5E},
    {KEY_KP7, 0x67, 0x47, N, 0, 0x5F},
    {KEY_KP8, 0x68, 0x48, N, 0, 0x60},
    {KEY_KP9, 0x69, 0x49, N, 0, 0x61},
    {KEY_KP0, 0x60, 0x52, N, 0, 0x62},
    {KEY_KPDOT, 0x6E, 0x53, N, 0, 0x63},
    {KEY_COMPOSE, 0x5D, 0x5D, E, 0, 0x65},
    {KEY_102ND, 0xE2, 0x56, N, 0, 0x64},
    {KEY_RO, 0xC1, 0x73, N, 0, 0x87},
    {KEY_YEN, kVkNone, 0x7D, N, 0, 0x89},
    {KEY_KPCOMMA, 0xC2, 0x7E, N, 0, 0x85},
    {KEY_MUHENKAN, 0x1D, 0x7B, N, 0, 0x8B},
    {KEY_HENKAN, kVkNone, 0x79, N, 0, 0x8A},
    {KEY_KATAKANAHIRAGANA, kVkNone, 0x70, N, 0, 0x88},
    {KEY_HANJA, 0x19, 0x71, N, 0, 0x91},
    {KEY_HANGEUL, kVkNone, 0x72, N, 0, 0x90},
}};

template <class Entry, class Make>
constexpr std::array<Entry, kCaptureKeyCount> Project(Make make) {
    std::array<Entry, kCaptureKeyCount> out{};
    for (std::size_t i = 0; i < kCaptureKeyCount; ++i)
        out[i] = make(kRows[i]);
    return out;
}

constexpr auto kScanCodes = Project<ScanCodeEntry>([](const KeyRow& row) {
    return ScanCodeEntry{row.vk, row.scan, row.extended};
});
constexpr auto kKeyTable = Project<KeyTableEntry>([](const KeyRow& row) {
    return KeyTableEntry{row.vk, 0x20, row.modifierBit, row.usage};
});

} // namespace

std::span<const ScanCodeEntry, kCaptureKeyCount> ScanCodeTable() {
    return kScanCodes;
}

std::span<const KeyTableEntry, kCaptureKeyCount> CaptureKeyTable() {
    return kKeyTable;
}

std::optional<std::size_t> FindScanCodeEntry(std::uint16_t vk, std::uint8_t scan, bool extended) {
    const auto match = [&](const ScanCodeEntry& e) {
        if (e.extended != extended || e.vk != vk)
            return false;
        return vk != kVkNone || e.scan == scan;
    };
    const auto it = std::find_if(kScanCodes.begin(), kScanCodes.end(), match);
    if (it == kScanCodes.end())
        return std::nullopt;
    return static_cast<std::size_t>(it - kScanCodes.begin());
}

std::optional<ScanCodeEntry> TranslateLinuxKey(int linuxKeyCode) {
    const auto it = std::find_if(kRows.begin(), kRows.end(),
                                 [&](const KeyRow& row) { return row.linuxCode == linuxKeyCode; });
    if (it == kRows.end())
        return std::nullopt;
    return ScanCodeEntry{it->vk, it->scan, it->extended};
}

} // namespace platform
