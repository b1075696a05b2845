#include "ctl/CtlCommands.h"

#include "transport/DeviceComm.h"
#include "transport/DeviceScanThread.h"
#include "transport/HidrawIdentity.h"
#include "transport/NodeLock.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <set>

namespace ctl {

using namespace transport;

namespace {
int Refuse(const Output& output, const std::string& message, int exitCode) {
    std::fprintf(output.err, "quarin-z17ctl: %s\n", message.c_str());
    if (output.json)
        output.json->SetError(message);
    return exitCode;
}
} // namespace

int Failed(const Output& output, const std::string& message) {
    return Refuse(output, message, kExitFailed);
}

int UsageError(const Output& output, const std::string& message) {
    return Refuse(output, message, kExitUsage);
}

std::string InUseMessage(const std::string& path) {
    return NodeOfPath(path) + " is in use by another program (the configurator owns its devices "
                              "while it runs; close it, or use the window)";
}

std::optional<int> ParseDecimal(const std::string& text) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || ptr != end || value < 0)
        return std::nullopt;
    return value;
}

namespace {
// Takes what one pass binds; says once per hidraw node why a device cannot be used.
class ScanReceiver : public ISlotReceiver {
public:
    explicit ScanReceiver(const Output& output) : m_output(output) {}

private:
    void OnSlotBound(int) override {}
    void OnSlotLost(int) override {}
    void OnFirstScanDone() override {}
    void OnOpenDenied(const std::string& path, int error) override {
        // The collections of an interface share their node.
        const std::string node = NodeOfPath(path);
        if (!m_toldNodes.insert(node).second)
            return;
        if (error == kNodeInUse)
            std::fprintf(m_output.err, "quarin-z17ctl: %s\n", InUseMessage(path).c_str());
        else
            std::fprintf(m_output.err, "quarin-z17ctl: %s: %s; install the udev rule: see README\n",
                         node.c_str(), std::strerror(error));
    }

    const Output& m_output;
    std::set<std::string> m_toldNodes;
};

std::vector<DeviceSlot> ScanOnce(HidBackend& backend, const Output& output, bool* ok) {
    std::vector<DeviceSlot> slots = MakeSlotList();
    ScanReceiver receiver(output);
    DeviceScanThread scan(slots, receiver, &backend);
    *ok = scan.ScanOnce();
    return slots;
}

// The command-channel kinds of a product name, cable first.
std::vector<std::uint16_t> KindsOf(const std::string& name) {
    if (name == "keyboard")
        return {kKindKeyboard, kKindKeyboardReceiver};
    if (name == "mouse")
        return {kKindMouse, kKindMouseReceiver};
    if (name == "mousepad")
        return {kKindMousePad};
    return {};
}
} // namespace

std::vector<DeviceSlot> ScanSlots(HidBackend& backend, const Output& output, bool* ok) {
    return ScanOnce(backend, output, ok);
}

const char* KindName(std::uint16_t kind) {
    switch (kind) {
    case kKindKeyboard:
        return "keyboard";
    case kKindMouse:
        return "mouse";
    case kKindMousePad:
        return "mousepad";
    case kKindMouseReceiver:
        return "mouse-receiver";
    case kKindHeadset:
        return "headset";
    case kKindKeyboardReceiver:
        return "keyboard-receiver";
    default:
        return "unknown";
    }
}

int ListDevices(HidBackend& backend, const Output& output) {
    bool ok = false;
    const std::vector<DeviceSlot> slots = ScanOnce(backend, output, &ok);
    if (!ok)
        return Failed(output, "the HID devices cannot be listed");
    Json::Value list(Json::arrayValue);
    for (std::size_t i = 0; i < slots.size(); ++i) {
        const DeviceSlot& s = slots[i];
        if (!s.bound)
            continue;
        const char* role = s.role == kRoleEvent ? "event" : "command";
        char identity[10];
        std::snprintf(identity, sizeof identity, "%04x:%04x", s.vendorId, s.productId);
        if (!output.json) {
            std::fprintf(output.out, "%zu\t%s\t%s\t%s\t%s\n", i, KindName(s.kind), role, identity,
                         s.path.c_str());
            continue;
        }
        Json::Value& slot = list.append(Json::objectValue);
        slot["slot"] = static_cast<Json::UInt>(i);
        slot["kind"] = KindName(s.kind);
        slot["role"] = role;
        slot["vendor_product"] = identity;
        slot["path"] = s.path;
    }
    if (output.json)
        output.json->Data()["devices"] = list;
    return kExitOk;
}

const DeviceSlot* FindCommandSlot(HidBackend& backend, const std::vector<std::uint16_t>& kinds,
                                  const std::string& name, const Output& output,
                                  std::vector<DeviceSlot>& slots) {
    bool ok = false;
    slots = ScanOnce(backend, output, &ok);
    for (std::uint16_t k : kinds) {
        auto it = std::find_if(slots.begin(), slots.end(), [&](const DeviceSlot& s) {
            return s.bound && s.kind == k && s.role == kRoleCommand;
        });
        if (it != slots.end())
            return &*it;
    }
    Failed(output, "no " + name + " is connected");
    return nullptr;
}

bool OpenCommandChannel(CDeviceComm& comm, const DeviceSlot& slot, const Output& output) {
    const bool receiver = slot.kind == kKindKeyboardReceiver || slot.kind == kKindMouseReceiver;
    CHidChannel& channel = receiver ? comm.ReceiverChannel() : comm.CableChannel();
    if (!channel.Open(slot.path, true, true, true, false)) {
        // The scan only looks: another program can take the node between it and this open.
        if (channel.GetOpenError() == kNodeInUse)
            Failed(output, InUseMessage(slot.path));
        else
            Failed(output, slot.path + " cannot be opened (see the udev rule in the README)");
        return false;
    }
    comm.SelectMode(receiver ? CDeviceComm::kModeReceiver : CDeviceComm::kModeCable);
    comm.open = true;
    return true;
}

int PrintInfo(HidBackend& backend, const std::string& kind, const Output& output) {
    const std::vector<std::uint16_t> kinds = KindsOf(kind);
    if (kinds.empty())
        return UsageError(output, "unknown kind '" + kind + "' (keyboard, mouse or mousepad)");
    std::vector<DeviceSlot> slots;
    const DeviceSlot* found = FindCommandSlot(backend, kinds, kind, output, slots);
    if (!found)
        return kExitFailed;
    CDeviceComm comm(&backend);
    if (!OpenCommandChannel(comm, *found, output))
        return kExitFailed;
    if (!comm.CheckReceiverLink())
        return Failed(output, "the " + kind + " does not answer through its receiver");
    std::array<std::uint8_t, kDeviceInfoSize> info{};
    const int result = comm.ReadDeviceInfo(info);
    if (result != kCommSuccess)
        return Failed(output, "reading the information block failed (result " +
                                  std::to_string(result) + ")");
    if (output.json) {
        output.json->Data()["interface"] = KindName(found->kind);
        output.json->Data()["information_block"] = HexBytes(info.data(), info.size());
        return kExitOk;
    }
    for (std::size_t i = 0; i < info.size(); ++i)
        std::fprintf(output.out, "%02x%c", info[i], i + 1 == info.size() ? '\n' : ' ');
    return kExitOk;
}

} // namespace ctl
