#pragma once
// Puts a background choice on a window's "root" control: a colour clears the image, an image
// clears the colour. This is what the main window does when the skin changes.

#include "shell/windows/SkinNotifier.h"

namespace ui {
class CPaintManagerUI;
}

namespace shell {

// Returns 1; a manager without "root" is left alone.
int ApplySkinToRoot(ui::CPaintManagerUI& manager, const SkinChangedParam& param);

} // namespace shell
