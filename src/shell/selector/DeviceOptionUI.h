#pragma once
// CDeviceOptionUI ("DeviceOption"): one device's entry in the device list. It shows the
// device's picture and name, knows which page of "device_switch" and of the power tab layout
// belong to the device, and drives the device's periodic work with its timers: software
// lighting frames, reading the device once it is connected, power polling and watching the
// wireless link.
//
// Built from "XML/CustomControlXML/DeviceOption.xml"; its children "device_select" (an
// option: the item is current while it is selected), "synchro_device_select" (an option: the
// device takes part in synchronised lighting) and "device_select_name" (a label).

#include "devices/LightTick.h"
#include "shell/selector/DeviceItemImages.h"
#include "ui/ContainerUI.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>

namespace devices {
class CKelvaneUSBDevice;
}
namespace ui {
class COptionUI;
class CWindowWnd;
} // namespace ui

namespace shell {

class CDeviceOptionUI : public ui::CHorizontalLayoutUI {
public:
    enum : int {
        kTimerLightFrame = 1000,
        kTimerRefresh = 1001,
        kTimerReadState = 1002,
        kTimerReserved1 = 1003,
        kTimerReserved2 = 1004,
        kTimerPower = 1005,
        kTimerLinkWatch = 1007,
    };
    // A frame at most once per lighting tick (15.625 ms, rounded up to whole milliseconds)
    // while the device's page is watched; otherwise only the repeat a device needs to keep
    // the host's lighting.
    static constexpr int kLightFrameMs =
        static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(devices::kLightTick).count());
    static constexpr int kIdleFrameMs = 1000;
    static constexpr int kRefreshMs = 500;
    static constexpr int kLinkRetryMs = 3000;
    static constexpr int kFirstPowerMs = 50;
    static constexpr int kPowerMs = 5000;
    static constexpr int kFirstLinkWatchMs = 2000;
    static constexpr int kLinkWatchMs = 3000;
    static constexpr int kFailureWrap = 20;

    CDeviceOptionUI();
    QString GetClass() const override { return QStringLiteral("DeviceOption"); }
    // Sends "selectchanged", as a click on the item does.
    void Activate();

    void SetKind(int kind, int subKind);
    int GetKind() const { return m_kind; }
    int GetSubKind() const { return m_subKind; }
    const DeviceItemLook& GetLook() const { return m_look; }

    // The tab layout and page that show the device.
    void BindTab(const QString& layout, int index);
    QString GetBindTabName() const { return m_bindTab; }
    int GetBindTabIndex() const { return m_bindIndex; }
    // The device's power item: a page of the tab layout `layout`; -1 for none.
    void SetPowerPage(const QString& layout, int index);
    QString GetPowerTabName() const { return m_powerTab; }
    int GetPowerPage() const { return m_powerPage; }

    void SetGroup(const QString& group);
    void Select(bool selected);
    bool IsSelected() const;
    void SetSynchronised(bool on);
    bool IsSynchronised() const;
    // Re-applies the pictures for the state of "synchro_device_select".
    void ApplyImages();

    void SetVisible(bool visible) override;
    bool GetVisibleFlag() const { return m_visibleFlag != 0; }
    void SetNameText(const QString& text);

    // The device (not owned) and its on-screen key area (a control of its page, not owned),
    // repainted while lighting frames are sent. The item listens to the device's frames: a
    // keyboard renders on its own thread and the item repaints its preview, once for all the
    // frames that came meanwhile; another device's synchronised frame goes out at once.
    // Timer 1000 sends the frames of the devices that do not stream on their own: each
    // kLightFrameMs while watched, else each kIdleFrameMs. The keyboard needs no timer.
    void AttachDevice(devices::CKelvaneUSBDevice* device, ui::CControlUI* keyArea);
    // The device's page (not owned); its "device_body", when it has one, shows the device as
    // it is connected.
    void SetDevicePage(ui::CControlUI* page);
    // The device's page is the current one (and its item shown).
    void SetPreviewShown(bool shown);
    // Frames pending for the UI thread: a repaint (keyboard) or a frame (other devices).
    bool IsFramePosted() const;
    // The interval timer 1000 was last armed with; 0 before it ever was.
    int GetLightFrameInterval() const { return m_lightFrameMs; }
    devices::CKelvaneUSBDevice* GetDevice() const { return m_device; }
    ui::CControlUI* GetKeyArea() const { return m_keyArea; }
    // The window told about the wireless link (UM_RECEIVER_STATE) and asked whether it is
    // active or hovered; the latter may be replaced.
    void SetMainWindow(ui::CWindowWnd* window) { m_mainWnd = window; }
    void SetWindowAttended(std::function<bool()> attended) { m_attended = std::move(attended); }
    // Told when the device's receiver loses it, and when the device answers again (a refresh,
    // or the receiver's link back): `answering` returns true when the window is about to send
    // the device its profile, and the refresh then leaves the device's state out of it.
    void SetPresenceHooks(std::function<void()> linkLost, std::function<bool()> answering) {
        m_linkLost = std::move(linkLost);
        m_answering = std::move(answering);
    }
    // Told true when a refresh is armed and false when it has ended (read the device, or found
    // no link): the window holds quarin-z17ctl's commands in between.
    void SetRefreshWatch(std::function<void(bool refreshing)> watch) {
        m_refreshWatch = std::move(watch);
    }
    // Timer 1001 in 500 ms: reads the device once the link is up.
    void StartRefresh();
    int GetLinkFailures() const { return m_linkFailures; }

    void DoTimer(int id) override;
    void RefreshText() override;

private:
    ui::COptionUI* SelectOption() const;
    ui::COptionUI* SynchroOption() const;
    ui::CControlUI* Child(const QString& name) const;
    void Arm(int id, int ms);
    void TellMainWindow(bool linked);
    bool WindowAttended() const;
    bool WorksThroughReceiver() const;
    // The receiver badge, the power item's picture and the page's body follow the device's
    // connection: on its cable or through its receiver.
    void ShowConnection();
    bool ReadsPower() const;

    void OnLightFrame();
    bool StreamsOnItsOwn() const;
    // For the device, any thread: asks the UI thread for one repaint or frame.
    std::function<void()> FrameListener();
    // UI thread: the keyboard's preview repainted; another device's frame sent now.
    void OnFramePosted();
    void OnRefresh();
    void OnPower();
    void OnLinkWatch();

    devices::CKelvaneUSBDevice* m_device = nullptr;
    ui::CControlUI* m_keyArea = nullptr;
    ui::CControlUI* m_page = nullptr;
    ui::CWindowWnd* m_mainWnd = nullptr;
    std::function<bool()> m_attended;
    std::function<void()> m_linkLost;
    std::function<bool()> m_answering;
    std::function<void(bool)> m_refreshWatch;
    int m_kind = 0;
    int m_subKind = 0;
    DeviceItemLook m_look;
    std::uint8_t m_visibleFlag = 1;
    QString m_bindTab;
    int m_bindIndex = 0;
    QString m_powerTab;
    int m_powerPage = -1;
    int m_linkFailures = 0;
    bool m_framesStarted = false;
    bool m_watched = false;
    int m_lightFrameMs = 0;
    std::shared_ptr<std::atomic<bool>> m_framePosted = std::make_shared<std::atomic<bool>>(false);
};

} // namespace shell
