#include "shell/music/MusicWnd.h"

#include "shell/Messages.h"
#include "ui/ButtonUI.h"
#include "ui/ContainerUI.h"
#include "ui/ControlNames.h"
#include "ui/EditUI.h"
#include "ui/SliderUI.h"

#include <QWidget>

namespace shell::music {

using ui::NameIs;

namespace {

bool g_musicOpen = false;
const char* const kSliders[] = {"audio_r_slider", "audio_g_slider", "audio_b_slider"};

// The number after `prefix` in `name`, or -1.
int NumberAfter(const QString& name, const char* prefix) {
    const QString head = QLatin1String(prefix);
    if (!name.startsWith(head))
        return -1;
    bool ok = false;
    const int n = name.mid(head.size()).toInt(&ok);
    return ok ? n : -1;
}

} // namespace

QString DefaultStyleName(int style) {
    static const char16_t* const kNames[] = {u"第一组", u"第二组", u"第三组", u"第四组"};
    return style >= 0 && style < 4 ? QString::fromUtf16(kNames[style]) : QString();
}

void CMusicWnd::InitWindow() {
    if (QWidget* host = GetHWND())
        host->resize(m_pm.Scale(kWidth), m_pm.Scale(kHeight));
    ShowNames();
    const int style = m_styles.current;
    if (auto* tab = Find<ui::COptionUI>(QStringLiteral("audio_select_tab%1").arg(style + 1)))
        tab->Selected(true, false);
    ShowStyle(style);
}

void CMusicWnd::ShowNames() {
    for (int style = 0; style < 4; ++style)
        if (auto* edit = Find(QStringLiteral("audio_edit_name%1").arg(style + 1)))
            edit->SetText(QString::fromStdWString(m_styles.names[static_cast<std::size_t>(style)]));
}

void CMusicWnd::ShowStyle(int style) {
    const std::uint8_t values[] = {m_styles.Red(style), m_styles.Green(style),
                                   m_styles.Blue(style)};
    for (int c = 0; c < 3; ++c)
        if (auto* slider = Find<ui::CSliderUI>(QLatin1String(kSliders[c])))
            slider->SetValue(values[c]);
    if (auto* names = Find<ui::CTabLayoutUI>(QStringLiteral("audio_name_tab")))
        names->SelectItem(style);
}

void CMusicWnd::Notify(ui::TNotifyUI& msg) {
    const QString name = msg.pSender ? msg.pSender->GetName() : QString();
    if (msg.sType == ui::notify::selectchanged) {
        const int tab = NumberAfter(name, "audio_select_tab");
        auto* option = ui::control_cast<ui::COptionUI>(msg.pSender);
        if (tab >= 1 && tab <= 4 && option && option->IsSelected()) {
            m_styles.current = static_cast<std::uint8_t>(tab - 1);
            ShowStyle(tab - 1);
        }
    } else if (msg.sType == ui::notify::valuechanged) {
        for (int c = 0; c < 3; ++c)
            if (NameIs(msg.pSender, kSliders[c]))
                if (auto* slider = ui::control_cast<ui::CSliderUI>(msg.pSender))
                    m_styles.colours[static_cast<std::size_t>(m_styles.current * 3 + c)] =
                        static_cast<std::uint8_t>(std::clamp(slider->GetValue(), 0, 255));
    } else if (msg.sType == ui::notify::killfocus) {
        const int n = NumberAfter(name, "audio_edit_name");
        if (n >= 1 && n <= 4) {
            QString text = msg.pSender->GetText();
            if (text.isEmpty()) {
                text = DefaultStyleName(n - 1);
                msg.pSender->SetText(text);
            }
            m_styles.names[static_cast<std::size_t>(n - 1)] = text.toStdWString();
        }
    }
    WindowImplBase::Notify(msg);
}

void CMusicWnd::OnClick(ui::TNotifyUI& msg) {
    if (NameIs(msg.pSender, "okbtn"))
        Close(1);
    else if (NameIs(msg.pSender, "closebtn"))
        Close(0);
}

ui::LRESULT CMusicWnd::HandleCustomMessage(ui::UINT msg, ui::WPARAM, ui::LPARAM, bool& handled) {
    handled = false;
    if (msg == UM_SET_LANGUAGE) {
        if (QWidget* host = GetHWND())
            host->update();
        m_pm.NeedUpdate();
        handled = true;
    }
    return 0;
}

int RunMusicWindow(ui::CWindowWnd* owner, config::AudioStyleSet& styles,
                   const std::function<void(ui::CWindowWnd*)>& opened) {
    if (g_musicOpen)
        return -1;
    g_musicOpen = true;
    CMusicWnd wnd(styles);
    int result = 0;
    if (wnd.Create(owner, QStringLiteral("MusicWnd"), ui::WS_POPUP | ui::WS_VISIBLE,
                   ui::WS_EX_TOOLWINDOW, 0, 0, CMusicWnd::kWidth, CMusicWnd::kHeight)) {
        if (opened)
            opened(&wnd);
        wnd.CenterWindow();
        result = wnd.ShowModal();
        if (opened)
            opened(nullptr);
    }
    if (result == 1)
        styles = wnd.Styles();
    g_musicOpen = false;
    return result;
}

} // namespace shell::music
