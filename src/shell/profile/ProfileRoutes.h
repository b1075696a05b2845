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

// The profile panel's buttons: "device_add_btn", "device_sub_btn", "device_copy_btn",
// "device_export_btn", "device_import_btn", "device_reset_btn" (after confirming
// "message_text_22"), "device_profile_edit_save_btn" (rename to the name edit's text;
// "message_text_5" when another profile has that name, "message_text_25" when it is blank) and
// "profile_fun_spread_btn" (toggles the profile menu; this name alone is compared with case).
ProfileRoute RouteProfileClick(CDeviceProfileUI& panel, const QString& name,
                               const ProfileDialogs& dialogs);

bool IsProfileCombo(const QString& name);
// The drop-down's selection becomes the selected profile; returns its id, empty when there is
// no selection.
std::string ApplyProfileSelection(CDeviceProfileUI& panel);

// The profile panel ("DeviceProfileItem") of a device page; nullptr when the page has none.
CDeviceProfileUI* FindProfilePanel(ui::CControlUI* page);
// What the device does with its panel once: kind, folders, list, tab 1; the device then takes
// the selected profile as its current one.
void SetUpProfilePanel(CDeviceProfileUI& panel, devices::CKelvaneUSBDevice& device, int kind);

} // namespace shell
