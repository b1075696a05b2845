#pragma once
// quarin-z17ctl's headset command: the headset's audio settings through the same headset
// model and audio library the program uses (the headset's sound card, or the virtual
// headset's library with --demo).
//
//   headset [mic LEVEL|on|off] [monitor LEVEL|on|off] [eq PRESET] [effect N|on|off]
//
// LEVEL 0-100, PRESET 1-13 (13 the selected custom equaliser), N 1-4. The changes are made in
// the order given, each stored in the selected profile once the headset took it; then the
// eight settings are printed, one "name<TAB>value" line each. A malformed command changes
// nothing (kExitUsage); no headset sound card, or a change the headset refused, is kExitFailed.

#include "ctl/CtlCommands.h"
#include "devices/HeadsetAudio.h"

#include <string>
#include <vector>

namespace ctl {

// `audio`: the process's audio library unless another is given (the tests').
int RunHeadsetCommand(const std::vector<std::string>& args, const Output& output,
                      devices::CHeadsetAudio* audio = nullptr);

} // namespace ctl
