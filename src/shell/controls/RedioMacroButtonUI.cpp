#include "shell/controls/RedioMacroButtonUI.h"

#include "shell/controls/SkinImage.h"
#include "ui/PaintManagerUI.h"

#include <QPainter>

namespace shell {

namespace {
const QString kNormal = QStringLiteral("normal");
}

CRedioMacroButtonUI::~CRedioMacroButtonUI() {
    if (m_blinking && GetManager())
        GetManager()->KillTimer(this, kBlinkTimerId);
}

void CRedioMacroButtonUI::SetAttribute(const QString& name, const QString& value) {
    if (name.compare(QLatin1String("redioimage"), Qt::CaseInsensitive) == 0) {
        m_recordImage = value;
        update();
    } else {
        CButtonUI::SetAttribute(name, value);
    }
}

void CRedioMacroButtonUI::SetBlinking(bool on) {
    if (on == m_blinking)
        return;
    m_blinking = on;
    if (on) {
        m_ownNormalImage = GetImage(kNormal);
        m_fade = kFadeMin;
        m_direction = 1;
        if (GetManager())
            GetManager()->SetTimer(this, kBlinkTimerId, kBlinkIntervalMs);
    } else {
        if (GetManager())
            GetManager()->KillTimer(this, kBlinkTimerId);
        SetImage(kNormal, m_ownNormalImage);
    }
    update();
}

void CRedioMacroButtonUI::DoTimer(int id) {
    if (id != kBlinkTimerId)
        return CButtonUI::DoTimer(id);
    if (!m_blinking)
        return;
    m_fade += m_direction * kFadeStep;
    if (m_fade >= kFadeMax) {
        m_fade = kFadeMax;
        m_direction = -1;
    } else if (m_fade <= kFadeMin) {
        m_fade = kFadeMin;
        m_direction = 1;
    }
    SetImage(kNormal, QStringLiteral("res='%1' fade='%2'").arg(m_recordImage).arg(m_fade));
    update();
}

QString CRedioMacroButtonUI::StyleRules(const QString& selector) const {
    QString rules = CButtonUI::StyleRules(selector);
    // The faded record image is painted here, not by the style sheet.
    const QString normal = GetImage(kNormal);
    if (normal.startsWith(QLatin1String("res=")))
        rules.remove(ImageRule(normal));
    return rules;
}

void CRedioMacroButtonUI::paintEvent(QPaintEvent* event) {
    CButtonUI::paintEvent(event);
    if (!m_blinking)
        return;
    const QImage record = LoadSkinImage(m_recordImage);
    if (record.isNull())
        return;
    QPainter painter(this);
    painter.setOpacity(m_fade / 255.0);
    painter.drawImage(rect(), record);
}

} // namespace shell
