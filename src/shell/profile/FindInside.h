#pragma once

#include <QString>

namespace ui {
class CControlUI;
}

namespace shell {

// The first control named `name` in the subtree of `root` (root included), walking the
// containers themselves, so that it works before the tree has a paint manager and finds the
// control of this page even when other pages use the same name.
ui::CControlUI* FindInside(ui::CControlUI* root, const QString& name);

} // namespace shell
