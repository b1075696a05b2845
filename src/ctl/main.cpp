// quarin-z17ctl: the configurator's devices from the command line, for scripts and diagnostics.

#include "ctl/CommandLine.h"
#include "ctl/CtlCommands.h"
#include "ctl/Dispatch.h"
#include "ctl/HeadsetCommands.h"
#include "ctl/JsonOutput.h"
#include "ctl/KeyboardCommands.h"
#include "ctl/LightCommands.h"
#include "ctl/MacroCommands.h"
#include "ctl/MouseCommands.h"
#include "ctl/ProfileCommands.h"
#include "ctl/RunningProgram.h"
#include "ctl/UpdateCommands.h"
#include "devices/HeadsetAudio.h"
#include "headset/AlsaHeadsetLibrary.h"
#include "headset/VirtualHeadsetLibrary.h"
#include "sim/VirtualDevice.h"
#include "sim/VirtualHidBackend.h"
#include "sim/VirtualProducts.h"

#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace {

void PrintUsage(std::FILE* to) {
    std::fprintf(
        to,
        "Usage: quarin-z17ctl [--demo[=LIST]] [--json] COMMAND [ARGS]\n"
        "Talk to QUARIN Z17 devices from scripts.\n\n"
        "Commands:\n"
        "  devices     list the connected interfaces: slot, kind, role, vendor:product, path\n"
        "  info KIND   print the information block of a keyboard, mouse or mousepad\n"
        "  keytable KIND  print the key table of a keyboard or keyboard-receiver: device key,\n"
        "                 code, LED number\n"
        "  apply KIND     write the selected profile to a keyboard or keyboard-receiver\n"
        "  profile list KIND          the profiles of a device kind: index, * for the selected\n"
        "                             one, name, id\n"
        "  profile add|copy KIND      add a profile from the defaults, or copy the selected one\n"
        "  profile delete KIND        delete the selected profile\n"
        "  profile select KIND INDEX  make profile INDEX the selected one\n"
        "  profile rename KIND NAME   rename the selected profile\n"
        "  profile export KIND FILE   write the selected profile to FILE\n"
        "  profile import KIND FILE   add the profile document FILE (at most 1 MiB)\n"
        "  key get KIND INDEX         print key INDEX's code in the selected profile\n"
        "  key set KIND INDEX CODE    store CODE (six hex digits) for key INDEX in the\n"
        "                             selected profile ('apply' then sends it)\n"
        "  macro list KIND            the macros of a keyboard or mouse: index, name, id\n"
        "  macro show KIND INDEX      macro INDEX's events: type, down|up, button, delay (ms)\n"
        "  macro add KIND             add a macro (at most 50)\n"
        "  macro rename KIND INDEX NAME\n"
        "  macro delete KIND INDEX [--shift]\n"
        "                             delete macro INDEX; keys of the selected profile naming\n"
        "                             later macros follow them. Refused while keys name this\n"
        "                             macro (they are listed) unless --shift gives those keys\n"
        "                             their default assignments\n"
        "  macro import KIND FILE     add the macro file FILE (.mac)\n"
        "  macro export KIND INDEX FILE  copy macro INDEX's file to FILE\n"
        "  light KIND [--mode N] [--brightness N] [--speed N] [--direction 0|1]\n"
        "             [--colour RRGGBB] [--multicolour 0|1]\n"
        "                             without options: print the selected profile's light\n"
        "                             fields; with them: store the fields in the selected\n"
        "                             profile and write them to the connected keyboard,\n"
        "                             mouse (or their -receiver) or mousepad. --mode is an\n"
        "                             effect index of the mode list; brightness and speed\n"
        "                             are 0-3 (mouse, mousepad: 0-4); a colour turns\n"
        "                             multi-colour off unless --multicolour 1 is given\n"
        "  dpi KIND [STAGE CPI | --select STAGE]\n"
        "                             the mouse's (or mouse-receiver's) DPI stages: stage,\n"
        "                             on, position, CPI, colour, * for the current one; set\n"
        "                             stage STAGE (0-4) to CPI counts per inch, or select it\n"
        "  rate KIND [INDEX]          print or set the mouse's report-rate option (0-4)\n"
        "  headset [mic LEVEL|on|off] [monitor LEVEL|on|off] [eq PRESET] [effect N|on|off]\n"
        "                             change and print the headset's audio settings\n"
        "  update [--url URL]         ask the update service at URL (default: the variable\n"
        "                             QUARIN_Z17_UPDATE_URL) about the connected devices'\n"
        "                             firmware and this program: name, local version, server\n"
        "                             version, newer|current|no-link|unknown. Exit code 1\n"
        "                             when the service cannot be reached\n"
        "  Profile, key and macro commands work on the program's files; KIND is keyboard,\n"
        "  mouse, mousepad or headset (macros: keyboard or mouse; the receivers share their\n"
        "  product's files). 'profile list', 'key get', 'macro list' and 'macro show' only\n"
        "  read; a file that cannot be read is never replaced, and a\n"
        "  damaged one is kept as NAME.broken-TIME when it is rebuilt.\n"
        "  While the configurator (quarin-z17) runs it owns the devices: without --demo each\n"
        "  command runs in it, through its D-Bus interface, on its devices and files, and\n"
        "  prints what it would print here (a relative FILE is made absolute first).\n\n"
        "Options:\n"
        "  --demo[=LIST]  use virtual devices instead of real ones; LIST is a comma-separated\n"
        "                 choice of keyboard, keyboard-receiver, mouse, mouse-receiver,\n"
        "                 mousepad, headset (default: keyboard,mouse,mousepad,headset)\n"
        "  --json         print one JSON object on the output instead of text: \"api_version\"\n"
        "                 (1), \"command\", and the command's data, \"ok\": true for a command\n"
        "                 that prints nothing, or \"error\" with the message also written to\n"
        "                 the error output; the exit codes stay (see docs/ctl-json.md)\n"
        "  -h, --help     show this help\n"
        "  -v, --version  show the version\n\n"
        "Exit codes: 0 success, 1 device not found or command failed, 2 bad usage.\n");
}

