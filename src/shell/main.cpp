// quarin-z17: the configurator for the QUARIN Z17 keyboard, mouse, mouse pad and headset.

#include "shell/Application.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {
void PrintHelp() {
    std::printf("Usage: quarin-z17 [OPTION]\n"
                "Configure the QUARIN Z17 keyboard, mouse, mouse pad and headset.\n"
                "A second start brings the running window to the front.\n\n"
                "  --demo[=LIST]  attach virtual devices instead of real ones; LIST is a\n"
                "                 comma-separated choice of keyboard, keyboard-receiver, mouse,\n"
                "                 mouse-receiver, mousepad, headset\n"
                "                 (default: keyboard,mouse,mousepad,headset)\n"
                "  --hidden       start in the tray without showing the window (the window\n"
                "                 shows anyway when the desktop has no tray)\n"
                "  -h, --help     show this help and exit\n"
                "  -v, --version  show the version and exit\n\n"
                "Environment:\n"
                "  QUARIN_Z17_DEBUG=1      write diagnostics to stderr\n"
                "  QUARIN_Z17_DATA_DIR=DIR take the skin, DefaultData and Font from DIR\n");
}
} // namespace

int main(int argc, char** argv) {
    shell::StartOptions options;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "-h")) {
            PrintHelp();
            return 0;
        }
        if (!std::strcmp(argv[i], "--version") || !std::strcmp(argv[i], "-v")) {
            std::printf("quarin-z17 %s\n", QUARIN_VERSION);
            return 0;
        }
        if (!std::strcmp(argv[i], "--demo") || !std::strncmp(argv[i], "--demo=", 7)) {
            options.demo = true;
            if (argv[i][6] == '=') {
                sim::ProductListResult parsed = sim::ParseProductList(argv[i] + 7);
                if (!parsed.error.empty()) {
                    std::fprintf(stderr, "quarin-z17: %s\nTry 'quarin-z17 --help'.\n",
                                 parsed.error.c_str());
                    return 2;
                }
                options.demoProducts = std::move(parsed.products);
            } else {
                options.demoProducts = sim::DefaultDemoProducts();
            }
            continue;
        }
        if (!std::strcmp(argv[i], "--hidden")) {
            options.hidden = true;
            continue;
        }
        // Qt's own options (-platform, -style, ...) pass through; anything else is a mistake.
        if (!std::strncmp(argv[i], "--", 2)) {
            std::fprintf(stderr, "quarin-z17: unknown option '%s'\nTry 'quarin-z17 --help'.\n",
                         argv[i]);
            return 2;
        }
    }
    return shell::RunApplication(argc, argv, options);
}
