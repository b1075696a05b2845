#include "ui/ColorPaletteUI.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace ui {

namespace {
constexpr int kGap = 4;
}

CColorPaletteUI::CColorPaletteUI() {
    setCursor(Qt::CrossCursor);
    setMinimumSize(60, 40);
}

QRect CColorPaletteUI::FieldRect() const {
    return QRect(0, 0, width(), std::max(1, height() - m_barHeight - kGap));
}

QRect CColorPaletteUI::BarRect() const {
    return QRect(0, height() - m_barHeight, width(), m_barHeight);
}

std::uint32_t CColorPaletteUI::GetSelectColor() const {
    return QColor::fromHsv(m_hue, m_saturation, m_value).rgb();
}

void CColorPaletteUI::SetSelectColor(std::uint32_t argb) {
    const QColor colour = QColor::fromRgb(argb | 0xFF000000u).toHsv();
    m_hue = std::max(0, colour.hsvHue()); // grey has no hue
    m_saturation = colour.hsvSaturation();
    m_value = colour.value();
    update();
}

void CColorPaletteUI::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    RebuildField();
}

void CColorPaletteUI::RebuildField() {
    const QRect r = FieldRect();
    m_field = QImage(r.size(), QImage::Format_RGB32);
    for (int y = 0; y < r.height(); ++y) {
        const int sat = 255 - y * 255 / std::max(1, r.height() - 1);
        for (int x = 0; x < r.width(); ++x)
            m_field.setPixel(x, y,
                             QColor::fromHsv(x * 359 / std::max(1, r.width() - 1), sat, 255).rgb());
    }
}

void CColorPaletteUI::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (m_field.size() != FieldRect().size())
        RebuildField();
    const QRect field = FieldRect();
    p.drawImage(field.topLeft(), m_field);
    // Darken the field by the brightness.
    p.fillRect(field, QColor(0, 0, 0, 255 - m_value));
    const QRect bar = BarRect();
    QLinearGradient gradient(bar.topLeft(), bar.topRight());
    gradient.setColorAt(0, Qt::black);
    gradient.setColorAt(1, QColor::fromHsv(m_hue, m_saturation, 255));
    p.fillRect(bar, gradient);
    // Markers.
    p.setPen(QPen(Qt::white, 1));
    const int fx = field.left() + m_hue * (field.width() - 1) / 359;
    const int fy = field.top() + (255 - m_saturation) * (field.height() - 1) / 255;
    p.drawEllipse(QPoint(fx, fy), 4, 4);
    const int bx = bar.left() + m_value * (bar.width() - 1) / 255;
    p.drawRect(bx - 2, bar.top(), 4, bar.height() - 1);
}

void CColorPaletteUI::PickAt(const QPoint& pos) {
    const std::uint32_t before = GetSelectColor();
    if (m_drag == Drag::Field) {
        const QRect r = FieldRect();
        const int x = std::clamp(pos.x() - r.left(), 0, r.width() - 1);
        const int y = std::clamp(pos.y() - r.top(), 0, r.height() - 1);
        m_hue = x * 359 / std::max(1, r.width() - 1);
        m_saturation = 255 - y * 255 / std::max(1, r.height() - 1);
    } else if (m_drag == Drag::Bar) {
        const QRect r = BarRect();
        m_value =
            std::clamp(pos.x() - r.left(), 0, r.width() - 1) * 255 / std::max(1, r.width() - 1);
    }
    update();
    if (GetSelectColor() != before)
        Notify(notify::colorchanged);
}

void CColorPaletteUI::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    m_drag = BarRect().contains(event->pos()) ? Drag::Bar : Drag::Field;
    PickAt(event->pos());
}

void CColorPaletteUI::mouseMoveEvent(QMouseEvent* event) {
    if (m_drag != Drag::None)
        PickAt(event->pos());
}

void CColorPaletteUI::mouseReleaseEvent(QMouseEvent*) {
    m_drag = Drag::None;
}

void CColorPaletteUI::SetAttribute(const QString& name, const QString& value) {
    if (name.compare(QLatin1String("barheight"), Qt::CaseInsensitive) == 0) {
        m_barHeight = std::max(4, value.toInt());
        RebuildField();
    } else {
        ControlWidget<QWidget>::SetAttribute(name, value);
    }
}

} // namespace ui
