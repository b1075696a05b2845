#include "shell/windows/AboutWnd.h"

#include "devices/ModelTables.h"
#include "shell/MainWnd.h"
#include "shell/Messages.h"
#include "shell/TextById.h"
#include "ui/ControlNames.h"

#include <QWidget>

namespace shell {

using ui::NameIs;

namespace {

bool g_aboutOpen = false;

} // namespace

void CAboutWnd::InitWindow() {
    m_closeBtn = Find(QStringLiteral("closebtn"));
    m_maxBtn = Find(QStringLiteral("maxbtn"));
    m_restoreBtn = Find(QStringLiteral("restorebtn"));
    m_minBtn = Find(QStringLiteral("minbtn"));
    m_menuBtn = Find(QStringLiteral("menubtn"));
}

void CAboutWnd::ShowVersion(const QString& version) {
    const QString prefix = TextThroughLabel(m_pm, kTextLabel, QStringLiteral("software_rev_text"));
    if (ui::CControlUI* label = Find(QStringLiteral("software_ver_label")))
        label->SetText(prefix + version);
}

void CAboutWnd::OnClick(ui::TNotifyUI& msg) {
    if (NameIs(msg.pSender, "closebtn"))
        Close(0);
    else if (NameIs(msg.pSender, "minbtn"))
        SendMessage(ui::WM_SYSCOMMAND, ui::SC_MINIMIZE, 0);
    else if (NameIs(msg.pSender, "maxbtn"))
        SendMessage(ui::WM_SYSCOMMAND, ui::SC_MAXIMIZE, 0);
    else if (NameIs(msg.pSender, "restorebtn"))
        SendMessage(ui::WM_SYSCOMMAND, ui::SC_RESTORE, 0);
    // "menubtn" and "homepage_btn" do nothing.
}

ui::LRESULT CAboutWnd::HandleCustomMessage(ui::UINT msg, ui::WPARAM wParam, ui::LPARAM,
                                           bool& handled) {
    handled = false;
    if (msg == ui::WM_SYSCOMMAND)
        return OnSysCommand(wParam, handled);
    if (msg == UM_SET_LANGUAGE) {
        if (QWidget* host = GetHWND())
            host->update();
        if (ui::CControlUI* root = m_pm.GetRoot())
            root->Invalidate();
        m_pm.NeedUpdate();
    }
    return 0;
}

ui::LRESULT CAboutWnd::OnSysCommand(ui::WPARAM command, bool& handled) {
    if (command == ui::SC_CLOSE) {
        // Alt+F4 or the window manager's close button: only this window ends.
        Close(0);
        handled = true;
        return 0;
    }
    QWidget* host = GetHWND();
    const bool wasMaximised = host && host->isMaximized();
    const ui::LRESULT result = ui::CWindowWnd::HandleMessage(ui::WM_SYSCOMMAND, command, 0);
    handled = true;
    host = GetHWND();
    if (host && host->isMaximized() != wasMaximised)
        ShowMaximisedState(host->isMaximized());
    return result;
}

void CAboutWnd::ShowMaximisedState(bool maximised) {
    if (m_maxBtn)
        m_maxBtn->SetVisible(!maximised);
    if (m_restoreBtn)
        m_restoreBtn->SetVisible(maximised);
}

QString ApplicationVersion() {
    const auto& rows = devices::UpdateModelRows();
    return QString::fromStdString(rows.back().versionString);
}

bool RunAboutWindow(ui::CWindowWnd* owner, const std::function<void(ui::CWindowWnd*)>& opened) {
    if (g_aboutOpen)
        return false;
    g_aboutOpen = true;
    CAboutWnd wnd;
    if (wnd.Create(owner, QStringLiteral("  "), ui::WS_POPUP | ui::WS_VISIBLE, ui::WS_EX_TOOLWINDOW,
                   0, 0, 800, 572)) {
        wnd.ShowVersion(ApplicationVersion());
        if (opened)
            opened(&wnd);
        wnd.CenterWindow();
        wnd.ShowModal();
        if (opened)
            opened(nullptr);
    }
    g_aboutOpen = false;
    return true;
}

bool OpenAboutWindow(CMainWnd& main) {
    return RunAboutWindow(&main, [&main](ui::CWindowWnd* window) {
        main.SetSecondaryWindow(CMainWnd::Secondary::About, window);
    });
}

} // namespace shell
