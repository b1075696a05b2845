#pragma once
// quarin-z17ctl and the running configurator. While the configurator runs it owns the devices
// (their nodes are locked to it), so quarin-z17ctl hands it the command line through its D-Bus
// method RunCommand (docs/dbus.md) and prints what comes back; only without a running
// configurator does it open the devices itself. libdbus-1, so that the ctl stays free of Qt.

#include "ctl/CommandLine.h"

#include <string>
#include <vector>

namespace ctl {

// How long a command may take in the configurator, its wait for the commands before it
// included: a key table through the receiver is a few dozen exchanges of up to 5 s each.
constexpr int kRunningProgramTimeoutMs = 10 * 60 * 1000;

struct ForwardResult {
    enum class Kind {
        NoProgram, // no session bus, nobody owns the name, or the owner went before the call
        Answered,  // `run` holds what the command printed and its exit code
        Failed,    // `error` tells why the configurator did not run it
    };
    Kind kind = Kind::NoProgram;
    CapturedRun run;
    std::string error;
};

// Sends the command line to the configurator when it runs on the session bus; never starts
// it. A FILE word must be absolute already (AbsoluteFileWords).
ForwardResult ForwardToRunningProgram(const std::vector<std::string>& args, bool json,
                                      int timeoutMs = kRunningProgramTimeoutMs);

// The words with a relative FILE made absolute against this process's working folder.
std::vector<std::string> AbsoluteFileWords(std::vector<std::string> args);

} // namespace ctl
