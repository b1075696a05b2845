#pragma once
// Text input controls: "Edit" (one line) and "RichEdit" (several lines).
// Both send "setfocus" and "killfocus" on real focus changes and "textchanged" on user edits;
// "Edit" sends "return" for the Enter key. SetText never notifies.

#include "ui/ControlUI.h"

#include <QLineEdit>
#include <QTextEdit>
#include <optional>

namespace ui {

class CEditUI : public ControlWidget<QLineEdit> {
public:
    CEditUI();
    QString GetClass() const override { return QStringLiteral("Edit"); }
    QString GetText() const override { return text(); }
    void SetText(const QString& text) override;

    void SetNumberOnly(bool on);
    bool IsNumberOnly() const { return m_numberOnly; }
    void SetMaxChar(int count) { setMaxLength(count > 0 ? count : 32767); }
    int GetMaxChar() const { return maxLength(); }
    // With a range, a number typed outside it is brought into it when the edit loses focus,
    // before "killfocus" is sent.
    void SetRange(int minValue, int maxValue);
    void SetReadOnly(bool on) { setReadOnly(on); }
    void SetAttribute(const QString& name, const QString& value) override;

protected:
    void ShowText(const QString& text) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void UpdateValidator();
    bool m_numberOnly = false;
    std::optional<int> m_min;
    std::optional<int> m_max;
};

class CRichEditUI : public ControlWidget<QTextEdit> {
public:
    CRichEditUI();
    QString GetClass() const override { return QStringLiteral("RichEdit"); }
    QString GetText() const override { return toPlainText(); }
    void SetText(const QString& text) override;
    void SetReadOnly(bool on) { setReadOnly(on); }
    void SetAttribute(const QString& name, const QString& value) override;

protected:
    void ShowText(const QString& text) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    bool m_settingText = false;
};

} // namespace ui
