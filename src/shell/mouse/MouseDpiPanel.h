#pragma once
// CMouseDpiPanel: the DPI stages and report rate of one mouse page. Each of the five stages
// has an enable box ("DPI_enable_check_" i) beside its row ("DPI_layout_" i): the current-stage
// option ("DPI_select_check_" i), the slider ("DPI_slider_" i, slider positions), the edit
// ("DPI_edit_" i, counts per inch) and the colour swatch ("DPI_color_option_" i). At least one
// stage always stays in the cycle: the last enabled stage's box cannot be cleared, nor can the
// current stage's. Every change that reaches the mouse stores the stages into the profile,
// saves it and writes the configuration block.

#include <QString>
#include <cstdint>

namespace devices {
class CKelvaneMouseDevice;
}
namespace ui {
class CControlUI;
class CPaintManagerUI;
} // namespace ui

namespace shell::mouse {

inline constexpr int kDpiStageCount = 5;
inline constexpr int kReportRateCount = 5;

class CMouseDpiPanel {
public:
    CMouseDpiPanel(ui::CPaintManagerUI& pm, ui::CControlUI* page,
                   devices::CKelvaneMouseDevice& mouse)
        : m_pm(pm), m_page(page), m_mouse(mouse) {}

    // The sliders' and edits' ranges from the mouse's DPI scale.
    void SetRanges();
    // Every stage the profile has, then the report rate.
    void Refresh();

    void OnEnableChanged(int stage);
    void OnCurrentChosen(int stage);
    // "valuechanged": the stage takes the position; "movevaluechanged": only the edit follows.
    void OnSliderChanged(int stage);
    void OnSliderMoving(int stage);
    // The edit lost the focus: its counts per inch become the stage's position.
    void OnEditDone(int stage);
    // The stage's colour, 0xFFRRGGBB or 0x00RRGGBB.
    std::uint32_t StageColour(int stage) const;
    void OnColourChosen(int stage, std::uint32_t colour);
    // Report-rate option `index` chosen (an index outside the options counts as 0).
    void OnReportRateChosen(int index);

private:
    ui::CControlUI* Control(const char* prefix, int stage) const;
    bool HasStage(int stage) const;
    void SetStageEnabled(int stage, bool on);
    void SetStageSlider(int stage, int position);
    void SetStageColour(int stage, std::uint32_t colour);
    void SelectReportRate(int index);
    // Disables the boxes that must stay ticked: the current stage's and the last one ticked.
    void LockEnableBoxes();
    int SliderPosition(int stage) const;
    void SetDpiX(int stage, int position);
    void StoreAndApply();

    ui::CPaintManagerUI& m_pm;
    ui::CControlUI* m_page;
    devices::CKelvaneMouseDevice& m_mouse;
};

} // namespace shell::mouse
