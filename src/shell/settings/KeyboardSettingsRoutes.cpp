#include "shell/settings/KeyboardSettingsRoutes.h"

#include "devices/KelvaneKeyboardDevice.h"
#include "devices/KeyboardSystemSettings.h"
#include "ui/ButtonUI.h"
#include "ui/ControlNames.h"
#include "ui/ControlTree.h"
#include "ui/EditUI.h"
#include "ui/PaintManagerUI.h"
#include "ui/SliderUI.h"

#include <algorithm>

namespace shell::settings {

namespace ks = devices::keyboard_settings;

namespace {

constexpr const char* kPageName = "keyboard_system_page";

// The switches and the value each one sets.
struct Switch {
    const char* name;
    ks::SettingValue value;
};
constexpr Switch kSwitches[] = {
    {"winlockflag_option", ks::kWinFlag},
    {"wflag_option", ks::kWFlag},
    {"6flag_option", ks::kKey6Flag},
};

} // namespace

CKeyboardSettingsRoutes::CKeyboardSettingsRoutes(ui::CPaintManagerUI& pm,
                                                 CurrentDevice currentDevice, TextOf textOf)
    : m_pm(pm), m_currentDevice(std::move(currentDevice)), m_textOf(std::move(textOf)) {}

void CKeyboardSettingsRoutes::AttachPage(devices::CKelvaneUSBDevice& device, ui::CControlUI* page) {
    auto* keyboard = dynamic_cast<devices::CKelvaneKeyboardDevice*>(&device);
    ui::CControlUI* settings =
        keyboard && page ? ui::FindInTreeByName(page, QLatin1String(kPageName)) : nullptr;
    if (!settings)
        return;
    m_pages[&device] = settings;
    ShowDeviceState(*keyboard);
}

ui::CControlUI* CKeyboardSettingsRoutes::PageOf(const devices::CKelvaneUSBDevice* device) const {
    const auto it = m_pages.find(device);
    return it == m_pages.end() ? nullptr : it->second;
}

ui::CControlUI* CKeyboardSettingsRoutes::Control(ui::CControlUI* page, const QString& name) const {
    return page ? m_pm.FindSubControlByName(page, name) : nullptr;
}

void CKeyboardSettingsRoutes::SelectOption(ui::CControlUI* page, const QString& name,
                                           bool selected) {
    if (auto* option = ui::control_cast<ui::COptionUI>(Control(page, name)))
        option->Selected(selected, false);
}

void CKeyboardSettingsRoutes::ShowRepeatDelay(ui::CControlUI* page, int index) {
    const int shown = index >= 0 && index < ks::kRepeatDelayCount ? index : 0;
    for (int n = 0; n < ks::kRepeatDelayCount; ++n)
        SelectOption(page, ui::Numbered("repeat_delay_check_", n), n == shown);
    if (ui::CControlUI* label = Control(page, QStringLiteral("repeat_delay_time_label1")))
        label->SetText(QStringLiteral("%1 ms").arg(ks::RepeatDelayMs(index)));
}

void CKeyboardSettingsRoutes::ShowDeviceState(devices::CKelvaneKeyboardDevice& keyboard) {
    ui::CControlUI* page = PageOf(&keyboard);
    if (!page)
        return;
    const config::SystemStageWords& words = keyboard.GetSystemSettings();
    for (const Switch& s : kSwitches)
        SelectOption(page, QLatin1String(s.name), words.Value(s.value) != 0);
    if (auto* slider =
            ui::control_cast<ui::CSliderUI>(Control(page, QStringLiteral("repeat_rate_slider"))))
        slider->SetValue(words.Value(ks::kRepeat));
    ShowRepeatDelay(page, words.Value(ks::kRepeatDelay));
    ShowHint(page);
    const int rate = words.Value(ks::kPollingRate);
    for (int n = 0; n < ks::kPollingRateCount; ++n)
        SelectOption(page, ui::Numbered("polling_rate_option_", n), n == rate);
}

void CKeyboardSettingsRoutes::ShowHint(ui::CControlUI* page) {
    if (auto* test = ui::control_cast<ui::CRichEditUI>(
            Control(page, QStringLiteral("repeat_input_richedit"))))
        test->setPlaceholderText(m_textOf ? m_textOf(QStringLiteral("Repeat_input_text"))
                                          : QString());
}

void CKeyboardSettingsRoutes::ShowTexts() {
    for (auto& [device, page] : m_pages)
        ShowHint(page);
}

// ---- Notifications ----

bool CKeyboardSettingsRoutes::Notify(ui::TNotifyUI& msg) {
    const QString name = msg.pSender ? msg.pSender->GetName() : QString();
    if (name.isEmpty())
        return false;
    devices::CKelvaneUSBDevice* device = m_currentDevice ? m_currentDevice() : nullptr;
    auto* keyboard = dynamic_cast<devices::CKelvaneKeyboardDevice*>(device);
    ui::CControlUI* page = PageOf(device);
    if (!keyboard || !page)
        return false;
    if (msg.sType == ui::notify::selectchanged)
        return OnSelectChanged(*keyboard, page, msg.pSender, name);
    if (msg.sType == ui::notify::valuechanged && ui::NameIs(name, "repeat_rate_slider")) {
        if (auto* slider = ui::control_cast<ui::CSliderUI>(msg.pSender))
            keyboard->ChangeSystemSetting(
                ks::kRepeat, static_cast<std::uint16_t>(std::max(0, slider->GetValue())));
        return true;
    }
    if (msg.sType == ui::notify::click && ui::NameIs(name, "reset_repeat_btn")) {
        keyboard->ResetRepeatSettings();
        ShowDeviceState(*keyboard);
        return true;
    }
    return false;
}

bool CKeyboardSettingsRoutes::OnSelectChanged(devices::CKelvaneKeyboardDevice& keyboard,
                                              ui::CControlUI* page, ui::CControlUI* sender,
                                              const QString& name) {
    auto* option = ui::control_cast<ui::COptionUI>(sender);
    for (const Switch& s : kSwitches) {
        if (ui::NameIs(name, s.name)) {
            if (option)
                keyboard.ChangeSystemSetting(s.value, option->IsSelected() ? 1 : 0);
            return true;
        }
    }
    // In the option groups only the newly selected option counts.
    if (const int n = ui::NumberAfter(name, "polling_rate_option_"); n >= 0) {
        if (n < ks::kPollingRateCount && option && option->IsSelected()) {
            for (int i = 0; i < ks::kPollingRateCount; ++i)
                SelectOption(page, ui::Numbered("polling_rate_option_", i), i == n);
            keyboard.ChangeSystemSetting(ks::kPollingRate, static_cast<std::uint16_t>(n));
        }
        return true;
    }
    if (const int n = ui::NumberAfter(name, "repeat_delay_check_"); n >= 0) {
        if (n < ks::kRepeatDelayCount && option && option->IsSelected()) {
            ShowRepeatDelay(page, n);
            keyboard.ChangeSystemSetting(ks::kRepeatDelay, static_cast<std::uint16_t>(n));
        }
        return true;
    }
    return false;
}

} // namespace shell::settings
