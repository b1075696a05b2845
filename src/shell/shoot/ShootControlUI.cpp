#include "shell/shoot/ShootControlUI.h"

#include "ui/ButtonUI.h"
#include "ui/ControlTree.h"
#include "ui/EditUI.h"

namespace shell::shoot {

namespace {

// The controls that are looked up only to tell whether the skin has them all.
constexpr const char* kOtherControls[] = {
    "shootdate_import_btn", "shootdate_export_btn", "shootdate_save_btn",  "shootdate_reset_btn",
    "bullet_edit_layout",   "bullet_selected_prev", "bullet_selected_next"};

std::int64_t NumberIn(const ui::CEditUI* edit) {
    if (!edit)
        return 0;
    bool ok = false;
    const qlonglong value = edit->GetText().trimmed().toLongLong(&ok, 10);
    return ok ? value : 0;
}

void ShowNumber(ui::CEditUI* edit, std::int64_t value) {
    if (edit)
        edit->SetText(QString::number(value));
}

} // namespace

CShootControlUI::CShootControlUI() = default;

template <class T> T* CShootControlUI::Child(const QString& name) const {
    return dynamic_cast<T*>(ui::FindInTreeByName(const_cast<CShootControlUI*>(this), name));
}

void CShootControlUI::SetShootFolders(const std::string& userFolder,
                                      const std::string& defaultFolder) {
    m_editor.SetShootFolders(userFolder, defaultFolder);
}

void CShootControlUI::InitShootEditor() {
    bool all = true;
    for (int slot = 0; slot < config::kShootSlotCount; ++slot) {
        m_slots[slot] = Child<ui::COptionUI>(QStringLiteral("shoot_gun_op_%1").arg(slot));
        all = all && m_slots[slot];
    }
    for (int bullet = 0; bullet < config::kShootBulletCount; ++bullet) {
        m_bullets[bullet] = Child<ui::COptionUI>(QStringLiteral("bullet_op_%1").arg(bullet));
        all = all && m_bullets[bullet];
    }
    m_pages = Child<ui::CTabLayoutUI>(QStringLiteral("shoot_image_display_switch"));
    m_index = Child<ui::CLabelUI>(QStringLiteral("bullet_select_index"));
    m_xCheck = Child<ui::CCheckBoxUI>(QStringLiteral("bullet_x_check"));
    m_yCheck = Child<ui::CCheckBoxUI>(QStringLiteral("bullet_y_check"));
    m_xEdit = Child<ui::CEditUI>(QStringLiteral("bullet_x_eidt"));
    m_yEdit = Child<ui::CEditUI>(QStringLiteral("bullet_y_eidt"));
    m_delayEdit = Child<ui::CEditUI>(QStringLiteral("bullet_delay_eidt"));
    all = all && m_pages && m_index && m_xCheck && m_yCheck && m_xEdit && m_yEdit && m_delayEdit;
    for (const char* name : kOtherControls)
        all = all && Child(QLatin1String(name));
    m_allFound = all;
    m_editor.InitShootEditor();
}

void CShootControlUI::SelectWeapon(int slot) {
    for (ui::COptionUI* option : m_slots)
        if (option)
            option->Selected(false, false);
    m_editor.SelectWeapon(slot);
    const int selected = m_editor.SelectedWeapon();
    if (m_slots[selected])
        m_slots[selected]->Selected(true, false);
    if (m_pages)
        m_pages->SelectItem(selected);
    if (m_editor.SelectedBullet() >= 0)
        ShowBullet();
}

void CShootControlUI::SelectBullet(int bullet) {
    for (ui::COptionUI* option : m_bullets)
        if (option)
            option->Selected(false, false);
    m_editor.SelectBullet(bullet);
    const int selected = m_editor.SelectedBullet();
    if (m_bullets[selected])
        m_bullets[selected]->Selected(true, false);
    if (m_index)
        m_index->SetText(QString::number(selected + 1));
    ShowBullet();
}

void CShootControlUI::ShowBullet() {
    const config::ShootBullet values = m_editor.LoadBullet();
    if (m_xCheck)
        m_xCheck->SetCheck(values.left, false);
    if (m_yCheck)
        m_yCheck->SetCheck(values.up, false);
    UpdateMoveLabels();
    ShowNumber(m_xEdit, values.x);
    ShowNumber(m_yEdit, values.y);
    ShowNumber(m_delayEdit, values.delay);
}

void CShootControlUI::UpdateMoveLabels() {
    if (m_xCheck)
        m_xCheck->SetText(QLatin1String(m_xCheck->GetCheck() ? kMoveLeftText : kMoveRightText));
    if (m_yCheck)
        m_yCheck->SetText(QLatin1String(m_yCheck->GetCheck() ? kMoveUpText : kMoveDownText));
}

void CShootControlUI::SaveBullet() {
    config::ShootBullet values;
    values.x = NumberIn(m_xEdit);
    values.y = NumberIn(m_yEdit);
    values.delay = NumberIn(m_delayEdit);
    values.left = m_xCheck && m_xCheck->GetCheck();
    values.up = m_yCheck && m_yCheck->GetCheck();
    m_editor.SaveBullet(values);
}

int CShootControlUI::ResetWeapon() {
    const int result = m_editor.ResetWeapon();
    if (m_editor.SelectedBullet() >= 0)
        ShowBullet();
    return result;
}

int CShootControlUI::ImportWeapon(const std::string& path) {
    const int result = m_editor.ImportWeapon(path);
    if (result == config::kShootFileDone && m_editor.SelectedBullet() >= 0)
        ShowBullet();
    return result;
}

int CShootControlUI::ExportWeapon(const std::string& path) const {
    return m_editor.ExportWeapon(path);
}

} // namespace shell::shoot
