#pragma once
// Where the main window and the tray menu go on a screen. The panel (task bar) is whatever
// part of the screen its available area leaves out.

#include <QPoint>
#include <QRect>
#include <QSize>

namespace shell {

// 144 on a monitor wider than 1500 and higher than 960 pixels, else 96.
int DpiForMonitor(QSize monitor);
// The window's size at 96 DPI; the toolkit scales it by DPI / 96.
inline constexpr QSize kMainWindowSize{1000, 640};

struct MenuPlacement {
    QPoint point;
    int alignment; // ui::eMenuAlignment_* bits
};
// The tray menu at the cursor, moved off the panel: below a panel at the top, right of one
// at the left, 20 pixels above one at the bottom and left of one at the right.
MenuPlacement PlaceTrayMenu(QPoint cursor, const QRect& screen, const QRect& available);

} // namespace shell
