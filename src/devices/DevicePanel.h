#pragma once
// What a device object needs of its page in the window, without knowing the toolkit: the
// on-screen key and light buttons, and the tab layouts of its panel. The window side
// implements these; tests use fakes.

#include "devices/KeyCode.h"
#include "devices/LightEngine.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string>

namespace devices {

// One on-screen key or LED button of a device panel.
class IKeyButton {
public:
    virtual ~IKeyButton() = default;
    virtual bool IsVisible() const = 0;
    // The colour the user gave the button; false when it has none.
    virtual bool GetColour(LedColour& colour) const = 0;
    virtual void SetColour(const LedColour& colour) = 0;
};

// A button found in the panel: its control name, its user data and the button itself.
struct PanelButton {
    std::string name;
    std::string userData;
    IKeyButton* button = nullptr;
};

// A device's power item in the window: its picture, as it is connected, and its battery.
class IPowerItem {
public:
    virtual ~IPowerItem() = default;
    // The power status the device reported: battery per cent, charging state (0 full,
    // 1 charging, 2 on battery), phone type on a mouse pad's charger, wireless flag.
    virtual void ShowPowerStatus(std::span<const std::uint8_t> record) = 0;
    // The device reports no power status: no battery shows.
    virtual void ShowNoPowerStatus() = 0;
    // How the device is connected now; a keyboard can move between its cable and its
    // receiver while it is plugged in.
    virtual void ShowConnection(bool /*throughReceiver*/) {}
};

class CKelvaneUSBDevice;

// What a device's notification threads ask of the window. Called on those threads; the
// window does the work on its own thread.
class INotificationTarget {
public:
    virtual ~INotificationTarget() = default;
    // ReadStateFromDevice after `delayMs` (the device item's timer 1002).
    virtual void RequestStateRead(CKelvaneUSBDevice& device, int delayMs) = 0;
    // Runs `fn` on the UI thread.
    virtual void RunOnUiThread(std::function<void()> fn) = 0;
    // The keyboard's power read: byte 4 of its status, the battery level (message 0x0D01).
    virtual void PowerLevel(CKelvaneUSBDevice& /*device*/, int /*level*/) {}
};

// What a keyboard or a mouse asks of its page in the window.
class IDevicePageView {
public:
    virtual ~IDevicePageView() = default;
    // A key or button was selected: show the key assignment panel loaded with its record.
    virtual void ShowKeyAssignment(int key, const KeyRecord& record) = 0;
    // Key functions changed behind the panel's back (a missing macro restored): re-render the
    // key texts.
    virtual void RefreshKeyTexts() = 0;
    // Show the light state and the device's settings again (after a read or a profile load).
    virtual void RefreshPanels() = 0;
    // The custom effect started with the colours of custom group `group`: select it.
    virtual void ShowCustomGroup(int /*group*/) {}
};

class IDevicePanel {
public:
    virtual ~IDevicePanel() = default;
    // Shows page `index` of the panel's tab layout named `layout`; nothing when there is none.
    virtual void SelectPage(const std::string& layout, int index) = 0;
};

} // namespace devices
