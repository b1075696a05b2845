#pragma once
// A list row of the macro editor built from "XML/CustomControlXML/ComboEditElementItem.xml":
// two texts ("text1", "text2") and a delay edit ("delay_edit"). The row selects on button
// down (Ctrl toggles), sends "itemclick" on button up and "return" on Enter, and remembers
// when something in it changed (an option's "selectchanged" or Enter in its edit).

#include "ui/ListUI.h"

#include <memory>

namespace shell {

class CComboEditContainerElementUI : public ui::CListContainerElementUI {
public:
    static inline const QString kContentXml =
        QStringLiteral("XML/CustomControlXML/ComboEditElementItem.xml");

    CComboEditContainerElementUI();
    ~CComboEditContainerElementUI() override;
    QString GetClass() const override { return QStringLiteral("ComboEditContainerElement"); }
    void SetAttribute(const QString& name, const QString& value) override;
    void SetManager(ui::CPaintManagerUI* manager, CControlUI* parent) override;
    void DoInit() override;

    ui::CControlUI* GetText1() const { return m_text1; }
    ui::CControlUI* GetText2() const { return m_text2; }
    ui::CControlUI* GetDelayEdit() const { return m_delayEdit; }

    bool IsHot() const { return m_hot; }
    bool IsChanged() const { return m_changed; }
    void SetChanged(bool changed) { m_changed = changed; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    class ChangeWatcher;
    void BuildContent();
    void Activate();
    void SetHot(bool hot);
    bool Contains(ui::CControlUI* control) const;
    void OnNotify(const ui::TNotifyUI& msg);

    std::unique_ptr<ChangeWatcher> m_watcher;
    ui::CControlUI* m_text1 = nullptr;
    ui::CControlUI* m_text2 = nullptr;
    ui::CControlUI* m_delayEdit = nullptr;
    bool m_built = false;
    bool m_hot = false;
    bool m_changed = false;
};

} // namespace shell
