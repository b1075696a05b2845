#pragma once
// Where the program's files are. Paths end with a slash.
//  - program data folder: the skin, "DefaultData" and "Font" shipped with the program: the
//    folder named by QUARIN_Z17_DATA_DIR when set, else the installed share folder beside the
//    program (../share/quarin-z17/ from its bin folder, as the install rules put it), else the
//    source tree's data/ when run from the build;
//  - user folder: $XDG_DATA_HOME (default ~/.local/share) + "QUARIN Z17 Keyboard/".
// A relative $XDG_DATA_HOME or $XDG_CONFIG_HOME is ignored (the default applies).
// The environment is read on every call, so tests can point them elsewhere.

#include <string>

namespace platform {

inline constexpr const char* kProductTitle = "QUARIN Z17 Keyboard";

std::string ProgramDataFolder();
// The program data folder of the program at `program` (a path to its executable), without
// looking at QUARIN_Z17_DATA_DIR: the installed share folder relative to it when that holds
// a skin folder, else the source tree's data/.
std::string ProgramDataFolderFor(const std::string& program);
// The running executable's absolute path, or an empty string when it cannot be told.
std::string RunningProgram();
std::string DefaultDataFolder(); // ProgramDataFolder() + "DefaultData/"
std::string SkinFolder();        // ProgramDataFolder() + "skin/"
// ProgramDataFolder() + "Font/"; from the build tree, the build's data/Font (the fonts are
// copied there from the system's font packages, not kept in the source tree).
std::string FontFolder();
// The user folder, created (with its parents) when missing. Empty when it cannot be made.
std::string UserFolder();
// $XDG_CONFIG_HOME when absolute, else $HOME/.config; no trailing slash. Empty when neither
// is set.
std::string ConfigHome();
// The settings file: $XDG_CONFIG_HOME (default ~/.config) +
// "QUARIN Z17 Keyboard/QUARIN Z17 Keyboard.conf". Not created here.
std::string SettingsFile();

} // namespace platform
