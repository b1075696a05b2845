#pragma once
// Runs the command a quarin-z17ctl command line names, once its words are checked.

#include "ctl/CtlCommands.h"
#include "update/UpdateClient.h"

#include <string>
#include <vector>

namespace devices {
class CHeadsetAudio;
}

namespace ctl {

struct DispatchContext {
    std::string installedVersion;            // the program's version text, for "update"
    devices::CHeadsetAudio* audio = nullptr; // the process's audio library unless given
    update::HttpOptions http;                // the tests' trusted CAs
};

// `args` starts with the command word.
int Dispatch(transport::HidBackend& backend, const std::vector<std::string>& args,
             const Output& output, const DispatchContext& context = {});

} // namespace ctl
