#include "shell/mouse/MouseRoutes.h"

#include "devices/KelvaneMouseDevice.h"
#include "platform/Paths.h"
#include "shell/shoot/ShootRoutes.h"
#include "ui/ButtonUI.h"
#include "ui/ContainerUI.h"
#include "ui/ControlNames.h"
#include "ui/ControlTree.h"
#include "ui/PaintManagerUI.h"
#include "ui/SliderUI.h"

#include <algorithm>

namespace shell::mouse {

namespace {

constexpr const char* kPanelName = "mouse_device_seting_layout";
constexpr int kFreeDpiMinimum = 200;
constexpr int kFreeDpiMaximum = 6500;

} // namespace

int ClampFreeDpi(const QString& text) {
    return std::clamp(text.trimmed().toInt(), kFreeDpiMinimum, kFreeDpiMaximum);
}

CMouseRoutes::CMouseRoutes(ui::CPaintManagerUI& pm, CurrentDevice currentDevice,
                           ChooseColour chooseColour, ProfileDialogs shootDialogs)
    : m_pm(pm), m_currentDevice(std::move(currentDevice)), m_chooseColour(std::move(chooseColour)),
      m_shootDialogs(std::move(shootDialogs)) {}

void CMouseRoutes::AttachPage(devices::CKelvaneUSBDevice& device, ui::CControlUI* page) {
    auto* mouse = dynamic_cast<devices::CKelvaneMouseDevice*>(&device);
    if (!mouse || !page || !ui::FindInTreeByName(page, QLatin1String(kPanelName)))
        return;
    Page& entry = m_pages[&device];
    entry.root = page;
    entry.dpi = std::make_unique<CMouseDpiPanel>(m_pm, page, *mouse);
    entry.system = std::make_unique<CMouseSystemPanel>(m_pm, page, *mouse);
    entry.shoot = dynamic_cast<shoot::CShootControlUI*>(
        ui::FindInTreeByName(page, QLatin1String("ShootControlItem")));
    if (entry.shoot) {
        entry.shoot->SetShootFolders(mouse->UserDataFolder(), platform::DefaultDataFolder());
        entry.shoot->InitShootEditor();
        entry.shoot->SelectWeapon(0);
    }
    ShowDeviceState(device);
}

void CMouseRoutes::ShowDeviceState(devices::CKelvaneUSBDevice& device) {
    const auto it = m_pages.find(&device);
    if (it == m_pages.end())
        return;
    it->second.dpi->SetRanges();
    it->second.dpi->Refresh();
    it->second.system->Refresh();
}

CMouseRoutes::Page* CMouseRoutes::CurrentPage() {
    const auto it = m_pages.find(m_currentDevice ? m_currentDevice() : nullptr);
    return it == m_pages.end() ? nullptr : &it->second;
}

bool CMouseRoutes::Notify(ui::TNotifyUI& msg) {
    const QString name = msg.pSender ? msg.pSender->GetName() : QString();
    Page* page = name.isEmpty() ? nullptr : CurrentPage();
    if (!page || !ui::IsInTree(msg.pSender, page->root))
        return false;
    return (page->shoot && RouteShoot(*page, msg)) || OnPanelNotify(*page, msg, name);
}

bool CMouseRoutes::RouteShoot(Page& page, ui::TNotifyUI& msg) {
    const shoot::ShootRoute route = shoot::RouteShootNotify(*page.shoot, msg, m_shootDialogs);
    if (route == shoot::ShootRoute::kSendToMouse) {
        if (auto* mouse = dynamic_cast<devices::CKelvaneMouseDevice*>(m_currentDevice()))
            mouse->DownloadShoot(shoot::ShootImage(*page.shoot));
    }
    return route != shoot::ShootRoute::kNotMine;
}

bool CMouseRoutes::OnPanelNotify(Page& page, ui::TNotifyUI& msg, const QString& name) {
    if (msg.sType == ui::notify::selectchanged)
        return OnSelectChanged(page, msg.pSender, name);
    if (msg.sType == ui::notify::valuechanged || msg.sType == ui::notify::movevaluechanged)
        return OnValueChanged(page, msg.pSender, name, msg.sType == ui::notify::movevaluechanged);
    if (msg.sType == ui::notify::killfocus)
        return OnEditDone(page, name);
    if (msg.sType == ui::notify::click)
        return OnClick(page, name);
    return false;
}

bool CMouseRoutes::OnSelectChanged(Page& page, ui::CControlUI* sender, const QString& name) {
    auto* option = ui::control_cast<ui::COptionUI>(sender);
    if (const int n = ui::NumberAfter(name, "DPI_enable_check_"); n >= 0) {
        page.dpi->OnEnableChanged(n);
        return true;
    }
    if (const int n = ui::NumberAfter(name, "DPI_select_check_"); n >= 0) {
        page.dpi->OnCurrentChosen(n);
        return true;
    }
    // In the option groups only the newly selected option counts.
    if (const int n = ui::NumberAfter(name, "polling_rate_option_"); n >= 0) {
        if (option && option->IsSelected())
            page.dpi->OnReportRateChosen(n);
        return true;
    }
    if (const int n = ui::NumberAfter(name, "mouse_device_seting_option_"); n >= 0) {
        if (option && option->IsSelected())
            SelectSettingsPage(page, n);
        return true;
    }
    return page.system->OnSelectChanged(sender);
}

bool CMouseRoutes::OnValueChanged(Page& page, ui::CControlUI* sender, const QString& name,
                                  bool moving) {
    if (const int n = ui::NumberAfter(name, "DPI_slider_"); n >= 0) {
        if (moving)
            page.dpi->OnSliderMoving(n);
        else
            page.dpi->OnSliderChanged(n);
        return true;
    }
    if (const int n = ui::NumberAfter(name, "orbek_DPI_slider_"); n >= 0) {
        auto* slider = ui::control_cast<ui::CSliderUI>(sender);
        if (ui::CControlUI* edit =
                m_pm.FindSubControlByName(page.root, ui::Numbered("orbek_DPI_edit_", n));
            edit && slider)
            edit->SetText(QString::number(slider->GetValue()));
        return true;
    }
    return !moving && page.system->OnValueChanged(sender);
}

bool CMouseRoutes::OnEditDone(Page& page, const QString& name) {
    if (const int n = ui::NumberAfter(name, "DPI_edit_"); n >= 0) {
        page.dpi->OnEditDone(n);
        return true;
    }
    if (const int n = ui::NumberAfter(name, "orbek_DPI_edit_"); n >= 0) {
        ui::CControlUI* edit = m_pm.FindSubControlByName(page.root, name);
        const int dpi = edit ? ClampFreeDpi(edit->GetText()) : kFreeDpiMinimum;
        if (edit)
            edit->SetText(QString::number(dpi));
        if (auto* slider = ui::control_cast<ui::CSliderUI>(
                m_pm.FindSubControlByName(page.root, ui::Numbered("orbek_DPI_slider_", n))))
            slider->SetValue(dpi);
        return true;
    }
    return false;
}

bool CMouseRoutes::OnClick(Page& page, const QString& name) {
    const int n = ui::NumberAfter(name, "DPI_color_option_");
    if (n < 0)
        return false;
    if (m_chooseColour) {
        if (const std::optional<std::uint32_t> colour =
                m_chooseColour(page.dpi->StageColour(n) & 0x00FFFFFFu))
            page.dpi->OnColourChosen(n, *colour);
    }
    return true;
}

void CMouseRoutes::SelectSettingsPage(Page& page, int index) {
    if (auto* tabs = dynamic_cast<ui::CTabLayoutUI*>(
            m_pm.FindSubControlByName(page.root, QLatin1String(kPanelName))))
        tabs->SelectItem(index);
}

} // namespace shell::mouse
