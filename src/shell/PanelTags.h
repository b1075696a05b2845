#pragma once
// The tags of the skin that stand for a whole panel built from its own file: what the main
// window's builder callback makes of them while device pages are built.

#include <QString>

namespace ui {
class CControlUI;
class CPaintManagerUI;
} // namespace ui

namespace shell {

// The control tree of the panel named by `tag` ("DeviceProfileUI", "KeySetControlUI", ...),
// built with `manager` and no callback; nullptr for another tag or a panel that is missing or
// cannot be built.
ui::CControlUI* CreatePanelForTag(const QString& tag, ui::CPaintManagerUI* manager);

} // namespace shell
