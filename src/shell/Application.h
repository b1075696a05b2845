#pragma once

#include "sim/VirtualProducts.h"

#include <vector>

namespace shell {

struct StartOptions {
    // Attach these virtual devices instead of the real ones (--demo).
    bool demo = false;
    std::vector<sim::VirtualProduct> demoProducts;
    // Stay in the tray after the first device scan instead of showing the window (--hidden).
    bool hidden = false;
};

// Points the toolkit at the skin folder, loads its resource index and style sheet, and
// registers the program's control classes.
void SetUpResources();

// Starts the program: fonts, the single-instance guard, the skin and control classes, the
// registered messages and the main window, then runs until "exit". Returns the exit code.
int RunApplication(int& argc, char** argv, const StartOptions& options);

} // namespace shell
