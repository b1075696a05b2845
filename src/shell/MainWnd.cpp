#include "shell/MainWnd.h"

#include "devices/KelvaneHS6533Device.h"
#include "devices/KelvaneKeyboardDevice.h"
#include "devices/KelvaneMouseDevice.h"
#include "lighting/ColorSelectWnd.h"
#include "lighting/LightControlUI.h"
#include "platform/DebugLog.h"
#include "platform/Paths.h"
#include "platform/Settings.h"
#include "shell/DesktopSettings.h"
#include "shell/DevicePanelBinding.h"
#include "shell/Language.h"
#include "shell/Messages.h"
#include "shell/PanelTags.h"
#include "shell/ScreenRules.h"
#include "shell/TextById.h"
#include "shell/headset/HeadsetRoutes.h"
#include "shell/keyset/KeySetControlUI.h"
#include "shell/keyset/KeySetRoutes.h"
#include "shell/keyset/MacroNames.h"
#include "shell/light/LightRoutes.h"
#include "shell/macro/MacroRoutes.h"
#include "shell/mouse/MouseRoutes.h"
#include "shell/music/MusicRoutes.h"
#include "shell/profile/DeviceProfileUI.h"
#include "shell/profile/ProfileRoutes.h"
#include "shell/settings/KeyboardSettingsRoutes.h"
#include "shell/shoot/ShootRoutes.h"
#include "shell/update/SetWnd.h"
#include "shell/windows/AboutWnd.h"
#include "shell/windows/MsgWnd.h"
#include "shell/windows/SkinBackground.h"
#include "shell/windows/SkinFrame.h"
#include "ui/ControlNames.h"
#include "ui/ControlUI.h"
#include "ui/DialogBuilder.h"
#include "ui/ResourceManager.h"

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QThread>
#include <QTimer>
#include <QWidget>

#include <cstdio>

