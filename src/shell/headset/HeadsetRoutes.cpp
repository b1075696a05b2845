#include "shell/headset/HeadsetRoutes.h"

#include "config/Utf8.h"
#include "shell/windows/MsgWnd.h"
#include "ui/ButtonUI.h"
#include "ui/ComboUI.h"
#include "ui/ControlNames.h"
#include "ui/ControlTree.h"
#include "ui/SliderUI.h"
#include "ui/WindowImplBase.h"

namespace shell::headset {

namespace {

template <class T> T* FindPanel(ui::CControlUI* page) {
    return dynamic_cast<T*>(
        ui::FindInTree(page, [](ui::CControlUI* c) { return dynamic_cast<T*>(c) != nullptr; }));
}

std::vector<QString> Names(const CVoice6533ControlUI& panel) {
    std::vector<QString> names;
    for (int i = 0; i < panel.NameCount(); ++i)
        names.push_back(panel.NameAt(i));
    return names;
}

std::vector<std::wstring> WideNames(const std::vector<QString>& names) {
    std::vector<std::wstring> wide;
    for (const QString& name : names)
        wide.push_back(name.toStdWString());
    return wide;
}

} // namespace

// ---- HeadsetPageView ----

void HeadsetPageView::ShowSettings(const config::HeadsetSettings& s) {
    if (m_voice) {
        m_voice->SelectEqOption(s.eqType);
        m_voice->EnableCustomLayout(s.eqType == devices::CKelvaneHS6533Device::kCustomEq);
        m_voice->SetMic(s.micInSelect != 0, s.micInValue);
        m_voice->SetMonitor(s.micMonitorSelect != 0, s.micMonitorValue);
    }
    if (m_magic) {
        m_magic->SetVoiceEffectOn(s.magicEnable != 0);
        m_magic->SelectVoiceEffect(s.magicType);
    }
}

void HeadsetPageView::ShowCustomEqNames(const std::vector<std::wstring>& names, int selected) {
    if (!m_voice)
        return;
    m_voice->RemoveAllNames();
    for (const std::wstring& name : names)
        m_voice->AddName(QString::fromStdWString(name));
    if (selected >= 0 && selected < m_voice->NameCount())
        m_voice->SelectName(selected);
}

void HeadsetPageView::ShowBands(const std::vector<int>& bands) {
    if (m_voice)
        m_voice->SetBands(bands);
}

// ---- CHeadsetRoutes ----

CHeadsetRoutes::CHeadsetRoutes(ui::WindowImplBase& window, CurrentDevice currentDevice)
    : m_window(window), m_currentDevice(std::move(currentDevice)) {}

CHeadsetRoutes::~CHeadsetRoutes() {
    for (auto& [device, page] : m_pages)
        if (auto* headset = dynamic_cast<devices::CKelvaneHS6533Device*>(
                const_cast<devices::CKelvaneUSBDevice*>(device)))
            headset->SetHeadsetView(nullptr);
}

void CHeadsetRoutes::AttachPage(devices::CKelvaneUSBDevice& device, ui::CControlUI* page) {
    auto* headset = dynamic_cast<devices::CKelvaneHS6533Device*>(&device);
    auto* voice = page ? FindPanel<CVoice6533ControlUI>(page) : nullptr;
    auto* magic = page ? FindPanel<CMagicControlUI>(page) : nullptr;
    if (!headset || (!voice && !magic))
        return;
    Page& entry = m_pages[&device];
    entry.root = page;
    entry.magic = magic;
    entry.view = std::make_unique<HeadsetPageView>(voice, magic);
    headset->SetHeadsetView(entry.view.get());
    entry.view->ShowCustomEqNames(headset->Profile().ReadCustomEqNames(),
                                  headset->Settings().customEqSelectIndex);
    entry.view->ShowSettings(headset->Settings());
    entry.view->ShowBands(headset->Bands());
}

bool CHeadsetRoutes::Notify(ui::TNotifyUI& msg) {
    const QString name = msg.pSender ? msg.pSender->GetName() : QString();
    devices::CKelvaneUSBDevice* device = m_currentDevice ? m_currentDevice() : nullptr;
    auto* headset = dynamic_cast<devices::CKelvaneHS6533Device*>(device);
    const auto it = m_pages.find(device);
    if (name.isEmpty() || !headset || it == m_pages.end() ||
        !ui::IsInTree(msg.pSender, it->second.root))
        return false;
    Page& page = it->second;
    CVoice6533ControlUI* voice = page.view->Voice();
    if (msg.sType == ui::notify::selectchanged)
        return OnSelectChanged(*headset, page, msg.pSender, name);
    if (msg.sType == ui::notify::valuechanged)
        return OnValueChanged(*headset, msg.pSender, name);
    if (msg.sType == ui::notify::itemselect && ui::NameIs(name, "custom_eq_name_combo")) {
        if (voice)
            headset->SelectCustomEq(voice->SelectedName());
        return true;
    }
    if (msg.sType == ui::notify::click && voice && ui::NameIs(name, "hs_EQ_btn_save")) {
        if (SaveCustomEq(*headset, *voice) == 0)
            ShowMessage(&m_window, QString(), QLatin1String(kDuplicateEqName),
                        m_window.GetPaintManager().GetDPI(), true, 0);
        return true;
    }
    if (msg.sType == ui::notify::click && voice && ui::NameIs(name, "hs_EQ_btn_delete")) {
        DeleteCustomEq(*headset, *voice);
        return true;
    }
    return false;
}

bool CHeadsetRoutes::OnSelectChanged(devices::CKelvaneHS6533Device& headset, Page& page,
                                     ui::CControlUI* sender, const QString& name) {
    auto* option = ui::control_cast<ui::COptionUI>(sender);
    const bool selected = option && option->IsSelected();
    if (const int n = ui::NumberAfter(name, "6533_eq_option_"); n >= 0) {
        if (selected)
            headset.SelectEqOption(n);
    } else if (const int effect = ui::NumberAfter(name, "magic_option_"); effect >= 0) {
        if (selected)
            headset.SelectVoiceEffect(effect);
    } else if (ui::NameIs(name, "magic_enable_option")) {
        headset.SetVoiceEffect(selected);
    } else if (ui::NameIs(name, "6533_MicIn_option")) {
        headset.SetMicMuted(!selected);
    } else if (ui::NameIs(name, "6533_MicMoniter_option")) {
        headset.SetMonitorMuted(!selected);
    } else {
        return false;
    }
    // The panels show what the headset took.
    page.view->ShowSettings(headset.Settings());
    return true;
}

bool CHeadsetRoutes::OnValueChanged(devices::CKelvaneHS6533Device& headset, ui::CControlUI* sender,
                                    const QString& name) {
    auto* slider = ui::control_cast<ui::CSliderUI>(sender);
    if (!slider)
        return false;
    if (const int band = ui::NumberAfter(name, "6533_eq_hz_slider_"); band >= 0)
        headset.SetEqBand(band, slider->GetValue());
    else if (ui::NameIs(name, "6533_MicIn_slider"))
        headset.SetMicLevel(slider->GetValue());
    else if (ui::NameIs(name, "6533_MicMoniter_slider"))
        headset.SetMonitorLevel(slider->GetValue());
    else
        return false;
    return true;
}

int CHeadsetRoutes::SaveCustomEq(devices::CKelvaneHS6533Device& headset,
                                 CVoice6533ControlUI& panel) {
    const QString name = panel.NameEditText().trimmed();
    if (name.isEmpty()) {
        const int selected = panel.SelectedName();
        if (selected < 0)
            return -1;
        headset.StoreCustomEq(selected, panel.Bands());
        return 1;
    }
    if (panel.NameCount() >= kCustomEqLimit)
        return -1;
    for (int i = 0; i < panel.NameCount(); ++i)
        if (panel.NameAt(i).compare(name, Qt::CaseInsensitive) == 0)
            return 0;
    panel.AddName(name);
    const int index = panel.NameCount() - 1;
    panel.SelectName(index);
    headset.Profile().WriteCustomEqNames(WideNames(Names(panel)));
    headset.StoreCustomEq(index, panel.Bands());
    return 1;
}

void CHeadsetRoutes::DeleteCustomEq(devices::CKelvaneHS6533Device& headset,
                                    CVoice6533ControlUI& panel) {
    const int selected = panel.SelectedName();
    if (selected < 0)
        return;
    panel.RemoveName(selected);
    headset.RemoveCustomEq(selected);
    if (panel.NameCount() == 0) {
        headset.SelectEqOption(1);
    } else {
        panel.SelectName(0);
        headset.SelectCustomEq(0);
    }
    headset.RefreshPanels();
}

} // namespace shell::headset
