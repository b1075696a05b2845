#pragma once
// One row per product: its USB identity, the interface it shows, and its factory contents.

#include "sim/Descriptors.h"
#include "sim/Firmware.h"
#include "sim/VirtualProducts.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace sim {

struct ProductRow {
    VirtualProduct product;
    std::string_view word;
    std::uint16_t vendorId;
    std::uint16_t productId;
    std::uint16_t interfaceNumber;
    std::uint16_t version; // the USB device release number
    bool receiver;
    std::uint8_t notificationReportId;
    InterfaceLayout (*interfaceLayout)();
    FirmwareImage (*factoryImage)();
};

const ProductRow& ProductRowOf(VirtualProduct product);
const ProductRow* FindProductRow(std::string_view word);
// The receiver that pairs with a cable product; nullptr when it has none.
const ProductRow* ReceiverRowOf(VirtualProduct cableProduct);

} // namespace sim
