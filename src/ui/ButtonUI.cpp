#include "ui/ButtonUI.h"

#include "ui/PaintManagerUI.h"

#include <QHash>

namespace ui {

namespace {
Qt::Alignment ParseAlign(const QString& value) {
    Qt::Alignment align;
    const QString v = value.toLower();
    if (v.contains(QLatin1String("left")))
        align |= Qt::AlignLeft;
    else if (v.contains(QLatin1String("right")))
        align |= Qt::AlignRight;
    else
        align |= Qt::AlignHCenter;
    if (v.contains(QLatin1String("top")))
        align |= Qt::AlignTop;
    else if (v.contains(QLatin1String("bottom")))
        align |= Qt::AlignBottom;
    else
        align |= Qt::AlignVCenter;
    return align;
}

// Options of one group, per manager: selecting one deselects the others.
QHash<CPaintManagerUI*, QHash<QString, QList<COptionUI*>>>& Groups() {
    static QHash<CPaintManagerUI*, QHash<QString, QList<COptionUI*>>> groups;
    return groups;
}
} // namespace

CLabelUI::CLabelUI() {
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setTextFormat(Qt::PlainText);
}

void CLabelUI::SetAttribute(const QString& name, const QString& value) {
    const QString key = name.toLower();
    if (key == QLatin1String("align"))
        setAlignment(ParseAlign(value));
    else if (key == QLatin1String("wordbreak") || key == QLatin1String("multiline"))
        setWordWrap(value == QLatin1String("true"));
    else
        ControlWidget<QLabel>::SetAttribute(name, value);
}

CButtonUI::CButtonUI() {
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    connect(this, &QPushButton::clicked, this, [this] {
        Notify(notify::click);
        OnClicked();
    });
}

void CButtonUI::enterEvent(QEnterEvent* event) {
    QPushButton::enterEvent(event);
    Notify(notify::msenter);
}

void CButtonUI::leaveEvent(QEvent* event) {
    QPushButton::leaveEvent(event);
    Notify(notify::msleave);
}

void CButtonUI::SetAttribute(const QString& name, const QString& value) {
    const QString key = name.toLower();
    if (key == QLatin1String("hottextcolor"))
        m_hotTextColor = ParseColour(value);
    else if (key == QLatin1String("pushedtextcolor"))
        m_pushedTextColor = ParseColour(value);
    else if (key == QLatin1String("hotbkcolor"))
        m_hotBkColor = ParseColour(value);
    else if (key == QLatin1String("disabledtextcolor"))
        m_disabledTextColor = ParseColour(value);
    else if (key == QLatin1String("align"))
        m_textAlign = value.contains(QLatin1String("left"))    ? QStringLiteral("left")
                      : value.contains(QLatin1String("right")) ? QStringLiteral("right")
                                                               : QStringLiteral("center");
    else {
        ControlWidget<QPushButton>::SetAttribute(name, value);
        return;
    }
    RefreshStyle();
}

QString CButtonUI::StyleRules(const QString& selector) const {
    QString rules = CControlUI::StyleRules(selector);
    auto state = [&](const char* pseudo, const QString& body) {
        if (!body.isEmpty())
            rules += selector + QLatin1String(pseudo) + QLatin1String(" {") + body +
                     QLatin1String("}\n");
    };
    QString hot = ImageRule(GetImage(QStringLiteral("hot")));
    if (m_hotTextColor)
        hot += QStringLiteral("color: %1;").arg(CssColour(m_hotTextColor));
    if (m_hotBkColor)
        hot += QStringLiteral("background-color: %1;").arg(CssColour(m_hotBkColor));
    state(":hover", hot);
    QString pushed = ImageRule(GetImage(QStringLiteral("pushed")));
    if (m_pushedTextColor)
        pushed += QStringLiteral("color: %1;").arg(CssColour(m_pushedTextColor));
    state(":pressed", pushed);
    state(":focus", ImageRule(GetImage(QStringLiteral("focused"))));
    if (m_disabledTextColor)
        state(":disabled", QStringLiteral("color: %1;").arg(CssColour(m_disabledTextColor)));
    if (!m_textAlign.isEmpty())
        rules += selector + QStringLiteral(" {text-align: %1;}\n").arg(m_textAlign);
    return rules;
}

COptionUI::COptionUI() {
    setCheckable(true);
}

COptionUI::~COptionUI() {
    SetGroup(QString());
}

void COptionUI::SetManager(CPaintManagerUI* manager, CControlUI* parent) {
    const QString group = m_group;
    SetGroup(QString());
    CButtonUI::SetManager(manager, parent);
    SetGroup(group);
}

void COptionUI::SetGroup(const QString& group) {
    if (!m_group.isEmpty()) {
        auto& byName = Groups()[GetManager()];
        byName[m_group].removeOne(this);
        if (byName[m_group].isEmpty())
            byName.remove(m_group);
        if (byName.isEmpty())
            Groups().remove(GetManager());
    }
    m_group = group;
    if (!m_group.isEmpty())
        Groups()[GetManager()][m_group].append(this);
}

void COptionUI::Selected(bool selected, bool triggerEvent) {
    if (selected == isChecked())
        return;
    setChecked(selected);
    if (selected && !m_group.isEmpty()) {
        const auto members = Groups().value(GetManager()).value(m_group);
        for (COptionUI* other : members) {
            if (other != this)
                other->Selected(false, triggerEvent);
        }
    }
    if (triggerEvent)
        Notify(notify::selectchanged);
}

void COptionUI::OnClicked() {
    Selected(m_group.isEmpty() ? !isChecked() : true);
}

void COptionUI::SetSelectedBkColor(std::uint32_t colour) {
    m_selectedBkColor = colour;
    RefreshStyle();
}

void COptionUI::SetAttribute(const QString& name, const QString& value) {
    const QString key = name.toLower();
    if (key == QLatin1String("group"))
        SetGroup(value);
    else if (key == QLatin1String("selected"))
        Selected(value == QLatin1String("true"), false);
    else if (key == QLatin1String("selectedbkcolor"))
        SetSelectedBkColor(ParseColour(value));
    else if (key == QLatin1String("selectedtextcolor"))
        SetSelectedTextColor(ParseColour(value));
    else
        CButtonUI::SetAttribute(name, value);
}

void COptionUI::SetSelectedTextColor(std::uint32_t colour) {
    m_selectedTextColor = colour;
    RefreshStyle();
}

QString COptionUI::StyleRules(const QString& selector) const {
    QString rules = CButtonUI::StyleRules(selector);
    QString body = ImageRule(GetImage(QStringLiteral("selected")));
    if (m_selectedBkColor)
        body += QStringLiteral("background-color: %1;").arg(CssColour(m_selectedBkColor));
    if (m_selectedTextColor)
        body += QStringLiteral("color: %1;").arg(CssColour(m_selectedTextColor));
    if (!body.isEmpty())
        rules += selector + QLatin1String(":checked {") + body + QLatin1String("}\n");
    const QString selectedHot = ImageRule(GetImage(QStringLiteral("selectedhot")));
    if (!selectedHot.isEmpty())
        rules += selector + QLatin1String(":checked:hover {") + selectedHot + QLatin1String("}\n");
    return rules;
}

} // namespace ui
