#pragma once
// CSkinFrame: the drop-down under the main window's "skinbtn" where the user picks the main
// window's background: a colour swatch, an image swatch, the default image or any image file.
// Every choice goes at once to the skin-change notifier; image choices of the list and the
// default image are also stored in "main.ini". The frame stays open until it loses the focus
// and then deletes itself.

#include "ui/PaintManagerUI.h"
#include "ui/WindowWnd.h"

#include <functional>

namespace ui {
class CControlUI;
}

namespace shell {

class CSkinFrame : public ui::CWindowWnd, public ui::INotifyUI {
public:
    // Asks the user for an image file; an empty result means the choice was cancelled.
    using FileChooser = std::function<QString()>;

    // Makes a frame and its window under `anchor` (a control of mainWnd). Returns nullptr
    // when the skin cannot be built. The frame owns itself: nobody keeps or deletes it.
    static CSkinFrame* Open(ui::CWindowWnd* mainWnd, ui::CControlUI* anchor);

    // The chooser behind "skin_Custom"; the default is an open-file dialog for images.
    // Returns the previous chooser.
    static FileChooser SetFileChooser(FileChooser chooser);
    static QString ChooseImageFile();

    QString GetWindowClassName() const override { return QStringLiteral("UISkinFrame"); }
    ui::CPaintManagerUI& GetPaintManager() { return m_pm; }
    void Notify(ui::TNotifyUI& msg) override;

    // Losing the keyboard focus closes the frame.
    static constexpr ui::UINT kWmKillFocus = 0x0008;

protected:
    bool OnCreate() override;
    ui::LRESULT HandleMessage(ui::UINT msg, ui::WPARAM wParam, ui::LPARAM lParam) override;
    void OnFinalMessage() override { delete this; }

private:
    CSkinFrame(ui::CWindowWnd* mainWnd, ui::CControlUI* anchor);
    ~CSkinFrame() override;
    void PlaceUnderAnchor(int width);
    void ShowPage(int page);
    void ChooseCustomImage();

    ui::CPaintManagerUI m_pm;
    ui::CWindowWnd* m_mainWnd;
    ui::CControlUI* m_anchor;
    bool m_choosingFile = false;
};

} // namespace shell
