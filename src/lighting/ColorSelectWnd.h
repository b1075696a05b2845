#pragma once
// CColorSelectWnd: the modal colour picker ("PalletDialog.xml"): a palette, twenty preset
// swatches, twenty user swatches (collected colours), red/green/blue edits and a preview. The
// swatches and the last selections are kept in "color_option_info.config" in the user folder.
// It ends with 1 (OK, a colour chosen), 0 (closed) or 2 (OK without a palette in the skin).

#include "config/ColorOptionFile.h"
#include "ui/WindowImplBase.h"

#include <cstdint>

namespace ui {
class CColorPaletteUI;
class COptionUI;
} // namespace ui

namespace lighting {

class CColorSelectWnd : public ui::WindowImplBase {
public:
    CColorSelectWnd();
    QString GetWindowClassName() const override { return QStringLiteral("ColorSelectWnd"); }

    // Shows the colour (0x00RRGGBB or 0xFFRRGGBB) in the preview, the palette and the edits.
    void ShowColor(std::uint32_t colour);
    // For choices that take one colour only (the DPI stage colours): no multicolour option.
    void HideMultiColorOption();
    // After OK: the preview's colour (0 without a preview).
    std::uint32_t GetResultColor() const { return m_resultColor; }
    bool IsMultiColor() const { return m_multiColor; }

    void Notify(ui::TNotifyUI& msg) override;

protected:
    QString GetSkinFile() override { return QStringLiteral("PalletDialog.xml"); }
    void InitWindow() override;
    void OnClick(ui::TNotifyUI& msg) override;
    // Escape closes the picker as "closebtn" does.
    ui::LRESULT HandleCustomMessage(ui::UINT msg, ui::WPARAM wParam, ui::LPARAM lParam,
                                    bool& handled) override;

private:
    void LoadSwatches();
    void OnSelectChanged(ui::TNotifyUI& msg);
    void OnMultiColor();
    void OnEditsChanged();
    void SelectPreset(int index);
    void SelectUserSwatch(int index);
    // Gives the chosen colour to the selected user swatch (when one is selected) and the preview.
    void ApplyToUserSwatch();
    void ShowPreview(std::uint32_t colour);
    void ShowComponents(std::uint32_t colour);
    void SetMultiColor(bool on);
    void SavePresets();
    void SaveUserSwatches();
    ui::COptionUI* Preset(int index) const;
    ui::COptionUI* UserSwatch(int index) const;

    std::uint32_t m_color = 0xFF000000u;
    std::uint32_t m_resultColor = 0;
    int m_presetIndex = -1;
    int m_userIndex = -1;
    bool m_multiColor = false;
    ui::CColorPaletteUI* m_palette = nullptr;
    config::CColorOptionFile m_file;
};

struct ColorChoice {
    int result = 0;          // 1 OK, 0 closed, 2 OK without a palette
    std::uint32_t color = 0; // 0x00RRGGBB of the preview after OK
    bool multiColor = false; // OK with the multicolour option chosen
};

// Runs the colour picker modally over owner, starting from colour. hideMultiColor leaves out
// the multicolour option.
ColorChoice OpenColorSelectWindow(ui::CWindowWnd* owner, std::uint32_t color,
                                  bool hideMultiColor = false);

} // namespace lighting
