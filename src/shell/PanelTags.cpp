#include "shell/PanelTags.h"

#include "ui/DialogBuilder.h"
#include "ui/PaintManagerUI.h"

#include <QFileInfo>

namespace shell {

namespace {
struct PanelTag {
    const char* tag;
    const char* file;
};
constexpr PanelTag kPanelTags[] = {
    {"DeviceProfileUI", "XML/CustomControlXML/DeviceProfile.xml"},
    {"LightSetControlUI", "XML/CustomControlXML/LightControl.xml"},
    {"Voice6533SetControlUI", "XML/CustomControlXML/Voice6533Control.xml"},
    {"MagicSetControlUI", "XML/CustomControlXML/MagicControl.xml"},
    {"KeySetControlUI", "XML/CustomControlXML/KeySetControl.xml"},
    {"MacroSetControlUI", "XML/CustomControlXML/MacroControl.xml"},
    {"ShootKeySetControlUI", "XML/CustomControlXML/ShootControl.xml"},
    {"VirtualSetControlUI", "XML/CustomControlXML/VirtualSet.xml"},
};
} // namespace

ui::CControlUI* CreatePanelForTag(const QString& tag, ui::CPaintManagerUI* manager) {
    for (const PanelTag& panel : kPanelTags) {
        if (tag.compare(QLatin1String(panel.tag), Qt::CaseInsensitive) != 0)
            continue;
        const QString file = QString::fromLatin1(panel.file);
        // Panels of features still to come have no file yet.
        if (!QFileInfo::exists(ui::CPaintManagerUI::GetResourcePath() + file))
            return nullptr;
        ui::CDialogBuilder builder;
        ui::CControlUI* root = builder.Create(file, nullptr, manager);
        if (!root)
            qWarning("The panel %s cannot be built: %s", panel.tag,
                     qPrintable(builder.GetLastError()));
        return root;
    }
    return nullptr;
}

} // namespace shell
