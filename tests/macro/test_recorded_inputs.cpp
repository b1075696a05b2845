// Which keys and mouse buttons a recording keeps, and the events they become.

#include "RecorderTestKit.h"
#include "macro/CapturedKey.h"
#include "macro/MouseButtonTable.h"

#include <gtest/gtest.h>

namespace {

using namespace macro;
using namespace macro::testkit;

struct RecordedInputs : ::testing::Test {
    RecordedInputs() { recorder.Start(TimingMode::Ignored, RecordPlace::Append, 0, 0); }
    config::MacroEvent Only() {
        EXPECT_EQ(list.events.size(), 1u);
        return list.events.empty() ? config::MacroEvent{} : list.events.front();
    }
    MacroEventList list;
    MacroRecorder recorder{list};
};

TEST(CapturedKey, ModifiersGiveTheirBitOtherKeysTheirUsage) {
    const auto expect = [](int linuxKey, std::uint8_t type, std::uint8_t button) {
        const std::optional<CapturedKey> key = CaptureLinuxKey(linuxKey);
        ASSERT_TRUE(key.has_value()) << linuxKey;
        EXPECT_EQ(key->type, type) << linuxKey;
        EXPECT_EQ(key->button, button) << linuxKey;
    };
    expect(KEY_LEFTSHIFT, config::kMacroModifierKey, 2);
    expect(KEY_RIGHTCTRL, config::kMacroModifierKey, 16);
    expect(KEY_RIGHTMETA, config::kMacroModifierKey, 128);
    expect(KEY_A, config::kMacroKey, 4);
    expect(KEY_KPENTER, config::kMacroKey, 0x58);
    // The lock keys are recorded as keys.
    expect(KEY_CAPSLOCK, config::kMacroKey, 0x39);
    expect(KEY_NUMLOCK, config::kMacroKey, 0x53);
    expect(KEY_SCROLLLOCK, config::kMacroKey, 0x47);
    EXPECT_FALSE(CaptureLinuxKey(KEY_F13).has_value());
}

TEST(CapturedKey, EveryTableKeyReachedFromLinuxLandsOnItsOwnPosition) {
    // Two table keys sharing a position would record one as the other.
    std::vector<bool> seen(platform::kCaptureKeyCount, false);
    for (int code = 0; code < KEY_MAX; ++code) {
        const std::optional<CapturedKey> key = CaptureLinuxKey(code);
        if (!key)
            continue;
        EXPECT_FALSE(seen[key->tablePosition]) << code;
        seen[key->tablePosition] = true;
    }
    EXPECT_EQ(std::count(seen.begin(), seen.end(), true),
              static_cast<long>(platform::kCaptureKeyCount));
}

TEST_F(RecordedInputs, KeysFromTheKeyCaptureRecordLikeLinuxKeys) {
    platform::KeyboardHookRecord rightCtrl;
    rightCtrl.vkCode = 0xA3;
    rightCtrl.scanCode = 0x1D;
    rightCtrl.flags = platform::kHookFlagExtended;
    recorder.OnHookKey(platform::kMsgKeyDown, rightCtrl, 5);
    recorder.OnHookKey(platform::kMsgSysKeyUp, rightCtrl, 6);
    EXPECT_EQ(list.events,
              (std::vector<config::MacroEvent>{{config::kMacroModifierKey, true, 16},
                                               {config::kMacroModifierKey, false, 16}}));
    platform::KeyboardHookRecord unknown;
    unknown.vkCode = 0xAD; // volume mute
    EXPECT_EQ(recorder.OnHookKey(platform::kMsgKeyDown, unknown, 7).kind, RecordResult::Dropped);
}

TEST_F(RecordedInputs, AHeldKeyRecordsOnePressAndOneRelease) {
    recorder.OnKey(Down(KEY_A, 0));
    // X11 repeats as release/press pairs, the key capture as bare presses.
    for (Milliseconds t = 500; t < 1000; t += 33) {
        recorder.OnKey(Up(KEY_A, t, true));
        recorder.OnKey(Down(KEY_A, t, true));
    }
    recorder.OnKey(Down(KEY_A, 1001));
    recorder.OnKey(Up(KEY_A, 1002));
    EXPECT_EQ(list.events, (std::vector{KeyEvent(kUsageA, true, 0), KeyEvent(kUsageA, false, 0)}));
    // Released, the key is pressed anew.
    recorder.OnKey(Down(KEY_A, 1003));
    EXPECT_EQ(list.events.size(), 3u);
}

TEST_F(RecordedInputs, MouseButtonsGiveTheirBit) {
    recorder.OnMouse(Press(MouseButton::Left, 1));
    recorder.OnMouse(Press(MouseButton::Right, 2));
    recorder.OnMouse(Press(MouseButton::Middle, 3));
    recorder.OnMouse(Press(MouseButton::Back, 4));
    recorder.OnMouse(Release(MouseButton::Forward, 5));
    EXPECT_EQ(list.events,
              (std::vector{ButtonEvent(1, true), ButtonEvent(2, true), ButtonEvent(4, true),
                           ButtonEvent(8, true), ButtonEvent(16, false)}));
}

TEST_F(RecordedInputs, TheRepeatedMouseStateIsDropped) {
    recorder.OnMouse(Press(MouseButton::Left, 1));
    EXPECT_EQ(recorder.OnMouse(Press(MouseButton::Left, 2)).kind, RecordResult::Dropped);
    recorder.OnMouse(Release(MouseButton::Left, 3));
    EXPECT_EQ(list.events, (std::vector{ButtonEvent(1, true), ButtonEvent(1, false)}));
}

TEST_F(RecordedInputs, BothExtraButtonsAreRecordedThoughTheyShareTheirMessages) {
    recorder.OnHookMouse(platform::kMsgExtraButtonDown, 1u << 16, {}, 1);
    recorder.OnHookMouse(platform::kMsgExtraButtonDown, 2u << 16, {}, 2);
    recorder.OnHookMouse(platform::kMsgExtraButtonUp, 2u << 16, {}, 3);
    recorder.OnHookMouse(platform::kMsgExtraButtonUp, 1u << 16, {}, 4);
    EXPECT_EQ(recorder.OnHookMouse(platform::kMsgExtraButtonDown, 3u << 16, {}, 5).kind,
              RecordResult::Dropped);
    EXPECT_EQ(list.events, (std::vector{ButtonEvent(8, true), ButtonEvent(16, true),
                                        ButtonEvent(16, false), ButtonEvent(8, false)}));
}

TEST_F(RecordedInputs, TheClickOnTheStopButtonIsNotRecorded) {
    recorder.SetStopButtonRect({100, 50, 180, 80});
    // A right click on the button, and a left click beside it, are ordinary input.
    recorder.OnMouse(Press(MouseButton::Right, 1, {120, 60}));
    recorder.OnMouse(Release(MouseButton::Right, 2, {120, 60}));
    recorder.OnMouse(Press(MouseButton::Left, 3, {180, 60}));
    recorder.OnMouse(Release(MouseButton::Left, 4, {180, 60}));
    EXPECT_EQ(recorder.OnMouse(Press(MouseButton::Left, 5, {100, 50})).kind, RecordResult::Dropped);
    EXPECT_EQ(recorder.OnMouse(Release(MouseButton::Left, 6, {179, 79})).kind,
              RecordResult::Dropped);
    recorder.Stop();
    EXPECT_EQ(list.events, (std::vector{ButtonEvent(2, true), ButtonEvent(2, false),
                                        ButtonEvent(1, true), ButtonEvent(1, false)}));
}

} // namespace
