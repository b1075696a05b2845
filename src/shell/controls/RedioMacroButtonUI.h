#pragma once
// The macro record button: while recording it blinks its record image, fading it between 80
// and 255 on a 50 ms timer.

#include "ui/ButtonUI.h"

namespace shell {

class CRedioMacroButtonUI : public ui::CButtonUI {
public:
    static constexpr int kBlinkTimerId = 100;
    static constexpr int kBlinkIntervalMs = 50;
    static constexpr int kFadeMin = 80;
    static constexpr int kFadeMax = 255;
    static constexpr int kFadeStep = 20;

    ~CRedioMacroButtonUI() override;
    void SetAttribute(const QString& name, const QString& value) override;
    QString GetRecordImage() const { return m_recordImage; }

    bool IsBlinking() const { return m_blinking; }
    // Starts or stops the blinking; stopping gives the button back its own normal image.
    void SetBlinking(bool on);
    int GetFade() const { return m_fade; }
    void DoTimer(int id) override;

protected:
    QString StyleRules(const QString& selector) const override;
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_recordImage;
    QString m_ownNormalImage;
    int m_fade = kFadeMin;
    int m_direction = 1;
    bool m_blinking = false;
};

} // namespace shell
