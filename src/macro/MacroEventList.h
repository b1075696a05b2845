#pragma once
// The events of the macro being edited, in playback order, and the selected row (−1 when
// none): what the recorder writes into and what the editor shows.

#include "config/MacroEvent.h"

#include <cstddef>
#include <vector>

namespace macro {

// Recording adds no row once the list holds this many.
inline constexpr std::size_t kMaxMacroRows = 4000;

struct MacroEventList {
    std::vector<config::MacroEvent> events;
    int selected = -1;

    bool HasSelection() const {
        return selected >= 0 && static_cast<std::size_t>(selected) < events.size();
    }
};

} // namespace macro
