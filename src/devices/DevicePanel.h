#pragma once
// What a device object needs of its page in the window, without knowing the toolkit: the
// on-screen key and light buttons, and the tab layouts of its panel. The window side
// implements these; tests use fakes.

#include "devices/LightEngine.h"

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

class IDevicePanel {
public:
    virtual ~IDevicePanel() = default;
    // Shows page `index` of the panel's tab layout named `layout`; nothing when there is none.
    virtual void SelectPage(const std::string& layout, int index) = 0;
};

} // namespace devices
