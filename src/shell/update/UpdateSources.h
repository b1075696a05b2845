#pragma once
// What the settings window starts from: the update entries of the connected devices and the
// application, the service's root address and the user folder.

#include "shell/update/SetWnd.h"

#include <string>
#include <vector>

namespace shell::update {

// Per model row, the HID version number of the first device of that model whose command
// channel is open (0 for none).
std::vector<std::uint32_t> DeviceVersions(const CMainWnd& main);
// The service root: QUARIN_Z17_UPDATE_URL, else the setting "UPDATE_URL"; empty when neither
// is set.
std::string ServiceRoot();
// The proxy the desktop names for the service ("http://host:port"), as far as Qt can tell
// (the proxy variables, or libproxy's answer where Qt uses it); empty: none, or libcurl's own
// reading of the variables.
std::string DesktopProxyFor(const std::string& serviceRoot);
SettingsSetup SettingsSetupFor(CMainWnd& main);

} // namespace shell::update
