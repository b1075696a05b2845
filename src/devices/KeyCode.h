#pragma once
// KeyCode: the three-byte function of a key or mouse button (type, parameter, parameter), as
// the keyboard and the mouse store it in their key tables and as profiles keep it in
// "KeyList". KeyRecord: one on-screen key's current and default function.
//
// As a number a code is type << 16 | param1 << 8 | param2; as text it is six upper-case
// hexadecimal digits ("20002C" is the space bar, "A00100" the Fn key).

#include "config/ProfileRecords.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace devices {

// Function types (the first byte of a code).
inline constexpr std::uint8_t kKeyTypeMouseButton = 0x10;
inline constexpr std::uint8_t kKeyTypeMouseSwing = 0x11;
inline constexpr std::uint8_t kKeyTypeMouseWheel = 0x12;
inline constexpr std::uint8_t kKeyTypeDpi = 0x13;
inline constexpr std::uint8_t kKeyTypeMouseFire = 0x14; // repeated click: interval, count
inline constexpr std::uint8_t kKeyTypeKeyboard = 0x20;  // modifier bits, HID keyboard usage
inline constexpr std::uint8_t kKeyTypeConsumer = 0x30;  // consumer usage, low byte first
inline constexpr std::uint8_t kKeyTypeSystem = 0x40;
inline constexpr std::uint8_t kKeyTypeMacro = 0x70;      // macro number, repeat mode 0-3
inline constexpr std::uint8_t kKeyTypeMacroTimes = 0x71; // macro number, repeat count
inline constexpr std::uint8_t kKeyTypeGunKey = 0x72;     // gun-key list entry
inline constexpr std::uint8_t kKeyTypeSpecial = 0xA0;    // keyboard special key (Fn is A0 01 00)
inline constexpr std::uint8_t kKeyTypeSpecialD0 = 0xD0;  // keyboard special key D0 A2 1-5

// Mouse button bits (param1 of type 0x10).
inline constexpr std::uint8_t kMouseLeft = 0x01;
inline constexpr std::uint8_t kMouseRight = 0x02;
inline constexpr std::uint8_t kMouseMiddle = 0x04;
inline constexpr std::uint8_t kMouseBack = 0x08;
inline constexpr std::uint8_t kMouseForward = 0x10;

// Modifier bits (param1 of type 0x20).
inline constexpr std::uint8_t kModLeftCtrl = 0x01;
inline constexpr std::uint8_t kModLeftShift = 0x02;
inline constexpr std::uint8_t kModLeftAlt = 0x04;
inline constexpr std::uint8_t kModLeftWin = 0x08;
inline constexpr std::uint8_t kModRightCtrl = 0x10;
inline constexpr std::uint8_t kModRightShift = 0x20;
inline constexpr std::uint8_t kModRightAlt = 0x40;
inline constexpr std::uint8_t kModRightWin = 0x80;

// Set in param2 of a swing or wheel code when the second entry of its direction list is
// chosen.
inline constexpr std::uint8_t kMotionSecondChoice = 0x80;

struct KeyCode {
    std::uint8_t type = 0;
    std::uint8_t param1 = 0;
    std::uint8_t param2 = 0;

    constexpr std::uint32_t Value() const {
        return std::uint32_t{type} << 16 | std::uint32_t{param1} << 8 | param2;
    }
    static constexpr KeyCode FromValue(std::uint32_t value) {
        return {static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 8),
                static_cast<std::uint8_t>(value)};
    }
    constexpr bool IsMacro() const { return type == kKeyTypeMacro || type == kKeyTypeMacroTimes; }
    constexpr bool operator==(const KeyCode&) const = default;
};
static_assert(sizeof(KeyCode) == 3);

// The on-screen table's filler for positions without a key.
inline constexpr KeyCode kEmptyKeyCode{kKeyTypeKeyboard, 0, 0};
inline constexpr KeyCode kFnKeyCode{kKeyTypeSpecial, 0x01, 0};

// "%06X" of the code's number.
inline std::string KeyCodeToText(KeyCode code) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    const std::uint32_t value = code.Value();
    std::string text(6, '0');
    for (int i = 0; i < 6; ++i)
        text[5 - i] = kDigits[(value >> (4 * i)) & 0xF];
    return text;
}

// Exactly six hexadecimal digits, either case; nothing else (no sign, prefix or spaces).
inline std::optional<KeyCode> KeyCodeFromText(std::string_view text) {
    if (text.size() != 6)
        return std::nullopt;
    std::uint32_t value = 0;
    for (char c : text) {
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else
            return std::nullopt;
        value = value << 4 | static_cast<std::uint32_t>(digit);
    }
    return KeyCode::FromValue(value);
}

// ---- Building codes ----

