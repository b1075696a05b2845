#include "sim/FactoryImages.h"

#include <array>

namespace sim {
namespace {

// The mouse's buttons in key-table slot order, each holding its factory code: left, right,
// middle, back, forward, DPI cycle, DPI up, DPI down, fire, profile.
constexpr std::array<std::array<std::uint8_t, 3>, 10> kButtons = {{
    {0x10, 0x01, 0x00},
    {0x10, 0x02, 0x00},
    {0x10, 0x04, 0x00},
    {0x10, 0x08, 0x00},
    {0x10, 0x10, 0x00},
    {0x13, 0x03, 0x00},
    {0x13, 0x01, 0x00},
    {0x13, 0x02, 0x00},
    {0x14, 0x78, 0x02},
    {0xA0, 0x1B, 0x00},
}};

constexpr std::uint8_t kPages = 5;
constexpr std::size_t kPageSize = 128;
constexpr std::uint8_t kMacroUnits = 16;
constexpr std::size_t kLargeDataSize = 8192;

// The DPI scale: model 0x3325 (two slopes: 100 per position up to position 48 = 5000, then 200
// per position), 200 at position 0, positions up to 153 = 26000.
constexpr std::uint16_t kModelCode = 0x3325;
constexpr std::uint8_t kDpiStep = 100;
constexpr std::uint16_t kSliderMaximum = 153;
constexpr std::uint16_t kMinimumDpi = 200;

struct Stage {
    std::uint16_t position;
    std::uint8_t red, green, blue;
};
// 400, 800, 1600, 3200 and 6400 counts per inch.
constexpr std::array<Stage, 5> kStages = {{
    {2, 0xFF, 0x00, 0x00},
    {6, 0x00, 0xFF, 0x00},
    {14, 0x00, 0x00, 0xFF},
    {30, 0xFF, 0xFF, 0x00},
    {55, 0xFF, 0x00, 0xFF},
}};

void PutLe16(std::uint8_t* at, std::uint16_t value) {
    at[0] = static_cast<std::uint8_t>(value & 0xFF);
    at[1] = static_cast<std::uint8_t>(value >> 8);
}

std::vector<std::uint8_t> InfoBlock() {
    std::vector<std::uint8_t> info = MakeInfoBlock({.firmwareVersion = 0x0203,
                                                    .deviceType = 2,
                                                    .profiles = kPages,
                                                    .leds = 15,
                                                    .keys = kButtons.size(),
                                                    .macroUnits = kMacroUnits});
    PutLe16(&info[9], kModelCode);
    info[11] = kDpiStep;
    PutLe16(&info[12], kSliderMaximum);
    PutLe16(&info[14], kMinimumDpi);
    return info;
}

std::vector<std::uint8_t> KeyTable() {
    std::vector<std::uint8_t> table(512, 0);
    for (std::size_t slot = 0; slot < kButtons.size(); ++slot)
        std::copy(kButtons[slot].begin(), kButtons[slot].end(), table.begin() + 3 * slot);
    return table;
}

// Byte 0 is the current page; page p's configuration block starts at 128p (its own byte 0
// is the page byte for page 0).
std::vector<std::uint8_t> SettingsMemory() {
    std::vector<std::uint8_t> memory(kPages * kPageSize, 0);
    for (std::size_t page = 0; page < kPages; ++page) {
        std::uint8_t* block = memory.data() + page * kPageSize;
        block[1] = 0x00; // light mode: wave
        block[2] = 3;    // brightness
        block[3] = 1;    // 3 - speed
        block[5] = 1;    // multi-colour
        block[6] = 0xFF;
        block[11] = 3; // report rate: 1000 Hz
        block[12] = 1; // current DPI stage
        for (std::size_t i = 0; i < kStages.size(); ++i) {
            std::uint8_t* stage = block + 14 + 9 * i;
            stage[0] = 1;
            PutLe16(stage + 2, kStages[i].position);
            PutLe16(stage + 4, kStages[i].position);
            stage[6] = kStages[i].red;
            stage[7] = kStages[i].green;
            stage[8] = kStages[i].blue;
        }
        block[59] = 1;
        PutLe16(block + 60, 1920);
        PutLe16(block + 62, 1080);
    }
    return memory;
}

} // namespace

FirmwareImage MouseImage(bool throughReceiver) {
    FirmwareImage image;
    AreaOf(image, FirmwareArea::Info) = InfoBlock();
    AreaOf(image, FirmwareArea::Memory) = SettingsMemory();
    AreaOf(image, FirmwareArea::KeyTable) = KeyTable();
    AreaOf(image, FirmwareArea::LedTable).assign(512, 0);
    AreaOf(image, FirmwareArea::Macro).assign(kMacroUnits * 128, 0xFF);
    AreaOf(image, FirmwareArea::LargeData).assign(kLargeDataSize, 0xFF);
    AreaOf(image, FirmwareArea::Status) = throughReceiver
                                              ? MakePowerStatus(70, Charging::OnBattery, true)
                                              : MakePowerStatus(100, Charging::Charging, false);
    return image;
}

} // namespace sim
