#pragma once
// The keyboard's page as the keyboard object sees it: the key assignment panel shows the
// selected key, and the on-screen keys show which keys have another function (an accent
// colour, and the function's name as their tooltip).

#include "devices/KelvaneKeyboardDevice.h"

#include <functional>

namespace shell::keyset {

class CKeySetControlUI;

class KeyboardPageView : public devices::IKeyboardView {
public:
    KeyboardPageView(devices::CKelvaneKeyboardDevice& keyboard, CKeySetControlUI* panel)
        : m_keyboard(keyboard), m_panel(panel) {}

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

    devices::CKelvaneKeyboardDevice& m_keyboard;
    CKeySetControlUI* m_panel;
    int m_markedKey = -1;
};

} // namespace shell::keyset
