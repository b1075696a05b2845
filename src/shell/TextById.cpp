#include "shell/TextById.h"

#include "ui/ControlUI.h"
#include "ui/PaintManagerUI.h"

namespace shell {

QString TextThroughLabel(const ui::CPaintManagerUI& window, const char* label, const QString& id) {
    ui::CControlUI* control = window.FindControl(QLatin1String(label));
    if (!control)
        return {};
    control->SetResourceText(true);
    control->SetText(id);
    return control->GetText();
}

} // namespace shell
