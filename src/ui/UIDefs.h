#pragma once
// Types and message numbers shared by every window and control of the toolkit layer.
// Message numbers keep the values of the platform they were designed on so that the
// code above this layer keeps its names and semantics.

#include <QPoint>
#include <QString>
#include <cstdint>

namespace ui {

using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using UINT = unsigned int;

class CControlUI;

// Window messages understood by CWindowWnd and WindowImplBase.
enum : UINT {
    WM_DESTROY = 0x0002,
    WM_ACTIVATE = 0x0006,
    WM_CLOSE = 0x0010,
    WM_COPYDATA = 0x004A,
    WM_DISPLAYCHANGE = 0x007E,
    WM_KEYDOWN = 0x0100,
    WM_SYSKEYDOWN = 0x0104,
    WM_SYSCOMMAND = 0x0112,
    WM_TIMER = 0x0113,
    WM_MOUSEMOVE = 0x0200,
    WM_LBUTTONDOWN = 0x0201,
    WM_LBUTTONUP = 0x0202,
    WM_LBUTTONDBLCLK = 0x0203,
    WM_RBUTTONDOWN = 0x0204,
    WM_RBUTTONUP = 0x0205,
    WM_POWERBROADCAST = 0x0218,
    WM_MOUSEHOVER = 0x02A1,
    WM_MOUSELEAVE = 0x02A3,
    WM_DPICHANGED = 0x02E0,
    WM_USER = 0x0400,
    // The tray icon reports its mouse events with this message, the mouse message in lParam.
    WM_TRAYICON = 0x0401,
    // A menu item click: wParam points at a MenuCmd valid for the duration of the call.
    WM_MENUCLICK = 0x0479,
};

// Virtual key codes of WM_KEYDOWN.
enum : WPARAM {
    VK_RETURN = 0x0D,
    VK_ESCAPE = 0x1B,
};

enum : WPARAM {
    SC_MINIMIZE = 0xF020,
    SC_MAXIMIZE = 0xF030,
    SC_CLOSE = 0xF060,
    SC_RESTORE = 0xF120,
};

// A notification from a control to its window.
struct TNotifyUI {
    QString sType;
    QString sVirtualWnd;
    CControlUI* pSender = nullptr;
    std::uint32_t dwTimestamp = 0;
    QPoint ptMouse;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

class INotifyUI {
public:
    virtual ~INotifyUI() = default;
    virtual void Notify(TNotifyUI& msg) = 0;
};

// Called by the skin builder for every tag the toolkit does not know; returns a new control
// or nullptr.
class IDialogBuilderCallback {
public:
    virtual ~IDialogBuilderCallback() = default;
    virtual CControlUI* CreateControl(const QString& className) = 0;
};

// Answers a text for a control when the control asks for one; the default answers nothing.
class IQueryControlText {
public:
    virtual ~IQueryControlText() = default;
    virtual QString QueryControlText(const QString& id, const QString& type) = 0;
};

// Notification type names.
namespace notify {
inline const QString windowinit = QStringLiteral("windowinit");
inline const QString windowsize = QStringLiteral("windowsize");
inline const QString timer = QStringLiteral("timer");
inline const QString click = QStringLiteral("click");
inline const QString selectchanged = QStringLiteral("selectchanged");
inline const QString itemselect = QStringLiteral("itemselect");
inline const QString itemclick = QStringLiteral("itemclick");
inline const QString itemactivate = QStringLiteral("itemactivate");
inline const QString valuechanged = QStringLiteral("valuechanged");
inline const QString movevaluechanged = QStringLiteral("movevaluechanged");
inline const QString textchanged = QStringLiteral("textchanged");
inline const QString setfocus = QStringLiteral("setfocus");
inline const QString killfocus = QStringLiteral("killfocus");
inline const QString returnKey = QStringLiteral("return");
inline const QString menu = QStringLiteral("menu");
inline const QString dbclick = QStringLiteral("dbclick");
inline const QString colorchanged = QStringLiteral("colorchanged");
inline const QString msenter = QStringLiteral("msenter");
inline const QString msleave = QStringLiteral("msleave");
inline const QString checkclick = QStringLiteral("checkclick");
} // namespace notify

} // namespace ui
