#include "lighting/ColorSelectWnd.h"

#include "lighting/ColorComponents.h"
#include "platform/Paths.h"
#include "ui/ButtonUI.h"
#include "ui/ColorPaletteUI.h"
#include "ui/ControlNames.h"
#include "ui/EditUI.h"

namespace lighting {

using ui::NameIs;
using ui::NumberAfter;

namespace {

constexpr const char* kPresetPrefix = "color_option_";
constexpr const char* kUserPrefix = "collect_color_option_";
constexpr std::uint32_t kEmptySwatch = 0xFFFFFFFFu;
const QString kFilled = QStringLiteral("1");
const QString kMultiColorImage = QStringLiteral("common/base1.png");

QString IndexedName(const char* prefix, int index) {
    return QString::asprintf("%s%d", prefix, index);
}

} // namespace

CColorSelectWnd::CColorSelectWnd() {
    MapNotify(ui::notify::windowinit, [this](ui::TNotifyUI&) { LoadSwatches(); });
    MapNotify(ui::notify::selectchanged, [this](ui::TNotifyUI& msg) { OnSelectChanged(msg); });
    MapNotify(
        ui::notify::checkclick, [this](ui::TNotifyUI&) { OnMultiColor(); },
        QStringLiteral("7color"));
    for (const QString& type : {ui::notify::killfocus, ui::notify::returnKey}) {
        for (const char* edit : {"color_edit_r", "color_edit_g", "color_edit_b"})
            MapNotify(
                type, [this](ui::TNotifyUI&) { OnEditsChanged(); }, QLatin1String(edit));
    }
}

void CColorSelectWnd::InitWindow() {
    m_palette = Find<ui::CColorPaletteUI>(QStringLiteral("Pallet"));
}

void CColorSelectWnd::Notify(ui::TNotifyUI& msg) {
    if (msg.sType == ui::notify::colorchanged && NameIs(msg.pSender, "Pallet")) {
        m_color = m_palette ? m_palette->GetSelectColor() : m_color;
        ApplyToUserSwatch();
        ShowComponents(m_color);
        return;
    }
    WindowImplBase::Notify(msg);
}

ui::COptionUI* CColorSelectWnd::Preset(int index) const {
    return Find<ui::COptionUI>(IndexedName(kPresetPrefix, index));
}

ui::COptionUI* CColorSelectWnd::UserSwatch(int index) const {
    return Find<ui::COptionUI>(IndexedName(kUserPrefix, index));
}

void CColorSelectWnd::ShowColor(std::uint32_t colour) {
    m_color = colour | 0xFF000000u;
    if (m_palette)
        m_palette->SetSelectColor(m_color);
    ShowPreview(m_color);
    ShowComponents(m_color);
}

void CColorSelectWnd::LoadSwatches() {
    const std::string user = platform::UserFolder();
    m_file.Load(user.empty() ? std::string() : user + config::kColorOptionFileName,
                platform::DefaultDataFolder() + config::kColorOptionFileName);
    for (int i = 0; i < config::kColorSwatchCount; ++i) {
        ui::COptionUI* preset = Preset(i);
        if (const auto colour = m_file.PresetColor(i); preset && colour)
            preset->SetBkColor(*colour);
        if (ui::COptionUI* swatch = UserSwatch(i)) {
            swatch->SetBkColor(m_file.UserColor(i).value_or(kEmptySwatch));
            swatch->SetUserData(QString::fromStdString(m_file.UserData(i)));
            if (swatch->GetUserData() == kFilled)
                swatch->SetBorderSize(0);
        }
    }
    // Only the selection is restored: the colour the window was opened with stays the choice.
    m_presetIndex = m_file.PresetSelection();
    if (ui::COptionUI* preset = Preset(m_presetIndex))
        preset->Selected(true, false);
    m_userIndex = m_file.UserSelection();
    if (ui::COptionUI* swatch = UserSwatch(m_userIndex))
        swatch->Selected(true, false);
}

void CColorSelectWnd::OnClick(ui::TNotifyUI& msg) {
    // A click on the preset that is selected already selects nothing new; it still hands its
    // colour on, to fill another user swatch with it.
    const int preset = NumberAfter(msg.pSender ? msg.pSender->GetName() : QString(), kPresetPrefix);
    if (ui::COptionUI* option = Preset(preset); option && option->IsSelected()) {
        SelectPreset(preset);
        return;
    }
    if (NameIs(msg.pSender, "okbtn")) {
        // A click on a button leaves the focus where it is: a value still being typed counts.
        for (const char* name : {"color_edit_r", "color_edit_g", "color_edit_b"}) {
            if (const ui::CControlUI* edit = Find(QLatin1String(name)); edit && edit->IsFocused())
                OnEditsChanged();
        }
        if (!m_palette) {
            Close(2);
            return;
        }
        const ui::CControlUI* preview = Find(QStringLiteral("color_show_btn"));
        m_resultColor = preview ? preview->GetBkColor() : 0;
        Close(1);
        return;
    }
    WindowImplBase::OnClick(msg);
}

ui::LRESULT CColorSelectWnd::HandleCustomMessage(ui::UINT msg, ui::WPARAM wParam, ui::LPARAM,
                                                 bool& handled) {
    handled = msg == ui::WM_KEYDOWN && wParam == ui::VK_ESCAPE;
    if (handled)
        Close(0);
    return 0;
}

void CColorSelectWnd::OnSelectChanged(ui::TNotifyUI& msg) {
    if (NameIs(msg.pSender, "7color")) {
        // The toolkit reports an option's change as "selectchanged".
        OnMultiColor();
        return;
    }
    const auto* option = dynamic_cast<const ui::COptionUI*>(msg.pSender);
    if (!option || !option->IsSelected())
        return;
    const QString name = option->GetName();
    if (const int preset = NumberAfter(name, kPresetPrefix); preset >= 0)
        SelectPreset(preset);
    else if (const int user = NumberAfter(name, kUserPrefix); user >= 0)
        SelectUserSwatch(user);
}

void CColorSelectWnd::SelectPreset(int index) {
    const ui::COptionUI* preset = Preset(index);
    if (!preset)
        return;
    m_presetIndex = index;
    SavePresets();
    m_color = preset->GetBkColor();
    if (m_palette)
        m_palette->SetSelectColor(m_color);
    ApplyToUserSwatch();
    ShowComponents(m_color);
}

void CColorSelectWnd::SelectUserSwatch(int index) {
    m_userIndex = index;
    const ui::COptionUI* swatch = UserSwatch(index);
    if (!swatch || swatch->GetUserData() != kFilled)
        return;
    SaveUserSwatches();
    m_color = swatch->GetBkColor();
    ShowPreview(m_color);
    SetMultiColor(false);
    if (m_palette)
        m_palette->SetSelectColor(m_color);
    ShowComponents(m_color);
}

void CColorSelectWnd::OnEditsChanged() {
    auto text = [this](const char* name) {
        const auto* edit = Find<ui::CEditUI>(QLatin1String(name));
        return edit ? edit->GetText().toStdString() : std::string();
    };
    m_color = ColorFromTexts(text("color_edit_r"), text("color_edit_g"), text("color_edit_b"));
    if (m_palette)
        m_palette->SetSelectColor(m_color);
    ApplyToUserSwatch();
}

void CColorSelectWnd::ApplyToUserSwatch() {
    if (ui::COptionUI* swatch = UserSwatch(m_userIndex); swatch && swatch->IsSelected()) {
        swatch->SetBkColor(m_color);
        swatch->SetSelectedBkColor(m_color);
        swatch->SetUserData(kFilled);
        swatch->SetBorderSize(0);
        SaveUserSwatches();
    }
    ShowPreview(m_color);
    SetMultiColor(false);
}

void CColorSelectWnd::OnMultiColor() {
    const auto* option = Find<ui::COptionUI>(QStringLiteral("7color"));
    SetMultiColor(option && option->IsSelected());
}

void CColorSelectWnd::SetMultiColor(bool on) {
    m_multiColor = on;
    if (auto* option = Find<ui::COptionUI>(QStringLiteral("7color")))
        option->Selected(on, false);
    if (ui::CControlUI* preview = Find(QStringLiteral("color_show_btn")))
        preview->SetBkImage(on ? kMultiColorImage : QString());
}

void CColorSelectWnd::HideMultiColorOption() {
    if (ui::CControlUI* option = Find(QStringLiteral("7color")))
        option->SetEnabled(false);
    if (ui::CControlUI* layout = Find(QStringLiteral("7color_layout")))
        layout->SetVisible(false);
    SetMultiColor(false);
}

void CColorSelectWnd::ShowPreview(std::uint32_t colour) {
    if (ui::CControlUI* preview = Find(QStringLiteral("color_show_btn")))
        preview->SetBkColor(colour);
}

void CColorSelectWnd::ShowComponents(std::uint32_t colour) {
    const ColorComponents parts = SplitColor(colour);
    for (const auto& [name, value] :
         {std::pair{"color_edit_r", parts.red}, std::pair{"color_edit_g", parts.green},
          std::pair{"color_edit_b", parts.blue}}) {
        if (ui::CControlUI* edit = Find(QLatin1String(name)))
            edit->SetText(QString::asprintf("%d", value));
    }
}

void CColorSelectWnd::SavePresets() {
    std::array<std::optional<std::uint32_t>, config::kColorSwatchCount> colours;
    for (int i = 0; i < config::kColorSwatchCount; ++i) {
        if (const ui::COptionUI* preset = Preset(i))
            colours[i] = preset->GetBkColor();
    }
    m_file.SavePresets(colours, m_presetIndex);
}

void CColorSelectWnd::SaveUserSwatches() {
    std::array<std::optional<config::ColorSwatch>, config::kColorSwatchCount> swatches;
    for (int i = 0; i < config::kColorSwatchCount; ++i) {
        if (const ui::COptionUI* swatch = UserSwatch(i))
            swatches[i] =
                config::ColorSwatch{swatch->GetBkColor(), swatch->GetUserData().toStdString()};
    }
    m_file.SaveUserSwatches(swatches, m_userIndex);
}

ColorChoice OpenColorSelectWindow(ui::CWindowWnd* owner, std::uint32_t color, bool hideMultiColor) {
    CColorSelectWnd wnd;
    if (!wnd.Create(owner, QStringLiteral("ColorSelectWnd"), ui::WS_POPUP | ui::WS_CLIPCHILDREN,
                    ui::WS_EX_TOOLWINDOW))
        return {};
    wnd.ShowColor(color);
    if (hideMultiColor)
        wnd.HideMultiColorOption();
    wnd.CenterWindow();
    ColorChoice choice;
    choice.result = wnd.ShowModal();
    if (choice.result == 1) {
        choice.color = wnd.GetResultColor() & 0x00FFFFFFu;
        choice.multiColor = wnd.IsMultiColor();
    }
    return choice;
}

} // namespace lighting
