#include "platform/Autostart.h"

#include "platform/Paths.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string_view>
#include <system_error>
#include <unistd.h>

namespace platform {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kExecKey = "Exec=";

std::string Trimmed(std::string line) {
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
        line.pop_back();
    return line;
}

bool ReadWhole(const std::string& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream content;
    content << in.rdbuf();
    text = content.str();
    return !in.bad();
}

// The new content goes to a temporary file in the same folder, is flushed and renamed over the
// old entry, so that a login never meets half an entry.
bool ReplaceWhole(const fs::path& path, const std::string& text) {
    const std::string temporary = path.string() + ".new";
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (!file)
        return false;
    bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    written = std::fflush(file) == 0 && written;
    written = ::fsync(fileno(file)) == 0 && written;
    written = std::fclose(file) == 0 && written;
    if (written && std::rename(temporary.c_str(), path.c_str()) == 0)
        return true;
    std::remove(temporary.c_str());
    return false;
}

} // namespace

std::string AutostartFile() {
    const std::string base = ConfigHome();
    if (base.empty())
        return {};
    return (fs::path(base) / "autostart" / "quarin-z17.desktop").string();
}

bool IsAutostartOn() {
    const std::string path = AutostartFile();
    std::string text;
    if (path.empty() || !ReadWhole(path, text))
        return false;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        line = Trimmed(line);
        if (line == "Hidden=true" || line == "X-GNOME-Autostart-enabled=false")
            return false;
    }
    return true;
}

std::string ExecArgument(const std::string& argument) {
    static constexpr std::string_view kReserved = " \t\n\"'\\><~|&;$*?#()`";
    const bool quote = argument.empty() || argument.find_first_of(kReserved) != std::string::npos;
    std::string out = quote ? "\"" : "";
    for (char c : argument) {
        if (c == '%') {
            out += "%%";
        } else if (quote && c == '\\') {
            out += "\\\\\\\\"; // "\\" by the quoting rule, each backslash doubled as a string
        } else if (quote && (c == '"' || c == '`' || c == '$')) {
            out += "\\\\"; // the quoting rule's backslash, doubled as a string
            out += c;
        } else {
            out += c;
        }
    }
    if (quote)
        out += '"';
    return out;
}

std::string AutostartEntry(const std::string& templateText, const std::string& program) {
    std::istringstream lines(templateText);
    std::string entry;
    bool execFound = false;
    for (std::string line; std::getline(lines, line);) {
        line = Trimmed(line);
        if (line.rfind(kExecKey, 0) == 0 && !execFound) {
            execFound = true;
            if (!program.empty()) {
                // The template's program is a single word; its arguments follow it.
                const std::string value = line.substr(kExecKey.size());
                const std::size_t space = value.find(' ');
                const std::string arguments = space == std::string::npos ? "" : value.substr(space);
                line = std::string(kExecKey) + ExecArgument(program) + arguments;
            }
        }
        entry += line;
        entry += '\n';
    }
    return execFound ? entry : std::string();
}

bool SetAutostart(bool on, const std::string& templateFile, const std::string& program) {
    const std::string path = AutostartFile();
    if (path.empty())
        return false;
    std::error_code ec;
    if (!on) {
        fs::remove(path, ec);
        return !ec && !fs::exists(path, ec);
    }
    std::string templateText;
    if (!ReadWhole(templateFile, templateText))
        return false;
    // A program path with a line break cannot stand in a desktop entry.
    if (program.find_first_of("\r\n") != std::string::npos)
        return false;
    const std::string entry = AutostartEntry(templateText, program);
    if (entry.empty())
        return false;
    fs::create_directories(fs::path(path).parent_path(), ec);
    return ReplaceWhole(path, entry) && IsAutostartOn();
}

bool SetAutostart(bool on) {
    return SetAutostart(on, ProgramDataFolder() + kAutostartTemplate, RunningProgram());
}

} // namespace platform
