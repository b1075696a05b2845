#include "platform/Paths.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace platform {

namespace fs = std::filesystem;

namespace {
std::string WithSlash(const fs::path& path) {
    std::string s = path.string();
    if (s.empty() || s.back() != '/')
        s += '/';
    return s;
}
} // namespace

std::string ProgramDataFolderFor(const std::string& program) {
    std::error_code ec;
    if (!program.empty()) {
        const fs::path installed =
            (fs::path(program).parent_path() / QUARIN_INSTALLED_DATA_FROM_PROGRAM)
                .lexically_normal();
        if (fs::is_directory(installed / "skin", ec))
            return WithSlash(installed);
    }
    return WithSlash(QUARIN_SOURCE_DATA_DIR);
}

std::string RunningProgram() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : exe.string();
}

std::string ProgramDataFolder() {
    if (const char* dir = std::getenv("QUARIN_Z17_DATA_DIR"); dir && *dir)
        return WithSlash(dir);
    return ProgramDataFolderFor(RunningProgram());
}

std::string DefaultDataFolder() {
    return ProgramDataFolder() + "DefaultData/";
}
std::string SkinFolder() {
    return ProgramDataFolder() + "skin/";
}
std::string FontFolder() {
    const std::string data = ProgramDataFolder();
    // From the build tree the fonts are the build's copies of the system's font packages.
    if (data == WithSlash(QUARIN_SOURCE_DATA_DIR))
        return WithSlash(QUARIN_BUILD_FONT_DIR);
    return data + "Font/";
}

// $<variable>, else $HOME/<fallback>; empty when neither is set. A relative $<variable> is
// ignored, as the XDG base directory rules want: it would name a different folder from each
// working folder the program is started in.
fs::path XdgBase(const char* variable, const char* fallback) {
    if (const char* xdg = std::getenv(variable); xdg && *xdg && fs::path(xdg).is_absolute())
        return xdg;
    if (const char* home = std::getenv("HOME"); home && *home)
        return fs::path(home) / fallback;
    return {};
}

std::string UserFolder() {
    const fs::path base = XdgBase("XDG_DATA_HOME", ".local/share");
    if (base.empty())
        return {};
    const fs::path folder = base / kProductTitle;
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (!fs::is_directory(folder, ec))
        return {};
    return WithSlash(folder);
}

std::string ConfigHome() {
    return XdgBase("XDG_CONFIG_HOME", ".config").string();
}

std::string SettingsFile() {
    const std::string base = ConfigHome();
    if (base.empty())
        return {};
    return (fs::path(base) / kProductTitle / (std::string(kProductTitle) + ".conf")).string();
}

} // namespace platform
