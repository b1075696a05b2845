#pragma once
// CHeadsetRoutes: the main window's dispatch for the headset page's panels, while the current
// device is the headset, and the custom equalisers' save and delete:
//   "selectchanged" of "6533_eq_option_" N, "magic_option_" N, "magic_enable_option",
//     "6533_MicIn_option", "6533_MicMoniter_option";
//   "valuechanged" of "6533_eq_hz_slider_" N, "6533_MicIn_slider", "6533_MicMoniter_slider";
//   "itemselect" of "custom_eq_name_combo";
//   "click" of "hs_EQ_btn_save" (a duplicate name shows "message_text_5") and "hs_EQ_btn_delete".

#include "devices/KelvaneHS6533Device.h"
#include "shell/headset/HeadsetPanels.h"
#include "ui/UIDefs.h"

#include <functional>
#include <map>
#include <memory>

namespace ui {
class WindowImplBase;
}

namespace shell::headset {

inline constexpr int kCustomEqLimit = 20;
inline constexpr const char* kDuplicateEqName = "message_text_5";

// The page's panels as the headset model's view.
class HeadsetPageView : public devices::IHeadsetView {
public:
    HeadsetPageView(CVoice6533ControlUI* voice, CMagicControlUI* magic)
        : m_voice(voice), m_magic(magic) {}
    void ShowSettings(const config::HeadsetSettings& settings) override;
    void ShowBands(const std::vector<int>& bands) override;
    void ShowCustomEqNames(const std::vector<std::wstring>& names, int selected) override;
    CVoice6533ControlUI* Voice() const { return m_voice; }

private:
    CVoice6533ControlUI* m_voice;
    CMagicControlUI* m_magic;
};

class CHeadsetRoutes {
public:
    using CurrentDevice = std::function<devices::CKelvaneUSBDevice*()>;
    CHeadsetRoutes(ui::WindowImplBase& window, CurrentDevice currentDevice);
    ~CHeadsetRoutes();

    // A headset's page has been built: its panels become the headset's view, the custom
    // equalisers' names fill the combo.
    void AttachPage(devices::CKelvaneUSBDevice& device, ui::CControlUI* page);
    bool Notify(ui::TNotifyUI& msg);

    // 1 saved, 0 a name that is there already (letter case aside), -1 refused (no name and
    // nothing selected, or 20 names already).
    int SaveCustomEq(devices::CKelvaneHS6533Device& headset, CVoice6533ControlUI& panel);
    void DeleteCustomEq(devices::CKelvaneHS6533Device& headset, CVoice6533ControlUI& panel);

private:
    struct Page {
        ui::CControlUI* root = nullptr;
        std::unique_ptr<HeadsetPageView> view;
        CMagicControlUI* magic = nullptr;
    };
    bool OnSelectChanged(devices::CKelvaneHS6533Device& headset, Page& page, ui::CControlUI* sender,
                         const QString& name);
    bool OnValueChanged(devices::CKelvaneHS6533Device& headset, ui::CControlUI* sender,
                        const QString& name);

    ui::WindowImplBase& m_window;
    CurrentDevice m_currentDevice;
    std::map<const devices::CKelvaneUSBDevice*, Page> m_pages;
};

} // namespace shell::headset
