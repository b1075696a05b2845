#pragma once
// quarin-z17ctl's macro commands. They work on the macro library of the device's user folder
// ("macro.config" and one ".mac" per macro) through the same library model as the macro panel;
// no device needs to be connected. KIND: keyboard, keyboard-receiver, mouse, mouse-receiver.
//
//   macro list KIND                  one line per macro: index, name, id
//   macro show KIND INDEX            the macro's events, one a line: type, down|up, button,
//                                    delay in ms
//   macro add KIND                   a new macro (at most 50); prints its line
//   macro rename KIND INDEX NAME
//   macro delete KIND INDEX [--shift]
//                                    keys of the selected profile naming a later macro name
//                                    the one before it. When keys name this macro the delete
//                                    is refused (they are listed) unless --shift is given:
//                                    those keys then get their default assignments back.
//   macro import KIND FILE           adds FILE (a macro document) as a new macro; prints its
//                                    line
//   macro export KIND INDEX FILE     copies the macro's file to FILE byte for byte
//
// "list" and "show" only read. An index that cannot be read is never replaced. Exit codes as
// the profile commands: kExitFailed for refusals, kExitUsage for malformed commands.

#include "ctl/CtlCommands.h"

#include <string>
#include <vector>

namespace ctl {

// `args` are the words after "macro".
int RunMacroCommand(const std::vector<std::string>& args, const Output& output);

} // namespace ctl
