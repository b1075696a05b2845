#pragma once
// "Combo": a drop-down of "ListLabelElement" rows. Choosing a different row sends "itemselect"
// (wParam = new index, lParam = previous index); SelectItem from code sends it too unless
// triggerEvent is false; choosing the row that is already current sends nothing.

#include "ui/ListUI.h"

#include <QComboBox>
#include <vector>

namespace ui {

class CComboUI : public ControlWidget<QComboBox>, public IContainerUI, public IListOwnerUI {
public:
    CComboUI();
    ~CComboUI() override;
    QString GetClass() const override { return QStringLiteral("Combo"); }

    int GetCount() const override { return static_cast<int>(m_items.size()); }
    CControlUI* GetItemAt(int index) const override;
    // Takes a CListLabelElementUI row; other controls are refused.
    bool Add(CControlUI* control) override;
    bool AddAt(CControlUI* control, int index);
    bool RemoveAt(int index);
    void RemoveAll();

    int GetCurSel() const override { return m_curSel; }
    bool SelectItem(int index, bool takeFocus = false, bool triggerEvent = true) override;
    QString GetText() const override;
    void ItemChanged(IListItemUI* item) override;
    void SetManager(CPaintManagerUI* manager, CControlUI* parent) override;

private:
    void OnActivated(int index);
    std::vector<CListLabelElementUI*> m_items;
    int m_curSel = -1;
};

} // namespace ui
