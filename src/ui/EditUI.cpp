#include "ui/EditUI.h"

#include <QRegularExpressionValidator>
#include <algorithm>

namespace ui {

CEditUI::CEditUI() {
    connect(this, &QLineEdit::textEdited, this, [this] { Notify(notify::textchanged); });
    connect(this, &QLineEdit::returnPressed, this, [this] { Notify(notify::returnKey); });
}

void CEditUI::SetText(const QString& text) {
    ShowText(text);
}

void CEditUI::ShowText(const QString& text) {
    if (text != this->text())
        setText(text); // setText() does not emit textEdited
}

void CEditUI::SetNumberOnly(bool on) {
    m_numberOnly = on;
    UpdateValidator();
}

void CEditUI::SetRange(int minValue, int maxValue) {
    m_min = std::min(minValue, maxValue);
    m_max = std::max(minValue, maxValue);
    UpdateValidator();
}

void CEditUI::UpdateValidator() {
    if (!m_numberOnly) {
        setValidator(nullptr);
        return;
    }
    // Digits only, with a minus sign when the range allows negative numbers.
    const bool negative = m_min && *m_min < 0;
    const QString pattern = negative ? QStringLiteral("-?[0-9]*") : QStringLiteral("[0-9]*");
    setValidator(new QRegularExpressionValidator(QRegularExpression(pattern), this));
}

void CEditUI::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    Notify(notify::setfocus);
}

void CEditUI::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    if (m_numberOnly && (m_min || m_max) && !text().isEmpty()) {
        bool ok = false;
        long long value = text().toLongLong(&ok);
        if (ok) {
            if (m_min)
                value = std::max<long long>(value, *m_min);
            if (m_max)
                value = std::min<long long>(value, *m_max);
            setText(QString::number(value));
        }
    }
    Notify(notify::killfocus);
}

void CEditUI::SetAttribute(const QString& name, const QString& value) {
    const QString key = name.toLower();
    if (key == QLatin1String("numberonly"))
        SetNumberOnly(value == QLatin1String("true"));
    else if (key == QLatin1String("maxchar"))
        SetMaxChar(value.toInt());
    else if (key == QLatin1String("readonly"))
        SetReadOnly(value == QLatin1String("true"));
    else if (key == QLatin1String("password"))
        setEchoMode(value == QLatin1String("true") ? QLineEdit::Password : QLineEdit::Normal);
    else if (key == QLatin1String("minvalue")) // each bound alone leaves the other open
        m_min = value.toInt(), UpdateValidator();
    else if (key == QLatin1String("maxvalue"))
        m_max = value.toInt(), UpdateValidator();
    else if (key == QLatin1String("prompttext"))
        setPlaceholderText(value);
    else
        ControlWidget<QLineEdit>::SetAttribute(name, value);
}

CRichEditUI::CRichEditUI() {
    setAcceptRichText(false);
    connect(this, &QTextEdit::textChanged, this, [this] {
        if (!m_settingText)
            Notify(notify::textchanged);
    });
}

void CRichEditUI::SetText(const QString& text) {
    ShowText(text);
}

void CRichEditUI::ShowText(const QString& text) {
    if (text == toPlainText())
        return;
    m_settingText = true;
    setPlainText(text);
    m_settingText = false;
}

void CRichEditUI::focusInEvent(QFocusEvent* event) {
    QTextEdit::focusInEvent(event);
    Notify(notify::setfocus);
}

void CRichEditUI::focusOutEvent(QFocusEvent* event) {
    QTextEdit::focusOutEvent(event);
    Notify(notify::killfocus);
}

void CRichEditUI::SetAttribute(const QString& name, const QString& value) {
    const QString key = name.toLower();
    if (key == QLatin1String("readonly"))
        SetReadOnly(value == QLatin1String("true"));
    else if (key == QLatin1String("wordwrap"))
        setLineWrapMode(value == QLatin1String("true") ? QTextEdit::WidgetWidth
                                                       : QTextEdit::NoWrap);
    else
        ControlWidget<QTextEdit>::SetAttribute(name, value);
}

} // namespace ui
