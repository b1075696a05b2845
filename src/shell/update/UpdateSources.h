#pragma once
// What the settings window starts from: the update entries of the connected devices and the
// application, the service's root address and the user folder.

#include "shell/update/SetWnd.h"

#include <string>
#include <vector>

namespace shell::update {

// The environment variable that names the update service's root address; it comes before the
// stored setting "UPDATE_URL".
inline constexpr const char* kServiceRootVariable = "QUARIN_Z17_UPDATE_URL";

// Per model row, the HID version number of the first device of that model whose command
// channel is open (0 for none).
std::vector<std::uint32_t> DeviceVersions(const CMainWnd& main);
// The service root: the environment variable, else the setting; empty when neither is set.
std::string ServiceRoot();
SettingsSetup SettingsSetupFor(CMainWnd& main);

} // namespace shell::update
