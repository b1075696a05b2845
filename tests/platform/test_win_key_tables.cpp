// Linux key codes translated into the records of captured keys, and the capture tables.

#include "platform/WinKeyTables.h"

#include <gtest/gtest.h>
#include <linux/input-event-codes.h>
#include <set>
#include <utility>

namespace {

using platform::ScanCodeEntry;

void ExpectKey(int linuxCode, std::uint16_t vk, std::uint8_t scan, bool extended) {
    const auto key = platform::TranslateLinuxKey(linuxCode);
    ASSERT_TRUE(key.has_value()) << linuxCode;
    EXPECT_EQ(key->vk, vk) << linuxCode;
    EXPECT_EQ(key->scan, scan) << linuxCode;
    EXPECT_EQ(key->extended, extended) << linuxCode;
}

TEST(WinKeyTables, TranslatesKeysAsTheSystemReportsThem) {
    ExpectKey(KEY_A, 0x41, 0x1E, false);
    ExpectKey(KEY_1, 0x31, 0x02, false);
    ExpectKey(KEY_F12, 0x7B, 0x58, false);
    ExpectKey(KEY_LEFTCTRL, 0xA2, 0x1D, false);
    // The right-hand keys share the left ones' scan codes and differ by the extended bit.
    ExpectKey(KEY_RIGHTCTRL, 0xA3, 0x1D, true);
    ExpectKey(KEY_RIGHTALT, 0xA5, 0x38, true);
    ExpectKey(KEY_RIGHTSHIFT, 0xA1, 0x36, false);
    // Enter and the pad's Enter have one virtual-key code.
    ExpectKey(KEY_ENTER, 0x0D, 0x1C, false);
    ExpectKey(KEY_KPENTER, 0x0D, 0x1C, true);
    // The navigation block is extended; the pad's digits are the digits, Num Lock or not.
    ExpectKey(KEY_HOME, 0x24, 0x47, true);
    ExpectKey(KEY_KP7, 0x67, 0x47, false);
    ExpectKey(KEY_PAUSE, 0x13, 0x45, false);
    ExpectKey(KEY_NUMLOCK, 0x90, 0x45, true);
}

TEST(WinKeyTables, KeyCodesOfTheWindowSystemAreOffsetByEight) {
    const auto a = platform::TranslateXkbKeycode(KEY_A + platform::kXkbKeycodeOffset);
    ASSERT_TRUE(a.has_value());
    EXPECT_EQ(a->vk, 0x41);
    // 0 is what platforms without key codes (offscreen) report; it and the offset itself
    // are no key.
    EXPECT_FALSE(platform::TranslateXkbKeycode(0).has_value());
    EXPECT_FALSE(platform::TranslateXkbKeycode(platform::kXkbKeycodeOffset).has_value());
    // Keys the tables do not have: media keys, the power key, unknown codes.
    for (int code : {KEY_VOLUMEUP, KEY_POWER, KEY_MUTE, KEY_F13, -1, 0x2FF})
        EXPECT_FALSE(platform::TranslateLinuxKey(code).has_value()) << code;
}

TEST(WinKeyTables, EveryKeyIsFoundAgainAtItsOwnPosition) {
    const auto scanCodes = platform::ScanCodeTable();
    std::set<std::pair<int, int>> seen;
    for (std::size_t i = 0; i < scanCodes.size(); ++i) {
        const ScanCodeEntry& e = scanCodes[i];
        EXPECT_TRUE(seen.insert({e.scan, e.extended}).second)
            << "scan code " << int(e.scan) << " twice";
        const auto found = platform::FindScanCodeEntry(e.vk, e.scan, e.extended);
        ASSERT_TRUE(found.has_value()) << i;
        EXPECT_EQ(*found, i);
    }
    // Keys without a virtual-key code of their own are told apart by scan code.
    EXPECT_FALSE(platform::FindScanCodeEntry(platform::kVkNone, 0x7C, false).has_value());
    // Enter without the extended bit is not the pad's Enter.
    const auto enter = platform::FindScanCodeEntry(0x0D, 0x1C, false);
    const auto padEnter = platform::FindScanCodeEntry(0x0D, 0x1C, true);
    ASSERT_TRUE(enter && padEnter);
    EXPECT_EQ(platform::CaptureKeyTable()[*enter].usage, 0x28);
    EXPECT_EQ(platform::CaptureKeyTable()[*padEnter].usage, 0x58);
}

TEST(WinKeyTables, TheKeyTableHasEightModifiersAndOneUsagePerKey) {
    std::set<int> usages;
    std::set<int> modifierBits;
    for (const platform::KeyTableEntry& e : platform::CaptureKeyTable()) {
        EXPECT_EQ(e.group, 0x20);
        if (e.IsModifier())
            EXPECT_TRUE(modifierBits.insert(e.modifierBit).second);
        else
            EXPECT_TRUE(usages.insert(e.usage).second) << "usage " << int(e.usage) << " twice";
    }
    EXPECT_EQ(modifierBits, (std::set<int>{1, 2, 4, 8, 16, 32, 64, 128}));
    EXPECT_EQ(usages.size(), platform::kCaptureKeyCount - 8);
    // Left Shift is modifier bit 2, A is usage 4 (what a recorded macro event carries).
    const auto shift = platform::TranslateLinuxKey(KEY_LEFTSHIFT);
    const auto index = platform::FindScanCodeEntry(shift->vk, shift->scan, shift->extended);
    EXPECT_EQ(platform::CaptureKeyTable()[*index].modifierBit, 2);
}

} // namespace
