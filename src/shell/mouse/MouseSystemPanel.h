#pragma once
// CMouseSystemPanel: the mouse page's system settings: pointer speed and precision, wheel
// lines or page scrolling, double-click speed. They are kept in the profile's system words
// only (saved): nothing goes to the mouse and no setting of the desktop changes.

namespace devices {
class CKelvaneMouseDevice;
}
namespace ui {
class CControlUI;
class CPaintManagerUI;
} // namespace ui

namespace shell::mouse {

class CMouseSystemPanel {
public:
    CMouseSystemPanel(ui::CPaintManagerUI& pm, ui::CControlUI* page,
                      devices::CKelvaneMouseDevice& mouse)
        : m_pm(pm), m_page(page), m_mouse(mouse) {}

    void Refresh();
    // True when the control is one of the panel's.
    bool OnValueChanged(ui::CControlUI* sender);
    bool OnSelectChanged(ui::CControlUI* sender);

private:
    ui::CControlUI* Control(const char* name) const;
    void SetSlider(const char* name, int value);
    int Slider(const char* name) const;
    void SetCheck(const char* name, bool on);
    void Store(int value, int setting);

    ui::CPaintManagerUI& m_pm;
    ui::CControlUI* m_page;
    devices::CKelvaneMouseDevice& m_mouse;
};

} // namespace shell::mouse
