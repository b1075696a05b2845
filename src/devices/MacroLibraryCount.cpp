#include "devices/MacroLibraryCount.h"

#include "config/JsonFile.h"

#include <limits>

namespace devices {

int CountLibraryMacros(const std::string& userDataFolder) {
    if (userDataFolder.empty())
        return 0;
    const Json::Value library = config::ReadJsonFile(userDataFolder + "macro.config");
    if (!library.isObject() || !library["MacroInfo"].isArray())
        return 0;
    const Json::ArrayIndex size = library["MacroInfo"].size();
    return size > static_cast<Json::ArrayIndex>(std::numeric_limits<int>::max())
               ? std::numeric_limits<int>::max()
               : static_cast<int>(size);
}

} // namespace devices
