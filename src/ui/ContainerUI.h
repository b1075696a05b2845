#pragma once
// Containers: controls that hold other controls in a box layout ("VerticalLayout",
// "HorizontalLayout", "Container") or as pages of which one shows ("TabLayout").

#include "ui/ControlUI.h"

#include <QFrame>
#include <vector>

class QBoxLayout;
class QLayout;
class QStackedLayout;

namespace ui {

class CContainerUI : public ControlWidget<QFrame>, public IContainerUI {
public:
    explicit CContainerUI(Qt::Orientation orientation = Qt::Vertical);
    ~CContainerUI() override;
    QString GetClass() const override { return QStringLiteral("Container"); }

    int GetCount() const override { return static_cast<int>(m_items.size()); }
    CControlUI* GetItemAt(int index) const override;
    int GetItemIndex(CControlUI* control) const;
    bool Add(CControlUI* control) override;
    virtual bool AddAt(CControlUI* control, int index);
    // Removes and deletes the control.
    virtual bool Remove(CControlUI* control);
    virtual void RemoveAll();

    void SetChildPadding(int padding);
    void SetInset(const QRect& ltrb);

    void SetManager(CPaintManagerUI* manager, CControlUI* parent) override;
    void SetAttribute(const QString& name, const QString& value) override;

protected:
    // Where children go: the widget they are parented to and the layout that places them.
    virtual QWidget* ItemParent() { return this; }
    virtual QLayout* ItemLayout();
    virtual void InsertIntoLayout(CControlUI* control, int index);
    // Called after a child has been taken out of m_items (removed or destroyed).
    virtual void OnItemRemoved(int index);
    void childEvent(QChildEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

    std::vector<CControlUI*> m_items;
    bool m_removing = false; // Remove is deleting a child it has taken off the list
    QBoxLayout* m_box = nullptr;
};

class CVerticalLayoutUI : public CContainerUI {
public:
    CVerticalLayoutUI() : CContainerUI(Qt::Vertical) {}
    QString GetClass() const override { return QStringLiteral("VerticalLayout"); }
};

class CHorizontalLayoutUI : public CContainerUI {
public:
    CHorizontalLayoutUI() : CContainerUI(Qt::Horizontal) {}
    QString GetClass() const override { return QStringLiteral("HorizontalLayout"); }
};

// Shows one child at a time; "selectedid" picks the first page. Selecting a page sends no
// notification.
class CTabLayoutUI : public CContainerUI {
public:
    CTabLayoutUI();
    QString GetClass() const override { return QStringLiteral("TabLayout"); }
    int GetCurSel() const { return m_curSel; }
    bool SelectItem(int index);
    bool SelectItem(CControlUI* control) { return SelectItem(GetItemIndex(control)); }
    void SetAttribute(const QString& name, const QString& value) override;

protected:
    QLayout* ItemLayout() override;
    void InsertIntoLayout(CControlUI* control, int index) override;
    void OnItemRemoved(int index) override;

private:
    QStackedLayout* m_stack = nullptr;
    int m_curSel = -1;
    int m_initialSel = 0;
    bool m_initialApplied = false;
};

} // namespace ui
