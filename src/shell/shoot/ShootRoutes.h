#pragma once
// The main window's dispatch for the recoil editor of the mouse page: which notification of
// the panel runs which operation, and the file dialogs of import and export.
//
//   "click" of "shoot_gun_op_" + n / "bullet_op_" + n    select the slot / bullet
//   "click" of "bullet_selected_prev" / "_next"          the bullet before / after (clamped)
//   "selectchanged" of "bullet_x_check" / "_y_check"     the labels follow, the bullet is saved
//   "textchanged" of the three edits                     the bullet is saved
//   "click" of "shootdate_reset_btn"                     the slot's default file
//   "click" of "shootdate_import_btn" / "_export_btn"    after the dialog; empty does nothing
//   "click" of "shootdate_save_btn"                      kSendToMouse: the caller sends

#include "shell/profile/ProfileRoutes.h"
#include "shell/shoot/ShootControlUI.h"
#include "ui/UIDefs.h"

#include <cstdint>
#include <vector>

namespace shell::shoot {

inline constexpr const char* kShootFileFilter = "Shoot Files(*.shoot)";

enum class ShootRoute {
    kNotMine,     // not a control of this panel
    kHandled,     // done
    kSendToMouse, // the mouse model is to send the four slots (ShootImage)
};

ShootRoute RouteShootNotify(CShootControlUI& panel, const ui::TNotifyUI& msg,
                            const ProfileDialogs& dialogs);

// What the mouse is sent for the panel's four slot files (devices/ShootDownload.h).
std::vector<std::uint8_t> ShootImage(const CShootControlUI& panel);

// Open and save dialogs for ".shoot" files.
ProfileDialogs DefaultShootDialogs(ui::CWindowWnd* owner, int dpi);

} // namespace shell::shoot
