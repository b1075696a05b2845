#pragma once
// One row of the macro editor's event list: a "macro_action" list element 30 high holding the
// action label, the direction label and the delay edit "macro_delay"; its user data is the
// event's JSON text. The delay edit's text is the delay a save writes.

#include "config/MacroEvent.h"

#include <QString>

namespace ui {
class CControlUI;
class CEditUI;
class CListContainerElementUI;
} // namespace ui

namespace shell::macro {

inline constexpr int kEventRowHeight = 30;

// A new row showing the event.
ui::CListContainerElementUI* MakeEventRow(const config::MacroEvent& event);
// The row shows the event (labels, delay, stored JSON).
void ShowEventInRow(ui::CControlUI* row, const config::MacroEvent& event);
ui::CEditUI* DelayEditOfRow(ui::CControlUI* row);
// The delay in the row's edit: an empty edit is given "0", a number is written back in its
// plain decimal form, at most 65535.
std::uint16_t TakeRowDelay(ui::CControlUI* row);

} // namespace shell::macro
