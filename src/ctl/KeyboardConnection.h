#pragma once
// The keyboard object quarin-z17ctl's keyboard commands talk through: the same model object
// the program makes, on the first connected command interface of the kind.
// KIND is "keyboard" (by cable, else through its receiver) or "keyboard-receiver".

#include "ctl/CtlCommands.h"
#include "devices/KelvaneKeyboardDevice.h"

#include <memory>
#include <string>
#include <vector>

namespace ctl {

// The command-interface kinds of a keyboard kind name, cable first; empty for other names.
std::vector<std::uint16_t> KeyboardKinds(const std::string& name);

// The keyboard object of the first bound command interface of that kind, its channel open,
// its mode selected and its key and LED tables read; nullptr (with the reason written) when
// there is none or it does not answer. *exitCode says how the command ends then: kExitUsage
// for an unknown kind, kExitFailed otherwise.
std::unique_ptr<devices::CKelvaneKeyboardDevice> OpenKeyboard(transport::HidBackend& backend,
                                                              const std::string& kind,
                                                              const Output& output, int* exitCode);

} // namespace ctl
