#include "ui/ComboUI.h"

#include <QSignalBlocker>

namespace ui {

CComboUI::CComboUI() {
    connect(this, qOverload<int>(&QComboBox::activated), this, [this](int i) { OnActivated(i); });
}

CComboUI::~CComboUI() {
    m_items.clear();
}

CControlUI* CComboUI::GetItemAt(int index) const {
    if (index < 0 || index >= GetCount())
        return nullptr;
    return m_items[static_cast<size_t>(index)];
}

bool CComboUI::Add(CControlUI* control) {
    return AddAt(control, GetCount());
}

bool CComboUI::AddAt(CControlUI* control, int index) {
    auto* row = dynamic_cast<CListLabelElementUI*>(control);
    if (!row || index < 0 || index > GetCount())
        return false;
    // Rows live as hidden children: the drop-down shows their texts.
    row->setParent(this);
    row->hide();
    m_items.insert(m_items.begin() + index, row);
    row->SetOwner(this);
    row->SetManager(GetManager(), this);
    {
        const QSignalBlocker blocker(this);
        insertItem(index, row->GetText());
        if (m_curSel >= index)
            ++m_curSel;
        setCurrentIndex(m_curSel);
    }
    for (int i = 0; i < GetCount(); ++i)
        m_items[static_cast<size_t>(i)]->SetIndex(i);
    return true;
}

bool CComboUI::RemoveAt(int index) {
    if (index < 0 || index >= GetCount())
        return false;
    CListLabelElementUI* row = m_items[static_cast<size_t>(index)];
    m_items.erase(m_items.begin() + index);
    {
        const QSignalBlocker blocker(this);
        removeItem(index);
        if (m_curSel == index)
            m_curSel = -1;
        else if (m_curSel > index)
            --m_curSel;
        setCurrentIndex(m_curSel);
    }
    for (int i = 0; i < GetCount(); ++i)
        m_items[static_cast<size_t>(i)]->SetIndex(i);
    delete row;
    return true;
}

void CComboUI::RemoveAll() {
    while (GetCount() > 0)
        RemoveAt(GetCount() - 1);
}

void CComboUI::SetManager(CPaintManagerUI* manager, CControlUI* parent) {
    CControlUI::SetManager(manager, parent);
    for (CListLabelElementUI* row : m_items)
        row->SetManager(manager, this);
}

bool CComboUI::SelectItem(int index, bool, bool triggerEvent) {
    if (index < -1 || index >= GetCount())
        return false;
    if (index == m_curSel)
        return true;
    const int previous = m_curSel;
    if (auto* old = dynamic_cast<IListItemUI*>(GetItemAt(previous)))
        old->SetSelectedState(false);
    m_curSel = index;
    if (index >= 0)
        m_items[static_cast<size_t>(index)]->SetSelectedState(true);
    {
        const QSignalBlocker blocker(this);
        setCurrentIndex(index);
    }
    if (triggerEvent)
        Notify(notify::itemselect, static_cast<WPARAM>(index), previous);
    return true;
}

void CComboUI::OnActivated(int index) {
    SelectItem(index, false, true);
}

QString CComboUI::GetText() const {
    return m_curSel >= 0 ? itemText(m_curSel) : QString();
}

void CComboUI::ItemChanged(IListItemUI* item) {
    const int index = item->GetIndex();
    if (index >= 0 && index < count())
        setItemText(index, m_items[static_cast<size_t>(index)]->GetText());
}

} // namespace ui
