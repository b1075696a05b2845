#pragma once
// The keyboard page in a window whose notifications and messages go through the key
// assignment routes, with a keyboard object on the virtual keyboard (by cable) as the current
// device, and private user and program folders.

#include "devices/KelvaneKeyboardDevice.h"
#include "shell/DevicePanelBinding.h"
#include "shell/keyset/KeySetControlUI.h"
#include "shell/keyset/KeySetRoutes.h"
#include "sim/VirtualDevice.h"
#include "sim/VirtualHidBackend.h"
#include "support/TestEnvironment.h"
#include "ui/WindowImplBase.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace keysettest {

class KeySetWindow : public ui::WindowImplBase {
public:
    QString GetWindowClassName() const override { return QStringLiteral("KeySetTestWnd"); }
    shell::keyset::CKeySetRoutes* routes = nullptr;
    // Routes of other panels of the page, asked after the key assignment's.
    std::function<bool(ui::TNotifyUI&)> moreNotify;
    std::function<bool(ui::UINT, ui::WPARAM, ui::LPARAM)> moreMessages;

protected:
    QString GetSkinFile() override { return QStringLiteral("keyset_window.xml"); }
    ui::CControlUI* CreateControl(const QString& tag) override;
    void Notify(ui::TNotifyUI& msg) override;
    ui::LRESULT HandleCustomMessage(ui::UINT msg, ui::WPARAM wParam, ui::LPARAM lParam,
                                    bool& handled) override;
};

class KeySetTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes "macro.config" with these names; call before Attach.
    void WriteMacroLibrary(const QStringList& names);
    // Builds the window and attaches the page to the keyboard and the routes.
    void Attach();

    template <class T = ui::CControlUI> T* Get(const QString& name) const {
        T* control = dynamic_cast<T*>(window->GetPaintManager().FindControl(name));
        EXPECT_NE(control, nullptr) << name.toStdString();
        return control;
    }
    // A real mouse click on the control.
    void Click(const QString& name);
    // Chooses a combo item as the user does (sends "itemselect").
    void Choose(const QString& combo, int index);
    // Shows the keyboard's key page and clicks on-screen key `key`.
    void SelectKeyOnPage(int key);
    // A key press or release of a Linux key code, as the window system delivers it.
    // autoRepeat: the window system repeats a held key (X11 as release/press pairs).
    void SendKey(int linuxCode, bool press, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                 bool autoRepeat = false);
    devices::KeyCode CodeOfKey(int key) const { return keyboard->GetKeyRecord(key).code; }
    // The three bytes at the device key of on-screen key `key` in the virtual keyboard.
    devices::KeyCode DeviceCodeOfKey(int key) const;

    std::unique_ptr<test::ScopedEnvironment> env;
    sim::VirtualHidBackend backend;
    std::shared_ptr<sim::VirtualDevice> board;
    std::unique_ptr<devices::CKelvaneKeyboardDevice> keyboard;
    std::unique_ptr<KeySetWindow> window;
    std::unique_ptr<shell::SkinDevicePanel> devicePanel;
    std::unique_ptr<shell::keyset::CKeySetRoutes> routes;
    shell::keyset::CKeySetControlUI* panel = nullptr;
};

} // namespace keysettest
