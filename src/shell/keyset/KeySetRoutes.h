#pragma once
// CKeySetRoutes: the main window's dispatch for key assignment. It owns the key assignment
// panel of each device page, the single-key capture and the key-assignment-open flag; the
// main window hands it every notification and message first and stops when it says it has
// handled one.
//
// Handled notifications (on the panel of the current device; nothing without one):
//   "click" "key_" N (while the device shows its key page, 2), "key_butt_keysave" (apply),
//   "key_butt_keydefalut", "key_butt_keycancel", "key_butt_prosave";
//   "selectchanged" "key_ComBox_check_" N;
//   "itemselect" "keyset_function_combo", "keyset_macro_over_combo" and the other keyset combos;
//   "setfocus"/"killfocus" "keyset_keyboard_text_edit" (capture on/off) and "killfocus" of the
//   nine number edits.
// Handled messages: UM_HOOK_SWITCH (1 starts single-key capture, 0 stops it) and
// "WM_HOOK_KEY_SINGLEKEY_MSG" (a captured key).

#include "shell/keyset/DeviceHook.h"
#include "shell/keyset/DevicePageView.h"
#include "ui/UIDefs.h"

#include <functional>
#include <map>
#include <memory>
#include <set>

namespace devices {
class CKelvaneUSBDevice;
}
namespace ui {
class CControlUI;
class WindowImplBase;
} // namespace ui

namespace shell::keyset {

class CKeySetControlUI;

class CKeySetRoutes {
public:
    using CurrentDevice = std::function<devices::CKelvaneUSBDevice*()>;
    CKeySetRoutes(ui::WindowImplBase& window, CurrentDevice currentDevice);
    ~CKeySetRoutes();

    // A device page has been built: its key assignment panel (if it has one) is set up for the
    // device (controls, kind, macro names); every device gets the page as its view.
    void AttachPage(devices::CKelvaneUSBDevice& device, ui::CControlUI* page);
    CKeySetControlUI* PanelOf(const devices::CKelvaneUSBDevice* device) const;
    // The view a device was given; lighting and settings panels hook into its refresh.
    DevicePageView* ViewOf(const devices::CKelvaneUSBDevice* device) const;

    // True when the notification or message was one of the routes above.
    bool Notify(ui::TNotifyUI& msg);
    bool HandleMessage(ui::UINT msg, ui::WPARAM wParam, ui::LPARAM lParam);

    // Whether the key assignment panel is showing (for the device list).
    bool IsKeyAssignmentOpen() const { return m_open; }
    // Stops single-key capture (the device list calls this when another device is chosen).
    void StopCapture();
    CDeviceHook& Hook() { return m_hook; }

private:
    CKeySetControlUI* CurrentPanel() const;
    bool OnClick(const QString& name);
    bool OnItemSelect(const QString& name);
    bool OnKillFocus(const QString& name);
    void OnCapturedKey(ui::WPARAM message, const void* record);
    void SelectKey(int key);
    void Apply();
    void RestoreDefault();
    void Cancel();
    void SaveToDevice();

    ui::WindowImplBase& m_window;
    CurrentDevice m_currentDevice;
    CDeviceHook m_hook;
    std::map<const devices::CKelvaneUSBDevice*, CKeySetControlUI*> m_panels;
    std::map<const devices::CKelvaneUSBDevice*, std::unique_ptr<DevicePageView>> m_views;
    bool m_open = false;
    // The key name rows of the captured keys that are down.
    std::set<std::size_t> m_heldKeys;
};

// What the user is told after the macros went to a device: "message_text_7" when the download
// failed (-1), "message_text_16" with the number of events by which the macros overflow the
// macro memory (above 0).
void ShowMacroDownloadResult(ui::WindowImplBase& window, int result);

} // namespace shell::keyset
