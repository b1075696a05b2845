#include "shell/shoot/ShootRoutes.h"

#include "devices/ShootDownload.h"
#include "ui/ControlTree.h"
#include "ui/WindowWnd.h"

namespace shell::shoot {

namespace {

// The n of prefix + n, or -1.
int IndexAfter(const QString& name, QLatin1String prefix) {
    if (!name.startsWith(prefix))
        return -1;
    bool ok = false;
    const int index = name.mid(prefix.size()).toInt(&ok, 10);
    return ok && index >= 0 ? index : -1;
}

bool IsBulletEdit(const QString& name) {
    return name == QLatin1String("bullet_x_eidt") || name == QLatin1String("bullet_y_eidt") ||
           name == QLatin1String("bullet_delay_eidt");
}

bool IsDirectionBox(const QString& name) {
    return name == QLatin1String("bullet_x_check") || name == QLatin1String("bullet_y_check");
}

ShootRoute OnClick(CShootControlUI& panel, const QString& name, const ProfileDialogs& dialogs) {
    if (const int slot = IndexAfter(name, QLatin1String("shoot_gun_op_")); slot >= 0)
        panel.SelectWeapon(slot);
    else if (const int bullet = IndexAfter(name, QLatin1String("bullet_op_")); bullet >= 0)
        panel.SelectBullet(bullet);
    else if (name == QLatin1String("bullet_selected_prev"))
        panel.SelectBullet(panel.GetSelectedBullet() - 1);
    else if (name == QLatin1String("bullet_selected_next"))
        panel.SelectBullet(panel.GetSelectedBullet() + 1);
    else if (name == QLatin1String("shootdate_reset_btn"))
        panel.ResetWeapon();
    else if (name == QLatin1String("shootdate_import_btn")) {
        const QString path = dialogs.openFile ? dialogs.openFile() : QString();
        if (!path.isEmpty())
            panel.ImportWeapon(path.toStdString());
    } else if (name == QLatin1String("shootdate_export_btn")) {
        const QString path = dialogs.saveFile ? dialogs.saveFile(QString()) : QString();
        if (!path.isEmpty())
            panel.ExportWeapon(path.toStdString());
    } else if (name == QLatin1String("shootdate_save_btn"))
        return ShootRoute::kSendToMouse;
    else
        return ShootRoute::kNotMine;
    return ShootRoute::kHandled;
}

} // namespace

ShootRoute RouteShootNotify(CShootControlUI& panel, const ui::TNotifyUI& msg,
                            const ProfileDialogs& dialogs) {
    if (!msg.pSender || !ui::IsInTree(msg.pSender, &panel))
        return ShootRoute::kNotMine;
    const QString name = msg.pSender->GetName();
    if (msg.sType == ui::notify::click)
        return OnClick(panel, name, dialogs);
    // A box's "click" comes before its state changes: the new state is known from
    // "selectchanged", which the panel's own SetCheck does not send.
    if (msg.sType == ui::notify::selectchanged && IsDirectionBox(name)) {
        panel.UpdateMoveLabels();
        // The direction is part of the bullet: kept now, not only with the next typed number.
        panel.SaveBullet();
        return ShootRoute::kHandled;
    }
    if (msg.sType == ui::notify::textchanged && IsBulletEdit(name)) {
        panel.SaveBullet();
        return ShootRoute::kHandled;
    }
    return ShootRoute::kNotMine;
}

std::vector<std::uint8_t> ShootImage(const CShootControlUI& panel) {
    return devices::BuildShootImage(panel.Editor().SlotEvents());
}

ProfileDialogs DefaultShootDialogs(ui::CWindowWnd* owner, int dpi) {
    return DefaultFileDialogs(owner, dpi, QLatin1String(kShootFileFilter));
}

} // namespace shell::shoot
