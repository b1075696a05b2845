#pragma once
// CKeyboardSettingsRoutes: the main window's dispatch for the keyboard's settings page
// ("keyboard_system_page"): polling rate, the three switches and key repeat. Each change goes
// into the keyboard's system-settings words and its profile (saved); the switches and the
// polling rate are then written to the keyboard in its light block.
//
// Handled notifications, while the current device is a keyboard with a settings page:
//   "selectchanged" of "polling_rate_option_" N, "repeat_delay_check_" N, "winlockflag_option",
//   "wflag_option" and "6flag_option"; "valuechanged" of "repeat_rate_slider"; "click" of
//   "reset_repeat_btn". "polling_rate_option_" N of a mouse is left to others.

#include "ui/UIDefs.h"

#include <QString>
#include <functional>
#include <map>

namespace devices {
class CKelvaneUSBDevice;
class CKelvaneKeyboardDevice;
} // namespace devices
namespace ui {
class CControlUI;
class CPaintManagerUI;
} // namespace ui

namespace shell::settings {

class CKeyboardSettingsRoutes {
public:
    using CurrentDevice = std::function<devices::CKelvaneUSBDevice*()>;
    // The current language's text of a text id.
    using TextOf = std::function<QString(const QString&)>;

    CKeyboardSettingsRoutes(ui::CPaintManagerUI& pm, CurrentDevice currentDevice, TextOf textOf);

    // A device page has been built: a keyboard's settings page is bound to it and shows its
    // words.
    void AttachPage(devices::CKelvaneUSBDevice& device, ui::CControlUI* page);
    ui::CControlUI* PageOf(const devices::CKelvaneUSBDevice* device) const;
    // The switches, the repeat rate and delay, the test field's hint and the polling rate from
    // the keyboard's settings words (after every read).
    void ShowDeviceState(devices::CKelvaneKeyboardDevice& keyboard);

    // The test field's hint in the current language, on every page (after a language switch).
    void ShowTexts();

    bool Notify(ui::TNotifyUI& msg);

private:
    void ShowHint(ui::CControlUI* page);
    ui::CControlUI* Control(ui::CControlUI* page, const QString& name) const;
    void SelectOption(ui::CControlUI* page, const QString& name, bool selected);
    void ShowRepeatDelay(ui::CControlUI* page, int index);
    bool OnSelectChanged(devices::CKelvaneKeyboardDevice& keyboard, ui::CControlUI* page,
                         ui::CControlUI* sender, const QString& name);

    ui::CPaintManagerUI& m_pm;
    CurrentDevice m_currentDevice;
    TextOf m_textOf;
    std::map<const devices::CKelvaneUSBDevice*, ui::CControlUI*> m_pages;
};

} // namespace shell::settings