// Bad usage of the command line itself; under --json also the error object on the output.
int Usage(const std::string& message, bool json, const std::vector<std::string>& args) {
    return ctl::CommandLineUsage(message, json, args, {});
}

// The command went to the running configurator: its output as it came, or why it was not run.
int PrintForwarded(const ctl::ForwardResult& result, bool json,
                   const std::vector<std::string>& args) {
    if (result.kind == ctl::ForwardResult::Kind::Answered) {
        std::fwrite(result.run.out.data(), 1, result.run.out.size(), stdout);
        std::fwrite(result.run.err.data(), 1, result.run.err.size(), stderr);
        return result.run.exitCode;
    }
    return ctl::RunReported(json, ctl::JsonCommandName(args), {}, [&](const ctl::Output& output) {
        return ctl::Failed(output, "the running configurator owns the devices but did not run "
                                   "the command (" +
                                       result.error +
                                       "); an older configurator cannot: close it, or update it");
    });
}

} // namespace

int main(int argc, char** argv) {
    bool demo = false;
    bool json = false;
    for (int i = 1; i < argc; ++i)
        json = json || std::strcmp(argv[i], "--json") == 0;
    std::vector<sim::VirtualProduct> products;
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "-h" || arg == "--help") {
            PrintUsage(stdout);
            return ctl::kExitOk;
        }
        if (arg == "-v" || arg == "--version") {
            std::printf("quarin-z17ctl %s\n", QUARIN_VERSION);
            return ctl::kExitOk;
        }
        if (arg == "--json")
            continue;
        if (arg == "--demo" || arg.rfind("--demo=", 0) == 0) {
            demo = true;
            if (arg == "--demo") {
                products = sim::DefaultDemoProducts();
            } else {
                sim::ProductListResult parsed = sim::ParseProductList(arg.substr(7));
                if (!parsed.error.empty())
                    return Usage(parsed.error, json, args);
                products = std::move(parsed.products);
            }
            continue;
        }
        // The light, macro, dpi and update commands have options of their own.
        if (!ctl::WordAllowed(args, arg))
            return Usage("unknown option '" + arg + "'", json, args);
        args.push_back(arg);
    }
    if (const std::optional<std::string> message = ctl::CheckCommandWords(args))
        return Usage(*message, json, args);

    // While the configurator runs it owns the devices: the command runs there. The demo's
    // virtual devices are this process's own.
    if (!demo) {
        const ctl::ForwardResult forwarded =
            ctl::ForwardToRunningProgram(ctl::AbsoluteFileWords(args), json);
        if (forwarded.kind != ctl::ForwardResult::Kind::NoProgram)
            return PrintForwarded(forwarded, json, args);
    }

    sim::VirtualHidBackend virtualBackend;
    std::vector<std::shared_ptr<sim::VirtualDevice>> plugged;
    if (demo) {
        for (sim::VirtualProduct product : products) {
            plugged.push_back(sim::MakeVirtualDevice(product));
            virtualBackend.Plug(plugged.back());
        }
    }
    transport::HidBackend& backend = demo ? virtualBackend : transport::DefaultHidBackend();
    if (demo)
        devices::CHeadsetAudio::SetLibraryFactory(
            [] { return std::make_unique<headset::VirtualHeadsetLibrary>(); });
    else
        // The equaliser filter lives in the configurator while it runs; a command that ends at
        // once would only build and drop it, so here the bands are stored only.
        devices::CHeadsetAudio::SetLibraryFactory(
            [] { return std::make_unique<headset::AlsaHeadsetLibrary>(); });

    ctl::DispatchContext context;
    context.installedVersion = QUARIN_VERSION;
    return ctl::RunCommandLine(backend, args, json, {}, context);
}
