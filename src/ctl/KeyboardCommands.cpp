#include "ctl/KeyboardCommands.h"

#include "config/ProfileList.h"
#include "ctl/CtlCommands.h"
#include "ctl/KeyboardConnection.h"
#include "ctl/ProfileCommands.h"
#include "devices/KeyCode.h"

namespace ctl {

using namespace transport;

int PrintKeyTable(HidBackend& backend, const std::string& kind, const Output& output) {
    int exitCode = kExitOk;
    const auto keyboard = OpenKeyboard(backend, kind, output, &exitCode);
    if (!keyboard)
        return exitCode;
    const auto& table = keyboard->DeviceKeyTable();
    const auto& leds = keyboard->DeviceLedTable();
    for (int k = 0; k < keyboard->GetDeviceKeyCount(); ++k) {
        const auto at = static_cast<std::size_t>(3 * k);
        const devices::KeyCode code{table[at], table[at + 1], table[at + 2]};
        std::fprintf(output.out, "%d\t%s\t%d\n", k, devices::KeyCodeToText(code).c_str(),
                     leds[static_cast<std::size_t>(k)]);
    }
    return kExitOk;
}

int ApplyKeyboardProfile(HidBackend& backend, const std::string& kind, const Output& output) {
    int exitCode = kExitOk;
    const auto keyboard = OpenKeyboard(backend, kind, output, &exitCode);
    if (!keyboard)
        return exitCode;
    const std::string folder = keyboard->UserDataFolder();
    if (folder.empty()) {
        std::fprintf(output.err, "quarin-z17ctl: the user folder cannot be made\n");
        return kExitFailed;
    }
    config::CProfileList profiles(folder, keyboard->DefaultProfilePath());
    if (const int loaded = profiles.Load(); loaded != config::kProfileDone) {
        std::fprintf(output.err, "quarin-z17ctl: %s\n",
                     DescribeProfileFailure(loaded, profiles).c_str());
        return kExitFailed;
    }
    const std::string id = profiles.SelectedId();
    if (id.empty()) {
        std::fprintf(output.err, "quarin-z17ctl: the keyboard has no selected profile\n");
        return kExitFailed;
    }
    keyboard->SetCurrentProfileId(id);
    const devices::KeyboardApplyResult result = keyboard->ApplyProfile();
    if (result.profile == config::kProfileUnreadable) {
        std::fprintf(output.err,
                     "quarin-z17ctl: profile %s cannot be read; nothing was sent to the "
                     "keyboard\n",
                     id.c_str());
        return kExitFailed;
    }
    if (result.lightBlock != transport::kCommSuccess ||
        result.keyTable != transport::kCommSuccess) {
        std::fprintf(output.err,
                     "quarin-z17ctl: applying profile %s failed (light block %d, key table %d)\n",
                     id.c_str(), result.lightBlock, result.keyTable);
        return kExitFailed;
    }
    if (result.macroDownload == devices::kMacroDownloadFailed) {
        std::fprintf(output.err,
                     "quarin-z17ctl: profile %s was applied, but its macros could not be "
                     "written to the keyboard\n",
                     id.c_str());
        return kExitFailed;
    }
    if (result.macroDownload > 0) {
        std::fprintf(output.err,
                     "quarin-z17ctl: profile %s was applied, but the macros its keys use do not "
                     "fit in the keyboard's macro memory (%d events too many) and were not "
                     "written\n",
                     id.c_str(), result.macroDownload);
        return kExitFailed;
    }
    std::fprintf(output.out, "applied profile %s (macros written: %zu)\n", id.c_str(),
                 result.usedMacros.size());
    return kExitOk;
}

} // namespace ctl
