#include "ui/ListUI.h"

#include <QMouseEvent>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>

namespace ui {

void IListItemUI::RowPressed(CControlUI* self) {
    self->Notify(notify::itemclick, static_cast<WPARAM>(m_index));
    if (m_owner)
        m_owner->SelectItem(m_index, true, true);
}

void IListItemUI::RowDoubleClicked(CControlUI* self) {
    self->Notify(notify::itemactivate, static_cast<WPARAM>(m_index));
}

void IListItemUI::ApplySelectedLook(QWidget* widget, bool selected) {
    m_selected = selected;
    // The skin's style sheet styles rows through the "selected" property.
    widget->setProperty("selected", selected);
    widget->style()->unpolish(widget);
    widget->style()->polish(widget);
    widget->update();
}

void CListLabelElementUI::ShowText(const QString& text) {
    CLabelUI::ShowText(text);
    if (m_owner)
        m_owner->ItemChanged(this);
}

void CListLabelElementUI::mousePressEvent(QMouseEvent* event) {
    CLabelUI::mousePressEvent(event);
    if (event->button() == Qt::LeftButton)
        RowPressed(this);
}

void CListLabelElementUI::mouseDoubleClickEvent(QMouseEvent* event) {
    // Not the base: it would take the second press of the double click for another click.
    if (event->button() != Qt::LeftButton)
        return QLabel::mouseDoubleClickEvent(event);
    event->accept();
    RowDoubleClicked(this);
}

void CListContainerElementUI::mousePressEvent(QMouseEvent* event) {
    CHorizontalLayoutUI::mousePressEvent(event);
    if (event->button() == Qt::LeftButton)
        RowPressed(this);
}

void CListContainerElementUI::mouseDoubleClickEvent(QMouseEvent* event) {
    // Not the base: it would take the second press of the double click for another click.
    if (event->button() != Qt::LeftButton)
        return QFrame::mouseDoubleClickEvent(event);
    event->accept();
    RowDoubleClicked(this);
}

CListUI::CListUI() {
    m_scroll = new QScrollArea(this);
    m_scroll->setWidgetResizable(true);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_content = new QWidget;
    m_content->setObjectName(QStringLiteral("list_content"));
    m_contentLayout = new QVBoxLayout(m_content);
    m_contentLayout->setContentsMargins(0, 0, 0, 0);
    m_contentLayout->setSpacing(0);
    m_contentLayout->addStretch(1);
    m_scroll->setWidget(m_content);
    m_box->addWidget(m_scroll);
}

QLayout* CListUI::ItemLayout() {
    return m_contentLayout;
}

bool CListUI::AddAt(CControlUI* control, int index) {
    if (!CContainerUI::AddAt(control, index))
        return false;
    if (auto* row = dynamic_cast<IListItemUI*>(control))
        row->SetOwner(this);
    if (m_curSel >= index)
        ++m_curSel;
    Reindex(index);
    return true;
}

void CListUI::OnItemRemoved(int index) {
    if (m_curSel == index)
        m_curSel = -1;
    else if (m_curSel > index)
        --m_curSel;
    Reindex(index);
}

void CListUI::Reindex(int from) {
    for (int i = from; i < GetCount(); ++i) {
        if (auto* row = dynamic_cast<IListItemUI*>(GetItemAt(i)))
            row->SetIndex(i);
    }
}

bool CListUI::SelectItem(int index, bool takeFocus, bool triggerEvent) {
    if (index < -1 || index >= GetCount())
        return false;
    if (index == m_curSel)
        return true;
    const int previous = m_curSel;
    if (auto* old = dynamic_cast<IListItemUI*>(GetItemAt(previous)))
        old->SetSelectedState(false);
    m_curSel = index;
    if (auto* row = dynamic_cast<IListItemUI*>(GetItemAt(index))) {
        row->SetSelectedState(true);
        EnsureVisible(index);
        if (takeFocus)
            GetItemAt(index)->SetFocus();
    }
    if (triggerEvent)
        Notify(notify::itemselect, static_cast<WPARAM>(index), previous);
    return true;
}

void CListUI::EnsureVisible(int index) {
    if (CControlUI* item = GetItemAt(index))
        m_scroll->ensureWidgetVisible(item->GetWidget(), 0, 0);
}

} // namespace ui
