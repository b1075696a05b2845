#pragma once
// Every command request a device received and every reply it sent, in order. Thread-safe.
// Keeps the most recent packets only, so a demo left running for hours does not grow.

#include "sim/FirmwarePacket.h"

#include <cstddef>
#include <deque>
#include <mutex>
#include <vector>

namespace sim {

enum class WireDirection { Request, Reply };

struct WirePacket {
    WireDirection direction;
    Packet bytes;
};

class WireLog {
public:
    static constexpr std::size_t kDefaultCapacity = 4096;

    void Add(WireDirection direction, const Packet& bytes);
    std::vector<WirePacket> Packets() const;
    void Clear();
    void SetCapacity(std::size_t packets);

private:
    mutable std::mutex m_mutex;
    std::deque<WirePacket> m_packets;
    std::size_t m_capacity = kDefaultCapacity;
};

} // namespace sim
