#pragma once
// MusicWnd: the modal music window ("music.xml", 369 × 276) where the four colour styles of
// music lighting are named and coloured. It edits a copy of the style record; "okbtn" ends it
// with 1 (the caller keeps the copy), the close button with 0.

#include "config/AudioStyleFile.h"
#include "ui/WindowImplBase.h"

#include <functional>

namespace shell::music {

class CMusicWnd : public ui::WindowImplBase {
public:
    static constexpr int kWidth = 369;
    static constexpr int kHeight = 276;

    explicit CMusicWnd(config::AudioStyleSet styles) : m_styles(std::move(styles)) {}
    QString GetWindowClassName() const override { return QStringLiteral("MusicWnd"); }
    void Notify(ui::TNotifyUI& msg) override;
    const config::AudioStyleSet& Styles() const { return m_styles; }

protected:
    QString GetSkinFile() override { return QStringLiteral("music.xml"); }
    void InitWindow() override;
    void OnClick(ui::TNotifyUI& msg) override;
    ui::LRESULT HandleCustomMessage(ui::UINT msg, ui::WPARAM wParam, ui::LPARAM lParam,
                                    bool& handled) override;

private:
    void ShowStyle(int style);
    void ShowNames();

    config::AudioStyleSet m_styles;
};

// The names an emptied name edit is refilled with.
QString DefaultStyleName(int style);

// Runs the music window modally over owner with a copy of `styles`. `opened` sees the window
// once it exists and nullptr when it has ended. Returns the window's result (1: `styles` took
// the edited copy), or -1 without doing anything while a music window is open already.
int RunMusicWindow(ui::CWindowWnd* owner, config::AudioStyleSet& styles,
                   const std::function<void(ui::CWindowWnd*)>& opened);

} // namespace shell::music
