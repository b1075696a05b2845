#pragma once
// CDeviceHook: the program's one input capture. While it runs, every key press and release
// goes, in input order and at once, to the target window as the keyboard message of the active
// capture flag (HookMessages.h), wParam the key message (0x100 down, 0x101 up, 0x104/0x105 with
// Alt) and lParam the address of a platform::KeyboardHookRecord valid during the call. No
// other window or control sees the keys meanwhile, except the three lock keys.
// For the macro recorder's flags the mouse buttons are captured too: each press and release
// goes to the target window as the mouse message of the flag, wParam the button message
// (0x0201 ... 0x020C) and lParam the address of a platform::MouseHookRecord valid during the
// call. Buttons still reach the program's controls. Keys and buttons come in the order they
// happened, as both are sent from the UI thread's dispatch of the input.

#include "platform/KeyCapture.h"
#include "platform/MouseCapture.h"
#include "ui/UIDefs.h"

namespace ui {
class CWindowWnd;
}

namespace shell::keyset {

class CDeviceHook {
public:
    CDeviceHook() = default;
    virtual ~CDeviceHook();
    CDeviceHook(const CDeviceHook&) = delete;
    CDeviceHook& operator=(const CDeviceHook&) = delete;

    // Stops a capture that still runs, then, when asked, starts key capture through `window`
    // for `flag`, and mouse capture through the same window when useMouseCapture is asked and
    // the flag has a mouse message (MouseMessageOfFlag); false, with nothing capturing, when a
    // capture that was asked cannot start (no window, or a window not shown yet). Window, mode
    // and flag are stored when it succeeds.
    bool SetCaptureHook(int mode, unsigned flag, ui::CWindowWnd* window, bool useKeyCapture,
                        bool useMouseCapture);
    // Stops the key and the mouse capture when they run.
    void RemoveCaptureHook();

    bool IsCapturingKeys() const { return m_capture.IsRunning(); }
    bool IsCapturingMouse() const { return m_mouseCapture.IsRunning(); }
    unsigned GetFlag() const { return m_flag; }
    int GetMode() const { return m_mode; }
    ui::CWindowWnd* GetWindow() const { return m_window; }

private:
    void Deliver(unsigned message, const platform::KeyboardHookRecord& record);
    void DeliverMouse(unsigned message, const platform::MouseHookRecord& record);

    platform::KeyCapture m_capture;
    platform::MouseCapture m_mouseCapture;
    ui::CWindowWnd* m_window = nullptr;
    int m_mode = 0;
    unsigned m_flag = 0;
};

} // namespace shell::keyset
