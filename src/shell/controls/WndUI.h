#pragma once
// A control that holds a separate window (a widget that is not a control) and keeps it on the
// control's rectangle: moved with the control, shown and hidden with it.

#include "ui/ControlUI.h"

#include <QPointer>

namespace shell {

class CWndUI : public ui::ControlWidget<QWidget> {
public:
    QString GetClass() const override { return QStringLiteral("Wnd"); }
    // Takes `window` (not owned) and places it; nullptr lets go of the current one.
    void Attach(QWidget* window);
    QWidget* Detach();
    QWidget* GetWindow() const { return m_window; }

protected:
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void Place();

    QPointer<QWidget> m_window;
};

} // namespace shell
