#include "sim/ProductTable.h"

#include "sim/Descriptors.h"
#include "sim/FactoryImages.h"

#include <array>

namespace sim {
namespace {

const std::array<ProductRow, 6> kProducts = {{
    {VirtualProduct::Keyboard, "keyboard", 0x0C45, 0x7698, 1, 0x0105, false, kNotificationReportId,
     KeyboardInterface, [] { return KeyboardImage(false); }},
    {VirtualProduct::KeyboardReceiver, "keyboard-receiver", 0x320F, 0x5001, 1, 0x0105, true,
     kNotificationReportId, KeyboardInterface, [] { return KeyboardImage(true); }},
    {VirtualProduct::Mouse, "mouse", 0x320F, 0x221C, 1, 0x0203, false, kNotificationReportId,
     MouseInterface, [] { return MouseImage(false); }},
    {VirtualProduct::MouseReceiver, "mouse-receiver", 0x320F, 0x221D, 1, 0x0203, true,
     kNotificationReportId, MouseInterface, [] { return MouseImage(true); }},
    {VirtualProduct::MousePad, "mousepad", 0x320F, 0x1004, 1, 0x0101, false, kNotificationReportId,
     KeyboardInterface, MousePadImage},
    {VirtualProduct::Headset, "headset", 0x0C76, 0x1630, 3, 0x0100, false, kHeadsetKeysReportId,
     HeadsetInterface, HeadsetImage},
}};

} // namespace

const ProductRow& ProductRowOf(VirtualProduct product) {
    for (const ProductRow& row : kProducts) {
        if (row.product == product)
            return row;
    }
    return kProducts.front();
}

const ProductRow* FindProductRow(std::string_view word) {
    for (const ProductRow& row : kProducts) {
        if (row.word == word)
            return &row;
    }
    return nullptr;
}

const ProductRow* ReceiverRowOf(VirtualProduct cableProduct) {
    switch (cableProduct) {
    case VirtualProduct::Keyboard:
        return &ProductRowOf(VirtualProduct::KeyboardReceiver);
    case VirtualProduct::Mouse:
        return &ProductRowOf(VirtualProduct::MouseReceiver);
    default:
        return nullptr;
    }
}

} // namespace sim
