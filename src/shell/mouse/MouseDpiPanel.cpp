#include "shell/mouse/MouseDpiPanel.h"

#include "devices/KelvaneMouseDevice.h"
#include "ui/ButtonUI.h"
#include "ui/ControlNames.h"
#include "ui/EditUI.h"
#include "ui/PaintManagerUI.h"
#include "ui/SliderUI.h"

#include <algorithm>

namespace shell::mouse {

namespace {

const QString kTrackImage = QStringLiteral("Control/SliderBar_BK1.png");
const QString kCurrentThumb = QStringLiteral("Control/SliderBar1_Thumb.png");
const QString kOtherThumb = QStringLiteral("Control/SliderBar2_Thumb.png");

} // namespace

ui::CControlUI* CMouseDpiPanel::Control(const char* prefix, int stage) const {
    return m_page ? m_pm.FindSubControlByName(m_page, ui::Numbered(prefix, stage)) : nullptr;
}

bool CMouseDpiPanel::HasStage(int stage) const {
    return stage >= 0 && static_cast<std::size_t>(stage) < m_mouse.GetStageList().size();
}

void CMouseDpiPanel::SetRanges() {
    const devices::DpiScale& scale = m_mouse.GetDpiScale();
    for (int i = 0; i < kDpiStageCount; ++i) {
        if (auto* slider = ui::control_cast<ui::CSliderUI>(Control("DPI_slider_", i))) {
            slider->SetMinValue(0);
            slider->SetMaxValue(scale.sliderMaximum);
        }
        if (auto* edit = ui::control_cast<ui::CEditUI>(Control("DPI_edit_", i)))
            edit->SetRange(0, scale.EditMaximum());
    }
}

void CMouseDpiPanel::Refresh() {
    const std::vector<devices::DpiStageRecord>& stages = m_mouse.GetStageList();
    for (int i = 0; i < kDpiStageCount; ++i) {
        if (!HasStage(i)) {
            // A profile with fewer stages: the missing ones cannot be used.
            SetStageEnabled(i, false);
            continue;
        }
        const devices::DpiStageRecord& stage = stages[static_cast<std::size_t>(i)];
        SetStageEnabled(i, stage.enable != 0);
        SetStageSlider(i, stage.DpiX());
        SetStageColour(i, 0xFF000000u | std::uint32_t{stage.red} << 16 |
                              std::uint32_t{stage.green} << 8 | stage.blue);
    }
    LockEnableBoxes();
    SelectReportRate(m_mouse.GetSystemRecord().Value(config::mouse_system::kReportRate));
}

void CMouseDpiPanel::SetStageEnabled(int stage, bool on) {
    if (ui::CControlUI* row = Control("DPI_layout_", stage))
        row->SetEnabled(on);
    if (auto* box = ui::control_cast<ui::COptionUI>(Control("DPI_enable_check_", stage)))
        box->Selected(on, false);
}

void CMouseDpiPanel::LockEnableBoxes() {
    int ticked = 0;
    for (int i = 0; i < kDpiStageCount; ++i) {
        auto* box = ui::control_cast<ui::COptionUI>(Control("DPI_enable_check_", i));
        ticked += box && box->IsSelected() ? 1 : 0;
    }
    for (int i = 0; i < kDpiStageCount; ++i) {
        auto* box = ui::control_cast<ui::COptionUI>(Control("DPI_enable_check_", i));
        if (!box)
            continue;
        const bool last = ticked == 1 && box->IsSelected();
        box->SetEnabled(HasStage(i) && i != m_mouse.GetCurrentDpiStage() && !last);
    }
}

void CMouseDpiPanel::SetStageSlider(int stage, int position) {
    const bool current = stage == m_mouse.GetCurrentDpiStage();
    if (auto* slider = ui::control_cast<ui::CSliderUI>(Control("DPI_slider_", stage))) {
        slider->SetValue(position);
        slider->SetForeImage(kTrackImage);
        slider->SetThumbImages(current ? kCurrentThumb : kOtherThumb);
    }
    if (auto* select = ui::control_cast<ui::COptionUI>(Control("DPI_select_check_", stage)))
        select->Selected(current, false);
    if (ui::CControlUI* edit = Control("DPI_edit_", stage))
        edit->SetText(QString::number(devices::DpiOfPosition(m_mouse.GetDpiScale(), position)));
}

void CMouseDpiPanel::SetStageColour(int stage, std::uint32_t colour) {
    if (ui::CControlUI* swatch = Control("DPI_color_option_", stage))
        swatch->SetBkColor(0xFF000000u | colour);
}

int CMouseDpiPanel::SliderPosition(int stage) const {
    auto* slider = ui::control_cast<ui::CSliderUI>(Control("DPI_slider_", stage));
    return slider ? slider->GetValue() : 0;
}

void CMouseDpiPanel::SetDpiX(int stage, int position) {
    std::vector<devices::DpiStageRecord> stages = m_mouse.GetStageList();
    stages[static_cast<std::size_t>(stage)].SetDpiX(static_cast<std::uint16_t>(position));
    m_mouse.SetStageList(stages);
}

void CMouseDpiPanel::StoreAndApply() {
    m_mouse.StoreProfile();
    m_mouse.WriteLightBlock();
}

// ---- The user's changes ----

void CMouseDpiPanel::OnEnableChanged(int stage) {
    auto* box = ui::control_cast<ui::COptionUI>(Control("DPI_enable_check_", stage));
    if (!box || !HasStage(stage))
        return;
    const bool on = box->IsSelected();
    SetStageEnabled(stage, on);
    LockEnableBoxes();
    std::vector<devices::DpiStageRecord> stages = m_mouse.GetStageList();
    stages[static_cast<std::size_t>(stage)].enable = on ? 1 : 0;
    m_mouse.SetStageList(stages);
    StoreAndApply();
}

void CMouseDpiPanel::OnCurrentChosen(int stage) {
    if (!HasStage(stage))
        return;
    m_mouse.SetCurrentDpiStage(stage);
    std::vector<devices::DpiStageRecord> stages = m_mouse.GetStageList();
    for (int i = 0; i < kDpiStageCount; ++i) {
        if (auto* select = ui::control_cast<ui::COptionUI>(Control("DPI_select_check_", i)))
            select->Selected(i == stage, false);
        if (!HasStage(i))
            continue;
        const int position = SliderPosition(i);
        SetStageSlider(i, position);
        stages[static_cast<std::size_t>(i)].SetDpiX(static_cast<std::uint16_t>(position));
    }
    m_mouse.SetStageList(stages);
    LockEnableBoxes();
    StoreAndApply();
}

void CMouseDpiPanel::OnSliderChanged(int stage) {
    if (!HasStage(stage))
        return;
    const int position = SliderPosition(stage);
    SetStageSlider(stage, position);
    SetDpiX(stage, position);
    StoreAndApply();
}

void CMouseDpiPanel::OnSliderMoving(int stage) {
    if (ui::CControlUI* edit = Control("DPI_edit_", stage))
        edit->SetText(
            QString::number(devices::DpiOfPosition(m_mouse.GetDpiScale(), SliderPosition(stage))));
}

void CMouseDpiPanel::OnEditDone(int stage) {
    ui::CControlUI* edit = Control("DPI_edit_", stage);
    if (!edit || !HasStage(stage))
        return;
    // An empty or unreadable edit counts as 0, which the scale raises to the minimum.
    const int typed = edit->GetText().trimmed().toInt();
    const int position = devices::PositionOfDpi(m_mouse.GetDpiScale(), typed);
    SetStageSlider(stage, position);
    SetDpiX(stage, position);
    StoreAndApply();
}

std::uint32_t CMouseDpiPanel::StageColour(int stage) const {
    ui::CControlUI* swatch = Control("DPI_color_option_", stage);
    return swatch ? swatch->GetBkColor() : 0;
}

void CMouseDpiPanel::OnColourChosen(int stage, std::uint32_t colour) {
    if (!HasStage(stage))
        return;
    SetStageColour(stage, colour);
    std::vector<devices::DpiStageRecord> stages = m_mouse.GetStageList();
    devices::DpiStageRecord& record = stages[static_cast<std::size_t>(stage)];
    record.red = static_cast<std::uint8_t>(colour >> 16);
    record.green = static_cast<std::uint8_t>(colour >> 8);
    record.blue = static_cast<std::uint8_t>(colour);
    m_mouse.SetStageList(stages);
    StoreAndApply();
}

void CMouseDpiPanel::SelectReportRate(int index) {
    const int chosen = index >= 0 && index < kReportRateCount ? index : 0;
    for (int i = 0; i < kReportRateCount; ++i) {
        if (auto* option = ui::control_cast<ui::COptionUI>(Control("polling_rate_option_", i)))
            option->Selected(i == chosen, false);
    }
}

void CMouseDpiPanel::OnReportRateChosen(int index) {
    const int chosen = index >= 0 && index < kReportRateCount ? index : 0;
    SelectReportRate(chosen);
    config::SystemStageWords system = m_mouse.GetSystemRecord();
    system.SetValue(config::mouse_system::kReportRate, static_cast<std::uint16_t>(chosen));
    m_mouse.SetSystemRecord(system);
    StoreAndApply();
}

} // namespace shell::mouse
