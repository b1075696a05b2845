#include "ctl/CommandLine.h"

#include "ctl/JsonOutput.h"

#include <cstdio>
#include <cstdlib>

namespace ctl {

namespace {

bool TakesOptions(const std::string& command) {
    return command == "light" || command == "macro" || command == "dpi" || command == "update";
}

// The commands and the number of words each takes, command included; 0 for any.
int CommandWords(const std::string& command) {
    if (command == "devices")
        return 1;
    if (command == "info" || command == "keytable" || command == "apply")
        return 2;
    for (const char* any : {"profile", "key", "macro", "light", "dpi", "rate", "headset", "update"})
        if (command == any)
            return 0;
    return -1;
}

const char* WordsMessage(const std::string& command) {
    if (command == "devices")
        return "'devices' takes no arguments";
    if (command == "info")
        return "'info' takes one KIND: keyboard, mouse or mousepad";
    if (command == "keytable")
        return "'keytable' takes one KIND: keyboard or keyboard-receiver";
    return "'apply' takes one KIND: keyboard or keyboard-receiver";
}

// Output and error output in memory for the length of one command.
class MemoryStream {
public:
    MemoryStream() : m_file(open_memstream(&m_text, &m_size)) {}
    ~MemoryStream() {
        Close();
        std::free(m_text);
    }
    MemoryStream(const MemoryStream&) = delete;
    MemoryStream& operator=(const MemoryStream&) = delete;
    std::FILE* File() const { return m_file; }
    bool IsOpen() const { return m_file != nullptr; }
    std::string Take() {
        Close();
        return m_text ? std::string(m_text, m_size) : std::string();
    }

private:
    void Close() {
        if (m_file)
            std::fclose(m_file);
        m_file = nullptr;
    }
    char* m_text = nullptr;
    std::size_t m_size = 0;
    std::FILE* m_file;
};

} // namespace

bool WordAllowed(const std::vector<std::string>& before, const std::string& word) {
    return word.rfind('-', 0) != 0 || (!before.empty() && TakesOptions(before[0]));
}

std::optional<std::string> CheckCommandWords(const std::vector<std::string>& args) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (!WordAllowed({args.begin(), args.begin() + static_cast<long>(i)}, args[i]))
            return "unknown option '" + args[i] + "'";
    }
    if (args.empty())
        return std::string("no command given");
    const int words = CommandWords(args[0]);
    if (words < 0)
        return "unknown command '" + args[0] + "'";
    if (words > 0 && args.size() != static_cast<std::size_t>(words))
        return std::string(WordsMessage(args[0]));
    return std::nullopt;
}

int CommandLineUsage(const std::string& message, bool json, const std::vector<std::string>& args,
                     const Output& output) {
    std::fprintf(output.err, "quarin-z17ctl: %s\nTry 'quarin-z17ctl --help'.\n", message.c_str());
    if (json) {
        JsonReport report;
        report.SetError(message);
        WriteJson(output.out, report.Document(JsonCommandName(args), kExitUsage));
    }
    return kExitUsage;
}

std::optional<std::size_t> FileWordIndex(const std::vector<std::string>& args) {
    if (args.size() == 4 && args[0] == "profile" && (args[1] == "export" || args[1] == "import"))
        return 3;
    if (args.size() == 4 && args[0] == "macro" && args[1] == "import")
        return 3;
    if (args.size() == 5 && args[0] == "macro" && args[1] == "export")
        return 4;
    return std::nullopt;
}

int RunCommandLine(transport::HidBackend& backend, const std::vector<std::string>& args, bool json,
                   const Output& output, const DispatchContext& context) {
    if (const std::optional<std::string> message = CheckCommandWords(args))
        return CommandLineUsage(*message, json, args, output);
    return RunReported(json, JsonCommandName(args), output, [&](const Output& reported) {
        return Dispatch(backend, args, reported, context);
    });
}

CapturedRun RunForwardedCommand(transport::HidBackend& backend,
                                const std::vector<std::string>& args, bool json,
                                const DispatchContext& context) {
    MemoryStream out;
    MemoryStream err;
    CapturedRun run;
    if (!out.IsOpen() || !err.IsOpen()) {
        run.err = "quarin-z17ctl: the configurator has no memory for the command's output\n";
        return run;
    }
    const Output output{out.File(), err.File()};
    const std::optional<std::size_t> file = FileWordIndex(args);
    if (file && args[*file].rfind('/', 0) != 0 && !CheckCommandWords(args))
        run.exitCode = CommandLineUsage("FILE must be an absolute path: the configurator's working "
                                        "folder is not the caller's",
                                        json, args, output);
    else
        run.exitCode = RunCommandLine(backend, args, json, output, context);
    run.out = out.Take();
    run.err = err.Take();
    return run;
}

} // namespace ctl
