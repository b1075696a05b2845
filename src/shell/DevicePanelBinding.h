#pragma once
// The window side of a device object's page: finds its key and light buttons in the skin and
// switches its tab layouts.

#include "devices/DevicePanel.h"

#include <vector>

namespace ui {
class CControlUI;
class CPaintManagerUI;
} // namespace ui

namespace shell {

// The "DeviceKeyButton" controls inside the page's "SelectPanel" control (the first one found
// under `page`), in tree order; controls of that class that are not key buttons are skipped.
std::vector<devices::PanelButton> CollectPanelButtons(ui::CControlUI* page);

// Selects pages of the tab layouts under one device page.
class SkinDevicePanel : public devices::IDevicePanel {
public:
    SkinDevicePanel(ui::CPaintManagerUI& pm, ui::CControlUI* page) : m_pm(pm), m_page(page) {}
    void SelectPage(const std::string& layout, int index) override;

private:
    ui::CPaintManagerUI& m_pm;
    ui::CControlUI* m_page;
};

} // namespace shell
