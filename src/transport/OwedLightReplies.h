#pragma once
// The light-frame packets written on the cable handle whose replies have not been read yet.
// A frame's packets go out back to back; each reply is read later, once the next packets are
// on their way (see CDeviceComm::WriteLightFrame). Replies come in the order of their
// requests, so the oldest owed packet is the one the next reply answers, unless its reply was
// lost.

#include "transport/CommandPacket.h"

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace transport {

class OwedLightReplies {
public:
    using Clock = std::chrono::steady_clock;
    // Packets written ahead of their replies. With the device's reply one report interval
    // behind the request, the reply to the packet three back has come by the time the next
    // write goes out, so reading it never holds the OUT pipe up.
    static constexpr std::size_t kInFlight = 3;

    struct Owed {
        std::uint8_t length = 0;
        std::uint16_t offset = 0;
        Clock::time_point deadline; // when its reply counts as lost
    };

    bool Empty() const { return m_count == 0; }
    std::size_t Count() const { return m_count; }
    const Owed& Oldest() const { return m_owed[m_first]; }
    // False when kInFlight packets are owed already.
    bool Add(const Owed& owed);
    // Forgets the oldest `count` packets.
    void Forget(std::size_t count);
    void Clear() { m_count = 0; }

    // Which owed packet a light reply answers, counted from the oldest; nothing when it names
    // none of them. A reply whose length and offset are 0 (firmware that echoes only the
    // command byte) is taken for the oldest's.
    std::optional<std::size_t> Answered(std::span<const std::uint8_t> reply) const;

private:
    const Owed& At(std::size_t index) const { return m_owed[(m_first + index) % kInFlight]; }

    std::array<Owed, kInFlight> m_owed{};
    std::size_t m_first = 0;
    std::size_t m_count = 0;
};

} // namespace transport
