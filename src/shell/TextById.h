#pragma once
// A text id turned into the current language's text the way the skin does it: put into a hidden
// label ("text_test", or "str_test" for messages) of the window and read back.

#include <QString>

namespace ui {
class CPaintManagerUI;
}

namespace shell {

inline constexpr const char* kTextLabel = "text_test";
inline constexpr const char* kMessageLabel = "str_test";

// Empty when the window has no such label.
QString TextThroughLabel(const ui::CPaintManagerUI& window, const char* label, const QString& id);

} // namespace shell
