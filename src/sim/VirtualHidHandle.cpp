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

// The endpoint takes a report at once, so only a pending cancel or a gone device stops it.
int VirtualHidHandle::Write(const std::uint8_t* report, std::size_t length, int /*timeoutMs*/) {
    if (m_connection->TakeCancel(*m_queue))
        return 0;
    if (!m_flags.write)
        return -1;
    return m_device->ReceiveOutput(*m_connection, m_queue->collection, report, length);
}

void VirtualHidHandle::Cancel() {
    m_connection->Cancel(*m_queue);
}

transport::HidAttributes VirtualHidHandle::Attributes() const {
    return m_device->Attributes();
}

} // namespace sim
