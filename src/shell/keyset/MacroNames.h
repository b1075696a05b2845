#pragma once
// The names of a device's macro library ("macro.config" in its user data folder), in library
// order: the names the key assignment panel offers for a macro key.

#include <QStringList>
#include <string>

namespace shell::keyset {

// Empty when the file is missing or unreadable; an entry without a name gives an empty name,
// so that positions still match the macro numbers of the key codes.
QStringList ReadMacroNames(const std::string& userDataFolder);

} // namespace shell::keyset
