#include "shell/macro/MacroRoutes.h"

#include "devices/KelvaneUSBDevice.h"
#include "platform/MouseHookRecord.h"
#include "shell/keyset/DeviceHook.h"
#include "shell/keyset/HookMessages.h"
#include "shell/windows/MsgWnd.h"
#include "ui/ButtonUI.h"
#include "ui/ControlNames.h"
#include "ui/ControlTree.h"
#include "ui/MenuWnd.h"
#include "ui/WindowImplBase.h"

#include <QCursor>

namespace shell::macro {

namespace {

using ::macro::RecordPlace;
using ::macro::TimingMode;

constexpr const char* kMacroFileFilter = "Macro Files(*.mac)";
constexpr const char* kActionMenu = "XML/Menus/macro_action_menu.xml";

CMacroControlUI* FindPanel(ui::CControlUI* page) {
    return dynamic_cast<CMacroControlUI*>(
        ui::FindInTree(page, [](ui::CControlUI* c) { return dynamic_cast<CMacroControlUI*>(c); }));
}

unsigned CaptureFlagOf(RecordPlace place) {
    switch (place) {
    case RecordPlace::Append:
        return keyset::kCaptureMacroAppend;
    case RecordPlace::Before:
        return keyset::kCaptureMacroBefore;
    case RecordPlace::After:
        return keyset::kCaptureMacroAfter;
    case RecordPlace::Replace:
        return keyset::kCaptureMacroReplace;
    }
    return 0;
}

// The button bits of the menu's mouse actions, by the name's first word.
struct MenuButton {
    const char* prefix;
    std::uint8_t bit;
};
constexpr MenuButton kMenuButtons[] = {
    {"left_", 1}, {"right_", 2}, {"middle_", 4}, {"back_", 8}, {"forward_", 16},
};

struct MoveButton {
    const char* name;
    std::uint8_t type;
    bool down;
    const char* edit;
};
constexpr MoveButton kMoveButtons[] = {
    {"macro_inset_moveleftkey_btn", config::kMacroMoveHorizontal, true, "mouse_x_left_edit"},
    {"macro_inset_moverightkey_btn", config::kMacroMoveHorizontal, false, "mouse_x_right_edit"},
    {"macro_inset_moveupkey_btn", config::kMacroMoveVertical, true, "mouse_y_up_edit"},
    {"macro_inset_movedownkey_btn", config::kMacroMoveVertical, false, "mouse_y_down_edit"},
};

struct RowMoveButton {
    const char* name;
    RowMove move;
};
constexpr RowMoveButton kRowMoveButtons[] = {
    {"macro_btn_up", RowMove::Up},
    {"macro_btn_down", RowMove::Down},
    {"macro_btn_uptop", RowMove::Top},
    {"macro_btn_downbottom", RowMove::Bottom},
};

} // namespace

ProfileDialogs DefaultMacroDialogs(ui::CWindowWnd* owner, int dpi) {
    return DefaultFileDialogs(owner, dpi, QLatin1String(kMacroFileFilter));
}

CMacroRoutes::CMacroRoutes(ui::WindowImplBase& window, keyset::CDeviceHook& hook,
                           CurrentDevice currentDevice, ProfileDialogs dialogs,
                           LibraryShown libraryShown)
    : m_window(window), m_hook(hook), m_currentDevice(std::move(currentDevice)),
      m_dialogs(std::move(dialogs)), m_libraryShown(std::move(libraryShown)) {}

CMacroRoutes::~CMacroRoutes() = default;

void CMacroRoutes::AttachPage(devices::CKelvaneUSBDevice& device, ui::CControlUI* page) {
    CMacroControlUI* panel = FindPanel(page);
    if (!panel)
        return;
    panel->BindControls();
    panel->SetMacroFolder(device.UserDataFolder());
    panel->LoadMacroList();
    m_panels[&device] = panel;
}

CMacroControlUI* CMacroRoutes::PanelOf(const devices::CKelvaneUSBDevice* device) const {
    const auto it = m_panels.find(device);
    return it == m_panels.end() ? nullptr : it->second;
}

CMacroControlUI* CMacroRoutes::CurrentPanel() const {
    return m_currentDevice ? PanelOf(m_currentDevice()) : nullptr;
}

// ---- Notifications ----

bool CMacroRoutes::Notify(ui::TNotifyUI& msg) {
    CMacroControlUI* panel = CurrentPanel();
    const QString name = msg.pSender ? msg.pSender->GetName() : QString();
    if (!panel || !ui::IsInTree(msg.pSender, panel))
        return false;
    if (msg.sType == ui::notify::click)
        return OnClick(*panel, name);
    if (msg.sType == ui::notify::itemselect && ui::NameIs(name, "macro_name_list")) {
        panel->LoadMacroEvents();
        return true;
    }
    if ((msg.sType == ui::notify::killfocus || msg.sType == ui::notify::returnKey) &&
        ui::NameIs(name, "macro_delay")) {
        if (!panel->IsRecording())
            panel->SaveMacro();
        return true;
    }
    if (msg.sType == ui::notify::itemactivate && ui::NameIs(name, "macro_action")) {
        // A double click on an event: the next key or button captured replaces it.
        auto* container = dynamic_cast<ui::CContainerUI*>(msg.pSender->GetParent());
        if (container && !panel->IsRecording()) {
            panel->SelectRow(container->GetItemIndex(msg.pSender));
            StartRecording(*panel, TimingMode::Ignored, RecordPlace::Replace);
        }
        return true;
    }
    if (msg.sType == ui::notify::menu && ui::NameIs(name, "macro_action_list")) {
        if (panel->GetSelectedMacroIndex() >= 0 && !panel->IsRecording())
            ShowMenu();
        return true;
    }
    return false;
}

bool CMacroRoutes::OnClick(CMacroControlUI& panel, const QString& name) {
    devices::CKelvaneUSBDevice* device = m_currentDevice();
    if (ui::NameIs(name, "macro_btn_stopredio")) {
        StopRecording();
        return true;
    }
    if (panel.IsRecording())
        return name.startsWith(QLatin1String("macro_"));
    if (ui::NameIs(name, "macro_btn_starredio")) {
        StartRecording(panel, TimedMode(panel), RecordPlace::Append);
    } else if (ui::NameIs(name, "macro_btn_name_add")) {
        if (!panel.AddMacro().empty())
            LibraryChanged(*device);
    } else if (ui::NameIs(name, "macro_btn_name_sub")) {
        DeleteMacro(panel, *device);
    } else if (ui::NameIs(name, "macro_btn_name_edit")) {
        Rename(panel, *device);
    } else if (ui::NameIs(name, "macro_btn_save")) {
        panel.SaveMacro();
    } else if (ui::NameIs(name, "macro_btn_cancel")) {
        panel.ReloadMacroEvents();
    } else if (ui::NameIs(name, "macro_btn_import")) {
        Import(panel, *device);
    } else if (ui::NameIs(name, "macro_btn_export")) {
        Export(panel);
    } else if (ui::NameIs(name, "macro_btn_delete")) {
        panel.DeleteSelectedRow();
        panel.SaveMacro();
    } else if (ui::NameIs(name, "macro_btn_deleteall")) {
        panel.DeleteAllRows();
        panel.SaveMacro();
    } else {
        for (const RowMoveButton& button : kRowMoveButtons) {
            if (ui::NameIs(name, button.name)) {
                panel.MoveSelectedRow(button.move);
                panel.SaveMacro();
                return true;
            }
        }
        // These four are told apart with case, as the skin names them.
        for (const MoveButton& button : kMoveButtons) {
            if (name == QLatin1String(button.name)) {
                panel.InsertMove(button.type, button.down, QLatin1String(button.edit));
                panel.SaveMacro();
                return true;
            }
        }
        return false;
    }
    return true;
}

// ---- Menu ----

void CMacroRoutes::ShowMenu() {
    m_menu = std::make_unique<ui::CMenuWnd>();
    if (!m_menu->Init(&m_window, QLatin1String(kActionMenu), QCursor::pos(),
                      ui::eMenuAlignment_Left | ui::eMenuAlignment_Top))
        qWarning("The macro menu cannot be built: %s", qPrintable(m_menu->GetLastError()));
}

bool CMacroRoutes::OnMenuClick(const QString& name) {
    CMacroControlUI* panel = CurrentPanel();
    for (const MenuButton& button : kMenuButtons) {
        if (!name.startsWith(QLatin1String(button.prefix)))
            continue;
        const QString action = name.mid(static_cast<int>(qstrlen(button.prefix)));
        const bool known = action == QLatin1String("down") || action == QLatin1String("up") ||
                           action == QLatin1String("click");
        if (!known)
            return false;
        if (panel && !panel->IsRecording()) {
            if (action == QLatin1String("click"))
                panel->InsertMouseClick(button.bit);
            else
                panel->InsertMouseButton(button.bit, action == QLatin1String("down"));
            panel->SaveMacro();
        }
        return true;
    }
    struct TimingItem {
        const char* name;
        RecordPlace place;
        int mode; // 0: by "macro_check_time"
    };
    static constexpr TimingItem kTimingItems[] = {
        {"redio_previous_record_time", RecordPlace::Before, 0},
        {"redio_previous_constant_time", RecordPlace::Before, 2},
        {"redio_previous_ignore_time", RecordPlace::Before, 3},
        {"redio_later_record_time", RecordPlace::After, 0},
        {"redio_later_constant_time", RecordPlace::After, 2},
        {"redio_later_ignore_time", RecordPlace::After, 3},
        {"macro_action_edit", RecordPlace::Replace, 3},
    };
    for (const TimingItem& item : kTimingItems) {
        if (name != QLatin1String(item.name))
            continue;
        if (panel && !panel->IsRecording())
            StartRecording(*panel,
                           item.mode == 0 ? TimedMode(*panel) : static_cast<TimingMode>(item.mode),
                           item.place);
        return true;
    }
    return false;
}

// ---- Recording ----

TimingMode CMacroRoutes::TimedMode(CMacroControlUI& panel) const {
    auto* check = dynamic_cast<ui::COptionUI*>(
        ui::FindInTreeByName(&panel, QStringLiteral("macro_check_time")));
    return check && check->IsSelected() ? TimingMode::Fixed : TimingMode::Recorded;
}

void CMacroRoutes::StartRecording(CMacroControlUI& panel, TimingMode mode, RecordPlace place) {
    if (m_recording || !panel.StartRecording(mode, place))
        return;
    // Without the capture nothing could be recorded, nor the recording be seen to run.
    if (!m_hook.SetCaptureHook(0, CaptureFlagOf(place), &m_window, true, true)) {
        panel.StopRecording();
        return;
    }
    m_recording = &panel;
}

void CMacroRoutes::StopRecording() {
    CMacroControlUI* panel = m_recording;
    if (!panel)
        return;
    m_recording = nullptr;
    panel->StopRecording();
    m_hook.RemoveCaptureHook();
    panel->SaveMacro();
}

void CMacroRoutes::OnDeviceChosen() {
    if (m_recording && m_recording != CurrentPanel())
        StopRecording();
}

bool CMacroRoutes::HandleMessage(ui::UINT msg, ui::WPARAM wParam, ui::LPARAM lParam) {
    if (msg == 0)
        return false;
    static constexpr unsigned kMacroFlags[] = {
        keyset::kCaptureMacroAppend, keyset::kCaptureMacroBefore, keyset::kCaptureMacroAfter,
        keyset::kCaptureMacroReplace};
    for (unsigned flag : kMacroFlags) {
        const bool key = msg == keyset::KeyboardMessageOfFlag(flag);
        if (!key && msg != keyset::MouseMessageOfFlag(flag))
            continue;
        // Only the recording panel of the page shown takes captured input; another device's
        // page ends the recording.
        if (m_recording && m_recording != CurrentPanel()) {
            StopRecording();
        } else if (m_recording && lParam && key) {
            m_recording->OnHookKey(static_cast<unsigned>(wParam),
                                   *reinterpret_cast<const platform::KeyboardHookRecord*>(lParam));
        } else if (m_recording && lParam) {
            const auto& record = *reinterpret_cast<const platform::MouseHookRecord*>(lParam);
            m_recording->OnHookMouse(static_cast<unsigned>(wParam), record.mouseData,
                                     {record.x, record.y});
        }
        return true;
    }
    return false;
}

// ---- The library ----

void CMacroRoutes::LibraryChanged(devices::CKelvaneUSBDevice& device) {
    device.MacroLibraryChanged();
    if (m_libraryShown)
        m_libraryShown(device);
}

void CMacroRoutes::DeleteMacro(CMacroControlUI& panel, devices::CKelvaneUSBDevice& device) {
    const int index = panel.GetSelectedMacroIndex();
    if (index < 0)
        return;
    if (m_dialogs.message(QStringLiteral("message_text_4"), 1) != 1)
        return;
    if (!device.KeysNamingMacro(index).empty() &&
        m_dialogs.message(QStringLiteral("message_text_2"), 1) != 1)
        return;
    // The entry goes first: when the library cannot be written, the keys keep their macros.
    if (panel.DeleteMacro() < 0)
        return;
    device.ShiftMacroKeys(index);
    LibraryChanged(device);
}

void CMacroRoutes::Rename(CMacroControlUI& panel, devices::CKelvaneUSBDevice& device) {
    const config::MacroRename result = panel.RenameMacro();
    if (result.index < 0)
        return;
    if (result.text.empty())
        m_dialogs.message(QStringLiteral("message_text_5"), 0);
    else
        LibraryChanged(device);
}

void CMacroRoutes::Import(CMacroControlUI& panel, devices::CKelvaneUSBDevice& device) {
    const QString path = m_dialogs.openFile();
    if (!path.isEmpty() && !panel.ImportMacro(path.toStdString()).empty())
        LibraryChanged(device);
}

void CMacroRoutes::Export(CMacroControlUI& panel) {
    const int index = panel.GetSelectedMacroIndex();
    if (index < 0)
        return;
    const QString suggested =
        QString::fromStdString(panel.Library().Macros()[index].name) + QLatin1String(".mac");
    const QString path = m_dialogs.saveFile(suggested);
    if (!path.isEmpty())
        panel.ExportMacro(path.toStdString());
}

} // namespace shell::macro
