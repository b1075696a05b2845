#pragma once
// Hands the scan's events to a device registry on the scan's own thread, as the window's
// blocking calls do.

#include "devices/DeviceRegistry.h"
#include "transport/DeviceScanThread.h"

#include <string>

namespace test {

class RegistryForwarder : public transport::ISlotReceiver {
public:
    explicit RegistryForwarder(devices::DeviceRegistry& registry) : m_registry(registry) {}
    void OnSlotBound(int slot) override { m_registry.Bind(static_cast<std::size_t>(slot)); }
    void OnSlotLost(int slot) override { m_registry.Lose(static_cast<std::size_t>(slot)); }
    void OnFirstScanDone() override {}
    void OnOpenDenied(const std::string&, int) override {}

private:
    devices::DeviceRegistry& m_registry;
};

} // namespace test
