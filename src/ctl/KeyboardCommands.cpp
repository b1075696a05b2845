#include "ctl/KeyboardCommands.h"

#include "config/ProfileList.h"
#include "ctl/CtlCommands.h"
#include "ctl/KeyboardConnection.h"
#include "ctl/ProfileCommands.h"
#include "devices/KeyCode.h"
#include "devices/KeyboardKeyMap.h"

namespace ctl {

using namespace transport;

int PrintKeyTable(HidBackend& backend, const std::string& kind, const Output& output) {
    int exitCode = kExitOk;
    const auto keyboard = OpenKeyboard(backend, kind, output, &exitCode);
    if (!keyboard)
        return exitCode;
    const auto& table = keyboard->DeviceKeyTable();
    const auto& leds = keyboard->DeviceLedTable();
    Json::Value keys(Json::arrayValue);
    for (int k = 0; k < keyboard->GetDeviceKeyCount(); ++k) {
        const auto at = static_cast<std::size_t>(3 * k);
        const devices::KeyCode code{table[at], table[at + 1], table[at + 2]};
        const int led = leds[static_cast<std::size_t>(k)];
        if (!output.json) {
            std::fprintf(output.out, "%d\t%s\t%d\n", k, devices::KeyCodeToText(code).c_str(), led);
            continue;
        }
        Json::Value& key = keys.append(Json::objectValue);
        key["key"] = k;
        key["code"] = devices::KeyCodeToText(code);
        key["led"] = led == devices::kNoLedNumber ? Json::Value() : Json::Value(led);
    }
    if (output.json)
        output.json->Data()["keys"] = keys;
    return kExitOk;
}

int ApplyKeyboardProfile(HidBackend& backend, const std::string& kind, const Output& output) {
    int exitCode = kExitOk;
    const auto keyboard = OpenKeyboard(backend, kind, output, &exitCode);
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
    keyboard->SetCurrentProfileId(id);
    const devices::KeyboardApplyResult result = keyboard->ApplyProfile();
    if (result.profile == config::kProfileUnreadable)
        return Failed(output,
                      "profile " + id + " cannot be read; nothing was sent to the keyboard");
    if (result.lightBlock != transport::kCommSuccess || result.keyTable != transport::kCommSuccess)
        return Failed(output, "applying profile " + id + " failed (light block " +
                                  std::to_string(result.lightBlock) + ", key table " +
                                  std::to_string(result.keyTable) + ")");
    if (result.macroDownload == devices::kMacroDownloadFailed)
        return Failed(output, "profile " + id +
                                  " was applied, but its macros could not be written to the "
                                  "keyboard");
    if (result.macroDownload > 0)
        return Failed(output, "profile " + id +
                                  " was applied, but the macros its keys use do not fit in the "
                                  "keyboard's macro memory (" +
                                  std::to_string(result.macroDownload) +
                                  " events too many) and were not written");
    if (output.json) {
        output.json->Data()["profile_id"] = id;
        output.json->Data()["macros_written"] = static_cast<Json::UInt64>(result.usedMacros.size());
        return kExitOk;
    }
    std::fprintf(output.out, "applied profile %s (macros written: %zu)\n", id.c_str(),
                 result.usedMacros.size());
    return kExitOk;
}

} // namespace ctl
