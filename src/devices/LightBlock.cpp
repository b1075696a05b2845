#include "devices/LightBlock.h"

#include <algorithm>

namespace devices {

using namespace lightblock;

std::uint8_t EffectCodeOf(std::span<const int> modeCodes, int effectIndex) {
    if (effectIndex >= kEffectIndexLimit || effectIndex < 0)
        effectIndex = 0;
    if (static_cast<std::size_t>(effectIndex) < modeCodes.size())
        return static_cast<std::uint8_t>(modeCodes[static_cast<std::size_t>(effectIndex)]);
    return static_cast<std::uint8_t>(effectIndex);
}

std::uint8_t EffectIndexOf(std::span<const int> modeCodes, int effectCode) {
    const auto found = std::find(modeCodes.begin(), modeCodes.end(), effectCode);
    if (found != modeCodes.end())
        return static_cast<std::uint8_t>(found - modeCodes.begin());
    return static_cast<std::uint8_t>(effectCode);
}

LightBlock BuildLightBlock(const LightBlockFields& fields, std::span<const int> modeCodes) {
    LightBlock block{};
    block[kProfileAt] = fields.profileByte;
    PutLightSettings(block, fields, modeCodes);
    block[kWFlagAt] = fields.wFlag;
    block[kKey6FlagAt] = fields.key6Flag;
    block[kWinFlagAt] = fields.winFlag;
    block[kPollingRateAt] = fields.pollingRate;
    return block;
}

void PutLightSettings(LightBlock& block, const LightBlockFields& fields,
                      std::span<const int> modeCodes) {
    block[kEffectAt] = EffectCodeOf(modeCodes, fields.effectIndex);
    block[kBrightnessAt] = fields.brightness;
    block[kSpeedAt] = static_cast<std::uint8_t>(kMaxSpeed - std::min(fields.speed, kMaxSpeed));
    block[kDirectionAt] = fields.direction;
    block[kMultiColourAt] = fields.multiColour;
    block[kRedAt] = fields.red;
    block[kGreenAt] = fields.green;
    block[kBlueAt] = fields.blue;
    block[kZzccLedModeAt] = fields.zzccLedMode;
    block[kCustomGroupAt] = fields.customGroup;
}

LightBlockFields FieldsOfLightInfo(const config::LightInfoRecord& record) {
    LightBlockFields fields;
    fields.effectIndex = record.selectItem;
    fields.brightness = record.light;
    fields.speed = record.speed;
    fields.direction = record.fx;
    fields.multiColour = record.multiColor;
    fields.red = record.red;
    fields.green = record.green;
    fields.blue = record.blue;
    fields.zzccLedMode = record.zzccLedMode;
    fields.customGroup = record.customGroup;
    return fields;
}

LightBlockFields ParseLightBlock(const LightBlock& block, std::span<const int> modeCodes) {
    LightBlockFields fields;
    fields.profileByte = block[kProfileAt];
    fields.effectIndex = EffectIndexOf(modeCodes, block[kEffectAt]);
    fields.brightness = block[kBrightnessAt];
    fields.speed = static_cast<std::uint8_t>(kMaxSpeed - std::min(block[kSpeedAt], kMaxSpeed));
    fields.direction = block[kDirectionAt];
    fields.multiColour = block[kMultiColourAt];
    fields.red = block[kRedAt];
    fields.green = block[kGreenAt];
    fields.blue = block[kBlueAt];
    fields.zzccLedMode = block[kZzccLedModeAt];
    fields.wFlag = block[kWFlagAt];
    fields.key6Flag = block[kKey6FlagAt];
    fields.winFlag = block[kWinFlagAt];
    fields.customGroup = block[kCustomGroupAt];
    return fields;
}

} // namespace devices
