#pragma once
// The keyboard's 26-byte light block: the effect, brightness, speed, direction and colour of
// one device profile, with the system switches and the polling rate riding along.
//
// Device memory holds the active profile number at byte 0; profile p's settings fill the 25
// bytes from 25p + 1. The block is read and written as 26 bytes at 25p, so its byte 0
// overlaps: written it carries the caller's profile byte, read it is replaced by p.

#include "config/ProfileRecords.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace devices {

inline constexpr std::size_t kLightBlockSize = 26;
inline constexpr std::size_t kLightBlockStride = 25;
using LightBlock = std::array<std::uint8_t, kLightBlockSize>;

namespace lightblock {
inline constexpr std::size_t kProfileAt = 0;
inline constexpr std::size_t kEffectAt = 1; // the device's effect code
inline constexpr std::size_t kBrightnessAt = 2;
inline constexpr std::size_t kSpeedAt = 3; // 3 - speed: the device counts the other way
inline constexpr std::size_t kDirectionAt = 4;
inline constexpr std::size_t kMultiColourAt = 5;
inline constexpr std::size_t kRedAt = 6;
inline constexpr std::size_t kGreenAt = 7;
inline constexpr std::size_t kBlueAt = 8;
inline constexpr std::size_t kCleared16At = 16;    // always 0 in the host's copy
inline constexpr std::size_t kProfileGroupAt = 17; // set by a profile switch on the keyboard
inline constexpr std::size_t kZzccLedModeAt = 18;
inline constexpr std::size_t kWFlagAt = 19;
inline constexpr std::size_t kKey6FlagAt = 20;
inline constexpr std::size_t kWinFlagAt = 21;
inline constexpr std::size_t kPollingRateAt = 22; // written only; never read back
inline constexpr std::size_t kCustomGroupAt = 25;
} // namespace lightblock

// Effect indexes of 31 and above are sent as the first entry of the mode list.
inline constexpr int kEffectIndexLimit = 31;
inline constexpr std::uint8_t kMaxSpeed = 3;

struct LightBlockFields {
    std::uint8_t profileByte = 0;
    std::uint8_t effectIndex = 0;
    std::uint8_t brightness = 0;
    std::uint8_t speed = 0;
    std::uint8_t direction = 0;
    std::uint8_t multiColour = 0;
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    std::uint8_t zzccLedMode = 0;
    std::uint8_t wFlag = 0;
    std::uint8_t key6Flag = 0;
    std::uint8_t winFlag = 0;
    std::uint8_t pollingRate = 0;
    std::uint8_t customGroup = 0;

    bool operator==(const LightBlockFields&) const = default;
};

// The device effect code of an effect index: the "value" of that entry of the mode list
// (`modeCodes`, in entry order). An index of 31 or more counts as entry 0; an index with no
// entry is sent as itself, as a code found in no entry is read back as itself.
std::uint8_t EffectCodeOf(std::span<const int> modeCodes, int effectIndex);
// The index of the first entry with that code, else the code itself.
std::uint8_t EffectIndexOf(std::span<const int> modeCodes, int effectCode);

LightBlock BuildLightBlock(const LightBlockFields& fields, std::span<const int> modeCodes);
// The light settings of the fields into their bytes of `block` (effect code, brightness,
// speed, direction, multi-colour, colour, "ZZCCLedMode", custom group); the others stay.
void PutLightSettings(LightBlock& block, const LightBlockFields& fields,
                      std::span<const int> modeCodes);
// The fields of a light-info record; the profile byte and the system settings stay 0.
LightBlockFields FieldsOfLightInfo(const config::LightInfoRecord& record);
// Fields from a block as read; the polling rate is not read back (left 0) and a speed byte
// above 3 is taken as 3.
LightBlockFields ParseLightBlock(const LightBlock& block, std::span<const int> modeCodes);

constexpr std::uint16_t LightBlockOffset(int deviceProfile) {
    return static_cast<std::uint16_t>(kLightBlockStride * static_cast<std::size_t>(deviceProfile));
}

} // namespace devices
