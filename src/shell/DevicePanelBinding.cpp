#include "shell/DevicePanelBinding.h"

#include "ui/ContainerUI.h"
#include "ui/PaintManagerUI.h"

namespace shell {

namespace {
// Depth-first, in tree order.
template <class Visit> void Walk(ui::CControlUI* control, Visit&& visit) {
    if (!control || !visit(control))
        return;
    if (auto* container = dynamic_cast<ui::IContainerUI*>(control)) {
        for (int i = 0; i < container->GetCount(); ++i)
            Walk(container->GetItemAt(i), visit);
    }
}

ui::CControlUI* FindByClass(ui::CControlUI* root, const QString& className) {
    ui::CControlUI* found = nullptr;
    Walk(root, [&](ui::CControlUI* c) {
        if (!found && c->GetClass() == className)
            found = c;
        return !found;
    });
    return found;
}
} // namespace

std::vector<devices::PanelButton> CollectPanelButtons(ui::CControlUI* page) {
    std::vector<devices::PanelButton> buttons;
    ui::CControlUI* selectPanel = FindByClass(page, QStringLiteral("SelectPanel"));
    Walk(selectPanel, [&](ui::CControlUI* c) {
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
