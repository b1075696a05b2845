#include "sim/Firmware.h"

#include <algorithm>
#include <optional>

namespace sim {
namespace {

struct AreaCommand {
    std::uint8_t command;
    FirmwareArea area;
    bool write;
};

constexpr AreaCommand kAreaCommands[] = {
    {kReadInfo, FirmwareArea::Info, false},
    {kReadMemory, FirmwareArea::Memory, false},
    {kWriteMemory, FirmwareArea::Memory, true},
    {kReadKeyTable, FirmwareArea::KeyTable, false},
    {kWriteKeyTable, FirmwareArea::KeyAssignments, true},
    {kWriteBlock, FirmwareArea::LightSchemes, true},
    {kWriteLightFrame, FirmwareArea::LedTable, true},
    {kWriteMacro, FirmwareArea::Macro, true},
    {kWriteLargeData, FirmwareArea::LargeData, true},
    {kReadStatus, FirmwareArea::Status, false},
    {kReadKeyAttributes, FirmwareArea::KeyAttributes, false},
};

std::optional<AreaCommand> FindAreaCommand(std::uint8_t command) {
    for (const AreaCommand& entry : kAreaCommands) {
        if (entry.command == command)
            return entry;
    }
    return std::nullopt;
}

} // namespace

Firmware::Firmware(FirmwareImage image) : m_image(std::move(image)) {
    std::vector<std::uint8_t>& assignments = AreaOf(m_image, FirmwareArea::KeyAssignments);
    if (assignments.empty())
        assignments = AreaOf(m_image, FirmwareArea::KeyTable);
}

Packet Firmware::Answer(const Packet& request) {
    if (!ChecksumMatches(request))
        return MakeReply(request, kStatusRejected);

    const std::lock_guard lock(m_mutex);
    const std::uint8_t command = request[wire::kCommandAt];
    switch (command) {
    case kBegin:
    case kEnd:
        return MakeReply(request, kStatusOk);
    case kTakeLightControl:
        if (AreaOf(m_image, FirmwareArea::LedTable).empty())
            return MakeReply(request, kStatusRejected);
        m_hostLightControl = true;
        return MakeReply(request, kStatusOk);
    case kLinkCheck: {
        // Over the cable the device is plainly there; a receiver only gets here while its
        // device answers.
        Packet reply = MakeReply(request, kStatusOk);
        reply[wire::kDataAt] = 0xFF;
        StoreChecksum(reply);
        return reply;
    }
    default:
        break;
    }
    if (const auto entry = FindAreaCommand(command))
        return AnswerAreaCommand(request, entry->area, entry->write);
    return MakeReply(request, kStatusRejected);
}

Packet Firmware::AnswerAreaCommand(const Packet& request, FirmwareArea area, bool write) {
    std::vector<std::uint8_t>& bytes = AreaOf(m_image, area);
    const std::size_t length = request[wire::kLengthAt];
    const std::size_t offset = PacketOffset(request);
    if (bytes.empty() || length > wire::kMaxData)
        return MakeReply(request, kStatusRejected);
    if (offset + length > bytes.size())
        return MakeReply(request, kStatusOutOfRange);

    Packet reply = MakeReply(request, kStatusOk);
    const auto data = request.begin() + wire::kDataAt;
    if (write) {
        std::copy(data, data + static_cast<std::ptrdiff_t>(length), bytes.begin() + offset);
    } else {
        std::copy_n(bytes.begin() + offset, length, reply.begin() + wire::kDataAt);
        StoreChecksum(reply);
    }
    return reply;
}

std::vector<std::uint8_t> Firmware::Area(FirmwareArea area) const {
    const std::lock_guard lock(m_mutex);
    return m_image[static_cast<std::size_t>(area)];
}

bool Firmware::WriteArea(FirmwareArea area, std::size_t offset,
                         const std::vector<std::uint8_t>& bytes) {
    const std::lock_guard lock(m_mutex);
    std::vector<std::uint8_t>& target = AreaOf(m_image, area);
    if (offset > target.size() || bytes.size() > target.size() - offset)
        return false;
    std::copy(bytes.begin(), bytes.end(), target.begin() + static_cast<std::ptrdiff_t>(offset));
    return true;
}

bool Firmware::HostLightControl() const {
    const std::lock_guard lock(m_mutex);
    return m_hostLightControl;
}

} // namespace sim
