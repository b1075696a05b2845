#include "shell/keyset/DevicePageView.h"

#include "shell/keyset/KeyFunctionText.h"
#include "shell/keyset/KeySetControlUI.h"
#include "ui/ControlUI.h"

namespace shell::keyset {

namespace {

constexpr std::uint32_t kReassignedTextColour = 0xFFE4572E;
constexpr std::uint32_t kSelectedBorderColour = 0xFFE4572E;

ui::CControlUI* KeyControl(devices::CKelvaneUSBDevice& device, int key) {
    return dynamic_cast<ui::CControlUI*>(device.GetKeyButton(key));
}

} // namespace

void DevicePageView::ShowKeyAssignment(int key, const devices::KeyRecord& record) {
    MarkSelectedKey(key);
    if (m_panel)
        m_panel->LoadKey(record);
}

void DevicePageView::MarkSelectedKey(int key) {
    if (ui::CControlUI* previous = KeyControl(m_device, m_markedKey)) {
        previous->SetBorderColor(0);
        previous->SetBorderSize(0);
    }
    m_markedKey = key;
    if (ui::CControlUI* current = KeyControl(m_device, key)) {
        current->SetBorderColor(kSelectedBorderColour);
        current->SetBorderSize(2);
    }
}

void DevicePageView::RefreshKeyTexts() {
    for (int key = 0; key < m_device.GetKeyButtonCount(); ++key) {
        ui::CControlUI* button = KeyControl(m_device, key);
        if (!button)
            continue;
        const devices::KeyRecord record = m_device.GetKeyRecord(key);
        const bool reassigned = record.code != record.defaultCode;
        button->SetTextColor(reassigned ? kReassignedTextColour : 0);
        button->SetToolTip(reassigned ? KeyFunctionText(record.code) : QString());
    }
}

void DevicePageView::RefreshPanels() {
    RefreshKeyTexts();
    if (refreshPanels)
        refreshPanels();
}

void DevicePageView::ShowCustomGroup(int group) {
    if (showCustomGroup)
        showCustomGroup(group);
}

} // namespace shell::keyset
