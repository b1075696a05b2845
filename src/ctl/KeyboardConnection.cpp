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
        std::fprintf(output.err,
                     "quarin-z17ctl: unknown kind '%s' (keyboard or keyboard-receiver)\n",
                     kind.c_str());
        *exitCode = kExitUsage;
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
        std::fprintf(output.err,
                     "quarin-z17ctl: the keyboard does not answer through its receiver\n");
        return nullptr;
    }
    if (keyboard->ReadDeviceTables() != 1) {
        std::fprintf(output.err,
                     "quarin-z17ctl: the keyboard's key table cannot be read (it reports %d "
                     "keys)\n",
                     keyboard->GetDeviceKeyCount());
        return nullptr;
    }
    *exitCode = kExitOk;
    return keyboard;
}

} // namespace ctl
