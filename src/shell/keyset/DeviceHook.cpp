#include "shell/keyset/DeviceHook.h"

#include "shell/keyset/HookMessages.h"
#include "ui/WindowWnd.h"

#include <QWidget>
#include <QWindow>

namespace shell::keyset {

namespace {

QWindow* NativeWindowOf(ui::CWindowWnd* window) {
    QWidget* widget = window ? window->GetHWND() : nullptr;
    return widget ? widget->window()->windowHandle() : nullptr;
}

} // namespace

CDeviceHook::~CDeviceHook() {
    RemoveCaptureHook();
}

bool CDeviceHook::SetCaptureHook(int mode, unsigned flag, ui::CWindowWnd* window,
                                 bool useKeyCapture, bool useMouseCapture) {
    RemoveCaptureHook();
    if (useKeyCapture) {
        const bool started =
            m_capture.Start(NativeWindowOf(window),
                            [this](unsigned message, const platform::KeyboardHookRecord& record) {
                                Deliver(message, record);
                            });
        if (!started)
            return false;
    }
    if (useMouseCapture && MouseMessageOfFlag(flag) != 0) {
        const bool started =
            m_mouseCapture.Start(NativeWindowOf(window),
                                 [this](unsigned message, const platform::MouseHookRecord& record) {
                                     DeliverMouse(message, record);
                                 });
        if (!started) {
            m_capture.Stop();
            return false;
        }
    }
    m_window = window;
    m_mode = mode;
    m_flag = flag;
    return true;
}

void CDeviceHook::RemoveCaptureHook() {
    m_capture.Stop();
    m_mouseCapture.Stop();
}

void CDeviceHook::Deliver(unsigned message, const platform::KeyboardHookRecord& record) {
    const ui::UINT target = KeyboardMessageOfFlag(m_flag);
    if (m_window && target != 0)
        m_window->SendMessage(target, message, reinterpret_cast<ui::LPARAM>(&record));
}

void CDeviceHook::DeliverMouse(unsigned message, const platform::MouseHookRecord& record) {
    const ui::UINT target = MouseMessageOfFlag(m_flag);
    if (m_window && target != 0)
        m_window->SendMessage(target, message, reinterpret_cast<ui::LPARAM>(&record));
}

} // namespace shell::keyset
