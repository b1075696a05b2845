#pragma once
// CAboutWnd: the modal about window ("AboutWnd.xml") with the software version. It is a local
// object of OpenAboutWindow; its window does not delete it.

#include "ui/WindowImplBase.h"

#include <functional>

namespace shell {

class CMainWnd;

class CAboutWnd : public ui::WindowImplBase {
public:
    QString GetWindowClassName() const override { return QStringLiteral("AboutWnd"); }

    // "software_ver_label" becomes the current language's text of "software_rev_text" (read
    // back through the hidden label "text_test") followed by the version.
    void ShowVersion(const QString& version);

protected:
    QString GetSkinFile() override { return QStringLiteral("AboutWnd.xml"); }
    void InitWindow() override;
    void OnClick(ui::TNotifyUI& msg) override;
    ui::LRESULT HandleCustomMessage(ui::UINT msg, ui::WPARAM wParam, ui::LPARAM lParam,
                                    bool& handled) override;

private:
    // The window system's close command closes this window; any other system command may
    // change the maximised state, which the caption buttons follow.
    ui::LRESULT OnSysCommand(ui::WPARAM command, bool& handled);
    void ShowMaximisedState(bool maximised);

    ui::CControlUI* m_closeBtn = nullptr;
    ui::CControlUI* m_maxBtn = nullptr;
    ui::CControlUI* m_restoreBtn = nullptr;
    ui::CControlUI* m_minBtn = nullptr;
    ui::CControlUI* m_menuBtn = nullptr;
};

// The version of the application: the version string of the last update model row.
QString ApplicationVersion();

// Runs the about window modally over owner. `opened` is called with the window once it exists
// and with nullptr when it has ended. Returns false without doing anything while an about
// window is open already.
bool RunAboutWindow(ui::CWindowWnd* owner, const std::function<void(ui::CWindowWnd*)>& opened);
// The main window's "about_menu": the same, with the window kept as the main window's about
// window while it is open.
bool OpenAboutWindow(CMainWnd& main);

} // namespace shell