namespace shell {

using namespace ui;

CMainWnd::CMainWnd() = default;

namespace {
// WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, and
// not WS_VISIBLE: mapped now and hidden at "windowinit", the window would flash at start.
constexpr std::uint32_t kMainStyle = 0x86CA0000u;
} // namespace

bool CMainWnd::Open() {
    if (!Create(nullptr, QString::fromUtf8(platform::kProductTitle), kMainStyle, 0, 0, 0,
                kMainWindowSize.width(), kMainWindowSize.height()))
        return false;
    CenterWindow();
    return true;
}

CMainWnd::~CMainWnd() {
    // The workers use this window's members; they end before any member goes.
    m_workers.StopAll();
    // The notification threads reach this window; they end first.
    ForEachDevice([](devices::CKelvaneUSBDevice& device) {
        device.StopNotificationThread(transport::kKindKeyboard);
        device.StopNotificationThread(transport::kKindKeyboardReceiver);
        device.StopNotificationThread(transport::kKindMousePad);
        device.StopNotificationThread(transport::kKindMouse);
        device.StopNotificationThread(transport::kKindMouseReceiver);
    });
    CResourceManager::GetInstance().RemoveTextQueryInterface(this);
    devices::CHeadsetAudio::SetMessageSink(nullptr);
}

void CMainWnd::InitWindow() {
    platform::DebugLine("InitWindow");
    CResourceManager& resources = CResourceManager::GetInstance();
    resources.SetTextQueryInterface(this);
    resources.LoadLanguage(QStringLiteral("lan_cn.xml"));
    CResourceManager::GetInstance().ReloadText();
    SkinNotifier().Attach(this);
    devices::CHeadsetAudio::SetMessageSink([this](const char* text) {
        // Shown after the step that started the audio: a modal box inside it would run that
        // step's timers again.
        QTimer::singleShot(0, GetHWND(), [this, message = QString::fromUtf8(text)] {
            ShowMessage(this, QString(), message, GetPaintManager().GetDPI(), false, 0);
        });
    });
    const QIcon icon(resources.GetImageFile(QStringLiteral("107")));
    SetIcon(icon);
    if (CTrayIcon::IsTrayAvailable()) {
        m_tray.CreateTrayIcon(this, icon, QString::fromUtf8(platform::kProductTitle));
    } else {
        qInfo("No system tray is available: closing the window ends the program.");
    }
}

void CMainWnd::Notify(TNotifyUI& msg) {
    const QString sender = msg.pSender ? msg.pSender->GetName() : QString();
    if (msg.sType != notify::timer)
        platform::DebugLog("%s %s", qUtf8Printable(msg.sType), qUtf8Printable(sender));
    // The key assignment panel's routes come first: "key_" N goes to the lighting when the
    // current device does not show its key page.
    const bool routed = (m_keySet && m_keySet->Notify(msg)) || (m_light && m_light->Notify(msg)) ||
                        (m_keyboardSettings && m_keyboardSettings->Notify(msg)) ||
                        (m_macro && m_macro->Notify(msg)) || (m_mouse && m_mouse->Notify(msg)) ||
                        (m_headset && m_headset->Notify(msg)) || (m_music && m_music->Notify(msg));
    // A lighting change may start or end a music effect, which needs the recorder.
    if (m_music && msg.sType != notify::timer)
        m_music->UpdateRecorderNeed();
    if (routed) {
        WindowImplBase::Notify(msg);
        return;
    }
    if (msg.sType == notify::windowinit) {
        OnWindowInit();
    } else if (msg.sType == notify::windowsize) {
        if (m_firstSize && sender == QLatin1String("root")) {
            m_firstSize = false;
            ApplyDpiRule();
        }
    } else if (msg.sType == notify::click) {
        OnClickControl(sender);
    } else if (msg.sType == notify::selectchanged) {
        OnSelectChanged(sender);
    } else if (msg.sType == notify::itemselect) {
        OnItemSelect(sender);
    }
    WindowImplBase::Notify(msg);
}

void CMainWnd::OnWindowInit() {
    // This program takes the lighting; peers hear of it.
    if (m_bus)
        m_bus->AnnounceLightControl(1, 1);
    SetLanguage(shell::GetLanguageIndex());
    UpdateNoDeviceHint();
    // Screens that come, go or change size re-apply the DPI rule.
    auto displayChanged = [this] { PostMessage(WM_DISPLAYCHANGE, 0, 0); };
    auto watch = [this, displayChanged](QScreen* screen) {
        QObject::connect(screen, &QScreen::geometryChanged, GetHWND(), displayChanged);
    };
    for (QScreen* screen : QGuiApplication::screens())
        watch(screen);
    QObject::connect(qApp, &QGuiApplication::screenAdded, GetHWND(), watch);
    QObject::connect(qApp, &QGuiApplication::screenRemoved, GetHWND(), displayChanged);
    WatchConnect(this, true); // until the first scan pass has bound what is plugged in
    StartDiscovery();
    SetTimer(kTimerDpiRule, 100);
    m_firstSize = true;
}

void CMainWnd::StartDiscovery() {
    m_keySet = std::make_unique<keyset::CKeySetRoutes>(*this, [this] { return CurrentDevice(); });
    m_light = std::make_unique<light::CLightRoutes>(
        *this, [this] { return CurrentDevice(); },
        [this] {
            return m_registry ? m_registry->Devices() : std::vector<devices::CKelvaneUSBDevice*>{};
        });
    m_keyboardSettings = std::make_unique<settings::CKeyboardSettingsRoutes>(
        m_pm, [this] { return CurrentDevice(); },
        [this](const QString& id) { return TextById(id); });
    m_macro = std::make_unique<macro::CMacroRoutes>(
        *this, m_keySet->Hook(), [this] { return CurrentDevice(); },
        macro::DefaultMacroDialogs(this, m_dpi),
        [this](devices::CKelvaneUSBDevice& device) { ShowMacroNames(device); });
    m_mouse = std::make_unique<mouse::CMouseRoutes>(
        m_pm, [this] { return CurrentDevice(); },
        [this](std::uint32_t colour) -> std::optional<std::uint32_t> {
            const lighting::ColorChoice choice =
                lighting::OpenColorSelectWindow(this, colour, true);
            if (choice.result == 0)
                return std::nullopt;
            return choice.color;
        },
        shoot::DefaultShootDialogs(this, m_dpi));
    m_headset =
        std::make_unique<headset::CHeadsetRoutes>(*this, [this] { return CurrentDevice(); });
    m_music = std::make_unique<music::CMusicRoutes>(*this, [this] {
        return m_registry ? m_registry->Devices() : std::vector<devices::CKelvaneUSBDevice*>{};
    });
    if (m_demo)
        m_music->SetDemoInput(platform::DefaultDataFolder() + "demo-music.wav");
    m_music->Start(platform::UserFolder(), platform::DefaultDataFolder());
    DeviceSelectorHooks hooks;
    hooks.closeSecondaryWindows = [this] { CloseSecondaryWindows(); };
    hooks.keyAssignmentOpen = [this] { return m_keySet->IsKeyAssignmentOpen(); };
    hooks.stopKeyAssignment = [this] { m_keySet->StopCapture(); };
    hooks.stopMacroRecording = [this] { m_macro->StopRecording(); };
    hooks.setSeveralDevices = [this](bool several) { m_light->SetSeveralDevices(several); };
    hooks.leaveSynchronisation = [this](devices::CKelvaneUSBDevice& device) {
        m_light->SetParticipation(device, false);
    };
    m_selector = std::make_unique<DeviceSelector>(m_pm, this, hooks);
    m_slots = transport::MakeSlotList();
    m_registry = std::make_unique<devices::DeviceRegistry>(m_slots, *this);
    // Hidden until the first scan pass is done; its RM_INSTANCE brings the window forward.
    ShowWindow(false);
    m_scan = std::make_unique<transport::DeviceScanThread>(m_slots, *this);
    m_workers.Start(WorkerSlots::kScanSlot, [this](transport::Event& stop) { m_scan->Run(stop); });
    m_workers.Start(
        WorkerSlots::kLightSyncSlot, [this](transport::Event& stop) { m_light->Sync().Run(stop); },
        [this] { m_light->Sync().Wake(); });
}

void CMainWnd::OnSlotBound(int slot) {
    transport::Event& stop = m_workers.StopEvent(WorkerSlots::kScanSlot);
    SendMessageUnless(UM_SLOT_BOUND, static_cast<WPARAM>(slot), 0,
                      [&stop] { return stop.IsSet(); });
}

void CMainWnd::OnSlotLost(int slot) {
    transport::Event& stop = m_workers.StopEvent(WorkerSlots::kScanSlot);
    SendMessageUnless(UM_SLOT_LOST, static_cast<WPARAM>(slot), 0, [&stop] { return stop.IsSet(); });
}

void CMainWnd::WatchConnect(const void* what, bool connecting) const {
    if (m_connectWatch)
        m_connectWatch(what, connecting);
}

void CMainWnd::OnFirstScanDone() {
    // Each device bound meanwhile holds the commands until its first read has ended.
    WatchConnect(this, false);
    PostMessage(g_messages.instance, 0, 0);
}

void CMainWnd::OnOpenDenied(const std::string& path, int error) {
    transport::Event& stop = m_workers.StopEvent(WorkerSlots::kScanSlot);
    OpenDenial denial{path, error};
    SendMessageUnless(UM_OPEN_DENIED, 0, reinterpret_cast<LPARAM>(&denial),
                      [&stop] { return stop.IsSet(); });
}

void CMainWnd::ShowOpenDenied(const OpenDenial& denial) {
    const QString line = m_accessNotice.Take(denial.path, denial.error);
    if (line.isEmpty())
        return;
    std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
    if (CControlUI* status = Find(QStringLiteral("status_text")))
        status->SetText(line);
}

void CMainWnd::OnDeviceCreated(devices::CKelvaneUSBDevice& device) {
    // The device's page from its panel file, then its item and power item in the lists.
    CDialogBuilder builder;
    CControlUI* page = builder.Create(QString::fromStdString(device.GetPanelXml()), this, &m_pm);
    if (!page) {
        qWarning("The device page cannot be built: %s", qPrintable(builder.GetLastError()));
        return;
    }
    CDeviceOptionUI* item = m_selector->AddItem(&device, page, nullptr).item;
    if (!item) {
        delete page->GetWidget();
        return;
    }
    // The item repaints the device's keys only while the window is active or under the pointer.
    item->SetWindowAttended([this] { return IsActiveOrHovered(); });
    item->SetPresenceHooks([this, &device] { MarkProfileDue(device); },
                           [this, &device] { return TakeProfileDue(device); });
    item->SetRefreshWatch([this, &device](bool refreshing) { WatchConnect(&device, refreshing); });
    // A device plugged in while the window is open is watched like those found before it.
    device.SetWindowShown(GetHWND() && GetHWND()->isVisible());
    device.SetWindowHovered(m_windowHovered);
    auto panel = std::make_unique<SkinDevicePanel>(m_pm, page);
    device.SetPanel(panel.get());
    device.BindPanelControls(CollectPanelButtons(page));
    m_devicePanels[&device] = std::move(panel);
    if (CDeviceProfileUI* profile = FindProfilePanel(page)) {
        SetUpProfilePanel(*profile, device, device.GetDeviceKind(),
                          DefaultProfileDialogs(this, m_dpi));
        m_profilePanels[&device] = profile;
    }
    m_keySet->AttachPage(device, page);
    m_light->AttachPage(device, page);
    m_keyboardSettings->AttachPage(device, page);
    m_macro->AttachPage(device, page);
    m_mouse->AttachPage(device, page);
    m_headset->AttachPage(device, page);
    TellScreenSize();
    // The panel shows the keyboard's state after every read and the custom group it loads; a
    // read on another thread (a profile switch the device reports) hands it to the UI thread.
    if (keyset::DevicePageView* view = m_keySet->ViewOf(&device)) {
        auto onUiThread = [this](std::function<void()> fn) {
            QWidget* host = GetHWND();
            if (host && QThread::currentThread() != host->thread())
                QMetaObject::invokeMethod(host, std::move(fn), Qt::QueuedConnection);
            else
                fn();
        };
        view->refreshPanels = [this, &device, onUiThread] {
            onUiThread([this, &device] {
                m_light->ShowDeviceState(device);
                if (auto* keyboard = dynamic_cast<devices::CKelvaneKeyboardDevice*>(&device))
                    m_keyboardSettings->ShowDeviceState(*keyboard);
                m_mouse->ShowDeviceState(device);
            });
        };
        view->showCustomGroup = [this, &device, onUiThread](int group) {
            onUiThread([this, &device, group] {
                if (lighting::CLightControlUI* panel = m_light->PanelOf(&device))
                    panel->SetCustomMode(group);
            });
        };
    }
}

CControlUI* CMainWnd::CreateControl(const QString& tag) {
    return CreatePanelForTag(tag, &m_pm);
}

CDeviceProfileUI* CMainWnd::CurrentProfilePanel() const {
    const auto it = m_profilePanels.find(CurrentDevice());
    return it == m_profilePanels.end() ? nullptr : it->second;
}

void CMainWnd::SendProfile(devices::CKelvaneUSBDevice& device) {
    if (auto* keyboard = dynamic_cast<devices::CKelvaneKeyboardDevice*>(&device)) {
        const devices::KeyboardApplyResult result = keyboard->ApplyProfile();
        if (result.profile == config::kProfileUnreadable)
            ShowMessage(this, QString(), QLatin1String(kMessageUnreadable), m_dpi, true, 0);
        else
            keyset::ShowMacroDownloadResult(*this, result.macroDownload);
        return;
    }
    // The other models in the keyboard's order: panels, lighting block, macros, key table. An
    // unreadable profile is not sent: its empty record would clear the device.
    device.ReloadProfile();
    if (device.ProfileData().LoadResult() == config::kProfileUnreadable) {
        ShowMessage(this, QString(), QLatin1String(kMessageUnreadable), m_dpi, true, 0);
        return;
    }
    device.RefreshPanels();
    if (auto* headset = dynamic_cast<devices::CKelvaneHS6533Device*>(&device))
        headset->ApplyProfileSettings();
    device.WriteLightBlock();
    const int macros = device.DownloadMacros();
    device.WriteKeyTable();
    keyset::ShowMacroDownloadResult(*this, macros);
}

void CMainWnd::TellScreenSize() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen || !m_registry)
        return;
    const QSize size = screen->size();
    for (devices::CKelvaneUSBDevice* device : m_registry->Devices()) {
        if (auto* mouse = dynamic_cast<devices::CKelvaneMouseDevice*>(device))
            mouse->SetScreenSize(static_cast<std::uint16_t>(size.width()),
                                 static_cast<std::uint16_t>(size.height()));
    }
}

