#include "shell/profile/FindInside.h"

#include "ui/ControlUI.h"

namespace shell {

ui::CControlUI* FindInside(ui::CControlUI* root, const QString& name) {
    if (!root)
        return nullptr;
    if (root->GetName() == name)
        return root;
    if (auto* holder = dynamic_cast<ui::IContainerUI*>(root)) {
        for (int i = 0; i < holder->GetCount(); ++i) {
            if (ui::CControlUI* found = FindInside(holder->GetItemAt(i), name))
                return found;
        }
    }
    return nullptr;
}

} // namespace shell
