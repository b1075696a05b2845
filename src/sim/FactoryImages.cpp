#include "sim/FactoryImages.h"

namespace sim {

std::vector<std::uint8_t> MakeInfoBlock(const InfoFields& fields) {
    std::vector<std::uint8_t> block(kInfoBlockSize, 0);
    block[0] = static_cast<std::uint8_t>(fields.firmwareVersion & 0xFF);
    block[1] = static_cast<std::uint8_t>(fields.firmwareVersion >> 8);
    block[2] = fields.deviceType;
    block[3] = fields.profiles;
    block[4] = fields.leds;
    block[5] = fields.keys;
    block[6] = fields.macroUnits;
    return block;
}

std::vector<std::uint8_t> MakePowerStatus(std::uint8_t battery, Charging charging, bool wireless) {
    std::vector<std::uint8_t> status(16, 0);
    status[0] = battery;
    status[1] = static_cast<std::uint8_t>(charging);
    status[3] = wireless ? 1 : 0;
    status[4] = 1;
    return status;
}

} // namespace sim
