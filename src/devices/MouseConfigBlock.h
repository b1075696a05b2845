#pragma once
// The mouse's configuration block: 66 bytes at page × 128 of its memory holding the lighting,
// the report rate, the five DPI stages, the current stage, the screen size and the pointer
// correction. Reading it back gives 71 bytes whose first 66 have the same layout.

#include "config/ProfileRecords.h"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace devices {

// A DPI stage as the profile and the mouse keep it, 9 bytes in wire order: enable flag, XY
// flag, DPI X and DPI Y (slider positions, low byte first), red, green, blue.
using DpiStageRecord = config::DpiStage;

inline constexpr std::size_t kMouseConfigBlockSize = 66;
inline constexpr std::size_t kMouseStateBlockSize = 71;
inline constexpr std::size_t kMousePageSize = 128;
inline constexpr int kMouseStageCount = 5;
inline constexpr int kMouseReportRateCount = 5;
// A light mode index of this or above is sent as the first mode.
inline constexpr int kMouseModeIndexLimit = 10;

using MouseConfigBlock = std::array<std::uint8_t, kMouseConfigBlockSize>;
using MouseStateBlock = std::array<std::uint8_t, kMouseStateBlockSize>;

namespace mouseblock {
inline constexpr std::size_t kFirstAt = 0;
inline constexpr std::size_t kModeAt = 1;
inline constexpr std::size_t kBrightnessAt = 2;
inline constexpr std::size_t kSpeedAt = 3; // 3 − speed
inline constexpr std::size_t kDirectionAt = 4;
inline constexpr std::size_t kMultiColourAt = 5;
inline constexpr std::size_t kRedAt = 6;
inline constexpr std::size_t kGreenAt = 7;
inline constexpr std::size_t kBlueAt = 8;
inline constexpr std::size_t kReportRateAt = 11;
inline constexpr std::size_t kCurrentStageAt = 12;
inline constexpr std::size_t kStagesAt = 14; // 9 bytes per stage
inline constexpr std::size_t kByte59At = 59;
inline constexpr std::size_t kScreenWidthAt = 60;
inline constexpr std::size_t kScreenHeightAt = 62;
inline constexpr std::size_t kCorrectMinSqAt = 64;
inline constexpr std::size_t kCorrectPixThreshAt = 65;
inline constexpr int kSpeedBase = 3;
} // namespace mouseblock

// What a block is built from.
struct MouseConfigFields {
    std::uint8_t firstByte = 0;
    std::uint8_t byte59 = 1;
    config::LightInfoRecord light;
    config::SystemStageWords system; // value 5: the report-rate index
    int currentStage = 0;
    std::vector<DpiStageRecord> stages;            // the first five are sent, missing ones as 0
    std::vector<config::CorrectEntry> corrections; // the first selected one is sent
    std::uint16_t screenWidth = 0;
    std::uint16_t screenHeight = 0;
};

// `modeCodes`: the device's light-mode codes in list order. A mode index with no code is sent
// as itself. A report rate or current stage outside 0 to 4 goes as 0.
MouseConfigBlock BuildMouseConfigBlock(const MouseConfigFields& fields,
                                       std::span<const int> modeCodes);

// The light mode code of a mode index (an index of 10 or above counts as 0), and back: the
// first list position holding the code, else the code itself.
std::uint8_t MouseModeCodeOf(std::span<const int> modeCodes, int modeIndex);
std::uint8_t MouseModeIndexOf(std::span<const int> modeCodes, int modeCode);

// The memory offset of page `page`'s block.
std::uint16_t MouseConfigOffset(int page);

// What the host takes from a block read back.
struct MouseBlockState {
    std::uint8_t modeIndex = 0;
    std::uint8_t brightness = 0;
    std::uint8_t speed = 0;
    std::uint8_t multiColour = 0;
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    std::uint8_t currentStage = 0;
};
MouseBlockState ParseMouseStateBlock(std::span<const std::uint8_t, kMouseStateBlockSize> block,
                                     std::span<const int> modeCodes);

} // namespace devices
