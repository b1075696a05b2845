#include "devices/LibraryMacroEvents.h"

namespace devices {

std::vector<config::MacroEvent> LibraryMacroEvents(const std::string& folder,
                                                   const std::vector<config::MacroInfo>& library,
                                                   int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= library.size())
        return {};
    const std::string& guid = library[static_cast<std::size_t>(index)].guid;
    if (!config::IsPlainMacroId(guid))
        return {};
    return config::ReadMacroEvents(config::MacroEventsPath(folder, guid)).events;
}

} // namespace devices
