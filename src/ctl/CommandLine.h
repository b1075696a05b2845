#pragma once
// The words of a quarin-z17ctl command line once its own options (--demo, --json, --help,
// --version) are taken out, as quarin-z17ctl runs them itself and as the running configurator
// runs them for it (its D-Bus method RunCommand, docs/dbus.md): the same checks, the same
// usage errors, the same output.

#include "ctl/CtlCommands.h"
#include "ctl/Dispatch.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace ctl {

// Whether `word` may follow the words `before`: a word that looks like an option only after
// a command with options of its own (light, macro, dpi, update).
bool WordAllowed(const std::vector<std::string>& before, const std::string& word);

// The usage message for words that make no command ("unknown command 'frob'"); nothing for
// words the dispatcher takes. The command's own arguments are checked when it runs.
std::optional<std::string> CheckCommandWords(const std::vector<std::string>& args);

// A usage error of the command line itself: "quarin-z17ctl: MESSAGE" and the help hint on the
// error output, under `json` also the error object on the output. Returns kExitUsage.
int CommandLineUsage(const std::string& message, bool json, const std::vector<std::string>& args,
                     const Output& output);

// Which word names a FILE (profile export|import, macro import|export); nothing for a command
// without one.
std::optional<std::size_t> FileWordIndex(const std::vector<std::string>& args);

// Checks the words and runs the command on `output`, under `json` as one JSON object.
int RunCommandLine(transport::HidBackend& backend, const std::vector<std::string>& args, bool json,
                   const Output& output, const DispatchContext& context);

// What a command printed, and its exit code.
struct CapturedRun {
    int exitCode = kExitFailed;
    std::string out;
    std::string err;
};

// RunCommandLine with the output and error output caught in memory: how the configurator runs
// a command for quarin-z17ctl. Its working folder is not the caller's, so a FILE must be an
// absolute path here (a usage error otherwise).
CapturedRun RunForwardedCommand(transport::HidBackend& backend,
                                const std::vector<std::string>& args, bool json,
                                const DispatchContext& context);

} // namespace ctl
