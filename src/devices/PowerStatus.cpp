// The power status read of the wireless-capable devices.

#include "devices/KelvaneUSBDevice.h"

namespace devices {

int CKelvaneUSBDevice::ReadPowerStatusRecord() {
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
    return result;
}

} // namespace devices
