#include "shell/mouse/MouseSystemPanel.h"

#include "devices/KelvaneMouseDevice.h"
#include "ui/ButtonUI.h"
#include "ui/ControlNames.h"
#include "ui/PaintManagerUI.h"
#include "ui/SliderUI.h"

#include <algorithm>

namespace shell::mouse {

namespace ms = config::mouse_system;

ui::CControlUI* CMouseSystemPanel::Control(const char* name) const {
    return m_page ? m_pm.FindSubControlByName(m_page, QLatin1String(name)) : nullptr;
}

void CMouseSystemPanel::SetSlider(const char* name, int value) {
    if (auto* slider = ui::control_cast<ui::CSliderUI>(Control(name)))
        slider->SetValue(value);
}

int CMouseSystemPanel::Slider(const char* name) const {
    auto* slider = ui::control_cast<ui::CSliderUI>(Control(name));
    return slider ? std::max(0, slider->GetValue()) : 0;
}

void CMouseSystemPanel::SetCheck(const char* name, bool on) {
    if (auto* check = ui::control_cast<ui::COptionUI>(Control(name)))
        check->Selected(on, false);
}

void CMouseSystemPanel::Refresh() {
    const config::SystemStageWords& system = m_mouse.GetSystemRecord();
    SetSlider("pointer_speed_slider", system.Value(ms::kPointerSpeed));
    SetCheck("pointer_precision_check", system.Value(ms::kPointerPrecision) != 0);
    SetSlider("scroll_speed_slider", system.Value(ms::kWheelLines));
    SetCheck("scrolls_page_check", system.Value(ms::kPageScrolling) != 0);
    SetSlider("double_click_slider", system.Value(ms::kDoubleClick));
}

void CMouseSystemPanel::Store(int value, int setting) {
    config::SystemStageWords system = m_mouse.GetSystemRecord();
    system.SetValue(setting, static_cast<std::uint16_t>(value));
    m_mouse.SetSystemRecord(system);
}

bool CMouseSystemPanel::OnValueChanged(ui::CControlUI* sender) {
    if (sender == Control("pointer_speed_slider")) {
        Store(Slider("pointer_speed_slider"), ms::kPointerSpeed);
    } else if (sender == Control("scroll_speed_slider")) {
        // Lines per notch replace page scrolling.
        Store(Slider("scroll_speed_slider"), ms::kWheelLines);
        Store(0, ms::kPageScrolling);
        SetCheck("scrolls_page_check", false);
    } else if (sender == Control("double_click_slider")) {
        Store(Slider("double_click_slider"), ms::kDoubleClick);
    } else {
        return false;
    }
    m_mouse.StoreProfile();
    return true;
}

bool CMouseSystemPanel::OnSelectChanged(ui::CControlUI* sender) {
    auto* check = ui::control_cast<ui::COptionUI>(sender);
    if (!check)
        return false;
    if (sender == Control("pointer_precision_check")) {
        Store(check->IsSelected() ? 1 : 0, ms::kPointerPrecision);
    } else if (sender == Control("scrolls_page_check")) {
        const bool pages = check->IsSelected();
        const int lines = Slider("scroll_speed_slider");
        Store(pages ? 1 : 0, ms::kPageScrolling);
        Store(lines, ms::kWheelLines);
        SetCheck("scrolls_page_check", pages);
        SetSlider("scroll_speed_slider", lines);
    } else {
        return false;
    }
    m_mouse.StoreProfile();
    return true;
}

} // namespace shell::mouse
