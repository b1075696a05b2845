#include "shell/MainWnd.h"

#include "platform/DebugLog.h"
#include "platform/Paths.h"
#include "platform/Settings.h"
#include "shell/Language.h"
#include "shell/Messages.h"
#include "shell/windows/AboutWnd.h"
#include "ui/ControlUI.h"
#include "ui/DialogBuilder.h"
#include "ui/ResourceManager.h"

#include <QCoreApplication>
#include <QCursor>
#include <QWidget>

namespace shell {

using namespace ui;

CMainWnd::CMainWnd() = default;

CMainWnd::~CMainWnd() {
    CResourceManager::GetInstance().RemoveTextQueryInterface(this);
}

void CMainWnd::InitWindow() {
    platform::DebugLine("InitWindow");
    CResourceManager& resources = CResourceManager::GetInstance();
    resources.SetTextQueryInterface(this);
    resources.LoadLanguage(QStringLiteral("lan_cn.xml"));
    CResourceManager::GetInstance().ReloadText();
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
    if (msg.sType == notify::windowinit)
        OnWindowInit();
    else if (msg.sType == notify::click)
        OnClickControl(sender);
    else if (msg.sType == notify::selectchanged)
        OnSelectChanged(sender);
    WindowImplBase::Notify(msg);
}

void CMainWnd::OnWindowInit() {
    SetLanguage(shell::GetLanguageIndex());
    UpdateNoDeviceHint();
    StartDiscovery();
}

void CMainWnd::StartDiscovery() {
    DeviceSelectorHooks hooks;
    hooks.closeSecondaryWindows = [this] { CloseSecondaryWindows(); };
    m_selector = std::make_unique<DeviceSelector>(m_pm, this, hooks);
    m_slots = transport::MakeSlotList();
    m_registry = std::make_unique<devices::DeviceRegistry>(m_slots, *this);
    // Hidden until the first scan pass is done; its RM_INSTANCE brings the window forward.
    ShowWindow(false);
    m_scan = std::make_unique<transport::DeviceScanThread>(m_slots, *this);
    m_scan->Start();
}

void CMainWnd::OnSlotBound(int slot) {
    SendMessageUnless(UM_SLOT_BOUND, static_cast<WPARAM>(slot), 0,
                      [this] { return m_scan->StopEvent().IsSet(); });
}

void CMainWnd::OnSlotLost(int slot) {
    SendMessageUnless(UM_SLOT_LOST, static_cast<WPARAM>(slot), 0,
                      [this] { return m_scan->StopEvent().IsSet(); });
}

void CMainWnd::OnFirstScanDone() {
    PostMessage(g_messages.instance, 0, 0);
}

void CMainWnd::OnDeviceCreated(devices::CKelvaneUSBDevice& device) {
    // The device's page from its panel file, then its item and power item in the lists.
    CDialogBuilder builder;
    CControlUI* page = builder.Create(QString::fromStdString(device.GetPanelXml()), this, &m_pm);
    if (!page) {
        qWarning("The device page cannot be built: %s", qPrintable(builder.GetLastError()));
        return;
    }
    if (!m_selector->AddItem(&device, page, nullptr).item)
        delete page->GetWidget();
}

// The registry and the selector are made together, so the selector is there for these; it
// also keeps "No_device_Link" up to date.
void CMainWnd::ShowItem(devices::CKelvaneUSBDevice& device) {
    const int index = m_selector->IndexOf(&device);
    if (index >= 0)
        m_selector->ShowAttached(index);
}

void CMainWnd::HideItem(devices::CKelvaneUSBDevice& device) {
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

void CMainWnd::StartNotifications(devices::CKelvaneUSBDevice&, std::uint16_t) {}

void CMainWnd::StopNotifications(devices::CKelvaneUSBDevice&, std::uint16_t) {}

void CMainWnd::OnPowerBroadcast(WPARAM event) {
    constexpr WPARAM kSuspend = 4;
    constexpr WPARAM kResumeAutomatic = 0x12;
    if (event == kSuspend) {
        m_awake = false;
        // The devices get their own lighting back while the system sleeps.
        if (m_registry) {
            for (devices::CKelvaneUSBDevice* device : m_registry->Devices())
                device->TakeLightingControl(false);
        }
    } else if (event == kResumeAutomatic) {
        m_awake = true;
        if (m_registry) {
            for (devices::CKelvaneUSBDevice* device : m_registry->Devices())
                device->TakeLightingControl(m_lightControl);
        }
    }
}

void CMainWnd::SetDemoMode(bool on) {
    if (CControlUI* label = Find(QStringLiteral("demo_label")))
        label->SetVisible(on);
}

void CMainWnd::OnClickControl(const QString& name) {
    if (name.compare(QLatin1String("closebtn"), Qt::CaseInsensitive) == 0)
        HideToTray();
    else if (name.compare(QLatin1String("minbtn"), Qt::CaseInsensitive) == 0)
        SendMessage(WM_SYSCOMMAND, SC_MINIMIZE, 0);
    else if (name.compare(QLatin1String("maxbtn"), Qt::CaseInsensitive) == 0)
        SendMessage(WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    else if (name.compare(QLatin1String("restorebtn"), Qt::CaseInsensitive) == 0)
        SendMessage(WM_SYSCOMMAND, SC_RESTORE, 0);
    else if (m_selector &&
             name.compare(QLatin1String("device_select_prev"), Qt::CaseInsensitive) == 0)
        m_selector->SelectPrevious();
    else if (m_selector &&
             name.compare(QLatin1String("device_select_next"), Qt::CaseInsensitive) == 0)
        m_selector->SelectNext();
}

void CMainWnd::OnSelectChanged(const QString& name) {
    if (m_selector &&
        (name.compare(QLatin1String("device_select"), Qt::CaseInsensitive) == 0 ||
         name.compare(QLatin1String("synchro_device_select"), Qt::CaseInsensitive) == 0))
        m_selector->OnSelectionChanged();
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
    SendMessage(WM_SYSCOMMAND, SC_RESTORE, 0);
}

QString CMainWnd::TextThroughLabel(const QString& label, const QString& id) {
    CControlUI* control = Find(label);
    if (!control)
        return {};
    control->SetResourceText(true);
    control->SetText(id);
    return control->GetText();
}

QString CMainWnd::TextById(const QString& id) {
    return TextThroughLabel(QStringLiteral("text_test"), id);
}

QString CMainWnd::MessageTextById(const QString& id) {
    return TextThroughLabel(QStringLiteral("str_test"), id);
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
        } else {
            ShowWindow(true);
            SendMessage(WM_SYSCOMMAND, SC_RESTORE, 0);
            m_pm.NeedUpdate();
        }
    } else if (mouseMessage == WM_RBUTTONUP) {
        SetTimer(kTimerTrayMenu, 10);
    }
}

void CMainWnd::OnTimer(int id) {
    KillTimer(id);
    if (id == kTimerTrayMenu) {
        m_trayMenu = std::make_unique<CMenuWnd>();
        if (!m_trayMenu->Init(this, QStringLiteral("menu.xml"), QCursor::pos(),
                              eMenuAlignment_Left | eMenuAlignment_Top))
            qWarning("The tray menu cannot be built: %s", qPrintable(m_trayMenu->GetLastError()));
    }
}

void CMainWnd::OnMenuClick(const MenuCmd& cmd) {
    if (cmd.szName == QLatin1String("exit")) {
        CloseSecondaryWindows();
        Close(0);
    } else if (cmd.szName == QLatin1String("about_menu")) {
        OpenAboutWindow(*this);
    }
}

void CMainWnd::Shutdown() {
    ShowWindow(false);
    // The scan thread goes first: it reports to this window.
    if (m_scan)
        m_scan->Stop();
    m_tray.DeleteTrayIcon();
    QCoreApplication::postEvent(QCoreApplication::instance(), new QEvent(QEvent::Quit));
}

LRESULT CMainWnd::HandleCustomMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) {
    handled = false;
    if (msg == g_messages.instance && msg != 0) {
        platform::DebugLog("软件标示 %u，%lxd%lxd", msg, static_cast<unsigned long>(wParam),
                           static_cast<unsigned long>(lParam));
        BringForward();
        handled = true;
        return 0;
    }
    switch (msg) {
    case WM_DESTROY:
        Shutdown();
        handled = true;
        return 0;
    case WM_SYSCOMMAND:
        if (wParam == SC_CLOSE) {
            // The window manager's close button behaves like the skin's.
            HideToTray();
            handled = true;
        }
        return 0;
    case WM_TRAYICON:
        OnTrayMessage(lParam);
        handled = true;
        return 0;
    case WM_MENUCLICK:
        if (wParam)
            OnMenuClick(*reinterpret_cast<const MenuCmd*>(wParam));
        handled = true;
        return 0;
    case WM_TIMER:
        OnTimer(static_cast<int>(wParam));
        return 0;
    case UM_SET_LANGUAGE:
        SetLanguage(static_cast<int>(wParam));
        handled = true;
        return 0;
    case WM_POWERBROADCAST:
        OnPowerBroadcast(wParam);
        handled = true;
        return 0;
    case UM_RECEIVER_STATE:
        if (m_selector)
            m_selector->OnReceiverState(wParam, lParam);
        handled = true;
        return 0;
    case UM_SLOT_BOUND:
    case UM_SLOT_LOST:
        // While the system sleeps the reports are dropped; the slot list changes all the same.
        if (m_awake && m_registry) {
            if (msg == UM_SLOT_BOUND)
                m_registry->Bind(static_cast<std::size_t>(wParam));
            else
                m_registry->Lose(static_cast<std::size_t>(wParam));
        }
        handled = true;
        return 0;
    default:
        return 0;
    }
}

} // namespace shell
