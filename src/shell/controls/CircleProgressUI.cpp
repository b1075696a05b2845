#include "shell/controls/CircleProgressUI.h"

#include <QPainter>

namespace shell {

void CCircleProgressUI::SetForeColor(std::uint32_t argb) {
    m_foreColor = argb;
    update();
}

void CCircleProgressUI::SetAttribute(const QString& name, const QString& value) {
    if (name.compare(QLatin1String("forecolor"), Qt::CaseInsensitive) == 0)
        SetForeColor(ParseColour(value));
    else
        CProgressUI::SetAttribute(name, value);
}

void CCircleProgressUI::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    const QRectF circle = rect();
    painter.setBrush(QColor::fromRgba(GetBkColor()));
    painter.drawPie(circle, 0, 360 * 16);

    const int range = maximum() - minimum();
    if (range > 0) {
        // From the bottom, clockwise on screen (Qt counts angles anticlockwise).
        const double sweep = static_cast<double>(qMax(0, value())) / range * 360.0;
        painter.setBrush(QColor::fromRgba(m_foreColor));
        painter.drawPie(circle, -90 * 16, -qRound(sweep * 16));
    }
    painter.setBrush(Qt::white);
    painter.drawEllipse(circle.adjusted(10, 10, -10, -10));
}

} // namespace shell
