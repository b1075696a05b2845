#include "shell/windows/SkinBackground.h"

#include "ui/ControlUI.h"
#include "ui/PaintManagerUI.h"

namespace shell {

int ApplySkinToRoot(ui::CPaintManagerUI& manager, const SkinChangedParam& param) {
    ui::CControlUI* root = manager.FindControl(QStringLiteral("root"));
    if (!root)
        return 1;
    if (param.isColour) {
        root->SetBkColor(param.colour);
        root->SetBkImage(QString());
    } else {
        root->SetBkColor(0);
        root->SetBkImage(param.imagePath);
    }
    return 1;
}

} // namespace shell
