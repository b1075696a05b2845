#include "devices/PadLightBlock.h"

#include <algorithm>

namespace devices {

using namespace padblock;

PadLightBlock PadBlockFromWire(const PadLightRead& read, std::span<const int> modeCodes) {
    PadLightBlock block{};
    std::copy_n(read.begin(), block.size(), block.begin());
    const auto code = std::find(modeCodes.begin(), modeCodes.end(), int{read[kModeAt]});
    if (code != modeCodes.end())
        block[kModeAt] = static_cast<std::uint8_t>(code - modeCodes.begin());
    block[kSpeedAt] = PadWireSpeed(read[kSpeedAt]);
    return block;
}

PadLightBlock PadBlockToWire(const PadLightBlock& block, std::span<const int> modeCodes) {
    PadLightBlock wire = block;
    const std::size_t mode = block[kModeAt];
    if (mode < modeCodes.size())
        wire[kModeAt] = static_cast<std::uint8_t>(modeCodes[mode]);
    wire[kSpeedAt] = PadWireSpeed(block[kSpeedAt]);
    return wire;
}

void PutPadLightFields(PadLightBlock& block, const config::LightInfoRecord& record) {
    block[kModeAt] = record.selectItem;
    block[kBrightnessAt] = record.light;
    block[kSpeedAt] = record.speed;
    block[kMultiColourAt] = record.multiColor;
    block[kRedAt] = record.red;
    block[kGreenAt] = record.green;
    block[kBlueAt] = record.blue;
}

config::LightInfoRecord TakePadLightFields(config::LightInfoRecord record,
                                           const PadLightBlock& block) {
    record.selectItem = block[kModeAt];
    record.light = block[kBrightnessAt];
    record.speed = block[kSpeedAt];
    record.multiColor = block[kMultiColourAt];
    record.red = block[kRedAt];
    record.green = block[kGreenAt];
    record.blue = block[kBlueAt];
    return record;
}

} // namespace devices
