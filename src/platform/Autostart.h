#pragma once
// "Start hidden in the tray when I log in": the desktop starts every entry of the user's
// autostart folder at login (the XDG autostart rules), so the switch is the presence of
// $XDG_CONFIG_HOME/autostart/quarin-z17.desktop (default ~/.config/autostart/). The entry is
// the shipped template (desktop/quarin-z17-autostart.desktop in the program data folder,
// whose Exec has --hidden) with the program named by its absolute path, so that it starts
// the very program that wrote it, installed or not.

#include <string>

namespace platform {

inline constexpr const char* kAutostartTemplate = "desktop/quarin-z17-autostart.desktop";

// The entry's path; empty when neither $XDG_CONFIG_HOME nor $HOME is set.
std::string AutostartFile();

// Whether the entry is there and the desktop has not switched it off ("Hidden=true", or
// GNOME's "X-GNOME-Autostart-enabled=false", set by its startup-application tools).
bool IsAutostartOn();

// On: writes the entry (creating the autostart folder), replacing the whole file at once, from
// `templateFile` with the program of its Exec line replaced by `program` (kept when `program`
// is empty). Off: removes the entry. Returns whether the entry is then in the state asked for;
// on failure nothing is left half-written.
bool SetAutostart(bool on, const std::string& templateFile, const std::string& program);
// The same with the program data folder's template and the running program.
bool SetAutostart(bool on);

// The template's text with the program of its Exec line replaced; empty when the template has
// no Exec line.
std::string AutostartEntry(const std::string& templateText, const std::string& program);

// `argument` written as one argument of a desktop entry's Exec value: quoted when it holds a
// reserved character, with the quoting rule's and the string type's escapes, and "%" doubled.
std::string ExecArgument(const std::string& argument);

} // namespace platform
