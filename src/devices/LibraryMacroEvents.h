#pragma once
// The events of one macro of a device's library, as the keyboard and the mouse download them.

#include "config/MacroEvent.h"
#include "config/MacroFiles.h"

#include <string>
#include <vector>

namespace devices {

// The events of library macro `index`; none when the entry or its file is not there or cannot
// be read.
std::vector<config::MacroEvent> LibraryMacroEvents(const std::string& folder,
                                                   const std::vector<config::MacroInfo>& library,
                                                   int index);

} // namespace devices
