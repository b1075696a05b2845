#include "ctl/LightCommands.h"

#include "config/ProfileList.h"
#include "config/Utf8.h"
#include "ctl/KeyboardConnection.h"
#include "ctl/LightOptions.h"
#include "ctl/MouseConnection.h"
#include "ctl/ProfileCommands.h"
#include "devices/DeviceModels.h"

#include <algorithm>
#include <array>
#include <memory>

namespace ctl {

namespace {

// The device kinds as the command line names them, with the model row whose lighting they
// use and the page's brightness and speed maxima. A kind whose light model is not built yet
// is refused with a message.
struct LightKind {
    const char* name;
    const char* product;
    int modelRow;
    bool available;
    LightLimits limits;
};

constexpr int kMouseRow = 0;
constexpr int kKeyboardRow = 1;
constexpr int kMousePadRow = 2;

constexpr std::array<LightKind, 6> kLightKinds = {{
    {"keyboard", "keyboard", kKeyboardRow, true, {3, 3}},
    {"keyboard-receiver", "keyboard", kKeyboardRow, true, {3, 3}},
    {"mouse", "mouse", kMouseRow, true, {4, 4}},
    {"mouse-receiver", "mouse", kMouseRow, true, {4, 4}},
    {"mousepad", "mouse pad", kMousePadRow, true, {4, 4}},
    {"headset", "headset", 3, false, {4, 4}},
}};

const LightKind* FindLightKind(const std::string& name) {
    for (const LightKind& kind : kLightKinds)
        if (name == kind.name)
            return &kind;
    return nullptr;
}

std::vector<devices::LightModeEntry> ModeListOf(const LightKind& kind) {
    const std::unique_ptr<devices::CKelvaneUSBDevice> device =
        devices::CreateDeviceForModel(kind.modelRow);
    device->LoadLists();
    return device->GetModeList();
}

bool IsChoosableMode(const std::vector<devices::LightModeEntry>& modes, int mode) {
    return mode >= 0 && static_cast<std::size_t>(mode) < modes.size() &&
           modes[static_cast<std::size_t>(mode)].visible;
}

// The visible effect indexes as ranges: "1-18, 20-30".
std::string ChoosableModesText(const std::vector<devices::LightModeEntry>& modes) {
    std::string text;
    const int count = static_cast<int>(modes.size());
    for (int first = 0; first < count; ++first) {
        if (!IsChoosableMode(modes, first))
            continue;
        int last = first;
        while (IsChoosableMode(modes, last + 1))
            ++last;
        text += (text.empty() ? "" : ", ") + std::to_string(first);
        if (last > first)
            text += "-" + std::to_string(last);
        first = last;
    }
    return text.empty() ? "none" : text;
}

Json::Value LightFieldsJson(const config::LightInfoRecord& fields,
                            const std::vector<devices::LightModeEntry>& modes) {
    Json::Value json(Json::objectValue);
    json["mode"] = fields.selectItem;
    json["mode_name"] = fields.selectItem < modes.size()
                            ? Json::Value(modes[fields.selectItem].name)
                            : Json::Value();
    json["brightness"] = fields.light;
    json["speed"] = fields.speed;
    json["direction"] = fields.fx;
    json["colour"] = ColourText({fields.red, fields.green, fields.blue});
    json["multicolour"] = fields.multiColor;
    return json;
}

void PrintLightFields(const config::LightInfoRecord& fields,
                      const std::vector<devices::LightModeEntry>& modes, const Output& output) {
    if (output.json) {
        output.json->Data() = LightFieldsJson(fields, modes);
        return;
    }
    const std::string name =
        fields.selectItem < modes.size() ? modes[fields.selectItem].name : "(not in the mode list)";
    std::fprintf(output.out, "mode\t%d\t%s\n", fields.selectItem, name.c_str());
    std::fprintf(output.out, "brightness\t%d\n", fields.light);
    std::fprintf(output.out, "speed\t%d\n", fields.speed);
    std::fprintf(output.out, "direction\t%d\n", fields.fx);
    std::fprintf(output.out, "colour\t%s\n",
                 ColourText({fields.red, fields.green, fields.blue}).c_str());
    std::fprintf(output.out, "multicolour\t%d\n", fields.multiColor);
}

// The selected profile's fields, read without writing anything.
int PrintStoredLight(const LightKind& kind, const Output& output) {
    const std::unique_ptr<devices::CKelvaneUSBDevice> device =
        devices::CreateDeviceForModel(kind.modelRow);
    const std::string folder = device->UserDataFolder();
    if (folder.empty())
        return Failed(output,
                      std::string("the user folder of the ") + kind.product + " cannot be made");
    config::CProfileList list(folder, device->DefaultProfilePath());
    if (const int read = list.Read(); read != config::kProfileDone)
        return Failed(output, DescribeProfileFailure(read, list));
    // Before the first profile is made, the defaults it will be made from.
    const std::string id = list.SelectedId();
    const std::string path = id.empty() ? std::string() : list.ProfilePath(id);
    config::CBasicProfiledata& profile = device->ProfileData();
    profile.SetDefaultPath(config::Utf8ToWide(device->DefaultProfilePath()));
    profile.SetProfilePath(config::Utf8ToWide(path));
    profile.ReadProfile(config::Utf8ToWide(path));
    if (profile.LoadResult() == config::kProfileUnreadable)
        return Failed(output, path + " cannot be read (" +
                                  config::DescribeRefusedRead(config::ReadJsonDocument(path)) +
                                  ")");
    device->LoadLists();
    PrintLightFields(profile.ReadLightInfo(), device->GetModeList(), output);
    return kExitOk;
}

// Whether the profile file now holds `fields`: the keyboard's store does not say whether the
// file was written, and a block sent for fields the profile lost would be undone by the next
// profile load.
bool ProfileHolds(const std::string& path, const config::LightInfoRecord& fields) {
    config::CBasicProfiledata written;
    written.ReadProfile(config::Utf8ToWide(path));
    return written.LoadResult() == config::kProfileDone && written.ReadLightInfo() == fields;
}

// The window's "write": store the fields, store the profile, apply the profile lighting and
// send the light block (the mouse's: its configuration block).
int ChangeDeviceLight(devices::CKelvaneUSBDevice& device, const LightKind& kind,
                      const std::string& path, const LightChanges& changes, const Output& output) {
    device.LoadLists();
    device.CommandChannel().lightPause = false;
    const config::LightInfoRecord fields = ApplyLightChanges(device.GetLightFields(), changes);
    device.SetLightFields(fields);
    device.ProfileData().WriteLightInfo(fields);
    device.StoreProfile();
    if (!ProfileHolds(path, fields))
        return Failed(output, path + " cannot be written; nothing was sent to the " + kind.product);
    device.ApplyProfileLighting();
    const int result = device.WriteLightBlock();
    if (result != transport::kCommSuccess)
        return Failed(output, "writing the light block failed (result " + std::to_string(result) +
                                  "); the profile keeps the new fields and " +
                                  (kind.modelRow == kKeyboardRow ? "'apply' sends them"
                                                                 : "the next change sends them"));
    PrintLightFields(device.GetLightFields(), device.GetModeList(), output);
    return kExitOk;
}

int ChangeKeyboardLight(transport::HidBackend& backend, const LightKind& kind,
                        const LightChanges& changes, const Output& output) {
    int exitCode = kExitOk;
    const auto keyboard = OpenKeyboard(backend, kind.name, output, &exitCode);
    if (!keyboard)
        return exitCode;
    const std::string folder = keyboard->UserDataFolder();
    if (folder.empty())
        return Failed(output, "the user folder cannot be made");
    config::CProfileList profiles(folder, keyboard->DefaultProfilePath());
    if (const int loaded = profiles.Load(); loaded != config::kProfileDone)
        return Failed(output, DescribeProfileFailure(loaded, profiles));
    const std::string id = profiles.SelectedId();
    if (id.empty())
        return Failed(output, "the keyboard has no selected profile");
    const std::string path = profiles.ProfilePath(id);
    keyboard->SetCurrentProfileId(id);
    keyboard->ReloadProfile();
    if (keyboard->Profile().LoadResult() == config::kProfileUnreadable)
        return Failed(output, path + " cannot be read; nothing was changed");
    return ChangeDeviceLight(*keyboard, kind, path, changes, output);
}

int ChangeLight(transport::HidBackend& backend, const LightKind& kind, const LightChanges& changes,
                const Output& output) {
    if (kind.modelRow == kKeyboardRow)
        return ChangeKeyboardLight(backend, kind, changes, output);
    int exitCode = kExitOk;
    std::string path;
    if (kind.modelRow == kMouseRow) {
        const auto mouse = OpenMouse(backend, kind.name, output, &exitCode, &path);
        return mouse ? ChangeDeviceLight(*mouse, kind, path, changes, output) : exitCode;
    }
    const auto pad = OpenMousePad(backend, output, &exitCode, &path);
    return pad ? ChangeDeviceLight(*pad, kind, path, changes, output) : exitCode;
}

} // namespace

int RunLightCommand(transport::HidBackend& backend, const std::vector<std::string>& args,
                    const Output& output) {
    if (args.empty())
        return UsageError(output, "'light' takes KIND and optionally --mode N, --brightness N, "
                                  "--speed N, --direction 0|1, --colour RRGGBB, --multicolour 0|1");
    const LightKind* kind = FindLightKind(args[0]);
    if (!kind)
        return UsageError(output, "unknown kind '" + args[0] +
                                      "' (keyboard, keyboard-receiver, mouse, mouse-receiver, "
                                      "mousepad or headset)");
    if (!kind->available)
        return UsageError(output, std::string("the lighting of the ") + kind->product +
                                      " cannot be set here yet");
    const ParsedLightOptions parsed =
        ParseLightOptions({args.begin() + 1, args.end()}, kind->limits);
    if (!parsed.error.empty())
        return UsageError(output, parsed.error);
    if (parsed.changes.Empty())
        return PrintStoredLight(*kind, output);
    if (parsed.changes.mode) {
        const std::vector<devices::LightModeEntry> modes = ModeListOf(*kind);
        if (!IsChoosableMode(modes, *parsed.changes.mode))
            return UsageError(output, "--mode takes one of the " + std::string(kind->product) +
                                          "'s effects: " + ChoosableModesText(modes));
    }
    return ChangeLight(backend, *kind, parsed.changes, output);
}

} // namespace ctl
