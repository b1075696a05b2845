#pragma once
// The desktop's own keyboard (0) and mouse (1) settings, when the desktop has a settings
// program for them; nothing happens otherwise.

namespace shell {

// Starts the settings program detached; false when none is installed or it cannot start.
bool OpenDesktopInputSettings(int which);

} // namespace shell
