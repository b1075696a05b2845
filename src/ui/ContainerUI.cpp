#include "ui/ContainerUI.h"

#include <QBoxLayout>
#include <QChildEvent>
#include <QPainter>
#include <QStackedLayout>
#include <QStyleOption>

namespace ui {

CContainerUI::CContainerUI(Qt::Orientation orientation) {
    setAttribute(Qt::WA_StyledBackground, true);
    if (orientation == Qt::Horizontal)
        m_box = new QHBoxLayout(this);
    else
        m_box = new QVBoxLayout(this);
    m_box->setContentsMargins(0, 0, 0, 0);
    m_box->setSpacing(0);
}

CContainerUI::~CContainerUI() {
    // The children are deleted with the widget; forget them first so no callback sees them.
    m_items.clear();
}

QLayout* CContainerUI::ItemLayout() {
    return m_box;
}

CControlUI* CContainerUI::GetItemAt(int index) const {
    if (index < 0 || index >= GetCount())
        return nullptr;
    return m_items[static_cast<size_t>(index)];
}

int CContainerUI::GetItemIndex(CControlUI* control) const {
    for (size_t i = 0; i < m_items.size(); ++i) {
        if (m_items[i] == control)
            return static_cast<int>(i);
    }
    return -1;
}

bool CContainerUI::Add(CControlUI* control) {
    return AddAt(control, GetCount());
}

bool CContainerUI::AddAt(CControlUI* control, int index) {
    if (!control || index < 0 || index > GetCount() || GetItemIndex(control) >= 0)
        return false;
    m_items.insert(m_items.begin() + index, control);
    QWidget* child = control->GetWidget();
    const bool explicitlyHidden = child->testAttribute(Qt::WA_WState_ExplicitShowHide) &&
                                  child->testAttribute(Qt::WA_WState_Hidden);
    child->setParent(ItemParent());
    // A child added to a shown container must be shown, unless the skin hid it on purpose.
    if (!explicitlyHidden && ItemParent()->isVisible())
        child->show();
    if (!control->IsFloat())
        InsertIntoLayout(control, index);
    control->SetManager(GetManager(), this);
    control->RefreshSize();
    return true;
}

void CContainerUI::InsertIntoLayout(CControlUI* control, int index) {
    // Floating children before `index` are not in the layout.
    int layoutIndex = 0;
    for (int i = 0; i < index; ++i) {
        if (!m_items[static_cast<size_t>(i)]->IsFloat())
            ++layoutIndex;
    }
    if (auto* box = qobject_cast<QBoxLayout*>(ItemLayout()))
        box->insertWidget(layoutIndex, control->GetWidget());
    else
        ItemLayout()->addWidget(control->GetWidget());
}

bool CContainerUI::Remove(CControlUI* control) {
    const int index = GetItemIndex(control);
    if (index < 0)
        return false;
    m_items.erase(m_items.begin() + index);
    OnItemRemoved(index);
    // Off the list already: the child event of its deletion has nothing to look for.
    m_removing = true;
    delete control->GetWidget();
    m_removing = false;
    return true;
}

void CContainerUI::RemoveAll() {
    while (!m_items.empty())
        Remove(m_items.back());
}

void CContainerUI::OnItemRemoved(int) {}

void CContainerUI::childEvent(QChildEvent* event) {
    // A child control deleted directly (not through Remove) leaves the item list too. Its
    // control part is already gone, so it is recognised by its widget address only.
    if (event->removed() && !m_removing) {
        for (size_t i = 0; i < m_items.size(); ++i) {
            if (static_cast<QObject*>(dynamic_cast<QWidget*>(m_items[i])) == event->child()) {
                m_items.erase(m_items.begin() + static_cast<long>(i));
                OnItemRemoved(static_cast<int>(i));
                break;
            }
        }
    }
    QFrame::childEvent(event);
}

void CContainerUI::SetManager(CPaintManagerUI* manager, CControlUI* parent) {
    CControlUI::SetManager(manager, parent);
    for (CControlUI* child : m_items)
        child->SetManager(manager, this);
}

void CContainerUI::SetChildPadding(int padding) {
    if (m_box)
        m_box->setSpacing(padding);
}

void CContainerUI::SetInset(const QRect& ltrb) {
    if (QLayout* layout = ItemLayout())
        layout->setContentsMargins(ltrb.left(), ltrb.top(), ltrb.right(), ltrb.bottom());
}

void CContainerUI::SetAttribute(const QString& name, const QString& value) {
    const QString key = name.toLower();
    if (key == QLatin1String("childpadding")) {
        SetChildPadding(value.toInt());
    } else if (key == QLatin1String("inset")) {
        const QStringList p = value.split(QLatin1Char(','));
        if (p.size() == 4)
            SetInset(QRect(QPoint(p[0].toInt(), p[1].toInt()), QPoint(p[2].toInt(), p[3].toInt())));
    } else if (key == QLatin1String("childalign")) {
        if (m_box && value == QLatin1String("center"))
            m_box->setAlignment(Qt::AlignCenter);
    } else {
        ControlWidget<QFrame>::SetAttribute(name, value);
    }
}

void CContainerUI::paintEvent(QPaintEvent* event) {
    QStyleOption option;
    option.initFrom(this);
    QPainter painter(this);
    style()->drawPrimitive(QStyle::PE_Widget, &option, &painter, this);
    QFrame::paintEvent(event);
}

CTabLayoutUI::CTabLayoutUI() {
    delete m_box;
    m_box = nullptr;
    m_stack = new QStackedLayout(this);
    m_stack->setContentsMargins(0, 0, 0, 0);
}

QLayout* CTabLayoutUI::ItemLayout() {
    return m_stack;
}

void CTabLayoutUI::InsertIntoLayout(CControlUI* control, int index) {
    m_stack->insertWidget(index, control->GetWidget());
    if (m_curSel < 0)
        m_curSel = 0;
    else if (index <= m_curSel)
        ++m_curSel; // the page that showed keeps showing
    if (!m_initialApplied && index == m_initialSel) {
        m_curSel = index;
        m_initialApplied = true;
    }
    m_stack->setCurrentIndex(m_curSel);
}

void CTabLayoutUI::OnItemRemoved(int index) {
    if (index < m_curSel)
        --m_curSel;
    else if (index == m_curSel)
        m_curSel = GetCount() > 0 ? std::min(index, GetCount() - 1) : -1;
    if (m_curSel >= 0)
        m_stack->setCurrentIndex(m_curSel);
}

bool CTabLayoutUI::SelectItem(int index) {
    if (index < 0 || index >= GetCount())
        return false;
    m_curSel = index;
    m_stack->setCurrentWidget(GetItemAt(index)->GetWidget());
    return true;
}

void CTabLayoutUI::SetAttribute(const QString& name, const QString& value) {
    if (name.compare(QLatin1String("selectedid"), Qt::CaseInsensitive) == 0) {
        m_initialSel = value.toInt();
        m_initialApplied = SelectItem(m_initialSel);
    } else {
        CContainerUI::SetAttribute(name, value);
    }
}

} // namespace ui
