#include "ctl/KeyboardConnection.h"

#include "devices/DeviceModels.h"

namespace ctl {

using namespace transport;

namespace {
constexpr int kKeyboardModelRow = 1;
} // namespace

std::vector<std::uint16_t> KeyboardKinds(const std::string& name) {
    if (name == "keyboard")
        return {kKindKeyboard, kKindKeyboardReceiver};
    if (name == "keyboard-receiver")
        return {kKindKeyboardReceiver};
    return {};
}

std::unique_ptr<devices::CKelvaneKeyboardDevice>
OpenKeyboard(HidBackend& backend, const std::string& kind, const Output& output, int* exitCode) {
    *exitCode = kExitFailed;
    const std::vector<std::uint16_t> kinds = KeyboardKinds(kind);
    if (kinds.empty()) {
        *exitCode =
            UsageError(output, "unknown kind '" + kind + "' (keyboard or keyboard-receiver)");
        return nullptr;
    }
    std::vector<DeviceSlot> slots;
    const DeviceSlot* found = FindCommandSlot(backend, kinds, kind, output, slots);
    if (!found)
        return nullptr;
    auto model = devices::CreateDeviceForModel(kKeyboardModelRow, &backend);
    std::unique_ptr<devices::CKelvaneKeyboardDevice> keyboard(
        static_cast<devices::CKelvaneKeyboardDevice*>(model.release()));
    CDeviceComm& comm = keyboard->CommandChannel();
    if (!OpenCommandChannel(comm, *found, output))
        return nullptr;
    if (!comm.CheckReceiverLink()) {
        Failed(output, "the keyboard does not answer through its receiver");
        return nullptr;
    }
    if (keyboard->ReadDeviceTables() != 1) {
        Failed(output, "the keyboard's key table cannot be read (it reports " +
                           std::to_string(keyboard->GetDeviceKeyCount()) + " keys)");
        return nullptr;
    }
    *exitCode = kExitOk;
    return keyboard;
}

} // namespace ctl
