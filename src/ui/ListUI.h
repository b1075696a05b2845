#pragma once
// Lists and their rows. A "List" shows rows one under the other in a scroll area; a "Combo"
// (ComboUI.h) shows the same row types in a drop-down. Rows are "ListLabelElement" (a text)
// and "ListContainerElement" (any controls); programs derive their own row types from them.
//
// A click on a row sends "itemclick" from the row and, when the selection changes,
// "itemselect" from the list (wParam = new index, lParam = previous index). A double click
// sends "itemactivate" from the row.

#include "ui/ButtonUI.h"
#include "ui/ContainerUI.h"

class QScrollArea;

namespace ui {

class IListItemUI;

class IListOwnerUI {
public:
    virtual ~IListOwnerUI() = default;
    virtual int GetCurSel() const = 0;
    virtual bool SelectItem(int index, bool takeFocus = false, bool triggerEvent = true) = 0;
    // A row's text changed.
    virtual void ItemChanged(IListItemUI*) {}
};

// The row part shared by the row classes.
class IListItemUI {
public:
    virtual ~IListItemUI() = default;
    int GetIndex() const { return m_index; }
    void SetIndex(int index) { m_index = index; }
    IListOwnerUI* GetOwner() const { return m_owner; }
    void SetOwner(IListOwnerUI* owner) { m_owner = owner; }
    bool IsSelected() const { return m_selected; }
    virtual void SetSelectedState(bool selected) = 0;

protected:
    // Mouse input on the row: select it through the owner and send the row notifications.
    void RowPressed(CControlUI* self);
    void RowDoubleClicked(CControlUI* self);
    void ApplySelectedLook(QWidget* widget, bool selected);

    int m_index = -1;
    IListOwnerUI* m_owner = nullptr;
    bool m_selected = false;
};

class CListLabelElementUI : public CLabelUI, public IListItemUI {
public:
    QString GetClass() const override { return QStringLiteral("ListLabelElement"); }
    void SetSelectedState(bool selected) override { ApplySelectedLook(this, selected); }

protected:
    void ShowText(const QString& text) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};

class CListContainerElementUI : public CHorizontalLayoutUI, public IListItemUI {
public:
    QString GetClass() const override { return QStringLiteral("ListContainerElement"); }
    void SetSelectedState(bool selected) override { ApplySelectedLook(this, selected); }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};

class CListUI : public CVerticalLayoutUI, public IListOwnerUI {
public:
    CListUI();
    QString GetClass() const override { return QStringLiteral("List"); }

    int GetCurSel() const override { return m_curSel; }
    // Selects a row (-1: none); "itemselect" is sent when triggerEvent is set and the
    // selection really changes.
    bool SelectItem(int index, bool takeFocus = false, bool triggerEvent = true) override;
    bool AddAt(CControlUI* control, int index) override;
    void EnsureVisible(int index);

protected:
    QWidget* ItemParent() override { return m_content; }
    QLayout* ItemLayout() override;
    void OnItemRemoved(int index) override;

private:
    // The rows from `from` on learn their new positions.
    void Reindex(int from);
    QScrollArea* m_scroll = nullptr;
    QWidget* m_content = nullptr;
    QBoxLayout* m_contentLayout = nullptr;
    int m_curSel = -1;
};

} // namespace ui