constexpr KeyCode MouseButtonCode(std::uint8_t buttonBit) {
    return {kKeyTypeMouseButton, buttonBit, 0};
}
// Swing: the second choice sets bit 7 and keeps the count in the low seven bits.
constexpr KeyCode MouseSwingCode(int delay, int speed, int count, bool secondChoice) {
    const auto timing = static_cast<std::uint8_t>((delay & 0x0F) << 4 | (speed & 0x0F));
    const auto low = static_cast<std::uint8_t>(count & 0x7F);
    return {kKeyTypeMouseSwing, timing,
            static_cast<std::uint8_t>(secondChoice ? (kMotionSecondChoice | low) : low)};
}
// Wheel: the second choice is the count negated as a signed byte (0x80 | (128 - count)).
constexpr KeyCode MouseWheelCode(int delay, int speed, int count, bool secondChoice) {
    const auto timing = static_cast<std::uint8_t>((delay & 0x0F) << 4 | (speed & 0x0F));
    const auto low = static_cast<std::uint8_t>(count & 0x7F);
    const auto negated = static_cast<std::uint8_t>(kMotionSecondChoice | ((128 - count) & 0x7F));
    return {kKeyTypeMouseWheel, timing, secondChoice ? negated : low};
}
// entry: 1, 2 or 3.
constexpr KeyCode DpiCode(std::uint8_t entry) {
    return {kKeyTypeDpi, entry, 0};
}
constexpr KeyCode MouseFireCode(std::uint8_t interval, std::uint8_t count) {
    return {kKeyTypeMouseFire, interval, count};
}
// usage 0 with modifiers is a modifier alone.
constexpr KeyCode KeyboardCode(std::uint8_t modifiers, std::uint8_t usage) {
    return {kKeyTypeKeyboard, modifiers, usage};
}
constexpr KeyCode ConsumerCode(std::uint16_t usage) {
    return {kKeyTypeConsumer, static_cast<std::uint8_t>(usage & 0xFF),
            static_cast<std::uint8_t>(usage >> 8)};
}
// bit: 0x01, 0x02 or 0x04.
constexpr KeyCode SystemCode(std::uint8_t bit) {
    return {kKeyTypeSystem, bit, 0};
}
// repeatMode: 0-3.
constexpr KeyCode MacroCode(std::uint8_t macroNumber, std::uint8_t repeatMode) {
    return {kKeyTypeMacro, macroNumber, repeatMode};
}
constexpr KeyCode MacroTimesCode(std::uint8_t macroNumber, std::uint8_t repeatCount) {
    return {kKeyTypeMacroTimes, macroNumber, repeatCount};
}
constexpr KeyCode GunKeyCode(std::uint8_t entry) {
    return {kKeyTypeGunKey, entry, 0};
}

// ---- Splitting codes ----

// The parts of a swing or wheel code.
struct MouseMotion {
    int delay = 0;
    int speed = 0;
    int count = 0;
    bool secondChoice = false;
};
constexpr MouseMotion SplitMouseMotion(KeyCode code) {
    MouseMotion motion;
    motion.delay = code.param1 >> 4;
    motion.speed = code.param1 & 0x0F;
    motion.secondChoice = (code.param2 & kMotionSecondChoice) != 0;
    const int low = code.param2 & 0x7F;
    motion.count = code.type == kKeyTypeMouseWheel && motion.secondChoice ? 128 - low : low;
    return motion;
}
constexpr std::uint16_t ConsumerUsage(KeyCode code) {
    return static_cast<std::uint16_t>(code.param1 | code.param2 << 8);
}

// ---- Preset lists, in list order ----

inline constexpr std::array<KeyCode, 5> kMouseKeyPresets{
    MouseButtonCode(kMouseLeft), MouseButtonCode(kMouseMiddle), MouseButtonCode(kMouseRight),
    MouseButtonCode(kMouseForward), MouseButtonCode(kMouseBack)};
inline constexpr std::array<KeyCode, 3> kDpiPresets{DpiCode(1), DpiCode(2), DpiCode(3)};
inline constexpr std::array<std::uint16_t, 18> kMediaUsages{
    0x0183, 0x00CD, 0x00B7, 0x00B6, 0x00B5, 0x00EA, 0x00E9, 0x00E2, 0x0223,
    0x0227, 0x0226, 0x0224, 0x0225, 0x022A, 0x0221, 0x0194, 0x0192, 0x018A};
inline constexpr std::array<KeyCode, 3> kSystemPresets{SystemCode(0x01), SystemCode(0x02),
                                                       SystemCode(0x04)};
inline constexpr std::array<std::uint8_t, 11> kComboUsages{0x12, 0x11, 0x1D, 0x16, 0x06, 0x1B,
                                                           0x19, 0x09, 0x04, 0x2D, 0x2E};
constexpr KeyCode MediaPreset(std::size_t i) {
    return ConsumerCode(kMediaUsages[i]);
}
constexpr KeyCode ComboPreset(std::size_t i) {
    return KeyboardCode(kModLeftCtrl, kComboUsages[i]);
}

// ---- KeyRecord ----

// One on-screen key's entry of the profile's key list; 12 bytes laid out as the device
// program keeps it (index, code, spare byte, index again, default code, spare byte).
struct KeyRecord {
    std::uint16_t keyIndex = 0;
    KeyCode code;
    std::uint8_t spare = 0;
    std::uint16_t defaultKeyIndex = 0;
    KeyCode defaultCode;
    std::uint8_t defaultSpare = 0;

    void RestoreDefault() { code = defaultCode; }
    bool operator==(const KeyRecord&) const = default;
};
static_assert(sizeof(KeyRecord) == 12);

inline KeyRecord KeyRecordFromEntry(const config::KeyListEntry& entry) {
    KeyRecord record;
    record.keyIndex = entry.current.keyIndex;
    record.code = {entry.current.code[0], entry.current.code[1], entry.current.code[2]};
    record.defaultKeyIndex = entry.defaults.keyIndex;
    record.defaultCode = {entry.defaults.code[0], entry.defaults.code[1], entry.defaults.code[2]};
    return record;
}

inline config::KeyListEntry KeyRecordToEntry(const KeyRecord& record) {
    config::KeyListEntry entry;
    entry.current.keyIndex = record.keyIndex;
    entry.current.code = {record.code.type, record.code.param1, record.code.param2};
    entry.defaults.keyIndex = record.defaultKeyIndex;
    entry.defaults.code = {record.defaultCode.type, record.defaultCode.param1,
                           record.defaultCode.param2};
    return entry;
}

} // namespace devices
