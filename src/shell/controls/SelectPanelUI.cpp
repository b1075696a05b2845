#include "shell/controls/SelectPanelUI.h"

#include "shell/controls/DeviceKeyButtonUI.h"
#include "ui/ControlTree.h"

#include <QRubberBand>

namespace shell {

CSelectPanelUI::CSelectPanelUI() {
    // Not an item: the band is drawn over the keys and laid out by hand.
    m_band = new QRubberBand(QRubberBand::Rectangle, this);
    m_band->hide();
}

void CSelectPanelUI::mousePressEvent(QMouseEvent* event) {
    CVerticalLayoutUI::mousePressEvent(event);
    if (event->button() != Qt::LeftButton || !isEnabled())
        return;
    m_pressed = true;
    m_anchor = event->position().toPoint();
    event->accept();
}

void CSelectPanelUI::mouseMoveEvent(QMouseEvent* event) {
    CVerticalLayoutUI::mouseMoveEvent(event);
    if (!m_pressed)
        return;
    m_dragging = true;
    m_current = event->position().toPoint();
    m_selection =
        QRect(QPoint(qMin(m_anchor.x(), m_current.x()), qMin(m_anchor.y(), m_current.y())),
              QPoint(qMax(m_anchor.x(), m_current.x()), qMax(m_anchor.y(), m_current.y())));
    m_band->setGeometry(m_selection);
    m_band->raise();
    m_band->show();
    update();
}

void CSelectPanelUI::mouseReleaseEvent(QMouseEvent* event) {
    CVerticalLayoutUI::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    m_pressed = false;
    if (!m_dragging)
        return;
    m_dragging = false;
    MarkKeysInBand();
    m_band->hide();
    update();
    Notify(kClickSelectEnd);
}

void CSelectPanelUI::MarkKeysInBand() {
    ui::WalkTree(this, [this](ui::CControlUI* control) {
        if (control->GetClass() != QLatin1String("DeviceKeyButton"))
            return true;
        if (auto* key = dynamic_cast<CDeviceKeyButtonUI*>(control)) {
            const QRect where(key->mapTo(this, QPoint(0, 0)), key->size());
            key->SetSelectedByBand(where.intersects(m_selection) ? 1 : 0);
        }
        return true;
    });
}

} // namespace shell
