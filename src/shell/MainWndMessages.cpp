// The main window's messages: from its own widgets, the scan thread, the tray and menus, other
// programs (through the D-Bus object) and the system's sleep and display changes.

#include "lighting/LightControlUI.h"
#include "platform/DebugLog.h"
#include "shell/MainWnd.h"
#include "shell/Messages.h"
#include "shell/keyset/KeySetRoutes.h"
#include "shell/light/LightRoutes.h"
#include "shell/macro/MacroRoutes.h"
#include "shell/music/MusicRoutes.h"
#include "shell/profile/DeviceProfileUI.h"

#include <QTimer>
#include <QWidget>
#include <cstring>

namespace shell {

using namespace ui;

namespace {
constexpr WPARAM kSuspend = 4;
constexpr WPARAM kResumeAutomatic = 0x12;
} // namespace

void CMainWnd::OnPowerBroadcast(WPARAM event) {
    if (event == kSuspend) {
        m_awake = false;
        // The devices get their own lighting back while the system sleeps.
        ForEachDevice([](devices::CKelvaneUSBDevice& d) { d.TakeLightingControl(false); });
    } else if (event == kResumeAutomatic) {
        m_awake = true;
        ForEachDevice([this](devices::CKelvaneUSBDevice& d) {
            d.TakeLightingControl(m_lightControl);
            MarkProfileDue(d);
        });
        SetTimer(kTimerProfileBack, kProfileBackAfterWakeMs);
    }
}

bool CMainWnd::WatchSystemSleep(QDBusConnection bus) {
    return m_sleepWatcher.Watch(
        [this](bool goingToSleep) {
            SendMessage(WM_POWERBROADCAST, goingToSleep ? kSuspend : kResumeAutomatic, 0);
        },
        bus);
}

void CMainWnd::MarkProfileDue(const devices::CKelvaneUSBDevice& device) {
    m_profileDue.insert(&device);
}

bool CMainWnd::TakeProfileDue(devices::CKelvaneUSBDevice& device) {
    if (!m_awake || m_profileDue.erase(&device) == 0)
        return false;
    platform::DebugLine("a device is back: its selected profile goes to it again");
    QTimer::singleShot(0, GetHWND(), [this, &device] {
        if (device.CommandChannel().open)
            SendProfile(device);
    });
    return true;
}

void CMainWnd::GiveProfilesBack() {
    ForEachDevice([this](devices::CKelvaneUSBDevice& d) {
        const CDeviceOptionUI* item = ItemOf(d);
        if (item && item->GetVisibleFlag() && d.CommandChannel().open)
            TakeProfileDue(d);
    });
}

void CMainWnd::ReadProfilesAgain() {
    platform::DebugLine("a command changed the user files: the profiles are read again");
    ForEachDevice([this](devices::CKelvaneUSBDevice& d) {
        const auto panel = m_profilePanels.find(&d);
        if (panel != m_profilePanels.end() &&
            panel->second->LoadProfileList() == config::kProfileDone &&
            !panel->second->GetCurrentProfileId().empty())
            d.SetCurrentProfileId(panel->second->GetCurrentProfileId());
        d.ReloadProfile();
        d.RefreshPanels();
    });
}

// What is acted on even while the system sleeps: activation and hover, other programs'
// messages, the end of the window and the power events themselves.
bool CMainWnd::HandlePeerMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_ACTIVATE || ((msg == WM_MOUSELEAVE || msg == WM_MOUSEHOVER) && !m_windowActive)) {
        if (msg == WM_ACTIVATE)
            m_windowActive = wParam != 0;
        m_windowHovered = msg == WM_ACTIVATE ? wParam != 0 : msg == WM_MOUSEHOVER;
        ForEachDevice(
            [this](devices::CKelvaneUSBDevice& d) { d.SetWindowHovered(m_windowHovered); });
        return false;
    }
    if (msg == 0)
        return false;
    if (msg == g_messages.instance) {
        platform::DebugLog("软件标示 %u，%lxd%lxd", msg, static_cast<unsigned long>(wParam),
                           static_cast<unsigned long>(lParam));
        // lParam 0: the first scan pass is done. A second start (lParam 1) always shows.
        if (lParam == 0 && m_startHidden && HasTray()) {
            platform::DebugLine("started hidden: the window stays in the tray");
            return true;
        }
        BringForward();
        return true;
    }
    if (msg == g_messages.settingsRelay) {
        if (m_settingsWnd)
            m_settingsWnd->PostMessage(msg, wParam, lParam);
        return true;
    }
    if (msg == g_messages.setLightControl) {
        // A peer's wish is followed but not announced back.
        if (wParam == 1 && (lParam == 0 || lParam == 1))
            SetLightControl(lParam == 1, false);
        return true;
    }
    return false;
}