void CMainWnd::SwitchToSelectedProfile() {
    devices::CKelvaneUSBDevice* device = CurrentDevice();
    CDeviceProfileUI* panel = CurrentProfilePanel();
    if (!device || !panel)
        return;
    const std::string id = ApplyProfileSelection(*panel, DefaultProfileDialogs(this, m_dpi));
    if (id.empty() || id == device->GetCurrentProfileId())
        return;
    device->SetCurrentProfileId(id);
    device->SetProfilePaths();
    SendProfile(*device);
}

// The registry and the selector are made together, so the selector is there for these; it
// also keeps "No_device_Link" up to date.
void CMainWnd::ShowItem(devices::CKelvaneUSBDevice& device) {
    const int index = m_selector->IndexOf(&device);
    if (index >= 0)
        m_selector->ShowAttached(index);
}

void CMainWnd::HideItem(devices::CKelvaneUSBDevice& device) {
    MarkProfileDue(device);
    WatchConnect(&device, false); // a refresh still armed finds nothing to read
    const int index = m_selector->IndexOf(&device);
    if (index >= 0)
        m_selector->HideItem(index);
}

void CMainWnd::StartRefresh(devices::CKelvaneUSBDevice& device, int delayMs) {
    CDeviceOptionUI* item = ItemOf(device);
    if (!item)
        return;
    if (delayMs == devices::DeviceRegistry::kReceiverRefreshDelayMs)
        m_pm.SetTimer(item, CDeviceOptionUI::kTimerLinkWatch, delayMs);
    else
        item->StartRefresh();
}

