#pragma once
// CMainWnd: the program's only top-level window and its switchboard. It builds the skin
// "XML_MAIN", owns the tray icon and its menu, keeps the current language, and receives every
// notification of its controls and every message sent to it.

#include "devices/DeviceRegistry.h"
#include "platform/InstanceBus.h"
#include "platform/SleepWatcher.h"
#include "shell/AccessNotice.h"
#include "shell/WorkerSlots.h"
#include "shell/selector/DeviceSelector.h"
#include "shell/windows/SkinNotifier.h"
#include "transport/DeviceScanThread.h"
#include "ui/MenuWnd.h"
#include "ui/TrayIcon.h"
#include "ui/WindowImplBase.h"

#include <QByteArray>
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <vector>

namespace shell {

class CDeviceProfileUI;
class SkinDevicePanel;
namespace keyset {
class CKeySetRoutes;
}
namespace light {
class CLightRoutes;
}
namespace macro {
class CMacroRoutes;
}
namespace mouse {
class CMouseRoutes;
}
namespace headset {
class CHeadsetRoutes;
}
namespace music {
class CMusicRoutes;
}
enum class ProfileRoute;
namespace settings {
class CKeyboardSettingsRoutes;
}

struct OpenDenial;

class CMainWnd : public ui::WindowImplBase,
                 public ui::IQueryControlText,
                 public transport::ISlotReceiver,
                 public devices::IDeviceItems,
                 public devices::INotificationTarget,
                 public SkinChangedReceiver {
public:
    // The modal windows that stand beside the main window while they are open.
    enum class Secondary { Settings, About, ColourPicker, Music };

    CMainWnd();
    ~CMainWnd() override;

    QString GetWindowClassName() const override { return QStringLiteral("MainWnd"); }

    // Makes the program's window, centred and not yet shown: the first scan pass shows it.
    // False when the skin cannot be built (GetSkinError says why).
    bool Open();

    // The current LanguageIndex; -1 before the first "windowinit".
    int GetLanguageIndex() const { return m_languageIndex; }
    // Switches fonts and texts to the language, stores the choice and tells the open
    // secondary windows. Nothing happens when it is the current language already.
    void SetLanguage(int index);
    // The current language's text of a text id, through the hidden label "text_test".
    QString TextById(const QString& id);
    // The same through "str_test", the label used for messages.
    QString MessageTextById(const QString& id);

    // Set while a secondary window is open, cleared (nullptr) when it closes.
    void SetSecondaryWindow(Secondary which, ui::CWindowWnd* window);
    ui::CWindowWnd* SettingsWindow() const { return m_settingsWnd; }
    music::CMusicRoutes* Music() const { return m_music.get(); }

    // Restores the window and brings it to the front.
    void BringForward();
    bool HasTray() const { return m_tray.IsCreated(); }
    ui::CMenuWnd* GetTrayMenu() const { return m_trayMenu.get(); }

    // The text query: this program answers none, so every text comes from the language file.
    QString QueryControlText(const QString&, const QString&) override { return {}; }

    // Virtual devices are attached: the window says so.
    void SetDemoMode(bool on);
    // Started with --hidden: the first scan pass leaves the window in the tray, when there is
    // one (without a tray nothing could bring it back). Set before Open.
    void SetStartHidden(bool hidden) { m_startHidden = hidden; }
    // logind's PrepareForSleep on the system bus (or the bus given) becomes the window's
    // suspend and resume messages; false without a system bus.
    bool WatchSystemSleep(QDBusConnection bus = QDBusConnection::systemBus());
    // A quarin-z17ctl command run for a peer wrote the user files: the devices read their
    // profile list and selected profile again, and their pages show them, so that the window
    // never writes its older copy back. Nothing goes to the devices (the command did that).
    void ReadProfilesAgain();
    // Told `connecting` true when the window begins to connect a device (the first scan pass,
    // a device's first read after it is plugged in) and false when that has ended,
    // with the address of what it connects; the program holds quarin-z17ctl's commands in
    // between. From the UI thread and the scan thread. Set before Open.
    void SetConnectWatch(std::function<void(const void* what, bool connecting)> watch) {
        m_connectWatch = std::move(watch);
    }
    const std::vector<transport::DeviceSlot>& Slots() const { return m_slots; }
    devices::DeviceRegistry* Registry() const { return m_registry.get(); }
    // Devices whose item shows as connected.
    std::size_t ConnectedCount() const {
        return m_selector ? static_cast<std::size_t>(m_selector->VisibleCount()) : 0;
    }

    // The scan thread's reports, delivered on the UI thread as UM_SLOT_BOUND / UM_SLOT_LOST /
    // UM_OPEN_DENIED (the thread waits) and RM_INSTANCE (posted) after the first pass.
    void OnSlotBound(int slot) override;
    void OnSlotLost(int slot) override;
    void OnFirstScanDone() override;
    void OnOpenDenied(const std::string& path, int error) override;

    // Device items.
    void OnDeviceCreated(devices::CKelvaneUSBDevice& device) override;
    void ShowItem(devices::CKelvaneUSBDevice& device) override;
    void HideItem(devices::CKelvaneUSBDevice& device) override;
    void StartRefresh(devices::CKelvaneUSBDevice& device, int delayMs) override;
    void ReceiverState(devices::CKelvaneUSBDevice& device, int state) override;
    void StartNotifications(devices::CKelvaneUSBDevice& device, std::uint16_t kind) override;
    void StopNotifications(devices::CKelvaneUSBDevice& device, std::uint16_t kind) override;
    // The devices' notification threads: the item's state-read timer, and a call on the UI
    // thread.
    void RequestStateRead(devices::CKelvaneUSBDevice& device, int delayMs) override;
    void RunOnUiThread(std::function<void()> fn) override;
    void PowerLevel(devices::CKelvaneUSBDevice& device, int level) override;

    // The D-Bus object through which this program announces its changes of the lighting
    // control; set before Create.
    void SetInstanceBus(platform::InstanceBus* bus) { m_bus = bus; }
    // Whether this program drives the devices' lighting.
    bool HasLightControl() const { return m_lightControl; }
    // The window is active, or the pointer is over it.
    bool IsActiveOrHovered() const { return m_windowActive || m_windowHovered; }
    int GetDPI() const { return m_dpi; }
    WorkerSlots& Workers() { return m_workers; }

    // Data from the music recorder (copy-data ids 1 and 2). A payload larger than its buffer
    // is refused whole; an empty one is ignored.
    platform::CopyDataResult OnCopyData(std::uint32_t id, const QByteArray& bytes);
    static constexpr std::size_t kSpectrumBufferSize = 4200;
    static constexpr std::size_t kColourBufferSize = 156;

    // The skin window's choice of background.
    int OnSkinChanged(SkinChangedParam param) override;

    // The device whose item is current, or nullptr.
    devices::CKelvaneUSBDevice* CurrentDevice() const;
    // The profile panel of the current device's page, or nullptr.
    CDeviceProfileUI* CurrentProfilePanel() const;
    keyset::CKeySetRoutes* KeySet() const { return m_keySet.get(); }
    light::CLightRoutes* Light() const { return m_light.get(); }
    macro::CMacroRoutes* Macro() const { return m_macro.get(); }
    settings::CKeyboardSettingsRoutes* KeyboardSettings() const { return m_keyboardSettings.get(); }

    // Timer ids of the main window.
    enum : int {
        kTimerDpiRule = 1011,
        kTimerTrayMenu = 1032,
        kTimerProfileSwitch = 1055,
        kTimerGameLighting = 1066,
        kTimerProfileBack = 1077,
    };
    // After the system wakes, the devices that stayed connected get their profile back once
    // their connections have settled (those that went meanwhile get it when they return).
    static constexpr int kProfileBackAfterWakeMs = 1500;

protected:
    QString GetSkinFile() override { return QStringLiteral("XML_MAIN"); }
    void InitWindow() override;
    // The panels named by a tag of their own in the device pages.
    ui::CControlUI* CreateControl(const QString& tag) override;
    void Notify(ui::TNotifyUI& msg) override;
    // Clicks are handled by the click table in Notify.
    void OnClick(ui::TNotifyUI&) override {}
    ui::LRESULT HandleCustomMessage(ui::UINT msg, ui::WPARAM wParam, ui::LPARAM lParam,
                                    bool& handled) override;

private:
    void OnWindowInit();
    void OnClickControl(const QString& name);
    void OnSelectChanged(const QString& name);
    void OnItemSelect(const QString& name);
    // The profile panel's buttons; false when the name is not one of them.
    bool OnProfileClick(const QString& name);
    ProfileRoute RouteProfile(const QString& name);
    // Loads the device's current profile again and sends it to the device.
    void SendProfile(devices::CKelvaneUSBDevice& device);
    // The primary screen's size for every mouse (its configuration block carries it).
    void TellScreenSize();
    // Timer 1055: the drop-down's choice becomes the current device's profile.
    void SwitchToSelectedProfile();
    void ApplyDpiRule();
    // The lighting-control flag, handed to every mouse, mouse pad and keyboard; announced to
    // other programs only when this program changed it itself.
    void SetLightControl(bool on, bool announce);
    void OnGameEvent(ui::WPARAM form, ui::LPARAM mode);
    void RestoreGameLighting();
    // Stores the light fields, saves the profile, applies its lighting and writes the block.
    // The device's macro library changed: the key assignment panel shows the names again.
    void ShowMacroNames(devices::CKelvaneUSBDevice& device);
    void WriteLightFields(devices::CKelvaneUSBDevice& device,
                          const config::LightInfoRecord& fields);
    // Every device object, the headset too.
    void ForEachDevice(const std::function<void(devices::CKelvaneUSBDevice&)>& fn) const;
    // Every mouse and keyboard object: the window is shown or hidden.
    void TellWindowShown(bool shown);
    bool HandlePeerMessage(ui::UINT msg, ui::WPARAM wParam, ui::LPARAM lParam);
    CDeviceOptionUI* ItemOf(devices::CKelvaneUSBDevice& device) const;
    void OnTimer(int id);
    void OnTrayMessage(ui::LPARAM mouseMessage);
    void OnMenuClick(const ui::MenuCmd& cmd);
    void HideToTray();
    void CloseSecondaryWindows();
    void OpenSettingsLater();
    void UpdateNoDeviceHint();
    void Shutdown();
    void StartDiscovery();
    // Suspend (4) and automatic resume (0x12).
    void OnPowerBroadcast(ui::WPARAM event);
    // A device that was away may have lost its settings: marked when it goes, given the
    // selected profile once when it answers again.
    void WatchConnect(const void* what, bool connecting) const;
    void MarkProfileDue(const devices::CKelvaneUSBDevice& device);
    // True when the device was due: its profile is sent from the event loop, after the
    // refresh or link check that found it answering.
    bool TakeProfileDue(devices::CKelvaneUSBDevice& device);
    // Timer 1077: the due devices that answer now get their profile.
    void GiveProfilesBack();
    // A device node refused to open: one line on stderr and in the status line per node.
    void ShowOpenDenied(const OpenDenial& denial);
    ui::CWindowWnd*& SecondarySlot(Secondary which);

    ui::CTrayIcon m_tray;
    std::unique_ptr<ui::CMenuWnd> m_trayMenu;
    int m_languageIndex = -1;
    ui::CWindowWnd* m_settingsWnd = nullptr;
    ui::CWindowWnd* m_aboutWnd = nullptr;
    ui::CWindowWnd* m_colourWnd = nullptr;
    ui::CWindowWnd* m_musicWnd = nullptr;
    // Cleared while the system sleeps: plug and unplug reports are dropped meanwhile.
    bool m_awake = true;
    platform::SleepWatcher m_sleepWatcher;
    std::set<const devices::CKelvaneUSBDevice*> m_profileDue;
    // Whether this program drives the devices' lighting.
    bool m_lightControl = true;
    bool m_windowActive = false;
    bool m_windowHovered = false;
    int m_dpi = 96;
    bool m_demo = false;
    bool m_startHidden = false;
    std::function<void(const void*, bool)> m_connectWatch;
    bool m_firstSize = false;
    platform::InstanceBus* m_bus = nullptr;
    WorkerSlots m_workers;
    std::array<std::uint8_t, kSpectrumBufferSize> m_spectrumBuffer{};
    std::array<std::uint8_t, kColourBufferSize> m_colourBuffer{};
    std::vector<transport::DeviceSlot> m_slots;
    std::unique_ptr<devices::DeviceRegistry> m_registry;
    std::unique_ptr<transport::DeviceScanThread> m_scan;
    std::unique_ptr<DeviceSelector> m_selector;
    AccessNotice m_accessNotice;
    std::unique_ptr<keyset::CKeySetRoutes> m_keySet;
    std::unique_ptr<light::CLightRoutes> m_light;
    std::unique_ptr<macro::CMacroRoutes> m_macro;
    std::unique_ptr<settings::CKeyboardSettingsRoutes> m_keyboardSettings;
    std::unique_ptr<mouse::CMouseRoutes> m_mouse;
    std::unique_ptr<headset::CHeadsetRoutes> m_headset;
    std::unique_ptr<music::CMusicRoutes> m_music;
    std::map<const devices::CKelvaneUSBDevice*, std::unique_ptr<SkinDevicePanel>> m_devicePanels;
    std::map<const devices::CKelvaneUSBDevice*, CDeviceProfileUI*> m_profilePanels;
};

} // namespace shell
