#include "ui/SliderUI.h"

namespace ui {

namespace {
// Applies the range and value attributes shared by progress bars and sliders.
template <class Control> bool SetRangeAttribute(Control& c, const QString& key, const QString& v) {
    if (key == QLatin1String("min"))
        c.SetMinValue(v.toInt());
    else if (key == QLatin1String("max"))
        c.SetMaxValue(v.toInt());
    else if (key == QLatin1String("value"))
        c.SetValue(v.toInt());
    else
        return false;
    return true;
}
} // namespace

CProgressUI::CProgressUI() {
    setTextVisible(false);
    setRange(0, 100);
}

void CProgressUI::SetAttribute(const QString& name, const QString& value) {
    const QString key = name.toLower();
    if (SetRangeAttribute(*this, key, value))
        return;
    if (key == QLatin1String("hor"))
        setOrientation(value == QLatin1String("false") ? Qt::Vertical : Qt::Horizontal);
    else
        ControlWidget<QProgressBar>::SetAttribute(name, value);
}

CSliderUI::CSliderUI() : ControlWidget<QSlider>() {
    setOrientation(Qt::Horizontal);
    setRange(0, 100);
    setCursor(Qt::PointingHandCursor);
    connect(this, &QSlider::valueChanged, this, [this](int v) { OnValueChanged(v); });
    connect(this, &QSlider::sliderPressed, this, [this] { m_pressValue = value(); });
    connect(this, &QSlider::sliderReleased, this, [this] {
        if (value() != m_pressValue)
            Notify(notify::valuechanged);
    });
}

void CSliderUI::OnValueChanged(int) {
    if (m_settingValue)
        return;
    // A drag reports every step as a move; its final value is reported on release.
    Notify(isSliderDown() ? notify::movevaluechanged : notify::valuechanged);
}

void CSliderUI::SetValue(int v) {
    m_settingValue = true;
    setValue(v);
    m_settingValue = false;
}

void CSliderUI::SetMinValue(int v) {
    m_settingValue = true;
    setMinimum(v);
    m_settingValue = false;
}

void CSliderUI::SetMaxValue(int v) {
    m_settingValue = true;
    setMaximum(v);
    m_settingValue = false;
}

void CSliderUI::SetAttribute(const QString& name, const QString& value) {
    const QString key = name.toLower();
    if (SetRangeAttribute(*this, key, value))
        return;
    if (key == QLatin1String("step"))
        SetChangeStep(value.toInt());
    else if (key == QLatin1String("hor"))
        setOrientation(value == QLatin1String("false") ? Qt::Vertical : Qt::Horizontal);
    else
        ControlWidget<QSlider>::SetAttribute(name, value);
}

void CSliderUI::SetThumbImages(const QString& image) {
    for (const char* state : {"thumb", "thumbhot", "thumbpushed"})
        SetImage(QLatin1String(state), image);
}

QString CSliderUI::StyleRules(const QString& selector) const {
    QString rules = ControlWidget<QSlider>::StyleRules(selector);
    auto rule = [&](const char* part, const QString& body) {
        if (!body.isEmpty())
            rules +=
                selector + QLatin1String(part) + QLatin1String(" {") + body + QLatin1String("}\n");
    };
    rule("::sub-page:horizontal", ImageRule(GetForeImage()));
    // The thumb keeps the size and the overhang of the track that the style sheet gives it.
    const QString thumb = ImageRule(GetImage(QStringLiteral("thumb")));
    if (!thumb.isEmpty())
        rule("::handle:horizontal", thumb + QStringLiteral("background: transparent;"));
    rule("::handle:horizontal:hover", ImageRule(GetImage(QStringLiteral("thumbhot"))));
    rule("::handle:horizontal:pressed", ImageRule(GetImage(QStringLiteral("thumbpushed"))));
    return rules;
}

} // namespace ui
