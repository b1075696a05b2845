#include "shell/controls/DeviceKeyButtonUI.h"

#include "shell/controls/SkinImage.h"

#include "ui/PaintManagerUI.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>

namespace shell {

void CDeviceKeyButtonUI::SetAttribute(const QString& name, const QString& value) {
    const QString key = name.toLower();
    if (key == QLatin1String("lightimage")) {
        m_lightImage = value;
        update();
    } else if (key == QLatin1String("keysetimage")) {
        m_keySetImage = value;
        update();
    } else if (key == QLatin1String("gmnametextcolor")) {
        QString hex = value.trimmed();
        if (hex.startsWith(QLatin1Char('#')))
            hex.remove(0, 1);
        m_gameNameTextColor = hex.toUInt(nullptr, 16);
    } else {
        CButtonUI::SetAttribute(name, value);
    }
}

bool CDeviceKeyButtonUI::GetColour(devices::LedColour& colour) const {
    if (m_lightColor == 0)
        return false;
    colour = devices::LedColour{
        static_cast<std::uint8_t>(m_lightColor >> 16), static_cast<std::uint8_t>(m_lightColor >> 8),
        static_cast<std::uint8_t>(m_lightColor), static_cast<std::uint8_t>(m_lightColor >> 24)};
    return true;
}

void CDeviceKeyButtonUI::SetColour(const devices::LedColour& colour) {
    SetLightColor(static_cast<std::uint32_t>(colour.alpha) << 24 |
                  static_cast<std::uint32_t>(colour.red) << 16 |
                  static_cast<std::uint32_t>(colour.green) << 8 | colour.blue);
}

void CDeviceKeyButtonUI::SetLightColor(std::uint32_t argb) {
    if (argb == m_lightColor)
        return;
    m_lightColor = argb;
    update();
}

void CDeviceKeyButtonUI::SetSelectedByBand(std::uint32_t selected) {
    if (selected == m_selectedByBand)
        return;
    m_selectedByBand = selected;
    update();
}

void CDeviceKeyButtonUI::SetKeySetImageHidden(bool hidden) {
    if (hidden == m_keySetImageHidden)
        return;
    m_keySetImageHidden = hidden;
    update();
}

void CDeviceKeyButtonUI::ShowText(const QString& text) {
    CButtonUI::ShowText(text);
    FitLabel();
}

void CDeviceKeyButtonUI::resizeEvent(QResizeEvent* event) {
    CButtonUI::resizeEvent(event);
    FitLabel();
}

void CDeviceKeyButtonUI::changeEvent(QEvent* event) {
    CButtonUI::changeEvent(event);
    // A new font from the skin (language or DPI): fit the label again in its size.
    if (event->type() == QEvent::FontChange && !m_fitting)
        FitLabel();
}

void CDeviceKeyButtonUI::FitLabel() {
    if (m_fitting || !GetManager() || text().isEmpty())
        return;
    constexpr int kBorders = 2; // the 1-pixel frame of a key on both sides
    constexpr int kSmallestPixels = 7;
    QFont font = GetManager()->GetFont(GetFont());
    const int room = width() - kBorders;
    while (font.pixelSize() > kSmallestPixels &&
           QFontMetrics(font).horizontalAdvance(text()) > room)
        font.setPixelSize(font.pixelSize() - 1);
    if (font == this->font())
        return;
    m_fitting = true;
    setFont(font);
    m_fitting = false;
}

// The LED's own brightness (the colour's top byte) scales the light, so that breathing and
// fading show on the key. Without a light image of the skin, the key glows: a translucent
// fill under its label and a rim in the full colour, drawn without antialiasing: antialiased
// shapes hand each key's painting to Qt's worker threads, which at the preview's frame rate
// costs more than the painting itself.
void CDeviceKeyButtonUI::PaintLight(QPainter& painter) {
    const double opacity =
        (m_lightColor >> 24) / 255.0 * m_lightAlpha / 255.0 * m_lightFade / 255.0;
    if (opacity <= 0)
        return;
    const QImage light = LoadSkinImage(m_lightImage);
    if (!light.isNull()) {
        if (m_tintedFor != m_lightColor || m_tinted.isNull()) {
            m_tinted = Tinted(light, m_lightColor);
            m_tintedFor = m_lightColor;
        }
        painter.setOpacity(opacity);
        painter.drawImage(rect(), m_tinted);
        painter.setOpacity(1.0);
        return;
    }
    QColor fill = QColor::fromRgb(m_lightColor & 0xFFFFFF);
    QColor rim = fill;
    fill.setAlphaF(static_cast<float>(opacity * 0.4));
    rim.setAlphaF(static_cast<float>(opacity));
    const QRectF area = QRectF(rect()).adjusted(1, 1, -1, -1);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawRoundedRect(area, 4, 4);
    painter.setPen(QPen(rim, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(area.adjusted(1, 1, -1, -1), 4, 4);
}

void CDeviceKeyButtonUI::paintEvent(QPaintEvent* event) {
    CButtonUI::paintEvent(event);
    QPainter painter(this);
    if (m_lightColor != 0)
        PaintLight(painter);
    if (m_selectedByBand) {
        painter.setPen(QPen(QColor(255, 255, 255, 220), 1.5, Qt::DashLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5), 4, 4);
    }
    if (!m_keySetImageHidden) {
        const QImage keySet = LoadSkinImage(m_keySetImage);
        if (!keySet.isNull())
            painter.drawImage(rect(), keySet);
    }
}

} // namespace shell
