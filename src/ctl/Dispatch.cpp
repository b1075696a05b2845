#include "ctl/Dispatch.h"

#include "ctl/HeadsetCommands.h"
#include "ctl/KeyboardCommands.h"
#include "ctl/LightCommands.h"
#include "ctl/MacroCommands.h"
#include "ctl/MouseCommands.h"
#include "ctl/ProfileCommands.h"
#include "ctl/UpdateCommands.h"

namespace ctl {

int Dispatch(transport::HidBackend& backend, const std::vector<std::string>& args,
             const Output& output, const DispatchContext& context) {
    const std::string& command = args[0];
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (command == "devices")
        return ListDevices(backend, output);
    if (command == "info")
        return PrintInfo(backend, args[1], output);
    if (command == "keytable")
        return PrintKeyTable(backend, args[1], output);
    if (command == "apply")
        return ApplyKeyboardProfile(backend, args[1], output);
    if (command == "profile")
        return RunProfileCommand(rest, output);
    if (command == "key")
        return RunKeyCommand(rest, output);
    if (command == "macro")
        return RunMacroCommand(rest, output);
    if (command == "light")
        return RunLightCommand(backend, rest, output);
    if (command == "dpi")
        return RunDpiCommand(backend, rest, output);
    if (command == "rate")
        return RunRateCommand(backend, rest, output);
    if (command == "headset")
        return RunHeadsetCommand(rest, output, context.audio);
    return RunUpdateCommand(backend, rest, context.installedVersion, output, context.http);
}

} // namespace ctl
