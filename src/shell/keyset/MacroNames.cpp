#include "shell/keyset/MacroNames.h"

#include "config/JsonFile.h"

namespace shell::keyset {

QStringList ReadMacroNames(const std::string& userDataFolder) {
    QStringList names;
    if (userDataFolder.empty())
        return names;
    const Json::Value library = config::ReadJsonFile(userDataFolder + "macro.config");
    if (!library.isObject() || !library["MacroInfo"].isArray())
        return names;
    for (const Json::Value& entry : library["MacroInfo"]) {
        const Json::Value& name = entry.isObject() ? entry["MacroName"] : Json::Value();
        names << (name.isString() ? QString::fromStdString(name.asString()) : QString());
    }
    return names;
}

} // namespace shell::keyset
