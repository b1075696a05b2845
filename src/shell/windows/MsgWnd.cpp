#include "shell/windows/MsgWnd.h"

#include "platform/DebugLog.h"
#include "ui/ControlNames.h"

#include <QRect>
#include <QWidget>

namespace shell {

using ui::NameIs;

namespace {

bool IsKnownDpi(int dpi) {
    for (int known : {48, 72, 96, 120, 144, 168, 192}) {
        if (dpi == known)
            return true;
    }
    return false;
}

} // namespace

void CMsgWnd::InitWindow() {
    m_closeBtn = Find(QStringLiteral("closebtn"));
}

void CMsgWnd::OnClick(ui::TNotifyUI& msg) {
    if (NameIs(msg.pSender, "closebtn") || NameIs(msg.pSender, "cancel_btn"))
        Close(0);
    else if (NameIs(msg.pSender, "confirm_btn"))
        Close(1);
}

void CMsgWnd::OnFinalMessage() {
    WindowImplBase::OnFinalMessage();
    delete this;
}

void CMsgWnd::SetDPI(int dpi) {
    if (dpi == m_dpi)
        return;
    if (IsKnownDpi(dpi)) {
        m_dpi = dpi;
    } else {
        platform::DebugLine("MSG_WND DPI SET ERROR");
        m_dpi = 96;
    }
    m_pm.SetDPI(m_dpi);
}

ui::LRESULT CMsgWnd::HandleCustomMessage(ui::UINT msg, ui::WPARAM wParam, ui::LPARAM lParam,
                                         bool& handled) {
    handled = false;
    if (msg == ui::WM_KEYDOWN && (wParam == ui::VK_ESCAPE || wParam == ui::VK_RETURN)) {
        // Escape answers as Cancel (or the close button), Enter as OK.
        Close(wParam == ui::VK_RETURN ? 1 : 0);
        handled = true;
        return 0;
    }
    if (msg == ui::WM_DPICHANGED) {
        // wParam: the new DPI in its low word; lParam: the suggested window rectangle, if any.
        m_pm.SetDPI(static_cast<int>(wParam & 0xFFFF));
        m_pm.ResetDPIAssets();
        if (const auto* rect = reinterpret_cast<const QRect*>(lParam); rect && GetHWND())
            GetHWND()->setGeometry(*rect);
        if (ui::CControlUI* root = m_pm.GetRoot())
            root->Invalidate();
    }
    return 0;
}

int ShowMessage(ui::CWindowWnd* owner, const QString& title, const QString& text, int dpi,
                bool textIsId, int buttons) {
    auto* wnd = new CMsgWnd;
    if (!wnd->Create(owner, QStringLiteral("msgwnd"), ui::WS_POPUP | ui::WS_CLIPCHILDREN,
                     ui::WS_EX_TOOLWINDOW)) {
        delete wnd;
        return 0;
    }
    if (!title.isEmpty()) {
        if (ui::CControlUI* label = wnd->Find(QStringLiteral("MessageTitle")))
            label->SetText(title);
    }
    if (!text.isEmpty()) {
        if (ui::CControlUI* label = wnd->Find(QStringLiteral("MessageText"))) {
            label->SetResourceText(textIsId);
            label->SetText(text);
        }
    }
    wnd->SetDPI(dpi);
    if (ui::CControlUI* confirm = wnd->Find(QStringLiteral("confirm_btn")))
        confirm->SetVisible(true);
    if (ui::CControlUI* cancel = wnd->Find(QStringLiteral("cancel_btn")))
        cancel->SetVisible(buttons == 1);
    wnd->CenterWindow();
    // The window deletes itself once it has ended; it is not touched after the loop.
    return wnd->ShowModal();
}

} // namespace shell
