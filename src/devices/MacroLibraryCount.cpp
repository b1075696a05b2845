#include "devices/MacroLibraryCount.h"

#include "config/MacroFiles.h"

#include <limits>

namespace devices {

int CountLibraryMacros(const std::string& userDataFolder) {
    if (userDataFolder.empty())
        return 0;
    const std::size_t size = config::ReadMacroIndex(userDataFolder).macros.size();
    return size > static_cast<std::size_t>(std::numeric_limits<int>::max())
               ? std::numeric_limits<int>::max()
               : static_cast<int>(size);
}

bool IsLibraryUnreadable(const std::string& userDataFolder) {
    return !userDataFolder.empty() && config::ReadMacroIndex(userDataFolder).Refused();
}

} // namespace devices
