#include "shell/controls/HandImgButtonUI.h"

#include "shell/controls/SkinImage.h"

#include <QPainter>

namespace shell {

CHandImgButtonUI::CHandImgButtonUI() {
    setAttribute(Qt::WA_Hover, true);
}

void CHandImgButtonUI::SetAttribute(const QString& name, const QString& value) {
    const QString key = name.toLower();
    if (key == QLatin1String("handimage"))
        m_handImage = value;
    else if (key == QLatin1String("deletenormalimage"))
        m_deleteNormalImage = value;
    else if (key == QLatin1String("deletehotimage"))
        m_deleteHotImage = value;
    else
        return CButtonUI::SetAttribute(name, value);
    update();
}

void CHandImgButtonUI::SetNoDelete(bool noDelete) {
    m_noDelete = noDelete;
    update();
}

QRect CHandImgButtonUI::DeleteRect() const {
    return QRect(width() - Scaled(30), height() - Scaled(29), Scaled(20), Scaled(20));
}

void CHandImgButtonUI::paintEvent(QPaintEvent* event) {
    CButtonUI::paintEvent(event);
    QPainter painter(this);
    const QImage hand = LoadSkinImage(m_handImage);
    if (!hand.isNull())
        painter.drawImage(rect(), hand);
    if (!m_noDelete && underMouse()) {
        const QImage hot = LoadSkinImage(m_deleteHotImage);
        if (!hot.isNull())
            painter.drawImage(DeleteRect(), hot);
    }
}

void CHandImgButtonUI::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && !m_noDelete &&
        DeleteRect().contains(event->position().toPoint())) {
        // The delete spot takes the release: no click.
        setDown(false);
        event->accept();
        Notify(kClickHandDelete);
        return;
    }
    CButtonUI::mouseReleaseEvent(event);
}

} // namespace shell
