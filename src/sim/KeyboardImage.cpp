#include "sim/FactoryImages.h"

#include <algorithm>
#include <array>

namespace sim {
namespace {

// The native code of every key the keyboard has, as code0 << 16 | code1 << 8 | code2, in the
// order of the configurator's on-screen keys (its empty positions left out).
constexpr std::array<std::uint32_t, 122> kKeysInScreenOrder = {
    0x200029, 0x20003A, 0x20003B, 0x20003C, 0x20003D, 0x20003E, 0x20003F, 0x200040, 0x200041,
    0x200042, 0x200043, 0x200044, 0x200045, 0x200046, 0x200047, 0x200048, 0xA01B00, 0xA02400,
    0x200035, 0x20001E, 0x20001F, 0x200020, 0x200021, 0x200022, 0x200023, 0x200024, 0x200025,
    0x200026, 0x200027, 0x20002D, 0x20002E, 0x20002A, 0x200049, 0x20004A, 0x20004B, 0x200053,
    0x200054, 0x200055, 0x200056, 0x20002B, 0x200014, 0x20001A, 0x200008, 0x200015, 0x200017,
    0x20001C, 0x200018, 0x20000C, 0x200012, 0x200013, 0x20002F, 0x200030, 0x200031, 0x20004C,
    0x20004D, 0x20004E, 0x20005F, 0x200060, 0x200061, 0x200032, 0x200039, 0x200004, 0x200016,
    0x200007, 0x200009, 0x20000A, 0x20000B, 0x20000D, 0x20000E, 0x20000F, 0x200033, 0x200034,
    0x200028, 0x20005C, 0x20005D, 0x20005E, 0x20008A, 0x20008B, 0x200090, 0x200091, 0x200088,
    0x200200, 0x20001D, 0x20001B, 0x200006, 0x200019, 0x200005, 0x200011, 0x200010, 0x200036,
    0x200037, 0x200038, 0x202000, 0x200052, 0x200059, 0x20005A, 0x20005B, 0x200087, 0x200089,
    0x200064, 0x200085, 0x200100, 0x200800, 0x200400, 0x20002C, 0x204000, 0xA00100, 0x200065,
    0x201000, 0x200050, 0x200051, 0x20004F, 0x200062, 0x200063, 0x200058, 0x200057, 0xD0A201,
    0xD0A202, 0xD0A203, 0xD0A204, 0xD0A205, 0x208000,
};

// Behind the keys, two matrix positions the configurator must not take for keys of its own:
// one without a key fitted (the table's code for "no key") and one wired as a second Esc.
constexpr std::array<std::uint32_t, 2> kSpareMatrixPositions = {0x200000, 0x200029};

constexpr std::uint8_t kLedCount = kKeysInScreenOrder.size() - 1; // Fn has none
constexpr std::uint8_t kKeyCount = kKeysInScreenOrder.size() + kSpareMatrixPositions.size();

constexpr std::uint32_t kFnKey = 0xA00100;
// The Fn key sits at matrix position 71, the one position without an LED.
constexpr std::size_t kFnPosition = 71;
constexpr std::uint8_t kNoLed = 0xFF;

constexpr std::size_t kTableSize = 512;
constexpr std::uint8_t kProfiles = 4;
constexpr std::uint8_t kMacroUnits = 32;
constexpr std::size_t kSchemeSize = 512;
constexpr std::size_t kSchemes = 8;

std::vector<std::uint32_t> KeysInMatrixOrder() {
    std::vector<std::uint32_t> keys(kKeysInScreenOrder.begin(), kKeysInScreenOrder.end());
    const auto fn = std::find(keys.begin(), keys.end(), kFnKey);
    std::rotate(keys.begin() + kFnPosition, fn, fn + 1);
    keys.insert(keys.end(), kSpareMatrixPositions.begin(), kSpareMatrixPositions.end());
    return keys;
}

std::vector<std::uint8_t> KeyTable() {
    std::vector<std::uint8_t> table(kTableSize, 0);
    const auto keys = KeysInMatrixOrder();
    for (std::size_t k = 0; k < keys.size(); ++k) {
        table[3 * k] = static_cast<std::uint8_t>(keys[k] >> 16);
        table[3 * k + 1] = static_cast<std::uint8_t>(keys[k] >> 8);
        table[3 * k + 2] = static_cast<std::uint8_t>(keys[k]);
    }
    return table;
}

std::vector<std::uint8_t> LedNumbers() {
    std::vector<std::uint8_t> leds(kTableSize, kNoLed);
    for (std::size_t k = 0; k < kKeysInScreenOrder.size(); ++k)
        leds[k] = k == kFnPosition ? kNoLed : static_cast<std::uint8_t>(k);
    return leds;
}

// Byte 0 is the active profile; profile p's light block fills bytes 25p + 1 to 25p + 25.
std::vector<std::uint8_t> SettingsMemory() {
    std::vector<std::uint8_t> memory(256, 0);
    for (std::uint8_t p = 0; p < kProfiles; ++p) {
        std::uint8_t* block = memory.data() + 25 * p;
        block[1] = 0x01; // effect code
        block[2] = 3;    // brightness
        block[3] = 1;    // 3 - speed
        block[5] = 1;    // multi-colour
        block[6] = block[7] = block[8] = 0xFF;
        block[22] = 3; // polling rate: 1000 Hz
        block[25] = p; // custom scheme
    }
    return memory;
}

} // namespace

FirmwareImage KeyboardImage(bool throughReceiver) {
    FirmwareImage image;
    AreaOf(image, FirmwareArea::Info) = MakeInfoBlock({.firmwareVersion = 0x0105,
                                                       .deviceType = 1,
                                                       .profiles = kProfiles,
                                                       .leds = kLedCount,
                                                       .keys = kKeyCount,
                                                       .macroUnits = kMacroUnits});
    AreaOf(image, FirmwareArea::Memory) = SettingsMemory();
    AreaOf(image, FirmwareArea::KeyTable) = KeyTable();
    AreaOf(image, FirmwareArea::KeyAttributes) = LedNumbers();
    AreaOf(image, FirmwareArea::LedTable).assign(kTableSize, 0);
    AreaOf(image, FirmwareArea::LightSchemes).assign(kSchemes * kSchemeSize, 0);
    AreaOf(image, FirmwareArea::Macro).assign(kMacroUnits * 128, 0xFF);
    AreaOf(image, FirmwareArea::Status) = throughReceiver
                                              ? MakePowerStatus(85, Charging::OnBattery, true)
                                              : MakePowerStatus(100, Charging::Full, false);
    return image;
}

} // namespace sim
