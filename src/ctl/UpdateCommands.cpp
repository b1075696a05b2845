#include "ctl/UpdateCommands.h"

#include "config/Utf8.h"
#include "devices/ModelTables.h"
#include "transport/HidChannel.h"
#include "transport/NodeLock.h"

#include <cstdlib>
#include <optional>

namespace ctl {

using namespace transport;

namespace {

bool IsCableKind(std::uint16_t kind) {
    return kind != kKindKeyboardReceiver && kind != kKindMouseReceiver;
}

// The service root of the command line or the environment; nothing for bad usage.
std::optional<std::string> ServiceRoot(const std::vector<std::string>& args, bool* usageError) {
    *usageError = false;
    if (args.size() == 2 && args[0] == "--url" && !args[1].empty())
        return args[1];
    if (args.size() == 1 && args[0].rfind("--url=", 0) == 0 && args[0].size() > 6)
        return args[0].substr(6);
    if (!args.empty()) {
        *usageError = true;
        return std::nullopt;
    }
    const char* root = std::getenv(update::kServiceRootVariable);
    if (root && *root)
        return std::string(root);
    return std::nullopt;
}

const char* StateName(const update::UpdateResult& result) {
    if (result.name == L"NO_LINK_SERVER")
        return "no-link";
    if (result.status == update::kStatusNewer)
        return "newer";
    if (result.status == update::kStatusCurrent)
        return "current";
    return "unknown";
}

} // namespace

std::vector<std::uint32_t> ConnectedDeviceVersions(HidBackend& backend, const Output& output) {
    // The last row of the update table is the program itself.
    std::vector<std::uint32_t> versions(devices::kModelCount - 1, 0);
    bool ok = false;
    const std::vector<DeviceSlot> slots = ScanSlots(backend, output, &ok);
    for (std::size_t i = 0; i < slots.size(); ++i) {
        const DeviceSlot& slot = slots[i];
        if (!slot.bound || slot.role != kRoleCommand || !IsCableKind(slot.kind))
            continue;
        const int row = devices::FindModelRow(slots, i);
        if (row < 0 || static_cast<std::size_t>(row) >= versions.size() || versions[row] != 0)
            continue;
        CHidChannel channel(&backend);
        if (!channel.Open(slot.path, true, true, true, false)) {
            if (channel.GetOpenError() == kNodeInUse) {
                std::fprintf(output.err, "quarin-z17ctl: %s\n", InUseMessage(slot.path).c_str());
                continue;
            }
            std::fprintf(output.err,
                         "quarin-z17ctl: %s cannot be opened (see the udev rule in the README)\n",
                         slot.path.c_str());
            continue;
        }
        versions[row] = channel.GetVersionNumber();
    }
    return versions;
}

int RunUpdateCommand(HidBackend& backend, const std::vector<std::string>& args,
                     const std::string& installedVersion, const Output& output,
                     const update::HttpOptions& http) {
    bool usageError = false;
    const std::optional<std::string> root = ServiceRoot(args, &usageError);
    if (usageError)
        return UsageError(output, "'update' takes only --url URL");
    if (!root)
        return Failed(output, "no update service configured (--url or QUARIN_Z17_UPDATE_URL)");

    const std::vector<update::UpdateEntry> entries = update::UpdateEntries(
        ConnectedDeviceVersions(backend, output), update::ParseInstalledVersion(installedVersion));
    update::UpdateClient client(*root, http);
    std::size_t noLink = 0;
    Json::Value list(Json::arrayValue);
    for (const update::UpdateEntry& entry : entries) {
        const update::UpdateResult result = client.QueryUpdates(
            update::BuildApplicationKey(entry), entry.currentVersion, entry.IsHex());
        if (result.name == L"NO_LINK_SERVER")
            ++noLink;
        const std::string name = config::WideToUtf8(entry.displayName);
        const std::string local = config::WideToUtf8(update::LocalVersionText(entry));
        const std::string server = config::WideToUtf8(result.serverVersion);
        if (!output.json) {
            std::fprintf(output.out, "%s\t%s\t%s\t%s\n", name.c_str(), local.c_str(),
                         server.empty() ? "-" : server.c_str(), StateName(result));
            continue;
        }
        Json::Value& json = list.append(Json::objectValue);
        json["name"] = name;
        json["local_version"] = local;
        json["server_version"] = server.empty() ? Json::Value() : Json::Value(server);
        json["state"] = StateName(result);
    }
    // The entries stay in the report when none reached the service: each says "no-link".
    if (output.json)
        output.json->Data()["entries"] = list;
    if (!entries.empty() && noLink == entries.size())
        return Failed(output, "the update service at " + *root + " cannot be reached");
    return kExitOk;
}

} // namespace ctl
