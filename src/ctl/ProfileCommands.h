#pragma once
// quarin-z17ctl's profile and key commands. They work on the files of the device's user
// folder ($XDG_DATA_HOME/QUARIN Z17 Keyboard/<device>/) through the same profile list the
// window uses, so the two can be used side by side; no device needs to be connected.
//
// KIND: keyboard, keyboard-receiver, mouse, mouse-receiver (a product's two connections share
// its profiles), mousepad, headset. The operations act on the selected profile.
//
//   profile list KIND            one line per profile: index, "*" for the selected one or "-",
//                                name, id; none before the first profile is made
//   profile add|copy KIND        a new profile (add: from the defaults; copy: of the selected
//                                one); prints its line
//   profile delete KIND          deletes the selected profile (never the last one)
//   profile select KIND INDEX
//   profile rename KIND NAME
//   profile export KIND FILE
//   profile import KIND FILE     a profile document; prints its line
//   key get KIND INDEX           the code of key INDEX in the selected profile, six hex digits
//   key set KIND INDEX CODE      stores CODE (six hex digits) as key INDEX's assignment
//
// "profile list" and "key get" only read: they never write a file, and before the first profile
// is made "key get" gives the code of the defaults. A list or profile that cannot be read is
// never replaced: the command fails and says which file it is.
//
// Exit codes: kExitOk, kExitFailed (refused or failed, the reason on the error stream),
// kExitUsage (malformed command).

#include "config/ProfileList.h"
#include "ctl/CtlCommands.h"

#include <string>
#include <vector>

namespace ctl {

// `args` are the words after "profile" / after "key".
int RunProfileCommand(const std::vector<std::string>& args, const Output& output);
int RunKeyCommand(const std::vector<std::string>& args, const Output& output);

// Why a profile operation failed (a config::ProfileResult), for the error stream; the list's
// LastProblem() names the file for kProfileUnreadable.
std::string DescribeProfileFailure(int result, const config::CProfileList& list);

} // namespace ctl
