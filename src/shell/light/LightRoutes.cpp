#include "shell/light/LightRoutes.h"

#include "shell/light/LightValues.h"

#include "devices/KelvaneKeyboardDevice.h"
#include "lighting/ColorSelectWnd.h"
#include "lighting/CommonEffects.h"
#include "lighting/LightControlUI.h"
#include "lighting/LightVisibility.h"
#include "shell/controls/DeviceKeyButtonUI.h"
#include "shell/controls/SelectPanelUI.h"
#include "shell/selector/DeviceOptionUI.h"
#include "ui/ButtonUI.h"
#include "ui/ColorPaletteUI.h"
#include "ui/ControlNames.h"
#include "ui/ControlTree.h"
#include "ui/SliderUI.h"
#include "ui/WindowImplBase.h"

#include <algorithm>

namespace shell::light {

using lighting::CLightControlUI;

namespace {

constexpr int kLightingPage = 1;
constexpr int kCustomMode = 20;
constexpr std::uint32_t kOpaque = 0xFF000000u;

constexpr const char* kEdits[] = {"deng_edit_R", "deng_edit_G", "deng_edit_B"};
constexpr const char* kMusicEdits[] = {"deng_audioedit_R", "deng_audioedit_G", "deng_audioedit_B"};

int IndexOf(const QString& name, const char* const (&names)[3]) {
    for (int i = 0; i < 3; ++i) {
        if (ui::NameIs(name, names[i]))
            return i;
    }
    return -1;
}

CLightControlUI* FindPanel(ui::CControlUI* page) {
    return static_cast<CLightControlUI*>(ui::FindInTree(
        page, [](ui::CControlUI* c) { return dynamic_cast<CLightControlUI*>(c) != nullptr; }));
}

// The keyboard's sliders go to 3, the other devices' to 4.
int LevelMaximum(int kind) {
    return kind == lighting::kPanelKeyboard ? 3 : 4;
}

CDeviceOptionUI* ItemAround(ui::CControlUI* control) {
    for (; control; control = control->GetParent()) {
        if (auto* item = dynamic_cast<CDeviceOptionUI*>(control))
            return item;
    }
    return nullptr;
}

} // namespace

CLightRoutes::CLightRoutes(ui::WindowImplBase& window, CurrentDevice currentDevice,
                           AllDevices allDevices)
    : m_window(window), m_currentDevice(std::move(currentDevice)),
      m_allDevices(std::move(allDevices)) {}

void CLightRoutes::AttachPage(devices::CKelvaneUSBDevice& device, ui::CControlUI* page) {
    m_sync.AddDevice(&device);
    CLightControlUI* panel = FindPanel(page);
    if (!panel)
        return;
    panel->SetKind(device.GetDeviceKind());
    m_panels[&device] = panel;
    // The keyboard loads its lists with every read; the others have theirs from the start.
    if (device.GetDeviceKind() != lighting::kPanelKeyboard)
        device.LoadLists();
    ShowDeviceState(device);
}

CLightControlUI* CLightRoutes::PanelOf(const devices::CKelvaneUSBDevice* device) const {
    const auto it = m_panels.find(device);
    return it == m_panels.end() ? nullptr : it->second;
}

CLightControlUI* CLightRoutes::CurrentPanel() const {
    return m_currentDevice ? PanelOf(m_currentDevice()) : nullptr;
}

void CLightRoutes::ShowDeviceState(devices::CKelvaneUSBDevice& device) {
    CLightControlUI* panel = PanelOf(&device);
    if (!panel)
        return;
    QStringList names;
    std::vector<bool> visible;
    for (const devices::LightModeEntry& mode : device.GetModeList()) {
        names.append(QString::fromStdString(mode.name));
        visible.push_back(mode.visible);
    }
    const int maximum = LevelMaximum(device.GetDeviceKind());
    panel->FillModes(names, visible, maximum, maximum);
    const config::LightInfoRecord fields = device.GetLightFields();
    panel->ShowLightFields(fields);
    if (device.GetDeviceKind() == lighting::kPanelKeyboard) {
        panel->SetCustomMode(fields.customGroup);
        panel->SetMusicRecord(devices::UnpackAudioLighting(device.GetAudioLighting()));
    }
}

void CLightRoutes::SetSeveralDevices(bool several) {
    m_severalDevices = several;
    for (auto& [device, panel] : m_panels)
        panel->SetSeveralDevices(several);
}

void CLightRoutes::Write(devices::CKelvaneUSBDevice& device,
                         const config::LightInfoRecord& fields) {
    device.CommandChannel().lightPause = false;
    device.SetLightFields(fields);
    device.StoreProfile();
    device.ApplyProfileLighting();
    device.WriteLightBlock();
}

void CLightRoutes::SetParticipation(devices::CKelvaneUSBDevice& device, bool on) {
    device.CommandChannel().lightPause = on;
    m_sync.Wake();
}

// ---- Notifications ----

bool CLightRoutes::Notify(ui::TNotifyUI& msg) {
    const QString name = msg.pSender ? msg.pSender->GetName() : QString();
    if (name.isEmpty())
        return false;
    if (msg.sType == ui::notify::click)
        return OnClick(msg, name);
    if (msg.sType == ui::notify::selectchanged)
        return OnSelectChanged(msg, name);
    if (msg.sType == ui::notify::itemselect)
        return OnItemSelect(name);
    if (msg.sType == ui::notify::killfocus)
        return OnKillFocus(name);
    if (msg.sType == ui::notify::valuechanged) {
        const bool brightness = ui::NameIs(name, "deng_light_slider");
        if (!brightness && !ui::NameIs(name, "deng_speed_slider"))
            return false;
        OnSlider(brightness);
        return true;
    }
    if (msg.sType == ui::notify::colorchanged) {
        auto* palette = dynamic_cast<ui::CColorPaletteUI*>(msg.pSender);
        if (ui::NameIs(name, "deng_Color_Pallet")) {
            if (palette)
                TakeColour(palette->GetSelectColor());
            return true;
        }
        if (ui::NameIs(name, "deng_audioColor_Pallet")) {
            if (palette)
                TakeMusicColour(palette->GetSelectColor());
            return true;
        }
        return false;
    }
    if (msg.sType == kClickSelectEnd && ui::NameIs(name, "device_key_light")) {
        OnBandSelection(msg.pSender);
        return true;
    }
    return false;
}

bool CLightRoutes::OnClick(ui::TNotifyUI& msg, const QString& name) {
    (void)msg;
    if (const int key = ui::NumberAfter(name, "key_"); key >= 0) {
        devices::CKelvaneUSBDevice* device = m_currentDevice ? m_currentDevice() : nullptr;
        if (!device || device->GetFunctionPage() != kLightingPage ||
            device->GetDeviceKind() != lighting::kPanelKeyboard)
            return false;
        OnKeyClicked(key);
        return true;
    }
    if (const int n = ui::NumberAfter(name, "color_option_"); n >= 0) {
        if (CLightControlUI* panel = CurrentPanel()) {
            const std::uint32_t colour = panel->PresetColour(n);
            panel->SetPaletteColour(kOpaque | colour);
            TakeColour(colour);
        }
        return true;
    }
    if (const int n = ui::NumberAfter(name, "audiocolor_option_"); n >= 0) {
        if (CLightControlUI* panel = CurrentPanel())
            TakeMusicColour(panel->MusicPresetColour(n));
        return true;
    }
    if (ui::NameIs(name, "deng_colordp_btn"))
        PickColour();
    else if (ui::NameIs(name, "deng_audiocolordp_btn"))
        PickMusicColour();
    else if (ui::NameIs(name, "deng_same_mode"))
        CopyToAll();
    else if (ui::NameIs(name, "Close_bkColor_btn"))
        ClearMusicBackground();
    else if (ui::NameIs(name, "custom_bright_color_btn") ||
             ui::NameIs(name, "custom_off_color_btn")) {
        if (auto* keyboard = dynamic_cast<devices::CKelvaneKeyboardDevice*>(
                m_currentDevice ? m_currentDevice() : nullptr))
            keyboard->LightSelectedKeys(ui::NameIs(name, "custom_bright_color_btn"));
    } else
        return false;
    return true;
}

bool CLightRoutes::OnSelectChanged(ui::TNotifyUI& msg, const QString& name) {
    if (ui::NameIs(name, "synchro_device_select")) {
        auto* option = dynamic_cast<ui::COptionUI*>(msg.pSender);
        CDeviceOptionUI* item = ItemAround(msg.pSender);
        if (option && item && item->GetDevice())
            SetParticipation(*item->GetDevice(), option->IsSelected());
        return false; // the device list keeps its own account of the selection
    }
    devices::CKelvaneUSBDevice* device = m_currentDevice ? m_currentDevice() : nullptr;
    CLightControlUI* panel = PanelOf(device);
    if (ui::NameIs(name, "deng_7color_check")) {
        if (panel) {
            config::LightInfoRecord fields = device->GetLightFields();
            fields.multiColor = panel->GetMultiColour() ? 1 : 0;
            Write(*device, fields);
        }
        return true;
    }
    const bool left = ui::NameIs(name, "deng_FXL_check");
    if (left || ui::NameIs(name, "deng_FXR_check")) {
        auto* option = dynamic_cast<ui::COptionUI*>(msg.pSender);
        // The pair acts as one choice: only the option that became selected counts.
        if (panel && option && option->IsSelected()) {
            config::LightInfoRecord fields = device->GetLightFields();
            fields.fx = left ? 1 : 0;
            Write(*device, fields);
        }
        return true;
    }
    if (ui::NameIs(name, "deng_7audiocolor_check") || ui::NameIs(name, "audio_BkColor_check") ||
        ui::NameIs(name, "audio_FgColor_check")) {
        OnMusicChoice();
        return true;
    }
    return false;
}

bool CLightRoutes::OnItemSelect(const QString& name) {
    if (ui::NameIs(name, "light_combo_modeSelect"))
        OnModeChosen();
    else if (ui::NameIs(name, "light_combo_custommodeSelect"))
        OnCustomModeChosen();
    else if (ui::NameIs(name, "light_combo_ZZCCmodeSelect"))
        OnVariantChosen();
    else if (ui::NameIs(name, "light_combo_audiomodeSelect"))
        OnMusicChoice();
    else
        return false;
    return true;
}

bool CLightRoutes::OnKillFocus(const QString& name) {
    if (const int component = IndexOf(name, kEdits); component >= 0) {
        OnColourEdit(component);
        return true;
    }
    if (const int component = IndexOf(name, kMusicEdits); component >= 0) {
        OnMusicEdit(component);
        return true;
    }
    return false;
}

// ---- Light fields ----

void CLightRoutes::OnModeChosen() {
    devices::CKelvaneUSBDevice* device = m_currentDevice ? m_currentDevice() : nullptr;
    CLightControlUI* panel = PanelOf(device);
    if (!panel || panel->GetMode() < 0)
        return;
    config::LightInfoRecord fields = device->GetLightFields();
    fields.selectItem = static_cast<std::uint8_t>(panel->GetMode());
    panel->ApplyRules(fields.selectItem);
    Write(*device, fields);
}

void CLightRoutes::OnCustomModeChosen() {
    devices::CKelvaneUSBDevice* device = m_currentDevice ? m_currentDevice() : nullptr;
    auto* keyboard = dynamic_cast<devices::CKelvaneKeyboardDevice*>(device);
    CLightControlUI* panel = PanelOf(device);
    if (!keyboard || !panel || panel->GetCustomMode() < 0)
        return;
    keyboard->SelectCustomGroup(panel->GetCustomMode());
    Write(*keyboard, keyboard->GetLightFields());
}

void CLightRoutes::OnVariantChosen() {
    devices::CKelvaneUSBDevice* device = m_currentDevice ? m_currentDevice() : nullptr;
    CLightControlUI* panel = PanelOf(device);
    if (!panel || panel->GetModeVariant() < 0)
        return;
    config::LightInfoRecord fields = device->GetLightFields();
    fields.zzccLedMode = static_cast<std::uint8_t>(panel->GetModeVariant());
    Write(*device, fields);
}

void CLightRoutes::OnSlider(bool brightness) {
    devices::CKelvaneUSBDevice* device = m_currentDevice ? m_currentDevice() : nullptr;
    CLightControlUI* panel = PanelOf(device);
    if (!panel)
        return;
    config::LightInfoRecord fields = device->GetLightFields();
    if (brightness)
        fields.light = static_cast<std::uint8_t>(panel->GetBrightness());
    else
        fields.speed = static_cast<std::uint8_t>(panel->GetSpeed());
    Write(*device, fields);
}

void CLightRoutes::OnColourEdit(int component) {
    devices::CKelvaneUSBDevice* device = m_currentDevice ? m_currentDevice() : nullptr;
    CLightControlUI* panel = PanelOf(device);
    if (!panel)
        return;
    const int value = ClampedComponent(panel->GetComponentText(component));
    panel->SetComponentText(component, QString::number(value));
    config::LightInfoRecord fields = device->GetLightFields();
    std::uint8_t* target[] = {&fields.red, &fields.green, &fields.blue};
    *target[component] = static_cast<std::uint8_t>(value);
    fields.multiColor = 0;
    panel->SetMultiColour(false);
    panel->SetPaletteColour(kOpaque | static_cast<std::uint32_t>(fields.red) << 16 |
                            static_cast<std::uint32_t>(fields.green) << 8 | fields.blue);
    Write(*device, fields);
}

void CLightRoutes::TakeColour(std::uint32_t colour) {
    devices::CKelvaneUSBDevice* device = m_currentDevice ? m_currentDevice() : nullptr;
    CLightControlUI* panel = PanelOf(device);
    if (!panel)
        return;
    config::LightInfoRecord fields = device->GetLightFields();
    fields.red = ByteOf(colour, 2);
    fields.green = ByteOf(colour, 1);
    fields.blue = ByteOf(colour, 0);
    fields.multiColor = 0;
    panel->SetMultiColour(false);
    panel->SetComponentText(CLightControlUI::kRed, QString::number(fields.red));
    panel->SetComponentText(CLightControlUI::kGreen, QString::number(fields.green));
    panel->SetComponentText(CLightControlUI::kBlue, QString::number(fields.blue));
    panel->SetPaletteColour(kOpaque | (colour & 0xFFFFFFu));
    Write(*device, fields);
}

void CLightRoutes::PickColour() {
    CLightControlUI* panel = CurrentPanel();
    if (!panel)
        return;
    const lighting::ColorChoice choice =
        lighting::OpenColorSelectWindow(&m_window, panel->GetPaletteColour());
    if (choice.result != 1)
        return;
    TakeColour(choice.color);
    // The picker's multi-colour choice stands for the device's multi-colour option.
    devices::CKelvaneUSBDevice* device = m_currentDevice ? m_currentDevice() : nullptr;
    if (choice.multiColor && device) {
        config::LightInfoRecord fields = device->GetLightFields();
        fields.multiColor = 1;
        panel->SetMultiColour(true);
        Write(*device, fields);
    }
}

// ---- Keyboard keys ----

void CLightRoutes::OnKeyClicked(int key) {
    auto* keyboard = dynamic_cast<devices::CKelvaneKeyboardDevice*>(m_currentDevice());
    if (!keyboard)
        return;
    keyboard->SetCustomSelection({key});
    if (keyboard->GetLightFields().selectItem == kCustomMode)
        keyboard->PaintKey(key);
}

void CLightRoutes::OnBandSelection(ui::CControlUI* selectPanel) {
    auto* keyboard = dynamic_cast<devices::CKelvaneKeyboardDevice*>(
        m_currentDevice ? m_currentDevice() : nullptr);
    if (!keyboard)
        return;
    std::vector<int> keys;
    ui::WalkTree(selectPanel, [&keys](ui::CControlUI* control) {
        auto* button = dynamic_cast<CDeviceKeyButtonUI*>(control);
        const int key = button ? ui::NumberAfter(button->GetName(), "key_") : -1;
        if (key >= 0 && button->IsSelectedByBand())
            keys.push_back(key);
        return true;
    });
    std::sort(keys.begin(), keys.end());
    keyboard->SetCustomSelection(keys);
}

// ---- Copy to all ----

bool CLightRoutes::CopyToAll() {
    devices::CKelvaneUSBDevice* source = m_currentDevice ? m_currentDevice() : nullptr;
    if (!source)
        return false;
    const config::LightInfoRecord from = source->GetLightFields();
    const int effect = lighting::CommonEffectOfMode(source->GetDeviceKind(), from.selectItem);
    if (effect < 0)
        return false;
    lighting::SyncSettings settings;
    settings.effect = static_cast<std::uint8_t>(effect);
    settings.brightness = from.light;
    settings.speed = from.speed;
    settings.multiColour = from.multiColor;
    settings.red = from.red;
    settings.green = from.green;
    settings.blue = from.blue;
    settings.direction = from.fx;
    m_sync.SetSettings(settings);

    const std::vector<devices::CKelvaneUSBDevice*> all =
        m_allDevices ? m_allDevices() : std::vector<devices::CKelvaneUSBDevice*>{};
    for (int kind : {lighting::kPanelKeyboard, lighting::kPanelMouse, lighting::kPanelMousePad,
                     lighting::kPanelHeadset}) {
        for (devices::CKelvaneUSBDevice* device : all) {
            if (device->GetDeviceKind() != kind || !device->CommandChannel().open)
                continue;
            config::LightInfoRecord fields = device->GetLightFields();
            const int maximum = LevelMaximum(kind);
            fields.selectItem =
                static_cast<std::uint8_t>(lighting::ModeOfCommonEffect(kind, effect));
            fields.light = static_cast<std::uint8_t>(std::min<int>(from.light, maximum));
            fields.speed = static_cast<std::uint8_t>(std::min<int>(from.speed, maximum));
            fields.fx = from.fx;
            fields.multiColor = from.multiColor;
            fields.red = from.red;
            fields.green = from.green;
            fields.blue = from.blue;
            if (CLightControlUI* panel = PanelOf(device))
                panel->ShowLightFields(fields);
            Write(*device, fields);
        }
    }
    return true;
}

} // namespace shell::light