void CMainWnd::ReceiverState(devices::CKelvaneUSBDevice& device, int state) {
    // As the device item itself reports it: the model row and the link state.
    SendMessage(UM_RECEIVER_STATE, static_cast<WPARAM>(device.GetModelRowIndex()), state);
}

void CMainWnd::StartNotifications(devices::CKelvaneUSBDevice& device, std::uint16_t kind) {
    device.SetNotificationTarget(this);
    device.StartNotificationThread(kind);
}

void CMainWnd::StopNotifications(devices::CKelvaneUSBDevice& device, std::uint16_t kind) {
    device.StopNotificationThread(kind);
}

void CMainWnd::RequestStateRead(devices::CKelvaneUSBDevice& device, int delayMs) {
    RunOnUiThread([this, &device, delayMs] {
        if (CDeviceOptionUI* item = ItemOf(device))
            m_pm.SetTimer(item, CDeviceOptionUI::kTimerReadState, delayMs);
    });
}

void CMainWnd::ShowMacroNames(devices::CKelvaneUSBDevice& device) {
    keyset::CKeySetControlUI* panel = m_keySet->PanelOf(&device);
    if (!panel)
        return;
    panel->FillMacroNames(keyset::ReadMacroNames(device.UserDataFolder()));
    // The selected key shows its macro by the new names and positions.
    if (device.GetSelectedKey() >= 0)
        device.SelectKey(device.GetSelectedKey());
}

