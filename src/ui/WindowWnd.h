#pragma once
// CWindowWnd: a top-level window driven by numbered messages. SendMessage runs the handler at
// once on the UI thread (from a worker it blocks until the UI thread has run it); PostMessage
// queues it. Close(code) ends the window; ShowModal returns that code.

#include "ui/UIDefs.h"

#include <QIcon>
#include <QString>
#include <climits>
#include <functional>
#include <map>
#include <memory>

class QEventLoop;
class QObject;
class QTimer;
class QWidget;

namespace ui {

// Window styles understood by Create; the rest are accepted and ignored.
enum : std::uint32_t {
    WS_POPUP = 0x80000000u,
    WS_VISIBLE = 0x10000000u,
    WS_CLIPSIBLINGS = 0x04000000u,
    WS_CLIPCHILDREN = 0x02000000u,
    WS_CAPTION = 0x00C00000u,
    WS_SYSMENU = 0x00080000u,
    WS_MINIMIZEBOX = 0x00020000u,
    WS_EX_TOOLWINDOW = 0x00000080u,
};
constexpr int CW_USEDEFAULT = INT_MIN;

class WindowHost;

class CWindowWnd {
public:
    CWindowWnd();
    virtual ~CWindowWnd();
    CWindowWnd(const CWindowWnd&) = delete;
    CWindowWnd& operator=(const CWindowWnd&) = delete;

    // The window's widget, or nullptr before Create and after the window has ended.
    QWidget* GetHWND() const;
    virtual QString GetWindowClassName() const = 0;

    // Makes the window; returns its widget, or nullptr when the window could not be made.
    // CW_USEDEFAULT (or 0) for the size takes the size the window gives itself (its skin).
    QWidget* Create(CWindowWnd* parent, const QString& name, std::uint32_t style,
                    std::uint32_t exStyle, int x = CW_USEDEFAULT, int y = CW_USEDEFAULT,
                    int cx = CW_USEDEFAULT, int cy = CW_USEDEFAULT);
    void ShowWindow(bool show = true, bool takeFocus = true);
    // Runs the window modally until Close; returns the code given to Close.
    int ShowModal();
    // Ends the window with a result code (posted, as WM_CLOSE with the code in wParam).
    void Close(int code = 1);
    void CenterWindow();
    void SetIcon(const QIcon& icon);
    bool IsWindowVisible() const;
    bool IsMinimized() const;

    LRESULT SendMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
    // From a worker: like SendMessage, but stops waiting (false) as soon as giveUp() holds,
    // so a worker that is being stopped by the UI thread never waits for it.
    bool SendMessageUnless(UINT msg, WPARAM wParam, LPARAM lParam,
                           const std::function<bool()>& giveUp);
    void PostMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);

    // Window timers: WM_TIMER with the id in wParam, every elapse until killed.
    bool SetTimer(int id, int elapseMs);
    bool KillTimer(int id);

protected:
    // Called while Create makes the window, before it is shown; false fails Create.
    virtual bool OnCreate() { return true; }
    virtual LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    // Called once the window has ended; a window that owns itself may delete itself here.
    virtual void OnFinalMessage() {}
    // Ends the window now: WM_DESTROY, then the widget goes, then OnFinalMessage.
    void DestroyWindow(int code);
    // Resize and mouse events of the widget.
    virtual void OnSize() {}
    virtual int CaptionHeight() const { return 0; }

private:
    LRESULT HandleQueuedMessage(UINT msg, WPARAM wParam, LPARAM lParam);

    friend class WindowHost;
    WindowHost* m_host = nullptr;
    std::unique_ptr<QObject> m_dispatcher; // lives on the UI thread; carries messages to it
    QEventLoop* m_modalLoop = nullptr;
    std::map<int, QTimer*> m_timers;
    bool m_destroying = false;
};

} // namespace ui
