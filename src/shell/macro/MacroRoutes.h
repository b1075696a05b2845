#pragma once
// CMacroRoutes: the main window's dispatch for the macro editor of each device page. It asks
// the user (confirmations, files), drives the panel, runs the capture while recording and
// tells the device model when the library changed, so that the device gets its macros again.
//
// Handled notifications (on the panel of the current device; nothing without one):
//   "click" of the panel's buttons ("macro_btn_*", the four "macro_inset_move*" buttons);
//   "itemselect" of "macro_name_list" (the macro's events are shown);
//   "killfocus" and "return" of a row's "macro_delay" (the macro is saved);
//   "itemactivate" of a row "macro_action" (its event is replaced by the next captured input);
//   "menu" of "macro_action_list" (the menu "XML/Menus/macro_action_menu.xml").
// Handled menu items: "left_down" ... "back_click", the six recording items and
// "macro_action_edit". Handled messages: the keyboard and mouse hook messages of recording.

#include "shell/macro/MacroControlUI.h"
#include "shell/profile/ProfileRoutes.h"
#include "ui/UIDefs.h"

#include <functional>
#include <map>
#include <memory>

namespace devices {
class CKelvaneUSBDevice;
}
namespace ui {
class CMenuWnd;
class WindowImplBase;
} // namespace ui
namespace shell::keyset {
class CDeviceHook;
}

namespace shell::macro {

class CMacroRoutes {
public:
    using CurrentDevice = std::function<devices::CKelvaneUSBDevice*()>;
    // The device's macro library changed (names, count, order): the key assignment panel
    // shows the names again.
    using LibraryShown = std::function<void(devices::CKelvaneUSBDevice&)>;

    // hook: the program's one capture, shared with the key assignment.
    CMacroRoutes(ui::WindowImplBase& window, keyset::CDeviceHook& hook, CurrentDevice currentDevice,
                 ProfileDialogs dialogs, LibraryShown libraryShown);
    ~CMacroRoutes();

    // A device page has been built: its macro panel (if it has one) shows the device's library.
    void AttachPage(devices::CKelvaneUSBDevice& device, ui::CControlUI* page);
    CMacroControlUI* PanelOf(const devices::CKelvaneUSBDevice* device) const;

    bool Notify(ui::TNotifyUI& msg);
    bool OnMenuClick(const QString& name);
    bool HandleMessage(ui::UINT msg, ui::WPARAM wParam, ui::LPARAM lParam);

    bool IsRecording() const { return m_recording != nullptr; }
    // Ends a recording (the stop button, another device, the window hidden) and saves it.
    void StopRecording();
    // Another device item was chosen: a recording on a page no longer shown ends (saved) now,
    // rather than swallowing the next key.
    void OnDeviceChosen();

private:
    CMacroControlUI* CurrentPanel() const;
    bool OnClick(CMacroControlUI& panel, const QString& name);
    void StartRecording(CMacroControlUI& panel, ::macro::TimingMode mode,
                        ::macro::RecordPlace place);
    // "macro_check_time" picks the constant delay for a recording with the delays.
    ::macro::TimingMode TimedMode(CMacroControlUI& panel) const;
    void DeleteMacro(CMacroControlUI& panel, devices::CKelvaneUSBDevice& device);
    void Rename(CMacroControlUI& panel, devices::CKelvaneUSBDevice& device);
    void Import(CMacroControlUI& panel, devices::CKelvaneUSBDevice& device);
    void Export(CMacroControlUI& panel);
    // The library changed: the device rewrites its macros and the names are shown again.
    void LibraryChanged(devices::CKelvaneUSBDevice& device);
    void ShowMenu();

    ui::WindowImplBase& m_window;
    keyset::CDeviceHook& m_hook;
    CurrentDevice m_currentDevice;
    ProfileDialogs m_dialogs;
    LibraryShown m_libraryShown;
    std::map<const devices::CKelvaneUSBDevice*, CMacroControlUI*> m_panels;
    CMacroControlUI* m_recording = nullptr;
    std::unique_ptr<ui::CMenuWnd> m_menu;
};

// The dialogs of the macro editor: ".mac" files, the messages by text id.
ProfileDialogs DefaultMacroDialogs(ui::CWindowWnd* owner, int dpi);

} // namespace shell::macro
