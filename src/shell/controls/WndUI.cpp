#include "shell/controls/WndUI.h"

#include "ui/PaintManagerUI.h"

namespace shell {

void CWndUI::Attach(QWidget* window) {
    m_window = window;
    Place();
}

QWidget* CWndUI::Detach() {
    QWidget* window = m_window;
    m_window = nullptr;
    return window;
}

void CWndUI::Place() {
    if (!m_window)
        return;
    QWidget* paintWindow = GetManager() ? GetManager()->GetHost() : nullptr;
    if (!paintWindow || !paintWindow->isAncestorOf(this))
        paintWindow = this->window();
    // A child of the paint window is placed in its coordinates, any other window on screen.
    const QPoint topLeft = m_window->parentWidget() == paintWindow
                               ? mapTo(paintWindow, QPoint(0, 0))
                               : mapToGlobal(QPoint(0, 0));
    m_window->setGeometry(QRect(topLeft, size()));
    m_window->setVisible(isVisible());
}

void CWndUI::moveEvent(QMoveEvent* event) {
    ControlWidget<QWidget>::moveEvent(event);
    Place();
}

void CWndUI::resizeEvent(QResizeEvent* event) {
    ControlWidget<QWidget>::resizeEvent(event);
    Place();
}

void CWndUI::showEvent(QShowEvent* event) {
    ControlWidget<QWidget>::showEvent(event);
    Place();
}

void CWndUI::hideEvent(QHideEvent* event) {
    ControlWidget<QWidget>::hideEvent(event);
    if (m_window)
        m_window->hide();
}

} // namespace shell
