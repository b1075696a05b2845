// quarin-z17: the configurator for the QUARIN Z17 keyboard, mouse, mouse pad and headset.

#include "shell/Application.h"

#include <cstdio>
#include <cstring>

namespace {
void PrintHelp() {
    std::printf("Usage: quarin-z17 [OPTION]\n"
                "Configure the QUARIN Z17 keyboard, mouse, mouse pad and headset.\n"
                "A second start brings the running window to the front.\n\n"
                "  -h, --help     show this help and exit\n"
                "  -v, --version  show the version and exit\n\n"
                "Environment:\n"
                "  QUARIN_Z17_DEBUG=1      write diagnostics to stderr\n"
                "  QUARIN_Z17_DATA_DIR=DIR take the skin, DefaultData and Font from DIR\n");
}
} // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "-h")) {
            PrintHelp();
            return 0;
        }
        if (!std::strcmp(argv[i], "--version") || !std::strcmp(argv[i], "-v")) {
            std::printf("quarin-z17 %s\n", QUARIN_VERSION);
            return 0;
        }
        // Qt's own options (-platform, -style, ...) pass through; anything else is a mistake.
        if (!std::strncmp(argv[i], "--", 2)) {
            std::fprintf(stderr, "quarin-z17: unknown option '%s'\nTry 'quarin-z17 --help'.\n",
                         argv[i]);
            return 2;
        }
    }
    return shell::RunApplication(argc, argv);
}
