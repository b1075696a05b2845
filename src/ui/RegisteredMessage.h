#pragma once
// Message numbers registered by name: the same name always gives the same number, within
// 0xC000-0xFFFF, for the whole run.

#include "ui/UIDefs.h"

namespace ui {

// Returns 0 when the range is exhausted.
UINT RegisterWindowMessage(const QString& name);

} // namespace ui
