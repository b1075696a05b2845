#pragma once
// CMsgWnd: the modal notice (OK) or question (OK and Cancel) of the program, built from
// "XML_MSG". "closebtn", "cancel_btn" and Escape end it with 0, "confirm_btn" and Enter with 1. It
// deletes itself once its window has ended, so it is always made with new (ShowMessage does).

#include "ui/WindowImplBase.h"

namespace shell {

class CMsgWnd : public ui::WindowImplBase {
public:
    QString GetWindowClassName() const override { return QStringLiteral("MsgWnd"); }

    // Stores the DPI (48, 72, 96, 120, 144, 168 or 192; anything else is reported and taken as
    // 96) and applies it to the window's controls. Nothing happens when it is the stored one.
    void SetDPI(int dpi);
    int GetDPI() const { return m_dpi; }

protected:
    QString GetSkinFile() override { return QStringLiteral("XML_MSG"); }
    void InitWindow() override;
    void OnClick(ui::TNotifyUI& msg) override;
    void OnFinalMessage() override;
    ui::LRESULT HandleCustomMessage(ui::UINT msg, ui::WPARAM wParam, ui::LPARAM lParam,
                                    bool& handled) override;

private:
    ~CMsgWnd() override = default;
    friend int ShowMessage(ui::CWindowWnd*, const QString&, const QString&, int, bool, int);

    int m_dpi = 96;
    ui::CControlUI* m_closeBtn = nullptr;
};

// Shows a message modally and returns how it ended: 1 for "confirm_btn", 0 otherwise.
//  owner: the window it stands over, or nullptr;
//  title, text: an empty one leaves the skin's text; textIsId makes the text a text id that is
//   shown in the current language;
//  dpi: the DPI of the caller's window;
//  buttons: 0 shows OK only, 1 shows OK and Cancel.
int ShowMessage(ui::CWindowWnd* owner, const QString& title, const QString& text, int dpi,
                bool textIsId, int buttons);

} // namespace shell
