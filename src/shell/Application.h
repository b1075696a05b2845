#pragma once

namespace shell {

// Starts the program: fonts, the single-instance guard, the skin and control classes, the
// registered messages and the main window, then runs until "exit". Returns the exit code.
int RunApplication(int& argc, char** argv);

} // namespace shell
