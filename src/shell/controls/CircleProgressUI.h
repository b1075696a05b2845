#pragma once
// A progress shown as a ring: the background colour fills the circle, the foreground colour a
// pie for the value from the bottom clockwise, and a white disc inset 10 pixels leaves a ring.

#include "ui/SliderUI.h"

namespace shell {

class CCircleProgressUI : public ui::CProgressUI {
public:
    QString GetClass() const override { return QStringLiteral("CircleProgress"); }
    std::uint32_t GetForeColor() const { return m_foreColor; }
    void SetForeColor(std::uint32_t argb);
    void SetAttribute(const QString& name, const QString& value) override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::uint32_t m_foreColor = 0;
};

} // namespace shell
