#include "sim/VirtualProducts.h"

#include "sim/ProductTable.h"
#include "sim/VirtualDevice.h"

namespace sim {
namespace {

std::string_view Trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

} // namespace

std::shared_ptr<VirtualDevice> MakeVirtualDevice(VirtualProduct product) {
    const ProductRow& row = ProductRowOf(product);
    return std::make_shared<VirtualDevice>(row, std::make_shared<Firmware>(row.factoryImage()));
}

std::shared_ptr<VirtualDevice> MakeVirtualReceiver(const VirtualDevice& cableDevice) {
    const ProductRow* row = ReceiverRowOf(cableDevice.Product());
    if (!row)
        return nullptr;
    return std::make_shared<VirtualDevice>(*row, cableDevice.SharedFirmware());
}

std::string_view ProductWord(VirtualProduct product) {
    return ProductRowOf(product).word;
}

ProductListResult ParseProductList(std::string_view list) {
    ProductListResult result;
    for (;;) {
        const auto comma = list.find(',');
        const std::string_view word = Trim(list.substr(0, comma));
        const ProductRow* row = FindProductRow(word);
        if (!row) {
            result.products.clear();
            result.error = word.empty() ? "empty name in the device list"
                                        : "unknown virtual device \"" + std::string(word) + "\"";
            return result;
        }
        result.products.push_back(row->product);
        if (comma == std::string_view::npos)
            return result;
        list.remove_prefix(comma + 1);
    }
}

std::vector<VirtualProduct> DefaultDemoProducts() {
    return {VirtualProduct::Keyboard, VirtualProduct::Mouse, VirtualProduct::MousePad,
            VirtualProduct::Headset};
}

} // namespace sim
