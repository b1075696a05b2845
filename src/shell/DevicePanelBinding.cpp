#include "shell/DevicePanelBinding.h"

#include "ui/ContainerUI.h"
#include "ui/ControlTree.h"
#include "ui/PaintManagerUI.h"

namespace shell {

std::vector<devices::PanelButton> CollectPanelButtons(ui::CControlUI* page) {
    std::vector<devices::PanelButton> buttons;
    ui::CControlUI* selectPanel = ui::FindInTree(
        page, [](ui::CControlUI* c) { return c->GetClass() == QLatin1String("SelectPanel"); });
    ui::WalkTree(selectPanel, [&](ui::CControlUI* c) {
        if (c->GetClass() == QLatin1String("DeviceKeyButton")) {
            if (auto* key = dynamic_cast<devices::IKeyButton*>(c))
                buttons.push_back(
                    {c->GetName().toStdString(), c->GetUserData().toStdString(), key});
        }
        return true;
    });
    return buttons;
}

void SkinDevicePanel::SelectPage(const std::string& layout, int index) {
    auto* tabs = dynamic_cast<ui::CTabLayoutUI*>(
        m_pm.FindSubControlByName(m_page, QString::fromStdString(layout)));
    if (tabs)
        tabs->SelectItem(index);
}

} // namespace shell
