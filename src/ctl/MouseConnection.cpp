#include "ctl/MouseConnection.h"

#include "config/ProfileList.h"
#include "ctl/ProfileCommands.h"
#include "devices/DeviceModels.h"

namespace ctl {

using namespace transport;

namespace {

constexpr int kMouseModelRow = 0;
constexpr int kMousePadModelRow = 2;

template <typename Device> std::unique_ptr<Device> CreateModel(int row, HidBackend& backend) {
    auto model = devices::CreateDeviceForModel(row, &backend);
    return std::unique_ptr<Device>(static_cast<Device*>(model.release()));
}

} // namespace

bool LoadSelectedProfile(devices::CKelvaneUSBDevice& device, const char* product,
                         const Output& output, std::string* profilePath) {
    const std::string folder = device.UserDataFolder();
    if (folder.empty()) {
        Failed(output, std::string("the user folder of the ") + product + " cannot be made");
        return false;
    }
    config::CProfileList profiles(folder, device.DefaultProfilePath());
    if (const int loaded = profiles.Load(); loaded != config::kProfileDone) {
        Failed(output, DescribeProfileFailure(loaded, profiles));
        return false;
    }
    const std::string id = profiles.SelectedId();
    if (id.empty()) {
        Failed(output, std::string("the ") + product + " has no selected profile");
        return false;
    }
    *profilePath = profiles.ProfilePath(id);
    device.SetCurrentProfileId(id);
    device.ReloadProfile();
    if (device.ProfileData().LoadResult() == config::kProfileUnreadable) {
        Failed(output, *profilePath + " cannot be read; nothing was changed");
        return false;
    }
    return true;
}

std::vector<std::uint16_t> MouseKinds(const std::string& name) {
    if (name == "mouse")
        return {kKindMouse, kKindMouseReceiver};
    if (name == "mouse-receiver")
        return {kKindMouseReceiver};
    return {};
}

std::unique_ptr<devices::CKelvaneMouseDevice> OpenMouse(HidBackend& backend,
                                                        const std::string& kind,
                                                        const Output& output, int* exitCode,
                                                        std::string* profilePath) {
    *exitCode = kExitFailed;
    const std::vector<std::uint16_t> kinds = MouseKinds(kind);
    if (kinds.empty()) {
        *exitCode = UsageError(output, "unknown kind '" + kind + "' (mouse or mouse-receiver)");
        return nullptr;
    }
    std::vector<DeviceSlot> slots;
    const DeviceSlot* found = FindCommandSlot(backend, kinds, kind, output, slots);
    if (!found)
        return nullptr;
    auto mouse = CreateModel<devices::CKelvaneMouseDevice>(kMouseModelRow, backend);
    if (!OpenCommandChannel(mouse->CommandChannel(), *found, output))
        return nullptr;
    if (!mouse->CheckReceiverLink()) {
        Failed(output, "the mouse does not answer through its receiver");
        return nullptr;
    }
    mouse->LoadLists(); // the light-mode codes
    if (mouse->ReadDeviceTables() != kCommSuccess || mouse->ReadStateFromDevice() != 1) {
        Failed(output, "the mouse's information and configuration cannot be read");
        return nullptr;
    }
    // The block carries the screen size, which only the window knows: keep the mouse's own.
    const devices::MouseStateBlock& block = mouse->StateBlock();
    const auto le16 = [&](std::size_t at) {
        return static_cast<std::uint16_t>(block[at] | block[at + 1] << 8);
    };
    mouse->SetScreenSize(le16(devices::mouseblock::kScreenWidthAt),
                         le16(devices::mouseblock::kScreenHeightAt));
    if (!LoadSelectedProfile(*mouse, "mouse", output, profilePath))
        return nullptr;
    *exitCode = kExitOk;
    return mouse;
}

std::unique_ptr<devices::CKelvaneMousePadDevice>
OpenMousePad(HidBackend& backend, const Output& output, int* exitCode, std::string* profilePath) {
    *exitCode = kExitFailed;
    std::vector<DeviceSlot> slots;
    const DeviceSlot* found = FindCommandSlot(backend, {kKindMousePad}, "mousepad", output, slots);
    if (!found)
        return nullptr;
    auto pad = CreateModel<devices::CKelvaneMousePadDevice>(kMousePadModelRow, backend);
    if (!OpenCommandChannel(pad->CommandChannel(), *found, output))
        return nullptr;
    pad->LoadLists(); // the light-mode codes
    if (pad->Connect() != kCommSuccess || pad->ReadStateFromDevice() != kCommSuccess) {
        Failed(output, "the mouse pad's information and light block cannot be read");
        return nullptr;
    }
    if (!LoadSelectedProfile(*pad, "mouse pad", output, profilePath))
        return nullptr;
    *exitCode = kExitOk;
    return pad;
}

} // namespace ctl
