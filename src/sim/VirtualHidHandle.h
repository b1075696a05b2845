#pragma once
// One open collection of a virtual device: what VirtualHidBackend::Open hands out. It reads
// every input report of the interface, as a hidraw file does.

#include "sim/Connection.h"
#include "transport/HidBackend.h"

#include <memory>

namespace sim {

class VirtualDevice;

class VirtualHidHandle : public transport::HidDevice {
public:
    VirtualHidHandle(std::shared_ptr<VirtualDevice> device, std::shared_ptr<Connection> connection,
                     std::shared_ptr<InputQueue> queue, transport::HidCollection collection,
                     const transport::OpenFlags& flags);
    ~VirtualHidHandle() override;

    int Read(std::uint8_t* buffer, std::size_t capacity, int timeoutMs) override;
    int Write(const std::uint8_t* report, std::size_t length, int timeoutMs) override;
    void Cancel() override;
    transport::HidAttributes Attributes() const override;
    const transport::HidCollection& Collection() const override { return m_collection; }
    std::shared_ptr<std::mutex> ExchangeLock() override;

private:
    const std::shared_ptr<VirtualDevice> m_device;
    const std::shared_ptr<Connection> m_connection;
    const std::shared_ptr<InputQueue> m_queue;
    const transport::HidCollection m_collection;
    const transport::OpenFlags m_flags;
};

} // namespace sim
