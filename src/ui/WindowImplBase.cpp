#include "ui/WindowImplBase.h"

#include "ui/ControlUI.h"

#include <QLayout>
#include <QTimer>
#include <QWidget>

namespace ui {

WindowImplBase::WindowImplBase() {
    MapNotify(notify::click, [this](TNotifyUI& msg) { OnClick(msg); });
}

WindowImplBase::~WindowImplBase() {
    // The controls go before their manager.
    if (CControlUI* root = m_pm.GetRoot())
        delete root->GetWidget();
}

bool WindowImplBase::OnCreate() {
    QWidget* host = GetHWND();
    CDialogBuilder builder;
    CControlUI* root = builder.Create(GetSkinFile(), this, &m_pm);
    if (!root) {
        m_skinError = builder.GetLastError();
        qWarning("%s: the skin cannot be built: %s", qPrintable(GetWindowClassName()),
                 qPrintable(m_skinError));
        return false;
    }
    const WindowSkinInfo& info = builder.GetWindowInfo();
    m_captionHeight = info.captionHeight;
    if (info.minSize.isValid())
        host->setMinimumSize(m_pm.Scale(info.minSize.width()), m_pm.Scale(info.minSize.height()));
    if (!host->testAttribute(Qt::WA_Resized) && info.size.isValid())
        host->resize(m_pm.Scale(info.size.width()), m_pm.Scale(info.size.height()));
    host->layout()->addWidget(root->GetWidget());
    m_pm.AttachRoot(root, host);
    m_pm.AddNotifier(this);
    InitWindow();
    // "windowinit" comes once the message loop runs the window.
    QTimer::singleShot(0, host, [this] {
        if (CControlUI* r = m_pm.GetRoot())
            m_pm.SendNotify(r, notify::windowinit);
    });
    return true;
}

void WindowImplBase::OnSize() {
    if (CControlUI* root = m_pm.GetRoot())
        m_pm.SendNotify(root, notify::windowsize);
}

void WindowImplBase::Notify(TNotifyUI& msg) {
    NotifyPump(msg);
}

void WindowImplBase::OnClick(TNotifyUI& msg) {
    const QString name = msg.pSender ? msg.pSender->GetName() : QString();
    if (name == QLatin1String("closebtn"))
        Close(0);
    else if (name == QLatin1String("minbtn"))
        SendMessage(WM_SYSCOMMAND, SC_MINIMIZE, 0);
    else if (name == QLatin1String("maxbtn"))
        SendMessage(WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    else if (name == QLatin1String("restorebtn"))
        SendMessage(WM_SYSCOMMAND, SC_RESTORE, 0);
}

LRESULT WindowImplBase::HandleCustomMessage(UINT, WPARAM, LPARAM, bool& handled) {
    handled = false;
    return 0;
}

LRESULT WindowImplBase::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    bool handled = false;
    const LRESULT result = HandleCustomMessage(msg, wParam, lParam, handled);
    if (handled)
        return result;
    return CWindowWnd::HandleMessage(msg, wParam, lParam);
}

} // namespace ui
