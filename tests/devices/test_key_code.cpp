// The key code format: numbers, text, builders and the profile key-list conversion.

#include "devices/KeyCode.h"

#include <gtest/gtest.h>

using namespace devices;

TEST(KeyCode, TextFormIsSixUpperCaseDigitsBothWays) {
    EXPECT_EQ(KeyCodeToText(kFnKeyCode), "A00100");
    EXPECT_EQ(KeyCodeToText(KeyboardCode(0, 0x2C)), "20002C");
    EXPECT_EQ(KeyCodeToText(KeyCode{0, 0, 1}), "000001");
    EXPECT_EQ(KeyCodeFromText("d0a2ff"), (KeyCode{0xD0, 0xA2, 0xFF}));
    for (const char* bad : {"", "20002", "2000200", "20002G", " 20002", "+20002", "0x2000"})
        EXPECT_FALSE(KeyCodeFromText(bad).has_value()) << bad;
    const KeyCode code{0x71, 0x05, 0x09};
    EXPECT_EQ(KeyCodeFromText(KeyCodeToText(code)), code);
    EXPECT_EQ(KeyCode::FromValue(code.Value()), code);
    EXPECT_EQ(code.Value(), 0x710509u);
}

TEST(KeyCode, MotionCodesSplitBackIntoTheirParts) {
    const KeyCode wheelDown = MouseWheelCode(3, 5, 7, true);
    EXPECT_EQ(wheelDown, (KeyCode{0x12, 0x35, 0xF9})); // -7 as a signed byte
    const MouseMotion down = SplitMouseMotion(wheelDown);
    EXPECT_EQ(down.delay, 3);
    EXPECT_EQ(down.speed, 5);
    EXPECT_EQ(down.count, 7);
    EXPECT_TRUE(down.secondChoice);

    const KeyCode swing = MouseSwingCode(0x1F, 2, 200, true); // both fields masked
    EXPECT_EQ(swing, (KeyCode{0x11, 0xF2, 0x80 | (200 & 0x7F)}));
    EXPECT_EQ(SplitMouseMotion(swing).count, 200 & 0x7F);
}

TEST(KeyCode, PresetsAndConsumerUsagesAreLittleEndian) {
    EXPECT_EQ(MediaPreset(0), (KeyCode{0x30, 0x83, 0x01}));
    EXPECT_EQ(ConsumerUsage(MediaPreset(17)), 0x018A);
    EXPECT_EQ(ComboPreset(10), (KeyCode{0x20, 0x01, 0x2E}));
    EXPECT_EQ(kMouseKeyPresets[1], (KeyCode{0x10, 0x04, 0x00}));
}

TEST(KeyCode, KeyRecordRoundTripsThroughTheProfileEntry) {
    KeyRecord record;
    record.keyIndex = 51;
    record.code = MacroCode(4, 2);
    record.defaultKeyIndex = 51;
    record.defaultCode = KeyboardCode(0, 0x12);
    EXPECT_EQ(KeyRecordFromEntry(KeyRecordToEntry(record)), record);
    record.RestoreDefault();
    EXPECT_EQ(record.code, record.defaultCode);
}
