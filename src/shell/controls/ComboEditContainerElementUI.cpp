#include "shell/controls/ComboEditContainerElementUI.h"

#include "ui/DialogBuilder.h"
#include "ui/PaintManagerUI.h"

#include <QKeyEvent>
#include <QStyle>

namespace shell {

// Sees the window's notifications on behalf of the row.
class CComboEditContainerElementUI::ChangeWatcher : public ui::INotifyUI {
public:
    explicit ChangeWatcher(CComboEditContainerElementUI& row) : m_row(row) {}
    void Notify(ui::TNotifyUI& msg) override { m_row.OnNotify(msg); }

private:
    CComboEditContainerElementUI& m_row;
};

CComboEditContainerElementUI::CComboEditContainerElementUI()
    : m_watcher(std::make_unique<ChangeWatcher>(*this)) {
    setFocusPolicy(Qt::ClickFocus);
}

CComboEditContainerElementUI::~CComboEditContainerElementUI() {
    if (GetManager())
        GetManager()->RemoveNotifier(m_watcher.get());
}

void CComboEditContainerElementUI::SetAttribute(const QString& name, const QString& value) {
    const QString key = name.toLower();
    if (key == QLatin1String("normalimage") || key == QLatin1String("hotimage") ||
        key == QLatin1String("selectedimage"))
        return;
    CListContainerElementUI::SetAttribute(name, value);
}

void CComboEditContainerElementUI::SetManager(ui::CPaintManagerUI* manager, CControlUI* parent) {
    if (GetManager() && GetManager() != manager)
        GetManager()->RemoveNotifier(m_watcher.get());
    const bool attach = manager && manager != GetManager();
    CListContainerElementUI::SetManager(manager, parent);
    if (attach)
        manager->AddNotifier(m_watcher.get());
    BuildContent();
}

void CComboEditContainerElementUI::DoInit() {
    CListContainerElementUI::DoInit();
    BuildContent();
}

void CComboEditContainerElementUI::BuildContent() {
    // Needs the manager, which a row built as a top-level control only gets afterwards.
    if (m_built || !GetManager())
        return;
    m_built = true;
    ui::CDialogBuilder builder;
    builder.Create(kContentXml, nullptr, GetManager(), this);
    m_text1 = GetManager()->FindSubControlByName(this, QStringLiteral("text1"));
    m_text2 = GetManager()->FindSubControlByName(this, QStringLiteral("text2"));
    m_delayEdit = GetManager()->FindSubControlByName(this, QStringLiteral("delay_edit"));
}

bool CComboEditContainerElementUI::Contains(ui::CControlUI* control) const {
    for (; control; control = control->GetParent()) {
        if (control == this)
            return true;
    }
    return false;
}

void CComboEditContainerElementUI::OnNotify(const ui::TNotifyUI& msg) {
    if (msg.sType == ui::notify::selectchanged && Contains(msg.pSender))
        m_changed = true;
    else if (msg.sType == ui::notify::returnKey && m_delayEdit && msg.pSender == m_delayEdit)
        m_changed = true;
}

void CComboEditContainerElementUI::Activate() {
    RowDoubleClicked(this);
}

void CComboEditContainerElementUI::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && isEnabled()) {
        event->accept();
        Activate();
        Notify(ui::notify::returnKey);
        return;
    }
    CListContainerElementUI::keyPressEvent(event);
}

void CComboEditContainerElementUI::mousePressEvent(QMouseEvent* event) {
    // Not the row's own press: this row sends "itemclick" on release.
    CHorizontalLayoutUI::mousePressEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    event->accept();
    setFocus(Qt::MouseFocusReason);
    const bool toggle = event->modifiers() & Qt::ControlModifier;
    if (toggle && IsSelected()) {
        if (m_owner && m_owner->GetCurSel() == m_index)
            m_owner->SelectItem(-1, true, true);
        else
            SetSelectedState(false);
    } else if (m_owner) {
        m_owner->SelectItem(m_index, true, true);
    } else {
        SetSelectedState(true);
    }
}

void CComboEditContainerElementUI::mouseReleaseEvent(QMouseEvent* event) {
    CHorizontalLayoutUI::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton)
        Notify(ui::notify::itemclick, static_cast<ui::WPARAM>(m_index));
}

void CComboEditContainerElementUI::enterEvent(QEnterEvent* event) {
    CListContainerElementUI::enterEvent(event);
    SetHot(true);
}

void CComboEditContainerElementUI::leaveEvent(QEvent* event) {
    CListContainerElementUI::leaveEvent(event);
    SetHot(false);
}

void CComboEditContainerElementUI::SetHot(bool hot) {
    if (hot == m_hot)
        return;
    m_hot = hot;
    // The skin's style sheet can style hot rows through this property.
    setProperty("hot", hot);
    style()->unpolish(this);
    style()->polish(this);
    update();
}

} // namespace shell
