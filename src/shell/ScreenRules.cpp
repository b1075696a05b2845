#include "shell/ScreenRules.h"

#include "ui/MenuWnd.h"

namespace shell {

int DpiForMonitor(QSize monitor) {
    return monitor.width() > 1500 && monitor.height() > 960 ? 144 : 96;
}

namespace {
// The panel's rectangle relative to the screen's top-left corner; empty without a panel.
QRect PanelRect(const QRect& screen, const QRect& available) {
    const QRect s = screen.translated(-screen.topLeft());
    const QRect a = available.translated(-screen.topLeft());
    if (a.top() > s.top())
        return QRect(0, 0, s.width(), a.top());
    if (a.left() > s.left())
        return QRect(0, 0, a.left(), s.height());
    if (a.bottom() < s.bottom())
        return QRect(0, a.bottom() + 1, s.width(), s.bottom() - a.bottom());
    if (a.right() < s.right())
        return QRect(a.right() + 1, 0, s.right() - a.right(), s.height());
    return {};
}
} // namespace

MenuPlacement PlaceTrayMenu(QPoint cursor, const QRect& screen, const QRect& available) {
    using namespace ui;
    MenuPlacement placement{cursor, eMenuAlignment_Left | eMenuAlignment_Top};
    const QRect panel = PanelRect(screen, available);
    if (panel.isEmpty())
        return placement;
    const QPoint origin = screen.topLeft();
    if (panel.left() == 0 && panel.top() == 0 && panel.width() > panel.height()) {
        placement.point.setY(origin.y() + panel.height() + 1);
        placement.alignment = eMenuAlignment_Top | eMenuAlignment_Right;
    } else if (panel.left() == 0 && panel.top() == 0 && panel.height() > panel.width()) {
        placement.point.setX(origin.x() + panel.width() + 1);
        placement.alignment = eMenuAlignment_Left | eMenuAlignment_Bottom;
    } else if (panel.left() == 0 && panel.top() > 0) {
        placement.point.setY(origin.y() + panel.top() - 20);
        placement.alignment = eMenuAlignment_Right | eMenuAlignment_Bottom;
    } else if (panel.left() > 0 && panel.top() == 0) {
        placement.point.setX(origin.x() + panel.left() - 1);
        placement.alignment = eMenuAlignment_Right | eMenuAlignment_Bottom;
    }
    return placement;
}

} // namespace shell
