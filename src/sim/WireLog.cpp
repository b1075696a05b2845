#include "sim/WireLog.h"

namespace sim {

void WireLog::Add(WireDirection direction, const Packet& bytes) {
    const std::lock_guard lock(m_mutex);
    m_packets.push_back({direction, bytes});
    while (m_packets.size() > m_capacity)
        m_packets.pop_front();
}

std::vector<WirePacket> WireLog::Packets() const {
    const std::lock_guard lock(m_mutex);
    return {m_packets.begin(), m_packets.end()};
}

void WireLog::Clear() {
    const std::lock_guard lock(m_mutex);
    m_packets.clear();
}

void WireLog::SetCapacity(std::size_t packets) {
    const std::lock_guard lock(m_mutex);
    m_capacity = packets;
    while (m_packets.size() > m_capacity)
        m_packets.pop_front();
}

} // namespace sim
