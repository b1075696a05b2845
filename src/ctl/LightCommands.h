#pragma once
// quarin-z17ctl's light command, through the same device object and calls the window's
// lighting handlers use.
//
//   light KIND                 prints the selected profile's light fields, one per line:
//                              "mode" with the effect's index and name (a text id of the
//                              mode list), "brightness", "speed", "direction", "colour"
//                              (RRGGBB) and "multicolour". It only reads files: no device
//                              needs to be connected, and before the first profile is made
//                              it prints the defaults it will be made from.
//   light KIND OPTIONS         stores the changed fields in the selected profile, saves it,
//                              writes the light block for device profile 0 to the device and
//                              prints the fields as above. The device must be connected.
//
// OPTIONS (ctl/LightOptions.h): --mode N (a visible entry of the mode list), --brightness N,
// --speed N, --direction 0|1, --colour RRGGBB, --multicolour 0|1. A colour turns multi-colour
// off unless --multicolour 1 is also given.
//
// KIND: keyboard or mouse (by cable, else through its receiver), keyboard-receiver,
// mouse-receiver or mousepad; the headset's lighting is not available here yet. The mouse's
// light fields travel in its configuration block, the pad's in its light block.
//
// Exit codes: kExitOk; kExitUsage for a malformed command, an unknown or not yet available
// kind or a value out of range (nothing is changed); kExitFailed when the device is not
// there, the profile cannot be read or written, or the device refuses the block.

#include "ctl/CtlCommands.h"

#include <string>
#include <vector>

namespace ctl {

// `args` are the words after "light".
int RunLightCommand(transport::HidBackend& backend, const std::vector<std::string>& args,
                    const Output& output);

} // namespace ctl