void CMainWnd::PowerLevel(devices::CKelvaneUSBDevice&, int level) {
    PostMessage(UM_POWER_LEVEL, static_cast<WPARAM>(level), 0);
}

void CMainWnd::RunOnUiThread(std::function<void()> fn) {
    QWidget* host = GetHWND();
    if (host && QThread::currentThread() != host->thread())
        QMetaObject::invokeMethod(host, std::move(fn), Qt::QueuedConnection);
    else
        fn();
}

void CMainWnd::ForEachDevice(const std::function<void(devices::CKelvaneUSBDevice&)>& fn) const {
    if (!m_registry)
        return;
    for (devices::CKelvaneUSBDevice* device : m_registry->Devices())
        fn(*device);
}

void CMainWnd::TellWindowShown(bool shown) {
    // A hidden window must not keep the keyboard grabbed.
    if (!shown && m_macro)
        m_macro->StopRecording();
    if (!shown && m_keySet)
        m_keySet->StopCapture();
    if (!m_registry)
        return;
    // Every device: a hidden window renders no preview of any.
    for (devices::CKelvaneUSBDevice* device : m_registry->Devices())
        device->SetWindowShown(shown);
    if (m_selector)
        m_selector->TellPreviewShown();
}

devices::CKelvaneUSBDevice* CMainWnd::CurrentDevice() const {
    const CDeviceOptionUI* item =
        m_selector ? m_selector->ItemAt(m_selector->CurrentIndex()) : nullptr;
    return item ? item->GetDevice() : nullptr;
}

