#pragma once
// The panel that holds a device's on-screen keys: dragging over it with the mouse draws a
// rubber band, and releasing marks exactly the key buttons the band touches as
// selected-by-band, then sends "click_select_end".

#include "ui/ContainerUI.h"

class QRubberBand;

namespace shell {

inline const QString kClickSelectEnd = QStringLiteral("click_select_end");

class CSelectPanelUI : public ui::CVerticalLayoutUI {
public:
    CSelectPanelUI();
    QString GetClass() const override { return QStringLiteral("SelectPanel"); }
    // The last band, in the panel's coordinates.
    QRect GetSelectionRect() const { return m_selection; }
    bool IsDragging() const { return m_dragging; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void MarkKeysInBand();

    QRubberBand* m_band = nullptr;
    bool m_pressed = false;
    bool m_dragging = false;
    QPoint m_anchor;
    QPoint m_current;
    QRect m_selection;
};

} // namespace shell
