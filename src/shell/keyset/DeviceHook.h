#pragma once
// CDeviceHook: the program's one input capture. While it runs, every key press and release
// goes, in input order and at once, to the target window as the keyboard message of the active
// capture flag (HookMessages.h), wParam the key message (0x100 down, 0x101 up, 0x104/0x105 with
// Alt) and lParam the address of a platform::KeyboardHookRecord valid during the call. No
// other window or control sees the keys meanwhile, except the three lock keys.

#include "platform/KeyCapture.h"
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
    // for `flag`; false when that cannot start (no window, or a window not shown yet). The
    // mouse capture of the macro recorder (useMouseCapture) is not provided by this class; the
    // request is kept only. Window, mode and flag are stored when it succeeds.
    bool SetCaptureHook(int mode, unsigned flag, ui::CWindowWnd* window, bool useKeyCapture,
                        bool useMouseCapture);
    // Stops the key capture when one runs.
    void RemoveCaptureHook();

    bool IsCapturingKeys() const { return m_capture.IsRunning(); }
    unsigned GetFlag() const { return m_flag; }
    int GetMode() const { return m_mode; }
    ui::CWindowWnd* GetWindow() const { return m_window; }

private:
    void Deliver(unsigned message, const platform::KeyboardHookRecord& record);

    platform::KeyCapture m_capture;
    ui::CWindowWnd* m_window = nullptr;
    int m_mode = 0;
    unsigned m_flag = 0;
};

} // namespace shell::keyset
