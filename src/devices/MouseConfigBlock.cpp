#include "devices/MouseConfigBlock.h"

#include <algorithm>
#include <cstring>

namespace devices {

using namespace mouseblock;

namespace {

void PutLe16(MouseConfigBlock& block, std::size_t at, std::uint16_t value) {
    block[at] = static_cast<std::uint8_t>(value & 0xFF);
    block[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

std::uint8_t IndexOrZero(int index, int count) {
    return static_cast<std::uint8_t>(index >= 0 && index < count ? index : 0);
}
} // namespace

std::uint8_t MouseModeCodeOf(std::span<const int> modeCodes, int modeIndex) {
    if (modeIndex < 0 || modeIndex >= kMouseModeIndexLimit)
        modeIndex = 0;
    if (static_cast<std::size_t>(modeIndex) < modeCodes.size())
        return static_cast<std::uint8_t>(modeCodes[static_cast<std::size_t>(modeIndex)]);
    return static_cast<std::uint8_t>(modeIndex);
}

std::uint8_t MouseModeIndexOf(std::span<const int> modeCodes, int modeCode) {
    const auto found = std::find(modeCodes.begin(), modeCodes.end(), modeCode);
    if (found != modeCodes.end())
        return static_cast<std::uint8_t>(found - modeCodes.begin());
    return static_cast<std::uint8_t>(modeCode);
}

std::uint16_t MouseConfigOffset(int page) {
    return static_cast<std::uint16_t>(page * kMousePageSize);
}

MouseConfigBlock BuildMouseConfigBlock(const MouseConfigFields& fields,
                                       std::span<const int> modeCodes) {
    MouseConfigBlock block{};
    const config::LightInfoRecord& light = fields.light;
    block[kFirstAt] = fields.firstByte;
    block[kModeAt] = MouseModeCodeOf(modeCodes, light.selectItem);
    block[kBrightnessAt] = light.light;
    block[kSpeedAt] = static_cast<std::uint8_t>(kSpeedBase - light.speed);
    block[kDirectionAt] = light.fx;
    block[kMultiColourAt] = light.multiColor;
    block[kRedAt] = light.red;
    block[kGreenAt] = light.green;
    block[kBlueAt] = light.blue;
    block[kReportRateAt] =
        IndexOrZero(fields.system.Value(config::mouse_system::kReportRate), kMouseReportRateCount);
    block[kCurrentStageAt] = IndexOrZero(fields.currentStage, kMouseStageCount);
    const std::size_t stages =
        std::min(fields.stages.size(), static_cast<std::size_t>(kMouseStageCount));
    for (std::size_t i = 0; i < stages; ++i)
        std::memcpy(&block[kStagesAt + sizeof(DpiStageRecord) * i], &fields.stages[i],
                    sizeof(DpiStageRecord));
    block[kByte59At] = fields.byte59;
    PutLe16(block, kScreenWidthAt, fields.screenWidth);
    PutLe16(block, kScreenHeightAt, fields.screenHeight);
    const auto selected =
        std::find_if(fields.corrections.begin(), fields.corrections.end(),
                     [](const config::CorrectEntry& entry) { return entry.select != 0; });
    if (selected != fields.corrections.end()) {
        block[kCorrectMinSqAt] = selected->minSq;
        block[kCorrectPixThreshAt] = selected->pixThresh;
    }
    return block;
}

MouseBlockState ParseMouseStateBlock(std::span<const std::uint8_t, kMouseStateBlockSize> block,
                                     std::span<const int> modeCodes) {
    MouseBlockState state;
    state.modeIndex = MouseModeIndexOf(modeCodes, block[kModeAt]);
    state.brightness = block[kBrightnessAt];
    state.speed = static_cast<std::uint8_t>(kSpeedBase - block[kSpeedAt]);
    state.multiColour = block[kMultiColourAt];
    state.red = block[kRedAt];
    state.green = block[kGreenAt];
    state.blue = block[kBlueAt];
    state.currentStage = block[kCurrentStageAt];
    return state;
}

} // namespace devices
