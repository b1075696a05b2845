#include "shell/selector/MpDevicePowerUI.h"

#include "shell/selector/DeviceItemImages.h"
#include "ui/PaintManagerUI.h"
#include "ui/ResourceManager.h"
#include "ui/SliderUI.h"

#include <algorithm>

namespace shell {

namespace {

struct PhoneLook {
    const char* textId;
    const char* image;
};

PhoneLook PhoneLookFor(int type) {
    switch (type) {
    case 1:
        return {"Phone_type_iphone", "file='power/Phone_type_iphone.svg'"};
    case 2:
        return {"Phone_type_samsung", "file='power/Phone_type_samsung.svg'"};
    case 3:
        return {"Phone_type_other", "file='power/Phone_type_other.svg'"};
    default:
        return {"Phone_type_no_device", "file='power/Phone_type_no_device.svg'"};
    }
}

} // namespace

PowerStatusRecord PowerStatusRecord::From(std::span<const std::uint8_t> data) {
    PowerStatusRecord record;
    std::copy_n(data.begin(), std::min(data.size(), record.bytes.size()), record.bytes.begin());
    return record;
}

void CMpDevicePowerUI::Activate() {
    Notify(ui::notify::selectchanged);
}

ui::CControlUI* CMpDevicePowerUI::Child(const char* name) const {
    ui::CPaintManagerUI* pm = GetManager();
    if (!pm)
        return nullptr;
    return pm->FindSubControlByName(const_cast<CMpDevicePowerUI*>(this), QString::fromLatin1(name));
}

void CMpDevicePowerUI::SetKind(int kind, int value) {
    m_kind = kind;
    m_value = value;
    ShowPicture();
}

void CMpDevicePowerUI::ShowConnection(bool throughReceiver) {
    m_throughReceiver = throughReceiver;
    ShowPicture();
}

void CMpDevicePowerUI::ShowPicture() {
    ui::CControlUI* picture = Child("device_power_picture");
    if (!picture)
        return;
    const QString image = DevicePictureFor(m_kind, m_throughReceiver);
    picture->SetVisible(!image.isEmpty());
    if (picture->GetBkImage() != image)
        picture->SetBkImage(image);
}

void CMpDevicePowerUI::ShowLayout(bool show) {
    if (ui::CControlUI* layout = Child("device_power_Layout"))
        layout->SetVisible(show);
}

void CMpDevicePowerUI::ShowStatus(std::span<const std::uint8_t> record) {
    ShowStatus(PowerStatusRecord::From(record));
}

void CMpDevicePowerUI::ShowStatus(const PowerStatusRecord& record) {
    auto* progress = ui::control_cast<ui::CProgressUI>(Child("device_Power_progress"));
    if (progress)
        progress->SetValue(100 - record.Battery());
    if (ui::CControlUI* value = Child("device_power_value"))
        value->SetText(QString::asprintf("%d%s", record.Battery(), "%"));

    if (m_kind == 2) {
        if (ui::CControlUI* logo = Child("device_wuxian_logo"))
            logo->SetVisible(record.Wireless());
    }

    ui::CControlUI* status = Child("device_power_status");
    bool showProgress = true;
    QString image;
    switch (record.Charging()) {
    case PowerStatusRecord::kFull:
        image = QStringLiteral("file='power/powered.png'");
        break;
    case PowerStatusRecord::kCharging:
        showProgress = !record.Wireless();
        image = record.Wireless() ? QStringLiteral("file='power/wuxian_powering.png'")
                                  : QStringLiteral("file='power/powering.png'");
        break;
    case PowerStatusRecord::kOnBattery:
        image = QStringLiteral("file='power/power.png'");
        break;
    default:
        break; // an unknown state changes neither
    }
    if (!image.isEmpty()) {
        if (progress)
            progress->SetVisible(showProgress);
        if (status)
            status->SetBkImage(image);
    }

    ui::CControlUI* phone = Child("device_phone_type");
    // Only a mouse pad charges a phone.
    if (phone)
        phone->SetVisible(m_kind == 3);
    if (m_kind == 3) {
        if (phone) {
            const PhoneLook look = PhoneLookFor(record.PhoneType());
            phone->SetToolTip(
                ui::CResourceManager::GetInstance().GetText(QString::fromLatin1(look.textId)));
            phone->SetBkImage(QString::fromLatin1(look.image));
        }
    }
}

} // namespace shell