void CMainWnd::SetLightControl(bool on, bool announce) {
    m_lightControl = on;
    if (announce && m_bus)
        m_bus->AnnounceLightControl(1, on ? 1 : 0);
    if (CControlUI* status = Find(QStringLiteral("control_light_status")))
        status->SetText(on ? QStringLiteral("控制灯光") : QStringLiteral("不控制灯光"));
    ForEachDevice([on](devices::CKelvaneUSBDevice& d) { d.TakeLightingControl(on); });
}

int CMainWnd::OnSkinChanged(SkinChangedParam param) {
    return ApplySkinToRoot(m_pm, param);
}

void CMainWnd::SetDemoMode(bool on) {
    m_demo = on;
    if (m_music)
        m_music->SetDemoInput(on ? platform::DefaultDataFolder() + "demo-music.wav" : "");
    if (CControlUI* label = Find(QStringLiteral("demo_label")))
        label->SetVisible(on);
}

void CMainWnd::OnClickControl(const QString& name) {
    if (NameIs(name, "closebtn"))
        HideToTray();
    else if (NameIs(name, "nodevice_ok_btn"))
        ShowWindow(false);
    else if (NameIs(name, "control_light_status"))
        SetLightControl(!m_lightControl, true);
    else if (NameIs(name, "minbtn"))
        SendMessage(WM_SYSCOMMAND, SC_MINIMIZE, 0);
    else if (NameIs(name, "maxbtn"))
        SendMessage(WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    else if (NameIs(name, "restorebtn"))
        SendMessage(WM_SYSCOMMAND, SC_RESTORE, 0);
    else if (NameIs(name, "skinbtn"))
        CSkinFrame::Open(this, Find(QStringLiteral("skinbtn")));
    else if (NameIs(name, "setbtn"))
        OpenSettingsLater();
    else if (const int which = NumberAfter(name, "windowdeviceset_"); which >= 0)
        OpenDesktopInputSettings(which);
    else if (NameIs(name, "default_btn")) {
        // The device's defaults come back as the reset of its selected profile: confirmed by
        // "message_text_22", then loaded and sent; the music styles come back with them.
        if (RouteProfile(QStringLiteral("device_reset_btn")) == ProfileRoute::kReloadProfile &&
            m_music)
            m_music->ResetStyles();
    } else if (OnProfileClick(name))
        return;
    else if (m_selector && NameIs(name, "device_select_prev"))
        m_selector->SelectPrevious();
    else if (m_selector && NameIs(name, "device_select_next"))
        m_selector->SelectNext();
}

bool CMainWnd::OnProfileClick(const QString& name) {
    return RouteProfile(name) != ProfileRoute::kNotMine;
}

ProfileRoute CMainWnd::RouteProfile(const QString& name) {
    devices::CKelvaneUSBDevice* device = CurrentDevice();
    CDeviceProfileUI* panel = CurrentProfilePanel();
    if (!device || !panel)
        return ProfileRoute::kNotMine;
    const ProfileRoute route = RouteProfileClick(*panel, name, DefaultProfileDialogs(this, m_dpi));
    if (route == ProfileRoute::kReloadProfile)
        SendProfile(*device);
    return route;
}

void CMainWnd::OnItemSelect(const QString& name) {
    if (IsProfileCombo(name)) {
        // Quick successive choices switch once, to the last one.
        KillTimer(kTimerProfileSwitch);
        SetTimer(kTimerProfileSwitch, kProfileSwitchDelayMs);
    }
}

void CMainWnd::OnSelectChanged(const QString& name) {
    if (const int tab = ProfileTabNumber(name); tab > 0) {
        if (devices::CKelvaneUSBDevice* device = CurrentDevice())
            device->SetFunctionPage(tab);
        if (CDeviceProfileUI* panel = CurrentProfilePanel())
            panel->SelectTab(tab);
        return;
    }
    if (m_selector && (NameIs(name, "device_select") || NameIs(name, "synchro_device_select"))) {
        m_selector->OnSelectionChanged();
        if (m_macro)
            m_macro->OnDeviceChosen();
    }
}

CDeviceOptionUI* CMainWnd::ItemOf(devices::CKelvaneUSBDevice& device) const {
    return m_selector ? m_selector->ItemAt(m_selector->IndexOf(&device)) : nullptr;
}

void CMainWnd::HideToTray() {
    CloseSecondaryWindows();
    if (!HasTray()) {
        // Without a tray there would be no way back to a hidden window: end instead.
        Close(0);
        return;
    }
    ShowWindow(false);
    TellWindowShown(false);
}

CWindowWnd*& CMainWnd::SecondarySlot(Secondary which) {
    switch (which) {
    case Secondary::Settings:
        return m_settingsWnd;
    case Secondary::About:
        return m_aboutWnd;
    case Secondary::ColourPicker:
        return m_colourWnd;
    case Secondary::Music:
        break;
    }
    return m_musicWnd;
}

void CMainWnd::SetSecondaryWindow(Secondary which, CWindowWnd* window) {
    SecondarySlot(which) = window;
}

void CMainWnd::CloseSecondaryWindows() {
    for (CWindowWnd* window : {m_settingsWnd, m_aboutWnd, m_colourWnd, m_musicWnd}) {
        if (window)
            window->SendMessage(WM_CLOSE, 0, 0);
    }
}

void CMainWnd::UpdateNoDeviceHint() {
    const bool none = !m_selector || m_selector->VisibleCount() == 0;
    if (CControlUI* hint = Find(QStringLiteral("No_device_Link")))
        hint->SetVisible(none);
}

void CMainWnd::BringForward() {
    UpdateNoDeviceHint();
    TellWindowShown(true);
    SendMessage(WM_SYSCOMMAND, SC_RESTORE, 0);
}

void CMainWnd::ApplyDpiRule() {
    QWidget* host = GetHWND();
    if (!host)
        return;
    // A window being shown counts as shown: its first "windowsize" arrives inside the show.
    const bool visible = !host->isHidden() && !IsMinimized();
    // Restored without being shown: a hidden window stays hidden.
    if (!visible)
        host->setWindowState(host->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
    QScreen* screen = host->screen() ? host->screen() : QGuiApplication::primaryScreen();
    m_dpi = screen ? DpiForMonitor(screen->geometry().size()) : 96;
    // Sized at 96 DPI first; the paint manager scales the window to the chosen DPI.
    m_pm.SetDPI(96);
    host->resize(kMainWindowSize);
    m_pm.SetDPI(m_dpi);
    if (screen) // a screen smaller than the window (1024 x 600) gets it whole, not cut off
        host->resize(host->size().boundedTo(screen->availableGeometry().size()));
    CenterWindow();
    ShowWindow(visible, false);
}

QString CMainWnd::TextById(const QString& id) {
    return TextThroughLabel(m_pm, kTextLabel, id);
}

QString CMainWnd::MessageTextById(const QString& id) {
    return TextThroughLabel(m_pm, kMessageLabel, id);
}

void CMainWnd::SetLanguage(int index) {
    if (index == m_languageIndex)
        return;
    const QString face = FontFaceForLanguage(index, m_languageIndex);
    if (!face.isEmpty())
        InstallFontTable(m_pm, face);
    m_languageIndex = index;

    const std::vector<LanguageEntry> table = ReadLanguageTable();
    const bool known = index >= 0 && static_cast<size_t>(index) < table.size();
    const LanguageEntry entry = known ? table[static_cast<size_t>(index)] : LanguageEntry{};
    CResourceManager& resources = CResourceManager::GetInstance();
    resources.SetLanguage(entry.name);
    resources.LoadLanguage(entry.file);
    resources.ReloadText();
    if (m_keyboardSettings)
        m_keyboardSettings->ShowTexts();
    // A table that has no such language gives no identifier: the stored choice is kept.
    if (known && platform::StoreLanguage(entry.id))
        platform::DebugLine("写成功！");

    if (QWidget* host = GetHWND())
        host->update();
    for (CWindowWnd* window : {m_settingsWnd, m_aboutWnd, m_musicWnd}) {
        if (window)
            window->SendMessage(UM_SET_LANGUAGE, 0, 0);
    }
    m_pm.NeedUpdate();
}

void CMainWnd::OnTrayMessage(LPARAM mouseMessage) {
    if (mouseMessage == WM_LBUTTONUP) {
        UpdateNoDeviceHint();
        const bool visible = IsWindowVisible() && !IsMinimized();
        CloseSecondaryWindows();
        if (visible) {
            ShowWindow(false);
            TellWindowShown(false);
        } else {
            ShowWindow(true);
            ApplyDpiRule();
            SendMessage(WM_SYSCOMMAND, SC_RESTORE, 0);
            TellWindowShown(true);
            m_pm.NeedUpdate();
        }
    } else if (mouseMessage == WM_RBUTTONUP) {
        SetTimer(kTimerTrayMenu, 10);
    }
}

void CMainWnd::OnTimer(int id) {
    KillTimer(id);
    switch (id) {
    case kTimerDpiRule:
        ApplyDpiRule();
        if (GetHWND())
            GetHWND()->update();
        break;
    case kTimerTrayMenu: {
        const QPoint cursor = QCursor::pos();
        QScreen* screen = QGuiApplication::screenAt(cursor);
        if (!screen)
            screen = QGuiApplication::primaryScreen();
        const MenuPlacement at =
            screen ? PlaceTrayMenu(cursor, screen->geometry(), screen->availableGeometry())
                   : MenuPlacement{cursor, eMenuAlignment_Left | eMenuAlignment_Top};
        m_trayMenu = std::make_unique<CMenuWnd>();
        if (!m_trayMenu->Init(this, QStringLiteral("menu.xml"), at.point, at.alignment))
            qWarning("The tray menu cannot be built: %s", qPrintable(m_trayMenu->GetLastError()));
        break;
    }
    case kTimerProfileSwitch:
        SwitchToSelectedProfile();
        break;
    case kTimerGameLighting:
        RestoreGameLighting();
        break;
    case kTimerProfileBack:
        GiveProfilesBack();
        break;
    default:
        break;
    }
}

void CMainWnd::OnMenuClick(const MenuCmd& cmd) {
    if (m_macro && m_macro->OnMenuClick(cmd.szName))
        return;
    if (cmd.szName == QLatin1String("exit")) {
        Close(0); // the shutdown closes the secondary windows first
    } else if (cmd.szName == QLatin1String("setwnd_menu")) {
        OpenSettingsLater();
    } else if (cmd.szName == QLatin1String("about_menu")) {
        // Opened from the event loop rather than inside the menu's own handler: the modal
        // window's loop may meet a new tray menu, which replaces this one.
        QTimer::singleShot(0, GetHWND(), [this] { OpenAboutWindow(*this); });
    }
}

// From the event loop rather than inside a click's or the menu's own handler: the modal
// window's loop may meet a new tray menu, which replaces the old one.
void CMainWnd::OpenSettingsLater() {
    QTimer::singleShot(0, GetHWND(), [this] { update::OpenSettingsWindow(*this); });
}

void CMainWnd::Shutdown() {
    CloseSecondaryWindows();
    ShowWindow(false);
    // Every worker's stop event is set and its blocking I/O cancelled before any is joined.
    m_workers.StopAll();
    if (m_music)
        m_music->Stop();
    SkinNotifier().Detach(this);
    m_tray.DeleteTrayIcon();
    QCoreApplication::postEvent(QCoreApplication::instance(), new QEvent(QEvent::Quit));
}

} // namespace shell
