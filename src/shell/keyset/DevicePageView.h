#pragma once
// A keyboard's or a mouse's page as the device object sees it: the key assignment panel shows
// the selected key or button, and the on-screen keys show which have another function (an
// accent colour, and the function's name as their tooltip).

#include "devices/KelvaneUSBDevice.h"

#include <functional>

namespace shell::keyset {

class CKeySetControlUI;

class DevicePageView : public devices::IDevicePageView {
public:
    DevicePageView(devices::CKelvaneUSBDevice& device, CKeySetControlUI* panel)
        : m_device(device), m_panel(panel) {}

    void ShowKeyAssignment(int key, const devices::KeyRecord& record) override;
    void RefreshKeyTexts() override;
    // Runs `refreshPanels` (the lighting and settings panels hook in there).
    void RefreshPanels() override;

    // Runs `showCustomGroup` (the lighting panel selects the group).
    void ShowCustomGroup(int group) override;

    std::function<void()> refreshPanels;
    std::function<void(int)> showCustomGroup;

private:
    void MarkSelectedKey(int key);

    devices::CKelvaneUSBDevice& m_device;
    CKeySetControlUI* m_panel;
    int m_markedKey = -1;
};

} // namespace shell::keyset
