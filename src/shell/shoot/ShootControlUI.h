#pragma once
// CShootControlUI ("ShootControl", named "ShootControlItem" in the skin): the recoil editor of
// the mouse page. Four weapon slots ("shoot_gun_op_0" ... "_3", one page each of
// "shoot_image_display_switch") of 30 bullets ("bullet_op_0" ... "_29"); the selected bullet's
// horizontal and vertical correction and delay are edited in "bullet_x_eidt", "bullet_y_eidt"
// and "bullet_delay_eidt", their directions with "bullet_x_check" (checked: left) and
// "bullet_y_check" (checked: up). Every change is written into the slot's file at once
// (config::CShootEditor); the mouse model sends the four files when "shootdate_save_btn" is
// clicked (ShootRoutes.h).
//
// Every control may be missing from the skin; what needs it then does nothing.

#include "config/ShootEditor.h"
#include "ui/ContainerUI.h"

#include <string>

namespace ui {
class CCheckBoxUI;
class CEditUI;
class CLabelUI;
class COptionUI;
class CTabLayoutUI;
} // namespace ui

namespace shell::shoot {

// The texts of the direction boxes, by text id.
inline constexpr const char* kMoveLeftText = "mouse_move_to_left_text";
inline constexpr const char* kMoveRightText = "mouse_move_to_right_text";
inline constexpr const char* kMoveUpText = "mouse_move_to_up_text";
inline constexpr const char* kMoveDownText = "mouse_move_to_down_text";

class CShootControlUI : public ui::CHorizontalLayoutUI {
public:
    CShootControlUI();
    QString GetClass() const override { return QStringLiteral("ShootControl"); }

    // The mouse's user folder and the default-data folder, each ending in a path separator.
    void SetShootFolders(const std::string& userFolder, const std::string& defaultFolder);
    // Finds the controls and gives every slot whose file is missing or damaged its default.
    void InitShootEditor();
    // Whether every control of the panel was found by InitShootEditor.
    bool AllControlsFound() const { return m_allFound; }

    // Selects the slot (clamped to 0..3), shows its page and its file's selected bullet.
    void SelectWeapon(int slot);
    // Selects the bullet (clamped to 0..29) and shows its values from the slot's file.
    void SelectBullet(int bullet);
    int GetSelectedWeapon() const { return m_editor.SelectedWeapon(); }
    int GetSelectedBullet() const { return m_editor.SelectedBullet(); }
    // The edits (decimal; empty or not a number counts as 0) and the two boxes into the
    // selected bullet of the slot's file.
    void SaveBullet();
    // The direction boxes' texts from their state.
    void UpdateMoveLabels();

    // Reset and import replace the slot's file and show the selected bullet from it again.
    int ResetWeapon();
    int ImportWeapon(const std::string& path);
    int ExportWeapon(const std::string& path) const;

    const config::CShootEditor& Editor() const { return m_editor; }

private:
    template <class T = ui::CControlUI> T* Child(const QString& name) const;
    void ShowBullet();

    config::CShootEditor m_editor;
    bool m_allFound = false;
    ui::COptionUI* m_slots[config::kShootSlotCount] = {};
    ui::COptionUI* m_bullets[config::kShootBulletCount] = {};
    ui::CTabLayoutUI* m_pages = nullptr;
    ui::CLabelUI* m_index = nullptr;
    ui::CCheckBoxUI* m_xCheck = nullptr;
    ui::CCheckBoxUI* m_yCheck = nullptr;
    ui::CEditUI* m_xEdit = nullptr;
    ui::CEditUI* m_yEdit = nullptr;
    ui::CEditUI* m_delayEdit = nullptr;
};

} // namespace shell::shoot
