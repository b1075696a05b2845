#include "shell/controls/HandImgSelectButtonUI.h"

#include "shell/controls/SkinImage.h"

#include <QHash>
#include <QPainter>

namespace shell {

namespace {
bool CursorByName(const QString& name, Qt::CursorShape& shape) {
    static const QHash<QString, Qt::CursorShape> shapes = {
        {QStringLiteral("arrow"), Qt::ArrowCursor},
        {QStringLiteral("ibeam"), Qt::IBeamCursor},
        {QStringLiteral("wait"), Qt::WaitCursor},
        {QStringLiteral("cross"), Qt::CrossCursor},
        {QStringLiteral("uparrow"), Qt::UpArrowCursor},
        {QStringLiteral("size"), Qt::SizeAllCursor},
        {QStringLiteral("icon"), Qt::ArrowCursor},
        {QStringLiteral("sizenwse"), Qt::SizeFDiagCursor},
        {QStringLiteral("sizenesw"), Qt::SizeBDiagCursor},
        {QStringLiteral("sizewe"), Qt::SizeHorCursor},
        {QStringLiteral("sizens"), Qt::SizeVerCursor},
        {QStringLiteral("sizeall"), Qt::SizeAllCursor},
        {QStringLiteral("no"), Qt::ForbiddenCursor},
        {QStringLiteral("hand"), Qt::PointingHandCursor},
    };
    const auto found = shapes.constFind(name.trimmed().toLower());
    if (found == shapes.constEnd())
        return false;
    shape = *found;
    return true;
}
} // namespace

void CHandImgSelectButtonUI::SetAttribute(const QString& name, const QString& value) {
    const QString key = name.toLower();
    Qt::CursorShape shape;
    if (key == QLatin1String("handimage"))
        SetHandImage(value);
    else if (key == QLatin1String("cursor")) {
        if (CursorByName(value, shape))
            setCursor(shape);
    } else {
        CButtonUI::SetAttribute(name, value);
    }
}

void CHandImgSelectButtonUI::SetHandImage(const QString& image) {
    m_handImage = image;
    m_image = LoadSkinImage(image);
    m_imageSize = m_image.size();
    m_offset = QPoint();
    update();
}

bool CHandImgSelectButtonUI::IsLargerThanControl() const {
    return m_imageSize.width() > width() || m_imageSize.height() > height();
}

QRect CHandImgSelectButtonUI::GetSourceRect() const {
    if (!IsLargerThanControl())
        return QRect(QPoint(), m_imageSize);
    return QRect(m_offset,
                 QSize(qMin(width(), m_imageSize.width()), qMin(height(), m_imageSize.height())));
}

QString CHandImgSelectButtonUI::GetDrawImageText() const {
    QString text = QStringLiteral("file='%1' ").arg(m_handImage);
    if (IsLargerThanControl()) {
        const QRect s = GetSourceRect();
        text += QStringLiteral("source='%1,%2,%3,%4'")
                    .arg(s.left())
                    .arg(s.top())
                    .arg(s.left() + s.width())
                    .arg(s.top() + s.height());
    }
    return text;
}

void CHandImgSelectButtonUI::ClampOffset() {
    const int maxX = qMax(0, m_imageSize.width() - width());
    const int maxY = qMax(0, m_imageSize.height() - height());
    m_offset.setX(qBound(0, m_offset.x(), maxX));
    m_offset.setY(qBound(0, m_offset.y(), maxY));
}

void CHandImgSelectButtonUI::paintEvent(QPaintEvent* event) {
    CButtonUI::paintEvent(event);
    if (m_image.isNull())
        return;
    QPainter painter(this);
    const QRect source = GetSourceRect();
    if (IsLargerThanControl())
        painter.drawImage(QRect(QPoint(), source.size()), m_image, source);
    else
        painter.drawImage(rect(), m_image);
}

void CHandImgSelectButtonUI::mousePressEvent(QMouseEvent* event) {
    CButtonUI::mousePressEvent(event);
    if (event->button() == Qt::LeftButton) {
        m_pressed = event->position().toPoint();
        m_dragging = true;
    }
}

void CHandImgSelectButtonUI::mouseMoveEvent(QMouseEvent* event) {
    CButtonUI::mouseMoveEvent(event);
    if (!m_dragging)
        return;
    const QPoint at = event->position().toPoint();
    m_offset += at - m_pressed;
    m_pressed = at;
    ClampOffset();
    update();
}

void CHandImgSelectButtonUI::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        m_dragging = false;
    CButtonUI::mouseReleaseEvent(event);
}

void CHandImgSelectButtonUI::resizeEvent(QResizeEvent* event) {
    CButtonUI::resizeEvent(event);
    ClampOffset();
}

} // namespace shell
