#pragma once
// An on-screen key or light button without a window: it keeps the colour it is given.

#include "devices/DevicePanel.h"

namespace devicetest {

class FakeKeyButton : public devices::IKeyButton {
public:
    bool IsVisible() const override { return visible; }
    bool GetColour(devices::LedColour& colour) const override {
        if (!hasColour)
            return false;
        colour = this->colour;
        return true;
    }
    void SetColour(const devices::LedColour& c) override {
        colour = c;
        hasColour = true;
    }
    devices::LedColour colour{0, 0, 0, 0};
    bool hasColour = false;
    bool visible = true;
};

} // namespace devicetest
