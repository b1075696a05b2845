#include "transport/OwedLightReplies.h"

#include <algorithm>

namespace transport {

bool OwedLightReplies::Add(const Owed& owed) {
    if (m_count == kInFlight)
        return false;
    m_owed[(m_first + m_count) % kInFlight] = owed;
    ++m_count;
    return true;
}

void OwedLightReplies::Forget(std::size_t count) {
    count = std::min(count, m_count);
    m_first = (m_first + count) % kInFlight;
    m_count -= count;
}

std::optional<std::size_t> OwedLightReplies::Answered(std::span<const std::uint8_t> reply) const {
    if (m_count == 0)
        return std::nullopt;
    if (reply.size() <= packet::kOffsetHighAt)
        return 0;
    const std::uint8_t length = reply[packet::kLengthAt];
    const auto offset = static_cast<std::uint16_t>(reply[packet::kOffsetLowAt] |
                                                   (reply[packet::kOffsetHighAt] << 8));
    if (length == 0 && offset == 0)
        return 0;
    for (std::size_t i = 0; i < m_count; ++i) {
        if (At(i).length == length && At(i).offset == offset)
            return i;
    }
    return std::nullopt;
}

} // namespace transport
