#pragma once
// DeviceSelector: the main window's device list. It builds one item ("DeviceOption") and one
// power item ("MpDevicePower") per device object, and shows, hides and selects them together
// with the device's page in "device_switch", its power page in "device_power_switch" and the
// "No_device_Link" hint.

#include "shell/selector/DeviceOptionUI.h"
#include "shell/selector/MpDevicePowerUI.h"
#include "ui/UIDefs.h"

#include <functional>
#include <vector>

namespace devices {
class CKelvaneUSBDevice;
}
namespace ui {
class CPaintManagerUI;
class CWindowWnd;
} // namespace ui

namespace shell {

// What the main window does for the list; each may be left empty.
struct DeviceSelectorHooks {
    // Closes the secondary windows that are open.
    std::function<void()> closeSecondaryWindows;
    // Whether the key assignment panel is showing.
    std::function<bool()> keyAssignmentOpen;
    // Stops key capture (UM_HOOK_SWITCH 0) and re-enables the list.
    std::function<void()> stopKeyAssignment;
    // Ends a macro recording (saving it): the current page goes, and with it the capture,
    // whether or not the key assignment panel was open.
    std::function<void()> stopMacroRecording;
    // Tells the lighting pages whether more than one device is shown.
    std::function<void(bool)> setSeveralDevices;
    // A device leaves synchronised lighting because too few take part.
    std::function<void(devices::CKelvaneUSBDevice&)> leaveSynchronisation;
};

class DeviceSelector {
public:
    static constexpr const char* kItemXml = "XML/CustomControlXML/DeviceOption.xml";
    static constexpr const char* kPowerXml = "XML/CustomControlXML/MpDevicePower.xml";
    static constexpr const char* kItemList = "device_select_layout";
    static constexpr const char* kPowerSwitch = "device_power_switch";
    static constexpr const char* kDeviceSwitch = "device_switch";
    static constexpr const char* kNoDevice = "No_device_Link";
    static constexpr const char* kItemGroup = "device_select";

    DeviceSelector(ui::CPaintManagerUI& pm, ui::CWindowWnd* mainWnd,
                   DeviceSelectorHooks hooks = {});

    struct NewItem {
        CDeviceOptionUI* item = nullptr;
        CMpDevicePowerUI* power = nullptr;
        int index = -1;
    };
    // Builds the power item and the item for a device whose page is `devicePage` (added to
    // "device_switch" when it is not there yet); `keyArea` is the page's on-screen key area.
    // The new item starts hidden and is shown by ShowAttached. Nothing is added when a file
    // cannot be built or a list is missing.
    NewItem AddItem(devices::CKelvaneUSBDevice* device, ui::CControlUI* devicePage,
                    ui::CControlUI* keyArea, int subKind = 0,
                    ui::IDialogBuilderCallback* callback = nullptr);

    int Count() const;
    CDeviceOptionUI* ItemAt(int index) const;
    // The item of a device, or -1.
    int IndexOf(const devices::CKelvaneUSBDevice* device) const;
    // The item whose "device_select" is selected, or -1.
    int CurrentIndex() const;
    int VisibleCount() const;

    // A device's command channel has been opened: show its item, current only when no item
    // was shown, and start the item's refresh.
    void ShowAttached(int index);
    void SetItem(int index, bool visible, bool makeCurrent);
    // A device's link is lost or it is unplugged.
    void HideItem(int index);
    void SelectPrevious();
    void SelectNext();
    // UM_RECEIVER_STATE: wParam the device's model row, lParam 1 linked, 0 lost.
    void OnReceiverState(ui::WPARAM wParam, ui::LPARAM lParam);
    // "selectchanged" from "device_select" or "synchro_device_select".
    void OnSelectionChanged();

    // Tells every device whether its page is the current one (and shown), after the current
    // item changed or the window was shown or hidden.
    void TellPreviewShown() const;

    // Recorded by OnSelectionChanged.
    int GetSelectedIndex() const { return m_selectedIndex; }
    int GetSelectedKind() const { return m_selectedKind; }
    int GetSelectedSubKind() const { return m_selectedSubKind; }

private:
    std::vector<CDeviceOptionUI*> Items() const;
    ui::CControlUI* Find(const char* name) const;
    void SelectTabPage(const QString& name, int page) const;
    void ShowPowerPage(const CDeviceOptionUI& item) const;
    void DropLoneSynchronisation(const std::vector<CDeviceOptionUI*>& items) const;
    int ItemForReceiverState(ui::WPARAM wParam) const;

    ui::CPaintManagerUI& m_pm;
    ui::CWindowWnd* m_mainWnd;
    DeviceSelectorHooks m_hooks;
    int m_selectedIndex = -1;
    int m_selectedKind = 0;
    int m_selectedSubKind = 0;
};

} // namespace shell
