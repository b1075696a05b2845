#include "shell/ControlClasses.h"

#include "lighting/LightControlUI.h"
#include "shell/controls/CircleProgressUI.h"
#include "shell/controls/ComboEditContainerElementUI.h"
#include "shell/controls/DeviceKeyButtonUI.h"
#include "shell/controls/HandImgButtonUI.h"
#include "shell/controls/HandImgSelectButtonUI.h"
#include "shell/controls/RedioMacroButtonUI.h"
#include "shell/controls/SelectPanelUI.h"
#include "shell/controls/WndUI.h"
#include "shell/headset/HeadsetPanels.h"
#include "shell/keyset/KeySetControlUI.h"
#include "shell/macro/MacroControlUI.h"
#include "shell/profile/DeviceProfileUI.h"
#include "shell/selector/DeviceOptionUI.h"
#include "shell/selector/MpDevicePowerUI.h"
#include "shell/shoot/ShootControlUI.h"
#include "shell/update/UpdateInfoListItemUI.h"
#include "ui/ControlFactory.h"

namespace shell {

namespace {
template <class T> ui::CControlUI* Make() {
    return new T;
}
} // namespace

void RegisterProgramControls() {
    struct ControlClass {
        const char* name;
        ui::CControlFactory::CreateFn create;
    };
    // Each name maps to the class of the same name. A class is given its create function
    // when it is written.
    const ControlClass classes[] = {
        {"CCircleProgressUI", Make<CCircleProgressUI>},
        {"CChartViewUI", nullptr},
        {"CWndUI", Make<CWndUI>},
        {"CSelectPanelUI", Make<CSelectPanelUI>},
        {"CDeviceKeyButtonUI", Make<CDeviceKeyButtonUI>},
        {"CCloudShareListItemUI", nullptr},
        {"CUpdateInfoListItemUI", Make<update::CUpdateInfoListItemUI>},
        {"CDeviceOptionUI", Make<CDeviceOptionUI>},
        {"CMpDevicePowerUI", Make<CMpDevicePowerUI>},
        {"CComboEditContainerElementUI", Make<CComboEditContainerElementUI>},
        {"CHandImgButtonUI", Make<CHandImgButtonUI>},
        {"CHandImgSelectButtonUI", Make<CHandImgSelectButtonUI>},
        {"CRedioMacroButtonUI", Make<CRedioMacroButtonUI>},
        {"CAudioRecordUI", nullptr},
        {"CLightControlUI", Make<lighting::CLightControlUI>},
        {"CMacroControlUI", Make<macro::CMacroControlUI>},
        {"CKeySetControlUI", Make<keyset::CKeySetControlUI>},
        {"CDeviceProfileUI", Make<CDeviceProfileUI>},
        {"CShootControlUI", Make<shoot::CShootControlUI>},
        {"CMagicControlUI", Make<headset::CMagicControlUI>},
        {"CVoice6533ControlUI", Make<headset::CVoice6533ControlUI>},
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
