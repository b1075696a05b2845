#include "shell/ControlClasses.h"

#include "ui/ControlFactory.h"

namespace shell {

void RegisterProgramControls() {
    struct ControlClass {
        const char* name;
        ui::CControlFactory::CreateFn create;
    };
    // Each name maps to the class of the same name. A class is given its create function
    // when it is written.
    const ControlClass classes[] = {
        {"CCircleProgressUI", nullptr},
        {"CChartViewUI", nullptr},
        {"CWndUI", nullptr},
        {"CSelectPanelUI", nullptr},
        {"CDeviceKeyButtonUI", nullptr},
        {"CCloudShareListItemUI", nullptr},
        {"CUpdateInfoListItemUI", nullptr},
        {"CDeviceOptionUI", nullptr},
        {"CMpDevicePowerUI", nullptr},
        {"CComboEditContainerElementUI", nullptr},
        {"CHandImgButtonUI", nullptr},
        {"CHandImgSelectButtonUI", nullptr},
        {"CRedioMacroButtonUI", nullptr},
        {"CAudioRecordUI", nullptr},
        {"CLightControlUI", nullptr},
        {"CMacroControlUI", nullptr},
        {"CKeySetControlUI", nullptr},
        {"CDeviceProfileUI", nullptr},
        {"CShootControlUI", nullptr},
        {"CMagicControlUI", nullptr},
        {"CVoice6533ControlUI", nullptr},
        {"CKelvaneUSBDevice", nullptr},
        {"CKelvaneMousePadDevice", nullptr},
        {"CKelvaneHS6533Device", nullptr},
    };
    for (const ControlClass& c : classes) {
        if (c.create)
            ui::CControlFactory::GetInstance().RegistControl(QString::fromLatin1(c.name), c.create);
    }
}

} // namespace shell
