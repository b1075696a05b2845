#pragma once
// The products that can be plugged in as virtual devices, and the device list of --demo.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

class VirtualDevice;

enum class VirtualProduct { Keyboard, KeyboardReceiver, Mouse, MouseReceiver, MousePad, Headset };

// A device with the product's factory contents, unplugged, replying after 1 ms.
std::shared_ptr<VirtualDevice> MakeVirtualDevice(VirtualProduct product);
// The receiver of a keyboard or mouse made by MakeVirtualDevice: a second USB device for the
// same keyboard or mouse, so both see one memory. nullptr for the other products.
std::shared_ptr<VirtualDevice> MakeVirtualReceiver(const VirtualDevice& cableDevice);

// The word naming a product in a device list: "keyboard", "keyboard-receiver", "mouse",
// "mouse-receiver", "mousepad", "headset".
std::string_view ProductWord(VirtualProduct product);

struct ProductListResult {
    std::vector<VirtualProduct> products;
    std::string error; // empty on success, else names the word that is not a product
};
// Parses a comma-separated device list such as "keyboard,mouse-receiver,headset". Blanks
// around words are ignored; a product may appear more than once.
ProductListResult ParseProductList(std::string_view list);
// What plain --demo plugs in: the keyboard, the mouse, the mouse pad and the headset by cable.
std::vector<VirtualProduct> DefaultDemoProducts();

} // namespace sim
