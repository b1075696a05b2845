#include "devices/MacroImage.h"

#include <algorithm>
#include <limits>

namespace devices {

namespace {
constexpr std::size_t kOffsetSize = 2;
constexpr std::size_t kBlockHeaderSize = 4;
constexpr std::size_t kEventSize = 4;

void Put16(std::vector<std::uint8_t>& image, std::size_t at, std::size_t value) {
    image[at] = static_cast<std::uint8_t>(value & 0xFF);
    image[at + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}
} // namespace

std::size_t MacroImageLength(const MacroBlocks& macros) {
    std::size_t length = kMacroImageHeaderSize + (kOffsetSize + kBlockHeaderSize) * macros.size();
    for (const auto& events : macros)
        length += kEventSize * events.size();
    return length;
}

int MacroImageOverflow(std::size_t length, std::size_t capacity) {
    if (length <= capacity)
        return 0;
    const std::size_t events = ((length - capacity) >> 2) + 1;
    return events > static_cast<std::size_t>(std::numeric_limits<int>::max())
               ? std::numeric_limits<int>::max()
               : static_cast<int>(events);
}

std::vector<std::uint8_t> BuildMacroImage(const MacroBlocks& macros) {
    const std::size_t length = MacroImageLength(macros);
    std::vector<std::uint8_t> image(length, 0);
    image[0] = 0xAA;
    image[1] = 0x55;
    Put16(image, 2, length);
    Put16(image, 4, macros.size());
    std::size_t block = kMacroImageHeaderSize + kOffsetSize * macros.size();
    for (std::size_t i = 0; i < macros.size(); ++i) {
        Put16(image, kMacroImageHeaderSize + kOffsetSize * i, block);
        Put16(image, block, macros[i].size());
        std::size_t at = block + kBlockHeaderSize;
        for (const config::MacroEvent& event : macros[i]) {
            const auto packed = config::PackMacroEvent(event);
            std::copy(packed.begin(), packed.end(), image.begin() + static_cast<long>(at));
            at += kEventSize;
        }
        block = at;
    }
    return image;
}

} // namespace devices
