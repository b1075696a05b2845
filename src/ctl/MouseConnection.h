#pragma once
// The mouse and mouse pad objects quarin-z17ctl's dpi, rate and light commands talk through:
// the same model objects the program makes, on the first connected command interface of the
// kind, with the selected profile loaded.
// KIND is "mouse" (by cable, else through its receiver), "mouse-receiver" or "mousepad".

#include "ctl/CtlCommands.h"
#include "devices/KelvaneMouseDevice.h"
#include "devices/KelvaneMousePadDevice.h"

#include <memory>
#include <string>
#include <vector>

namespace ctl {

// The selected profile of the device's user folder into `device` (the headset's too), its file
// in *profilePath; false with the reason written. A device whose state is read from the device
// has it read before, while it has no profile file, so that reading it changes no file.
bool LoadSelectedProfile(devices::CKelvaneUSBDevice& device, const char* product,
                         const Output& output, std::string* profilePath);

// The command-interface kinds of a mouse kind name, cable first; empty for other names.
std::vector<std::uint16_t> MouseKinds(const std::string& name);

// The mouse object of the first bound command interface of that kind: its tables and DPI
// scale read, its configuration block read back (for the bytes the profile does not hold),
// then the selected profile loaded. nullptr (with the reason written) when there is none, it
// does not answer or the profile cannot be read. *exitCode: kExitUsage for an unknown kind,
// kExitFailed otherwise. *profilePath: the selected profile's file.
std::unique_ptr<devices::CKelvaneMouseDevice> OpenMouse(transport::HidBackend& backend,
                                                        const std::string& kind,
                                                        const Output& output, int* exitCode,
                                                        std::string* profilePath);

// The same for the mouse pad ("mousepad"): its information and light block read, then the
// selected profile's lighting taken into the block.
std::unique_ptr<devices::CKelvaneMousePadDevice> OpenMousePad(transport::HidBackend& backend,
                                                              const Output& output, int* exitCode,
                                                              std::string* profilePath);

} // namespace ctl
