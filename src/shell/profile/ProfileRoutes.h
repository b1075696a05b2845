#pragma once
// What the main window does with the notifications of a device's profile panel, one call per
// route, so that the window only has to pick the current device's panel:
//
//   "click" from any control        -> RouteProfileClick(panel, name, dialogs); when it answers
//                                      kReloadProfile, load GetCurrentProfileId() into the device
//                                      and send it (as after a profile switch)
//   "selectchanged" from a tab      -> ProfileTabNumber(name) gives 1..8 (0: not a tab): the
//                                      device's SetFunctionPage(n) and panel.SelectTab(n)
//   "itemselect" from the drop-down -> IsProfileCombo(name): start timer kTimerProfileSwitch
//                                      (kProfileSwitchDelayMs, once); when it fires,
//                                      ApplyProfileSelection(panel) gives the id to load
//   a device page has been built    -> FindProfilePanel(page), then SetUpProfilePanel

#include "shell/profile/ProfileTabs.h"

#include <QString>
#include <functional>
#include <string>

class QWidget;

namespace devices {
class CKelvaneUSBDevice;
}
namespace ui {
class CControlUI;
class CPaintManagerUI;
class CWindowWnd;
} // namespace ui

namespace shell {

class CDeviceProfileUI;

inline constexpr const char* kProfileFileFilter = "Profile Files(*.json)";
inline constexpr int kTimerProfileSwitch = 1055;
inline constexpr int kProfileSwitchDelayMs = 400;

enum class ProfileRoute {
    kNotMine,       // not a control of the profile panel
    kHandled,       // done; the device keeps its profile
    kReloadProfile, // the profile was reset: the device loads and sends it again
};

// The dialogs the routes open. DefaultProfileDialogs gives the real ones; tests put in their
// own answers.
struct ProfileDialogs {
    // The file to export to; `suggested` is a file name. Empty when cancelled.
    std::function<QString(const QString& suggested)> saveFile;
    // The file to import. Empty when cancelled.
    std::function<QString()> openFile;
    // A message by text id with OK (buttons 0) or OK and Cancel (1); 1 when OK was chosen.
    std::function<int(const QString& textId, int buttons)> message;
};
ProfileDialogs DefaultProfileDialogs(ui::CWindowWnd* owner, int dpi);
// The same with the file dialogs showing `filter` ("Macro Files(*.mac)", ...).
ProfileDialogs DefaultFileDialogs(ui::CWindowWnd* owner, int dpi, const QString& filter);

// The messages of failed operations: kMessageUnreadable when a profile file cannot be read (it
// is left as it is), kMessageNotWritten when the files cannot be written (a full disk),
// kMessageImportRefused when the chosen file is not a regular file of at most 1 MiB.
inline constexpr const char* kMessageUnreadable = "message_text_40";
inline constexpr const char* kMessageNotWritten = "message_text_41";
inline constexpr const char* kMessageImportRefused = "message_text_42";
// The message for a failed config::ProfileResult; nullptr for the others.
const char* ProfileFailureMessage(int result);

// The profile panel's buttons: "device_add_btn", "device_sub_btn", "device_copy_btn",
// "device_export_btn", "device_import_btn", "device_reset_btn" (after confirming
// "message_text_22"), "device_profile_edit_save_btn" (rename to the name edit's text;
// "message_text_5" when another profile has that name, "message_text_25" when it is blank) and
// "profile_fun_spread_btn" (toggles the profile menu; this name alone is compared with case).
// A failed operation shows its ProfileFailureMessage.
ProfileRoute RouteProfileClick(CDeviceProfileUI& panel, const QString& name,
                               const ProfileDialogs& dialogs);

bool IsProfileCombo(const QString& name);
// The drop-down's selection becomes the selected profile; returns its id, empty when there is
// no selection or when the profile list cannot be read or written (shown as a message).
std::string ApplyProfileSelection(CDeviceProfileUI& panel, const ProfileDialogs& dialogs);

// The profile panel ("DeviceProfileItem") of a device page; nullptr when the page has none.
CDeviceProfileUI* FindProfilePanel(ui::CControlUI* page);
// What the device does with its panel once: kind, folders, list, tab 1; the device then takes
// the selected profile as its current one. A list that cannot be read or written is shown
// with its ProfileFailureMessage.
void SetUpProfilePanel(CDeviceProfileUI& panel, devices::CKelvaneUSBDevice& device, int kind,
                       const ProfileDialogs& dialogs);

} // namespace shell
