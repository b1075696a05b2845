#include "sim/FactoryImages.h"

namespace sim {
namespace {

// The pad's and the headset's light block: page, mode code, brightness, 3 - speed,
// direction, multi-colour, red, green, blue, then 12 bytes the host sends back unchanged.
std::vector<std::uint8_t> LightMemory(std::size_t size, std::uint8_t leds) {
    std::vector<std::uint8_t> memory(size, 0);
    memory[1] = 0x00; // mode: wave
    memory[2] = 3;
    memory[3] = 1;
    memory[5] = 1;
    memory[6] = memory[7] = memory[8] = 0xFF;
    memory[9] = leds;
    return memory;
}

} // namespace

FirmwareImage MousePadImage() {
    FirmwareImage image;
    AreaOf(image, FirmwareArea::Info) =
        MakeInfoBlock({.firmwareVersion = 0x0101, .deviceType = 3, .profiles = 4, .leds = 15});
    AreaOf(image, FirmwareArea::Memory) = LightMemory(256, 15);
    AreaOf(image, FirmwareArea::LedTable).assign(512, 0);
    AreaOf(image, FirmwareArea::Status) = MakePowerStatus(100, Charging::Full, false);
    return image;
}

FirmwareImage HeadsetImage() {
    FirmwareImage image;
    AreaOf(image, FirmwareArea::Info) =
        MakeInfoBlock({.firmwareVersion = 0x0100, .deviceType = 7, .profiles = 1, .leds = 13});
    AreaOf(image, FirmwareArea::Memory) = LightMemory(128, 13);
    AreaOf(image, FirmwareArea::LedTable).assign(512, 0);
    AreaOf(image, FirmwareArea::Status) = MakePowerStatus(100, Charging::Full, false);
    return image;
}

} // namespace sim
