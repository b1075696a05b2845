#include "shell/keyset/KeySetRoutes.h"

#include "devices/KelvaneKeyboardDevice.h"
#include "devices/KelvaneMouseDevice.h"
#include "platform/WinKeyTables.h"
#include "shell/Messages.h"
#include "shell/TextById.h"
#include "shell/keyset/HookMessages.h"
#include "shell/keyset/KeyNameTable.h"
#include "shell/keyset/KeySetControlUI.h"
#include "shell/keyset/MacroNames.h"
#include "shell/windows/MsgWnd.h"
#include "ui/ControlNames.h"
#include "ui/ControlTree.h"
#include "ui/EditUI.h"
#include "ui/WindowImplBase.h"

#include <algorithm>
#include <array>

namespace shell::keyset {

namespace {

constexpr int kKeyPage = 2;

const QString kKeyTextEdit = QStringLiteral("keyset_keyboard_text_edit");

// The combos whose choice is applied at once.
constexpr std::array kAppliedCombos = {
    "keyset_mousekey_combo", "keyset_mouseswing_combo", "keyset_mousewheel_combo",
    "keyset_mousedpi_combo", "keyset_media_combo",      "keyset_system_combo",
    "keyset_macro_combo",    "keyset_gunkey_combo",     "keyset_combokey_combo"};

// The number edits applied when they lose the focus.
constexpr std::array kAppliedEdits = {
    "keyset_mouseswing_num_edit",     "keyset_mouseswing_delay_edit",
    "keyset_mouseswing_speed_edit",   "keyset_mousewheel_num_edit",
    "keyset_mousewheel_delay_edit",   "keyset_mousewheel_speed_edit",
    "keyset_mousefire_interval_edit", "keyset_mousefire_num_edit",
    "keyset_macro_cycle_edit"};

template <std::size_t N>
bool IsOneOf(const QString& name, const std::array<const char*, N>& names) {
    return std::any_of(names.begin(), names.end(),
                       [&](const char* candidate) { return ui::NameIs(name, candidate); });
}

CKeySetControlUI* FindPanel(ui::CControlUI* page) {
    return static_cast<CKeySetControlUI*>(ui::FindInTree(
        page, [](ui::CControlUI* c) { return dynamic_cast<CKeySetControlUI*>(c) != nullptr; }));
}

} // namespace

CKeySetRoutes::CKeySetRoutes(ui::WindowImplBase& window, CurrentDevice currentDevice)
    : m_window(window), m_currentDevice(std::move(currentDevice)) {}

CKeySetRoutes::~CKeySetRoutes() {
    for (auto& [device, view] : m_views)
        const_cast<devices::CKelvaneUSBDevice*>(device)->SetView(nullptr);
}

void CKeySetRoutes::AttachPage(devices::CKelvaneUSBDevice& device, ui::CControlUI* page) {
    // Every page is its device's view, with or without a key assignment panel: the other
    // panels show the device's state through its refresh.
    if (CKeySetControlUI* panel = FindPanel(page)) {
        panel->BindControls();
        panel->SetKind(device.GetDeviceKind() == CKeySetControlUI::kKindKeyboard
                           ? CKeySetControlUI::kKindKeyboard
                           : CKeySetControlUI::kKindMouse);
        panel->FillMacroNames(ReadMacroNames(device.UserDataFolder()));
        m_panels[&device] = panel;
    }
    CKeySetControlUI* panel = PanelOf(&device);
    auto view = std::make_unique<DevicePageView>(device, panel);
    device.SetView(view.get());
    m_views[&device] = std::move(view);
}

CKeySetControlUI* CKeySetRoutes::PanelOf(const devices::CKelvaneUSBDevice* device) const {
    const auto it = m_panels.find(device);
    return it == m_panels.end() ? nullptr : it->second;
}

DevicePageView* CKeySetRoutes::ViewOf(const devices::CKelvaneUSBDevice* device) const {
    const auto it = m_views.find(device);
    return it == m_views.end() ? nullptr : it->second.get();
}

CKeySetControlUI* CKeySetRoutes::CurrentPanel() const {
    return m_currentDevice ? PanelOf(m_currentDevice()) : nullptr;
}

// ---- Notifications ----

bool CKeySetRoutes::Notify(ui::TNotifyUI& msg) {
    const QString name = msg.pSender ? msg.pSender->GetName() : QString();
    if (name.isEmpty())
        return false;
    if (msg.sType == ui::notify::click)
        return OnClick(name);
    if (msg.sType == ui::notify::itemselect)
        return OnItemSelect(name);
    if (msg.sType == ui::notify::killfocus)
        return OnKillFocus(name);
    if (msg.sType == ui::notify::setfocus && ui::NameIs(name, "keyset_keyboard_text_edit")) {
        m_window.SendMessage(UM_HOOK_SWITCH, 1, 0);
        return true;
    }
    if (msg.sType == ui::notify::selectchanged) {
        const int modifier = ui::NumberAfter(name, "key_ComBox_check_");
        if (modifier < 0)
            return false;
        CKeySetControlUI* panel = CurrentPanel();
        // A click on the chosen modifier keeps it chosen: the options act as one choice.
        if (panel && ui::IsInTree(msg.pSender, panel)) {
            panel->OnModifierChosen(modifier);
            Apply();
        }
        return true;
    }
    return false;
}

bool CKeySetRoutes::OnClick(const QString& name) {
    const int key = ui::NumberAfter(name, "key_");
    if (key >= 0) {
        devices::CKelvaneUSBDevice* device = m_currentDevice ? m_currentDevice() : nullptr;
        // On other pages a key click belongs to other panels (lighting selects its colour).
        if (!device || device->GetFunctionPage() != kKeyPage)
            return false;
        // The mouse's last left click keeps its function: without one the mouse is lost.
        auto* mouse = dynamic_cast<devices::CKelvaneMouseDevice*>(device);
        if (mouse && mouse->IsSoleLeftClick(key)) {
            ShowMessage(&m_window, QString(), QStringLiteral("message_text_6"),
                        m_window.GetPaintManager().GetDPI(), true, 0);
            return true;
        }
        SelectKey(key);
        return true;
    }
    if (ui::NameIs(name, "key_butt_keysave"))
        Apply();
    else if (ui::NameIs(name, "key_butt_keydefalut"))
        RestoreDefault();
    else if (ui::NameIs(name, "key_butt_keycancel"))
        Cancel();
    else if (ui::NameIs(name, "key_butt_prosave"))
        SaveToDevice();
    else
        return false;
    return true;
}

bool CKeySetRoutes::OnItemSelect(const QString& name) {
    CKeySetControlUI* panel = CurrentPanel();
    if (ui::NameIs(name, "keyset_function_combo")) {
        if (panel) {
            panel->OnFunctionChosen();
            Apply();
        }
        return true;
    }
    if (ui::NameIs(name, "keyset_macro_over_combo")) {
        if (panel) {
            panel->OnMacroRepeatChosen();
            Apply();
        }
        return true;
    }
    if (!IsOneOf(name, kAppliedCombos))
        return false;
    Apply();
    return true;
}

bool CKeySetRoutes::OnKillFocus(const QString& name) {
    if (ui::NameIs(name, "keyset_keyboard_text_edit")) {
        m_window.SendMessage(UM_HOOK_SWITCH, 0, 0);
        return true;
    }
    if (!IsOneOf(name, kAppliedEdits))
        return false;
    Apply();
    return true;
}

// ---- Actions ----

void CKeySetRoutes::SelectKey(int key) {
    devices::CKelvaneUSBDevice* device = m_currentDevice();
    device->SelectKey(key);
    m_open = true;
}

void CKeySetRoutes::Apply() {
    devices::CKelvaneUSBDevice* device = m_currentDevice ? m_currentDevice() : nullptr;
    CKeySetControlUI* panel = PanelOf(device);
    if (!panel)
        return;
    const devices::KeyRecord record = panel->ReadCode();
    const int key = device->GetSelectedKey();
    if (key >= 0)
        device->SetKeyRecord(key, record);
    if (DevicePageView* view = ViewOf(device))
        view->RefreshKeyTexts();
    panel->EnableButtons(true);
    m_open = false;
}

void CKeySetRoutes::RestoreDefault() {
    CKeySetControlUI* panel = CurrentPanel();
    if (!panel)
        return;
    panel->RestoreDefault();
    panel->EnableButtons(true);
    m_open = false;
}

void CKeySetRoutes::Cancel() {
    CKeySetControlUI* panel = CurrentPanel();
    if (!panel)
        return;
    panel->Revert();
    panel->EnableButtons(false);
    m_open = true;
}

void CKeySetRoutes::SaveToDevice() {
    devices::CKelvaneUSBDevice* device = m_currentDevice ? m_currentDevice() : nullptr;
    CKeySetControlUI* panel = PanelOf(device);
    if (!panel)
        return;
    // The macros first: the key table names them by the numbers they get on the device.
    const int macros = device->DownloadMacros();
    device->WriteKeyTable();
    ShowMacroDownloadResult(m_window, macros);
    panel->EnableButtons(false);
    m_open = true;
}

void ShowMacroDownloadResult(ui::WindowImplBase& window, int result) {
    const int dpi = window.GetPaintManager().GetDPI();
    if (result == -1) {
        ShowMessage(&window, QString(), QStringLiteral("message_text_7"), dpi, true, 0);
    } else if (result > 0) {
        // The text holds a %d for the number of events too many.
        const QString format = TextThroughLabel(window.GetPaintManager(), kMessageLabel,
                                                QStringLiteral("message_text_16"));
        if (format.isEmpty())
            return;
        const QString text = QString::asprintf(format.toUtf8().constData(), result);
        ShowMessage(&window, QString(), text, dpi, false, 0);
    }
}

// ---- Messages ----

bool CKeySetRoutes::HandleMessage(ui::UINT msg, ui::WPARAM wParam, ui::LPARAM lParam) {
    if (msg == UM_HOOK_SWITCH) {
        // A macro recording owns the capture until it stops.
        if (m_hook.IsCapturingKeys() && m_hook.GetFlag() != kCaptureSingleKey)
            return true;
        // A key held when the capture stopped never reports its release to it.
        m_heldKeys.clear();
        if (wParam == 1)
            m_hook.SetCaptureHook(0, kCaptureSingleKey, &m_window, true, true);
        else if (wParam == 0)
            m_hook.RemoveCaptureHook();
        return true;
    }
    if (msg != 0 && msg == SingleKeyMessage()) {
        OnCapturedKey(wParam, reinterpret_cast<const void*>(lParam));
        return true;
    }
    return false;
}

void CKeySetRoutes::StopCapture() {
    m_window.SendMessage(UM_HOOK_SWITCH, 0, 0);
}

void CKeySetRoutes::OnCapturedKey(ui::WPARAM message, const void* data) {
    if (!data)
        return;
    CKeySetControlUI* panel = CurrentPanel();
    auto* edit = panel ? dynamic_cast<ui::CEditUI*>(
                             m_window.GetPaintManager().FindSubControlByName(panel, kKeyTextEdit))
                       : nullptr;
    if (!edit || !edit->IsFocused())
        return;
    const auto& record = *static_cast<const platform::KeyboardHookRecord*>(data);
    const std::optional<std::size_t> entry = platform::FindScanCodeEntry(record);
    if (!entry)
        return;
    const platform::KeyTableEntry& key = platform::CaptureKeyTable()[*entry];
    const devices::KeyCode code = key.IsModifier() ? devices::KeyboardCode(key.modifierBit, 0)
                                                   : devices::KeyboardCode(0, key.usage);
    const std::optional<std::size_t> row = FindKeyNameRow(code, 0);
    if (!row)
        return;
    // A key is taken when it goes down; its release only ends the combination it is part of.
    if (!platform::IsKeyDownMessage(static_cast<unsigned>(message))) {
        m_heldKeys.erase(*row);
        return;
    }
    // Auto-repeat sends the held key down again; only the other held keys make a combination.
    const bool othersHeld =
        std::any_of(m_heldKeys.begin(), m_heldKeys.end(), [&](std::size_t k) { return k != *row; });
    m_heldKeys.insert(*row);
    if (panel->OnCapturedKey(*row, othersHeld))
        Apply();
}

} // namespace shell::keyset
