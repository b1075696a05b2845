#include "ctl/KindFolders.h"

#include "devices/DeviceModels.h"

#include <memory>

namespace ctl {

namespace {

// The model row of a kind name.
std::optional<int> ModelRowOf(const std::string& kind) {
    if (kind == "mouse" || kind == "mouse-receiver")
        return 0;
    if (kind == "keyboard" || kind == "keyboard-receiver")
        return 1;
    if (kind == "mousepad")
        return 2;
    if (kind == "headset")
        return 3;
    return std::nullopt;
}

} // namespace

std::optional<KindFolders> FoldersOf(const std::string& kind, const Output& output, int* exitCode) {
    const std::optional<int> row = ModelRowOf(kind);
    if (!row) {
        *exitCode = UsageError(output, "unknown kind '" + kind +
                                           "' (keyboard, keyboard-receiver, mouse, "
                                           "mouse-receiver, mousepad or headset)");
        return std::nullopt;
    }
    const std::unique_ptr<devices::CKelvaneUSBDevice> device = devices::CreateDeviceForModel(*row);
    KindFolders folders{device->UserDataFolder(), device->DefaultProfilePath(),
                        device->GetKeyButtonCount() > 0};
    if (folders.userFolder.empty()) {
        *exitCode = Failed(output, "the user folder of the " + kind + " cannot be made");
        return std::nullopt;
    }
    return folders;
}

} // namespace ctl
