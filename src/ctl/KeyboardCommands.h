#pragma once
// quarin-z17ctl's keyboard commands, through the same keyboard object the program uses.
// KIND is "keyboard" (by cable, else through its receiver) or "keyboard-receiver".

#include "ctl/CtlCommands.h"

namespace ctl {

// "keytable KIND": one line per device key: its number, its code as six hexadecimal digits
// and its LED number (255: none).
int PrintKeyTable(transport::HidBackend& backend, const std::string& kind, const Output& output);
// "apply KIND": the selected profile of the keyboard's user folder ("profileselect" of
// "ProfileList.ini") to the keyboard, as the program applies it: light block for device
// profile 0, then the key table. Macros are not downloaded yet.
int ApplyKeyboardProfile(transport::HidBackend& backend, const std::string& kind,
                         const Output& output);

} // namespace ctl
