#pragma once
// CMpDevicePowerUI ("MpDevicePower"): a device's battery display, one page of
// "device_power_switch". Built from "XML/CustomControlXML/MpDevicePower.xml"; its children
// are "device_power_Layout", "device_power_value" (the percentage), "device_wuxian_logo"
// (wireless), "device_Power_progress" (the empty part of the battery), "device_power_status"
// (charging picture) and "device_phone_type" (the phone on a mouse pad's charger), and beside
// the battery "device_power_picture", the device on its cable or with its receiver; the
// picture shows also for a device without a battery.

#include "devices/DevicePanel.h"
#include "ui/ContainerUI.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace shell {

// A power status record as a device reports it, cut or padded with zeros to 64 bytes.
struct PowerStatusRecord {
    enum : std::uint8_t { kFull = 0, kCharging = 1, kOnBattery = 2 };
    std::array<std::uint8_t, 64> bytes{};

    static PowerStatusRecord From(std::span<const std::uint8_t> data);
    int Battery() const { return bytes[0]; }
    int Charging() const { return bytes[1]; }
    int PhoneType() const { return bytes[2]; } // 1 iPhone, 2 Samsung, 3 other
    bool Wireless() const { return bytes[3] != 0; }
};

class CMpDevicePowerUI : public ui::CHorizontalLayoutUI, public devices::IPowerItem {
public:
    QString GetClass() const override { return QStringLiteral("MpDevicePower"); }
    // Sends "selectchanged", as a click on the item does.
    void Activate();

    // The kind picks the picture, shown on its cable until the device says otherwise.
    void SetKind(int kind, int value);
    int GetKind() const { return m_kind; }
    int GetValue() const { return m_value; }

    void ShowLayout(bool show);
    void ShowStatus(std::span<const std::uint8_t> record);
    void ShowStatus(const PowerStatusRecord& record);
    // From the device: the battery shows with the record, or not at all.
    void ShowPowerStatus(std::span<const std::uint8_t> record) override {
        ShowLayout(true);
        ShowStatus(record);
    }
    void ShowNoPowerStatus() override { ShowLayout(false); }
    void ShowConnection(bool throughReceiver) override;
    bool ShowsReceiver() const { return m_throughReceiver; }

private:
    ui::CControlUI* Child(const char* name) const;
    void ShowPicture();

    int m_kind = 0;
    int m_value = 0;
    bool m_throughReceiver = false;
};

} // namespace shell
