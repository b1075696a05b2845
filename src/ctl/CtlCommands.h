#pragma once
// The commands of quarin-z17ctl, over the same transport code the program uses.

#include "ctl/JsonOutput.h"
#include "transport/DeviceComm.h"
#include "transport/DeviceSlot.h"
#include "transport/HidBackend.h"

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace ctl {

enum ExitCode { kExitOk = 0, kExitFailed = 1, kExitUsage = 2 };

struct Output {
    std::FILE* out = stdout;
    std::FILE* err = stderr;
    // Set under --json: the command gives its data here and prints nothing on `out`.
    JsonReport* json = nullptr;
};

// "devices": one scan pass; one line per bound slot: index, kind, role, vendor:product, path.
int ListDevices(transport::HidBackend& backend, const Output& output);
// "info KIND" (keyboard, mouse, mousepad): the 34-byte information block of the first bound
// product of that kind, in hexadecimal.
int PrintInfo(transport::HidBackend& backend, const std::string& kind, const Output& output);

// The message on the error output after "quarin-z17ctl: " (and in the JSON report's "error"),
// and the exit code of a failed command (1) or of bad usage (2).
int Failed(const Output& output, const std::string& message);
int UsageError(const Output& output, const std::string& message);
// Why a hidraw node cannot be used while another program (the configurator, as a rule) owns
// it: "<node> is in use by another program (...)", without the program's name.
std::string InUseMessage(const std::string& path);

// A decimal number without sign or other characters; nothing for any other text.
std::optional<int> ParseDecimal(const std::string& text);

// The name of a device kind as the command line writes it ("keyboard-receiver").
const char* KindName(std::uint16_t kind);

// One scan pass: the slot list with the interfaces that are present bound; *ok is false when
// the HID devices cannot be listed.
std::vector<transport::DeviceSlot> ScanSlots(transport::HidBackend& backend, const Output& output,
                                             bool* ok);

// One scan pass: the command interface of the first of `kinds` that is connected. Without one,
// says so on the error output ("no NAME is connected") and gives nullptr.
const transport::DeviceSlot* FindCommandSlot(transport::HidBackend& backend,
                                             const std::vector<std::uint16_t>& kinds,
                                             const std::string& name, const Output& output,
                                             std::vector<transport::DeviceSlot>& slots);
// Opens the cable or receiver channel of `comm` on the slot and selects its mode; false (the
// reason written) when the node cannot be opened.
bool OpenCommandChannel(transport::CDeviceComm& comm, const transport::DeviceSlot& slot,
                        const Output& output);

} // namespace ctl
