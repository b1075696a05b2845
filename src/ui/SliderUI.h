#pragma once
// "Progress" shows a value in a range; "Slider" lets the user choose one. While the user drags
// the thumb the slider sends "movevaluechanged"; when a user action ends with a new value
// (release, click on the track, keys, wheel) it sends "valuechanged". SetValue never notifies.
// A slider draws the track's filled part with its "fore" image and its thumb with the "thumb",
// "thumbhot" and "thumbpushed" images (attributes "foreimage", "thumbimage", ...).

#include "ui/ControlUI.h"

#include <QProgressBar>
#include <QSlider>

namespace ui {

class CProgressUI : public ControlWidget<QProgressBar> {
public:
    CProgressUI();
    QString GetClass() const override { return QStringLiteral("Progress"); }
    int GetValue() const { return value(); }
    void SetValue(int v) { setValue(v); }
    int GetMinValue() const { return minimum(); }
    int GetMaxValue() const { return maximum(); }
    void SetMinValue(int v) { setMinimum(v); }
    void SetMaxValue(int v) { setMaximum(v); }
    void SetAttribute(const QString& name, const QString& value) override;
};

class CSliderUI : public ControlWidget<QSlider> {
public:
    CSliderUI();
    QString GetClass() const override { return QStringLiteral("Slider"); }
    int GetValue() const { return value(); }
    void SetValue(int v);
    int GetMinValue() const { return minimum(); }
    int GetMaxValue() const { return maximum(); }
    void SetMinValue(int v);
    void SetMaxValue(int v);
    void SetChangeStep(int step) {
        setSingleStep(step);
        setPageStep(step);
    }
    void SetAttribute(const QString& name, const QString& value) override;
    // The thumb's image in every state at once.
    void SetThumbImages(const QString& image);

protected:
    QString StyleRules(const QString& selector) const override;

private:
    void OnValueChanged(int v);
    bool m_settingValue = false;
    int m_pressValue = 0;
};

} // namespace ui
