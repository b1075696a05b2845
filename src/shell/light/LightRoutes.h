#pragma once
// CLightRoutes: the main window's dispatch for lighting. It owns the lighting panel of each
// device page, the copy of one device's lighting to all, the devices' participation in
// synchronised lighting and the light synchronisation thread's settings; the main window hands
// it every notification after the key assignment routes and stops when it says it has handled
// one.
//
// Handled notifications (on the current device and its panel; nothing without one):
//   "itemselect" of the four lighting combos; "valuechanged" of "deng_light_slider" and
//   "deng_speed_slider"; "killfocus" of the colour and music colour edits; "colorchanged" of
//   "deng_Color_Pallet" and "deng_audioColor_Pallet"; "selectchanged" of "deng_7color_check",
//   "deng_FXL_check", "deng_FXR_check" and the three music options; "click" of
//   "color_option_" N, "audiocolor_option_" N, "deng_colordp_btn", "deng_audiocolordp_btn",
//   "deng_same_mode", "Close_bkColor_btn", "custom_bright_color_btn", "custom_off_color_btn"
//   and "key_" N while a keyboard shows its lighting page (1); "click_select_end" of
//   "device_key_light".
// Seen but left to others: "selectchanged" of "synchro_device_select" (the device joins or
// leaves synchronised lighting; the device list handles the selection).

#include "config/ProfileRecords.h"
#include "lighting/LightSyncThread.h"
#include "ui/UIDefs.h"

#include <functional>
#include <map>
#include <vector>

namespace devices {
class CKelvaneUSBDevice;
}
namespace ui {
class CControlUI;
class WindowImplBase;
} // namespace ui
namespace lighting {
class CLightControlUI;
}

namespace shell::light {

class CLightRoutes {
public:
    using CurrentDevice = std::function<devices::CKelvaneUSBDevice*()>;
    // Every device object in creation order.
    using AllDevices = std::function<std::vector<devices::CKelvaneUSBDevice*>()>;

    CLightRoutes(ui::WindowImplBase& window, CurrentDevice currentDevice, AllDevices allDevices);

    // A device page has been built: its lighting panel (if it has one) is bound to the device
    // kind and shows the device's state; the synchronisation thread learns of the device.
    void AttachPage(devices::CKelvaneUSBDevice& device, ui::CControlUI* page);
    lighting::CLightControlUI* PanelOf(const devices::CKelvaneUSBDevice* device) const;
    // The device's modes, light fields and music record on its panel (after every read).
    void ShowDeviceState(devices::CKelvaneUSBDevice& device);
    // More than one device item is visible: every panel is told.
    void SetSeveralDevices(bool several);

    bool Notify(ui::TNotifyUI& msg);

    // The device takes part in synchronised lighting (its light-pause flag) or leaves it.
    void SetParticipation(devices::CKelvaneUSBDevice& device, bool on);
    // "deng_same_mode": the current device's effect to every device with an open command
    // channel. False when its mode has no common effect (nothing changes then).
    bool CopyToAll();
    // Leaves synchronised lighting, stores the fields, saves the profile, applies the profile
    // lighting and writes the light block.
    static void Write(devices::CKelvaneUSBDevice& device, const config::LightInfoRecord& fields);

    lighting::LightSyncThread& Sync() { return m_sync; }

private:
    lighting::CLightControlUI* CurrentPanel() const;
    bool OnClick(ui::TNotifyUI& msg, const QString& name);
    bool OnSelectChanged(ui::TNotifyUI& msg, const QString& name);
    bool OnItemSelect(const QString& name);
    bool OnKillFocus(const QString& name);
    void OnModeChosen();
    void OnCustomModeChosen();
    void OnVariantChosen();
    void OnSlider(bool brightness);
    void OnColourEdit(int component);
    // The colour (0x..RRGGBB) as the single colour of the current device: multi-colour off,
    // edits, palette and button show it.
    void TakeColour(std::uint32_t colour);
    void PickColour();
    void OnKeyClicked(int key);
    void OnBandSelection(ui::CControlUI* panel);
    // Music lighting.
    void OnMusicChoice();
    void TakeMusicColour(std::uint32_t colour);
    void OnMusicEdit(int component);
    void ClearMusicBackground();
    void PickMusicColour();
    void StoreMusic(devices::CKelvaneUSBDevice& device, const config::AudioLightRecord& record);

    ui::WindowImplBase& m_window;
    CurrentDevice m_currentDevice;
    AllDevices m_allDevices;
    std::map<const devices::CKelvaneUSBDevice*, lighting::CLightControlUI*> m_panels;
    bool m_severalDevices = false;
    lighting::LightSyncThread m_sync;
};

} // namespace shell::light
