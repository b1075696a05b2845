#pragma once
// quarin-z17ctl's update command: asks the update service whether newer firmware exists for
// the connected devices, and a newer program.
//
//   update [--url URL]
//
// The service root is URL, else the environment variable QUARIN_Z17_UPDATE_URL. Each entry
// asked about gives one line "display name<TAB>local version<TAB>server version<TAB>state",
// the server version "-" when there is none, the state "newer", "current", "no-link" (the
// service could not be reached) or "unknown" (its reply could not be read). An available
// update is not a failure (kExitOk); no service configured, or none of the queries reaching
// it, is kExitFailed; other arguments are kExitUsage.

#include "ctl/CtlCommands.h"
#include "update/UpdateClient.h"

#include <cstdint>
#include <string>
#include <vector>

namespace ctl {

// For each device row of the update model table, the version number of the first connected
// cable device of that model; 0 for a model that is not connected or cannot be opened.
std::vector<std::uint32_t> ConnectedDeviceVersions(transport::HidBackend& backend,
                                                   const Output& output);

// `installedVersion`: the program's version text ("1.0.5"). `http`: the tests' trusted CAs.
int RunUpdateCommand(transport::HidBackend& backend, const std::vector<std::string>& args,
                     const std::string& installedVersion, const Output& output,
                     const update::HttpOptions& http = {});

} // namespace ctl
