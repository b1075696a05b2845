#include "sim/VirtualHidHandle.h"

#include "sim/VirtualDevice.h"

namespace sim {

VirtualHidHandle::VirtualHidHandle(std::shared_ptr<VirtualDevice> device,
                                   std::shared_ptr<Connection> connection,
                                   std::shared_ptr<InputQueue> queue,
                                   transport::HidCollection collection,
                                   const transport::OpenFlags& flags)
    : m_device(std::move(device)), m_connection(std::move(connection)), m_queue(std::move(queue)),
      m_collection(std::move(collection)), m_flags(flags) {}

VirtualHidHandle::~VirtualHidHandle() {
    m_connection->Detach(m_queue);
}

int VirtualHidHandle::Read(std::uint8_t* buffer, std::size_t capacity, int timeoutMs) {
    if (!m_flags.read)
        return -1;
    return m_connection->Read(*m_queue, buffer, capacity, timeoutMs);
}

// Like a write to hidraw, it returns once the report has crossed the OUT endpoint, in the next
// bus frame the reports written before it left free.
int VirtualHidHandle::Write(const std::uint8_t* report, std::size_t length, int timeoutMs) {
    if (!m_flags.write)
        return -1;
    const int sent = m_connection->Send(*m_queue, m_device->ReplyDelay(), timeoutMs);
    if (sent <= 0)
        return sent;
    return m_device->ReceiveOutput(*m_connection, m_queue->collection, report, length);
}

void VirtualHidHandle::Cancel() {
    m_connection->Cancel(*m_queue);
}

std::shared_ptr<std::mutex> VirtualHidHandle::ExchangeLock() {
    return {m_connection, &m_connection->ExchangeLock()};
}

transport::HidAttributes VirtualHidHandle::Attributes() const {
    return m_device->Attributes();
}

} // namespace sim