LRESULT CMainWnd::HandleCustomMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) {
    handled = HandlePeerMessage(msg, wParam, lParam);
    if (handled)
        return 0;
    switch (msg) {
    case WM_DESTROY:
        Shutdown();
        handled = true;
        return 0;
    case WM_POWERBROADCAST:
        OnPowerBroadcast(wParam);
        handled = true;
        return 0;
    case UM_OPEN_DENIED:
        // Shown even while suspended: the scan does not tell it again.
        ShowOpenDenied(*reinterpret_cast<const OpenDenial*>(lParam));
        handled = true;
        return 0;
    default:
        break;
    }
    if (!m_awake)
        return 0;
    if (m_keySet && m_keySet->HandleMessage(msg, wParam, lParam)) {
        handled = true;
        return 0;
    }
    if (m_macro && m_macro->HandleMessage(msg, wParam, lParam)) {
        handled = true;
        return 0;
    }
    if (msg != 0 && (msg == g_messages.gameStart || msg == g_messages.gameEnd ||
                     msg == g_messages.gameKill || msg == g_messages.gameDeath)) {
        OnGameEvent(wParam, lParam);
        handled = true;
        return 0;
    }
    switch (msg) {
    case WM_DISPLAYCHANGE:
        ApplyDpiRule();
        TellScreenSize();
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
        // The keyboards show their key names in the new language.
        if (m_registry && m_keySet) {
            for (devices::CKelvaneUSBDevice* device : m_registry->Devices()) {
                if (keyset::DevicePageView* view = m_keySet->ViewOf(device))
                    view->RefreshKeyTexts();
            }
        }
        handled = true;
        return 0;
    case UM_OPEN_SETTINGS:
        OpenSettingsLater();
        handled = true;
        return 0;
    case UM_CLEAR_UPDATE_MARK:
        if (CControlUI* button = Find(QStringLiteral("setbtn")))
            button->SetForeImage(QString());
        handled = true;
        return 0;
    case UM_POWER_LEVEL:
        // The device's power item has shown the level already.
        handled = true;
        return 0;
    case UM_RECEIVER_STATE:
        if (m_selector)
            m_selector->OnReceiverState(wParam, lParam);
        handled = true;
        return 0;
    case UM_SLOT_BOUND:
        if (m_registry)
            m_registry->Bind(static_cast<std::size_t>(wParam));
        handled = true;
        return 0;
    case UM_SLOT_LOST:
        if (m_registry)
            m_registry->Lose(static_cast<std::size_t>(wParam));
        handled = true;
        return 0;
    default:
        return 0;
    }
}

platform::CopyDataResult CMainWnd::OnCopyData(std::uint32_t id, const QByteArray& bytes) {
    using platform::CopyDataResult;
    const auto size = static_cast<std::size_t>(bytes.size());
    std::uint8_t* buffer = nullptr;
    if (id == 1) {
        if (size > m_spectrumBuffer.size())
            return CopyDataResult::TooLarge;
        buffer = m_spectrumBuffer.data();
    } else if (id == 2) {
        if (size > m_colourBuffer.size())
            return CopyDataResult::TooLarge;
        buffer = m_colourBuffer.data();
    } else {
        return CopyDataResult::UnknownId;
    }
    if (size == 0 || !m_awake)
        return CopyDataResult::Taken;
    std::memcpy(buffer, bytes.constData(), size);
    if (id == 1 && m_music)
        m_music->TakeSpectrum(m_spectrumBuffer.data());
    // The spectrum turns into band levels with the music lighting; the colour settings go to
    // the first keyboard at once.
    if (id == 2 && m_registry) {
        std::array<std::int32_t, 6> settings{};
        std::memcpy(settings.data(), m_colourBuffer.data(), sizeof settings);
        for (devices::CKelvaneUSBDevice* device : m_registry->Devices()) {
            if (device->GetDeviceKind() == transport::kKindKeyboard) {
                device->SetMusicSettings(settings);
                break;
            }
        }
    }
    return CopyDataResult::Taken;
}

void CMainWnd::OnGameEvent(WPARAM form, LPARAM mode) {
    devices::CKelvaneUSBDevice* device = CurrentDevice();
    if (!device)
        return;
    lighting::CLightControlUI* panel = m_light ? m_light->PanelOf(device) : nullptr;
    // The device leaves synchronised lighting, and its item says so.
    if (m_light)
        m_light->SetParticipation(*device, false);
    if (CDeviceOptionUI* item = ItemOf(*device))
        item->SetSynchronised(false);
    if (panel)
        panel->SetMode(static_cast<int>(mode));
    config::LightInfoRecord fields = device->GetLightFields();
    if (form == 0) {
        // The mode to come back to rides in the last byte of the light fields.
        fields.oldLedMode =
            fields.selectItem == 0 || fields.selectItem > 20 ? 1 : fields.selectItem;
    }
    fields.selectItem = static_cast<std::uint8_t>(mode);
    WriteLightFields(*device, fields);
    KillTimer(kTimerGameLighting);
    SetTimer(kTimerGameLighting, 5000);
}

void CMainWnd::RestoreGameLighting() {
    devices::CKelvaneUSBDevice* device = CurrentDevice();
    if (!device)
        return;
    config::LightInfoRecord fields = device->GetLightFields();
    fields.selectItem = fields.oldLedMode;
    if (lighting::CLightControlUI* panel = m_light ? m_light->PanelOf(device) : nullptr)
        panel->SetMode(fields.selectItem);
    WriteLightFields(*device, fields);
}

void CMainWnd::WriteLightFields(devices::CKelvaneUSBDevice& device,
                                const config::LightInfoRecord& fields) {
    light::CLightRoutes::Write(device, fields);
}

} // namespace shell
