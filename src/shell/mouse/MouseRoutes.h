#pragma once
// CMouseRoutes: the main window's dispatch for the mouse page's own panels: the DPI stages and
// report rate (CMouseDpiPanel), the system settings (CMouseSystemPanel), the page's options and
// the free DPI pair "orbek_DPI_slider_" N / "orbek_DPI_edit_" N, which only mirror each other.
//
// Handled notifications, while the current device is a mouse with such a page:
//   "selectchanged" of "DPI_enable_check_" N, "DPI_select_check_" N, "polling_rate_option_" N,
//   "mouse_device_seting_option_" N, "pointer_precision_check", "scrolls_page_check";
//   "valuechanged" of "DPI_slider_" N, "orbek_DPI_slider_" N and the system sliders;
//   "movevaluechanged" of "DPI_slider_" N and "orbek_DPI_slider_" N;
//   "killfocus" of "DPI_edit_" N and "orbek_DPI_edit_" N;
//   "click" of "DPI_color_option_" N (the colour picker);
//   the recoil editor's notifications ("ShootControlItem", ShootRoutes.h), whose
//   "shootdate_save_btn" sends the four slots to the mouse.

#include "shell/mouse/MouseDpiPanel.h"
#include "shell/mouse/MouseSystemPanel.h"
#include "shell/profile/ProfileRoutes.h"
#include "ui/UIDefs.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>

namespace devices {
class CKelvaneUSBDevice;
class CKelvaneMouseDevice;
} // namespace devices

namespace shell::shoot {
class CShootControlUI;
}

namespace shell::mouse {

class CMouseRoutes {
public:
    using CurrentDevice = std::function<devices::CKelvaneUSBDevice*()>;
    // The colour picker over the window, starting from 0x00RRGGBB; the chosen colour, or
    // nothing when it was closed.
    using ChooseColour = std::function<std::optional<std::uint32_t>(std::uint32_t)>;

    CMouseRoutes(ui::CPaintManagerUI& pm, CurrentDevice currentDevice, ChooseColour chooseColour,
                 ProfileDialogs shootDialogs);

    // A device page has been built: a mouse's panels are bound to it and show its state; the
    // recoil editor gets the mouse's user folder and its slot files.
    void AttachPage(devices::CKelvaneUSBDevice& device, ui::CControlUI* page);
    // The stages, report rate and system settings of the mouse (after every read or load),
    // with the DPI ranges of its scale.
    void ShowDeviceState(devices::CKelvaneUSBDevice& device);

    bool Notify(ui::TNotifyUI& msg);

private:
    struct Page {
        ui::CControlUI* root = nullptr;
        std::unique_ptr<CMouseDpiPanel> dpi;
        std::unique_ptr<CMouseSystemPanel> system;
        shoot::CShootControlUI* shoot = nullptr;
    };
    Page* CurrentPage();
    bool RouteShoot(Page& page, ui::TNotifyUI& msg);
    bool OnPanelNotify(Page& page, ui::TNotifyUI& msg, const QString& name);
    bool OnSelectChanged(Page& page, ui::CControlUI* sender, const QString& name);
    bool OnValueChanged(Page& page, ui::CControlUI* sender, const QString& name, bool moving);
    bool OnEditDone(Page& page, const QString& name);
    bool OnClick(Page& page, const QString& name);
    void SelectSettingsPage(Page& page, int index);

    ui::CPaintManagerUI& m_pm;
    CurrentDevice m_currentDevice;
    ChooseColour m_chooseColour;
    ProfileDialogs m_shootDialogs;
    std::map<const devices::CKelvaneUSBDevice*, Page> m_pages;
};

// The orbek pair's edit: a number clamped to 200 ... 6500.
int ClampFreeDpi(const QString& text);

} // namespace shell::mouse
