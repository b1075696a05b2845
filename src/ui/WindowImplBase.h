#pragma once
// WindowImplBase: a window whose content is built from a skin file. It owns the paint manager
// of its controls, receives their notifications (Notify, then its message map) and hands every
// window message to HandleCustomMessage first.

#include "ui/ControlUI.h"
#include "ui/DialogBuilder.h"
#include "ui/NotifyPump.h"
#include "ui/PaintManagerUI.h"
#include "ui/WindowWnd.h"

namespace ui {

class WindowImplBase : public CWindowWnd,
                       public CNotifyPump,
                       public INotifyUI,
                       public IDialogBuilderCallback {
public:
    WindowImplBase();
    ~WindowImplBase() override;

    CPaintManagerUI& GetPaintManager() { return m_pm; }
    // Why the skin could not be built, after Create failed.
    QString GetSkinError() const { return m_skinError; }

    // A control of this window by name, cast to the wanted class; nullptr when the skin has none.
    template <class T = CControlUI> T* Find(const QString& name) const {
        return dynamic_cast<T*>(m_pm.FindControl(name));
    }

    void Notify(TNotifyUI& msg) override;
    CControlUI* CreateControl(const QString&) override { return nullptr; }

protected:
    virtual QString GetSkinFile() = 0;
    // After the skin is built, before the window shows.
    virtual void InitWindow() {}
    // "click" from the message map: "closebtn" closes, "minbtn"/"maxbtn"/"restorebtn" send the
    // system commands.
    virtual void OnClick(TNotifyUI& msg);
    // Sees every message first; set handled to stop the default handling.
    virtual LRESULT HandleCustomMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);

    bool OnCreate() override;
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnSize() override;
    int CaptionHeight() const override { return m_pm.Scale(m_captionHeight); }

    CPaintManagerUI m_pm;

private:
    QString m_skinError;
    int m_captionHeight = 0;
};

} // namespace ui
