#include "shell/profile/ProfileRoutes.h"

#include "config/ProfileList.h"
#include "devices/KelvaneUSBDevice.h"
#include "shell/profile/DeviceProfileUI.h"
#include "shell/windows/MsgWnd.h"
#include "ui/ControlNames.h"
#include "ui/ControlTree.h"
#include "ui/WindowWnd.h"

#include <QFileDialog>
#include <QFileInfo>

namespace shell {

namespace {

// Shows why an operation failed, when it did.
void Report(int result, const ProfileDialogs& dialogs) {
    if (const char* message = ProfileFailureMessage(result); message && dialogs.message)
        dialogs.message(QLatin1String(message), 0);
}

void Export(CDeviceProfileUI& panel, const ProfileDialogs& dialogs) {
    const int selected = panel.GetSelectedIndex();
    if (selected < 0 || !dialogs.saveFile)
        return;
    QString path = dialogs.saveFile(panel.GetNameEditText() + QStringLiteral(".json"));
    if (path.isEmpty())
        return;
    // The filter promises .json files; a name typed without an extension gets it.
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".json");
    Report(panel.ExportProfile(path), dialogs);
}

void Import(CDeviceProfileUI& panel, const ProfileDialogs& dialogs) {
    if (!dialogs.openFile)
        return;
    const QString path = dialogs.openFile();
    if (path.isEmpty())
        return;
    // A JSON file that is not a profile is dropped without a message.
    const int result = panel.ImportProfile(path);
    if (result == config::kProfileUnreadable && dialogs.message)
        dialogs.message(QLatin1String(kMessageImportRefused), 0);
    else
        Report(result, dialogs);
}

void Rename(CDeviceProfileUI& panel, const ProfileDialogs& dialogs) {
    const QString name = panel.GetNameEditText();
    if (name.isEmpty())
        return;
    const int result = panel.RenameProfile(name);
    const char* message = result == config::kProfileNothingDone ? "message_text_5"
                          : result == config::kProfileBlankName ? "message_text_25"
                                                                : ProfileFailureMessage(result);
    if (message && dialogs.message)
        dialogs.message(QLatin1String(message), 0);
}

bool Reset(CDeviceProfileUI& panel, const ProfileDialogs& dialogs) {
    if (!dialogs.message || dialogs.message(QStringLiteral("message_text_22"), 1) != 1)
        return false;
    const int result = panel.ResetProfile();
    Report(result, dialogs);
    return result == config::kProfileDone;
}

} // namespace

const char* ProfileFailureMessage(int result) {
    switch (result) {
    case config::kProfileUnreadable:
        return kMessageUnreadable;
    case config::kProfileWriteFailed:
        return kMessageNotWritten;
    default:
        return nullptr;
    }
}

ProfileDialogs DefaultProfileDialogs(ui::CWindowWnd* owner, int dpi) {
    return DefaultFileDialogs(owner, dpi, QLatin1String(kProfileFileFilter));
}

ProfileDialogs DefaultFileDialogs(ui::CWindowWnd* owner, int dpi, const QString& filter) {
    QWidget* parent = owner ? owner->GetHWND() : nullptr;
    ProfileDialogs dialogs;
    dialogs.saveFile = [parent, filter](const QString& suggested) {
        return QFileDialog::getSaveFileName(parent, QString(), suggested, filter);
    };
    dialogs.openFile = [parent, filter] {
        return QFileDialog::getOpenFileName(parent, QString(), QString(), filter);
    };
    dialogs.message = [owner, dpi](const QString& textId, int buttons) {
        return ShowMessage(owner, QString(), textId, dpi, true, buttons);
    };
    return dialogs;
}

ProfileRoute RouteProfileClick(CDeviceProfileUI& panel, const QString& name,
                               const ProfileDialogs& dialogs) {
    if (ui::NameIs(name, "device_add_btn"))
        Report(panel.AddProfile(), dialogs);
    else if (ui::NameIs(name, "device_sub_btn"))
        Report(panel.DeleteProfile(), dialogs);
    else if (ui::NameIs(name, "device_copy_btn"))
        Report(panel.CopyProfile(), dialogs);
    else if (ui::NameIs(name, "device_export_btn"))
        Export(panel, dialogs);
    else if (ui::NameIs(name, "device_import_btn"))
        Import(panel, dialogs);
    else if (ui::NameIs(name, "device_reset_btn"))
        return Reset(panel, dialogs) ? ProfileRoute::kReloadProfile : ProfileRoute::kHandled;
    else if (ui::NameIs(name, "device_profile_edit_save_btn"))
        Rename(panel, dialogs);
    else if (name == QLatin1String("profile_fun_spread_btn"))
        panel.ShowProfileMenu(!panel.IsProfileMenuVisible());
    else
        return ProfileRoute::kNotMine;
    return ProfileRoute::kHandled;
}

bool IsProfileCombo(const QString& name) {
    return ui::NameIs(name, "device_profile_combo");
}

std::string ApplyProfileSelection(CDeviceProfileUI& panel, const ProfileDialogs& dialogs) {
    const int index = panel.GetSelectedIndex();
    if (index < 0)
        return {};
    const int result = panel.SelectProfile(index, false);
    if (result != config::kProfileDone && result != config::kProfileUnknown) {
        Report(result, dialogs);
        return {};
    }
    return panel.GetCurrentProfileId();
}

CDeviceProfileUI* FindProfilePanel(ui::CControlUI* page) {
    return dynamic_cast<CDeviceProfileUI*>(
        ui::FindInTreeByName(page, QStringLiteral("DeviceProfileItem")));
}

void SetUpProfilePanel(CDeviceProfileUI& panel, devices::CKelvaneUSBDevice& device, int kind,
                       const ProfileDialogs& dialogs) {
    panel.SetDeviceKind(kind);
    panel.SetProfilePaths(device.UserDataFolder(), device.DefaultProfilePath());
    Report(panel.LoadProfileList(), dialogs);
    panel.SelectTab(1);
    device.SetCurrentProfileId(panel.GetCurrentProfileId());
    device.SetProfilePaths();
}

} // namespace shell
