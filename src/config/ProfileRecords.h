#pragma once
// The in-memory records that the groups of a profile's device record are read into. Records
// that stand for a block of device memory are byte-exact; their sizes are checked here.
// Values wider than a field are truncated to it without a check.

#include <array>
#include <cstdint>
#include <string>

namespace config {

// "LightInfo".
struct LightInfoRecord {
    std::uint8_t selectItem = 0; // index of the selected effect
    std::uint8_t light = 0;      // brightness level
    std::uint8_t speed = 0;
    std::uint8_t fx = 0; // effect option
    std::uint8_t multiColor = 0;
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    std::uint8_t reserved[3] = {};
    std::uint8_t zzccLedMode = 0;
    std::uint8_t customGroup = 0;
    std::uint8_t oldLedMode = 0;

    bool operator==(const LightInfoRecord&) const = default;
};
static_assert(sizeof(LightInfoRecord) == 14);

// "AudioLightInfo" (keyboard).
struct AudioLightRecord {
    std::uint8_t audioMode = 0;
    std::uint8_t bkRed = 0;
    std::uint8_t bkGreen = 0;
    std::uint8_t bkBlue = 0;
    std::uint8_t fgRed = 0;
    std::uint8_t fgGreen = 0;
    std::uint8_t fgBlue = 0;
    std::uint8_t sevenColorFlags = 0;
    std::uint8_t colorTypeFlags = 0;

    bool operator==(const AudioLightRecord&) const = default;
};
static_assert(sizeof(AudioLightRecord) == 9);

// One built-in effect of "LightList"; `present` is 0 when the element was null.
struct LightListEntry {
    std::uint8_t mode = 0;
    std::uint8_t brightness = 0;
    std::uint8_t speed = 0;
    std::uint8_t direction = 0;
    std::uint8_t multiColor = 0;
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    std::uint8_t present = 0;

    bool operator==(const LightListEntry&) const = default;
};

// One step of a recorded light effect (".light" file, "LEDEffectList").
struct LightEffectStep {
    std::uint8_t mode = 0;
    std::uint8_t brightness = 0;
    std::uint8_t speed = 0;
    std::uint8_t direction = 0;
    std::uint8_t multiColor = 0;
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    std::int32_t time = 0;
    std::int32_t cycle = 0;

    bool operator==(const LightEffectStep&) const = default;
};

// A key's index and its three assignment bytes, stored packed as (b0 << 16) | (b1 << 8) | b2.
struct KeyAssignment {
    std::uint16_t keyIndex = 0;
    std::array<std::uint8_t, 3> code{};

    bool operator==(const KeyAssignment&) const = default;
};

// "KeyList"[i]: "Assignment" and "DefaultAssignment".
struct KeyListEntry {
    KeyAssignment current;
    KeyAssignment defaults;

    bool operator==(const KeyListEntry&) const = default;
};

// Six 16-bit values in three 32-bit words, the first of each pair in the low half. The
// keyboard keeps its "SystemStages" so, the mouse its "SystemStages" and report rate.
struct SystemStageWords {
    std::array<std::uint32_t, 3> words{};

    std::uint16_t Value(int i) const {
        return static_cast<std::uint16_t>(words[i / 2] >> (i % 2 * 16));
    }
    void SetValue(int i, std::uint16_t value) {
        const int shift = i % 2 * 16;
        words[i / 2] = (words[i / 2] & ~(0xFFFFu << shift)) | (std::uint32_t{value} << shift);
    }
    bool operator==(const SystemStageWords&) const = default;
};
static_assert(sizeof(SystemStageWords) == 12);

// The values of a mouse's system words: word 1 double-click value and pointer speed, word 2
// pointer precision and page scrolling, word 3 wheel lines and the report-rate index.
namespace mouse_system {
enum Value : int {
    kDoubleClick = 0,
    kPointerSpeed = 1,
    kPointerPrecision = 2,
    kPageScrolling = 3,
    kWheelLines = 4,
    kReportRate = 5,
};
} // namespace mouse_system

// A colour entry of "CustomLightMode".
struct RgbaColor {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    std::uint8_t alpha = 0;

    bool operator==(const RgbaColor&) const = default;
};
static_assert(sizeof(RgbaColor) == 4);

// A DPI stage of "DPIStages"."StageDPIs"; the DPI values are 16-bit, low byte first.
struct DpiStage {
    std::uint8_t enable = 0;
    std::uint8_t xy = 0;
    std::uint8_t dpiX[2] = {};
    std::uint8_t dpiY[2] = {};
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    std::uint16_t DpiX() const { return static_cast<std::uint16_t>(dpiX[0] | dpiX[1] << 8); }
    std::uint16_t DpiY() const { return static_cast<std::uint16_t>(dpiY[0] | dpiY[1] << 8); }
    void SetDpiX(std::uint16_t dpi) { dpiX[0] = dpi & 0xFF, dpiX[1] = dpi >> 8; }
    void SetDpiY(std::uint16_t dpi) { dpiY[0] = dpi & 0xFF, dpiY[1] = dpi >> 8; }
    bool operator==(const DpiStage&) const = default;
};
static_assert(sizeof(DpiStage) == 9);

// An element of "CorrectInfo" (mouse).
struct CorrectEntry {
    std::uint8_t pixThresh = 0;
    std::uint8_t minSq = 0;
    std::uint8_t select = 0;
    std::wstring name;

    bool operator==(const CorrectEntry&) const = default;
};

// "SystemSetStages" (headset).
struct HeadsetSettings {
    std::int32_t magicEnable = 0;
    std::int32_t magicType = 0;
    std::int32_t eqType = 0;
    std::int32_t customEqSelectIndex = 0;
    std::int32_t micInSelect = 0;
    std::int32_t micInValue = 0;
    std::int32_t micMonitorSelect = 0;
    std::int32_t micMonitorValue = 0;

    bool operator==(const HeadsetSettings&) const = default;
};
static_assert(sizeof(HeadsetSettings) == 32);

} // namespace config
