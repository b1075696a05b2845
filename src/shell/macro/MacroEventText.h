#pragma once
// How an event row of the macro editor shows its event: the action label's text and style,
// the direction label's text and style.

#include "config/MacroEvent.h"

#include <QString>

namespace shell::macro {

// The key's name (kinds 9 and 10, from the key name table), the mouse button, or a move's
// direction and distance; a number for kinds nothing here makes.
QString MacroEventText(const config::MacroEvent& event);
// "macro_label_keyboard_style" (kinds 9, 10), "macro_label_mouse_style" (1 to 5) or
// "macro_label_text_style".
QString MacroEventStyle(const config::MacroEvent& event);
QString MacroDirectionText(const config::MacroEvent& event);
// "macro_label_down_style" or "macro_label_up_style".
QString MacroDirectionStyle(const config::MacroEvent& event);

} // namespace shell::macro
