#pragma once
// Text and button controls: "Label", "Text", "Button", "Option" and "CheckBox".

#include "ui/ControlUI.h"

#include <QLabel>
#include <QPushButton>

namespace ui {

class CLabelUI : public ControlWidget<QLabel> {
public:
    CLabelUI();
    QString GetClass() const override { return QStringLiteral("Label"); }
    void SetAttribute(const QString& name, const QString& value) override;

protected:
    void ShowText(const QString& text) override { setText(text); }
};

// A button sends "click" for every real click (mouse or keyboard), and "msenter"/"msleave"
// when the pointer enters or leaves it.
class CButtonUI : public ControlWidget<QPushButton> {
public:
    CButtonUI();
    QString GetClass() const override { return QStringLiteral("Button"); }
    void SetAttribute(const QString& name, const QString& value) override;

protected:
    void ShowText(const QString& text) override { setText(text); }
    QString StyleRules(const QString& selector) const override;
    // Called for a real click, after "click" has been sent.
    virtual void OnClicked() {}
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    std::uint32_t m_hotTextColor = 0;
    std::uint32_t m_pushedTextColor = 0;
    std::uint32_t m_hotBkColor = 0;
    std::uint32_t m_disabledTextColor = 0;
    QString m_textAlign;
};

// An option: a click selects it (in a group, deselecting the group's other options) or, outside
// a group, toggles it. Every real selection change sends "selectchanged".
class COptionUI : public CButtonUI {
public:
    COptionUI();
    ~COptionUI() override;
    QString GetClass() const override { return QStringLiteral("Option"); }

    bool IsSelected() const { return isChecked(); }
    // Selects or deselects; sends "selectchanged" only when triggerEvent is set and the state
    // really changes.
    void Selected(bool selected, bool triggerEvent = true);
    QString GetGroup() const { return m_group; }
    void SetGroup(const QString& group);
    std::uint32_t GetSelectedBkColor() const { return m_selectedBkColor; }
    void SetSelectedBkColor(std::uint32_t colour);
    void SetSelectedTextColor(std::uint32_t colour);
    void SetAttribute(const QString& name, const QString& value) override;
    void SetManager(CPaintManagerUI* manager, CControlUI* parent) override;

protected:
    void nextCheckState() override {} // selection is handled in OnClicked
    void OnClicked() override;
    QString StyleRules(const QString& selector) const override;

private:
    QString m_group;
    std::uint32_t m_selectedBkColor = 0;
    std::uint32_t m_selectedTextColor = 0;
};

class CCheckBoxUI : public COptionUI {
public:
    QString GetClass() const override { return QStringLiteral("CheckBox"); }
    bool GetCheck() const { return IsSelected(); }
    void SetCheck(bool check, bool triggerEvent = true) { Selected(check, triggerEvent); }
};

} // namespace ui
