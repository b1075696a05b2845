#pragma once
// "ColorPalette": a hue (across) by saturation (down) field over a brightness bar. Picking a
// colour with the mouse sends "colorchanged"; SetSelectColor never notifies.

#include "ui/ControlUI.h"

#include <QColor>
#include <QImage>
#include <QWidget>

namespace ui {

class CColorPaletteUI : public ControlWidget<QWidget> {
public:
    CColorPaletteUI();
    QString GetClass() const override { return QStringLiteral("ColorPalette"); }
    // 0xFFRRGGBB
    std::uint32_t GetSelectColor() const;
    void SetSelectColor(std::uint32_t argb);
    void SetAttribute(const QString& name, const QString& value) override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QRect FieldRect() const;
    QRect BarRect() const;
    void PickAt(const QPoint& pos);
    void RebuildField();
    int m_barHeight = 12;
    int m_hue = 0;        // 0..359
    int m_saturation = 0; // 0..255
    int m_value = 255;    // 0..255
    enum class Drag { None, Field, Bar } m_drag = Drag::None;
    QImage m_field;
};

} // namespace ui
