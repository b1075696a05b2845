// The power status read of the wireless-capable devices.

#include "devices/KelvaneKeyboardDevice.h"

namespace devices {

int CKelvaneUSBDevice::ReadPowerStatusRecord(std::array<std::uint8_t, kPowerStatusSize>* read) {
    if (!m_command.open || !CheckReceiverLink())
        return 0;
    std::array<std::uint8_t, kPowerStatusSize> status{};
    const int result = m_command.ReadStatus(status, 0);
    if (result != transport::kCommSuccess)
        return result;
    // The device does not know how it is connected; the host does.
    status[kPowerWirelessAt] = m_command.IsReceiverMode() ? 1 : 0;
    if (m_powerItem)
        m_powerItem->ShowPowerStatus(status);
    if (read)
        *read = status;
    return result;
}

void CKelvaneKeyboardDevice::ReadPowerStatus() {
    std::array<std::uint8_t, kPowerStatusSize> status{};
    if (ReadPowerStatusRecord(&status) == transport::kCommSuccess && GetNotificationTarget())
        GetNotificationTarget()->PowerLevel(*this, status[kPowerLevelAt]);
}

} // namespace devices
