#include "sim/VirtualDevice.h"

#include "sim/Descriptors.h"
#include "sim/VirtualHidHandle.h"
#include "transport/HidDescriptor.h"

#include <algorithm>

namespace sim {
namespace {

std::size_t FindCollectionWithReport(const std::vector<transport::HidCollection>& collections,
                                     std::uint8_t reportId) {
    for (std::size_t i = 0; i < collections.size(); ++i) {
        const auto& ids = collections[i].reportIds;
        if (std::find(ids.begin(), ids.end(), reportId) != ids.end())
            return i;
    }
    return VirtualDevice::kNoCollection;
}

// Counts down a fault that lasts for `count` replies; a negative count never runs out.
bool TakeOne(int& count) {
    if (count == 0)
        return false;
    if (count > 0)
        --count;
    return true;
}

// What a stale reply would echo: another command, never the 0xAA of a sleeping device.
std::uint8_t OtherCommand(std::uint8_t command) {
    return command == transport::kCmdBegin ? transport::kCmdEnd : transport::kCmdBegin;
}

} // namespace

VirtualDevice::VirtualDevice(const ProductRow& row, std::shared_ptr<Firmware> firmware)
    : m_row(row), m_firmware(std::move(firmware)), m_descriptor(row.descriptor()) {
    const transport::ParsedDescriptor parsed =
        transport::ParseReportDescriptor(m_descriptor.data(), m_descriptor.size());
    if (!parsed.ok)
        return;
    m_collections = parsed.collections;
    m_commandCollection = FindCollectionWithReport(m_collections, kCommandReportId);
    m_notificationCollection = FindCollectionWithReport(m_collections, row.notificationReportId);
}

transport::HidAttributes VirtualDevice::Attributes() const {
    transport::HidAttributes attributes;
    attributes.vendorId = m_row.vendorId;
    attributes.productId = m_row.productId;
    attributes.versionNumber = m_row.version;
    return attributes;
}

bool VirtualDevice::IsPlugged() const {
    const std::lock_guard lock(m_mutex);
    return m_connection != nullptr;
}

std::string VirtualDevice::PathOf(std::size_t collection) const {
    const std::lock_guard lock(m_mutex);
    return PathLocked(collection);
}

std::vector<std::string> VirtualDevice::Paths() const {
    const std::lock_guard lock(m_mutex);
    return m_paths;
}

std::string VirtualDevice::PathLocked(std::size_t collection) const {
    if (!m_connection || collection >= m_paths.size())
        return {};
    return m_paths[collection];
}

void VirtualDevice::SetReplyDelay(std::chrono::microseconds delay) {
    const std::lock_guard lock(m_mutex);
    m_faults.delay = delay;
}

void VirtualDevice::DropReplies(int count) {
    const std::lock_guard lock(m_mutex);
    m_faults.drop = count;
}

void VirtualDevice::WrongEchoReplies(int count) {
    const std::lock_guard lock(m_mutex);
    m_faults.wrongEcho = count;
}

void VirtualDevice::ForceStatus(std::uint8_t status, int count) {
    const std::lock_guard lock(m_mutex);
    m_faults.forcedStatus = status;
    m_faults.forcedStatusCount = count;
}

void VirtualDevice::SetDeviceAsleep(bool asleep) {
    const std::lock_guard lock(m_mutex);
    m_faults.asleep = asleep;
}

void VirtualDevice::ClearFaults() {
    const std::lock_guard lock(m_mutex);
    m_faults = Faults{};
}

bool VirtualDevice::SendNotification(const std::vector<std::uint8_t>& report) {
    const std::lock_guard lock(m_mutex);
    if (!m_connection || report.empty() || m_notificationCollection == kNoCollection)
        return false;
    const auto& ids = m_collections[m_notificationCollection].reportIds;
    if (std::find(ids.begin(), ids.end(), report[0]) == ids.end())
        return false;
    m_connection->Deliver(m_notificationCollection, report, Clock::now() + m_faults.delay);
    return true;
}

bool VirtualDevice::SendUsage(std::uint16_t usage) {
    return SendNotification({m_row.notificationReportId, static_cast<std::uint8_t>(usage & 0xFF),
                             static_cast<std::uint8_t>(usage >> 8)});
}

std::vector<std::uint8_t> VirtualDevice::MemoryImage() const {
    return m_firmware->Area(FirmwareArea::Memory);
}
std::vector<std::uint8_t> VirtualDevice::KeyTable() const {
    return m_firmware->Area(FirmwareArea::KeyAssignments);
}
std::vector<std::uint8_t> VirtualDevice::KeyAttributeTable() const {
    return m_firmware->Area(FirmwareArea::KeyAttributes);
}
std::vector<std::uint8_t> VirtualDevice::LedTable() const {
    return m_firmware->Area(FirmwareArea::LedTable);
}
std::vector<std::uint8_t> VirtualDevice::LightSchemes() const {
    return m_firmware->Area(FirmwareArea::LightSchemes);
}
std::vector<std::uint8_t> VirtualDevice::MacroMemory() const {
    return m_firmware->Area(FirmwareArea::Macro);
}
std::vector<std::uint8_t> VirtualDevice::LargeData() const {
    return m_firmware->Area(FirmwareArea::LargeData);
}

bool VirtualDevice::PlugIn(const std::string& node) {
    const std::lock_guard lock(m_mutex);
    if (m_connection)
        return false;
    m_connection = std::make_shared<Connection>(node);
    // The paths are made once per plug-in: the scan asks for them ten times a second.
    m_paths.clear();
    for (std::size_t i = 0; i < m_collections.size(); ++i) {
        const auto number = m_collections.size() > 1 ? static_cast<std::uint16_t>(i + 1) : 0;
        m_paths.push_back(transport::MakeHidPath(node, m_row.vendorId, m_row.productId,
                                                 m_row.interfaceNumber, number));
    }
    return true;
}

void VirtualDevice::Unplug() {
    std::shared_ptr<Connection> connection;
    {
        const std::lock_guard lock(m_mutex);
        connection.swap(m_connection);
        m_paths.clear();
    }
    if (connection)
        connection->End();
}

std::unique_ptr<transport::HidDevice> VirtualDevice::Open(const std::string& path,
                                                          const transport::OpenFlags& flags) {
    const std::lock_guard lock(m_mutex);
    for (std::size_t i = 0; i < m_collections.size(); ++i) {
        if (PathLocked(i) != path)
            continue;
        auto queue = m_connection->Attach(i);
        if (!queue)
            return nullptr;
        return std::make_unique<VirtualHidHandle>(shared_from_this(), m_connection,
                                                  std::move(queue), m_collections[i], flags);
    }
    return nullptr;
}

bool VirtualDevice::TakesOutputReport(std::size_t collection, std::uint8_t reportId) const {
    const auto& outputs =
        m_collections[collection].items[static_cast<int>(transport::HidReportType::Output)];
    return std::any_of(outputs.begin(), outputs.end(), [&](const transport::HidReportItem& item) {
        return item.reportId == reportId;
    });
}

int VirtualDevice::ReceiveOutput(const Connection& connection, std::size_t collection,
                                 const std::uint8_t* report, std::size_t length) {
    const std::lock_guard lock(m_mutex);
    if (m_connection.get() != &connection || length == 0 || collection >= m_collections.size())
        return -1;
    const std::size_t reportLength = m_collections[collection].caps.outputReportByteLength;
    if (length > reportLength || !TakesOutputReport(collection, report[0]))
        return -1;
    // A short report goes out padded with zeros to the report's length.
    if (collection == m_commandCollection && report[0] == kCommandReportId) {
        Packet request{};
        std::copy_n(report, std::min(length, request.size()), request.begin());
        AnswerRequest(request);
    }
    return static_cast<int>(length);
}

void VirtualDevice::AnswerRequest(const Packet& request) {
    m_wireLog.Add(WireDirection::Request, request);
    Packet reply = ShapeReply(request);
    if (TakeOne(m_faults.drop))
        return;
    if (TakeOne(m_faults.wrongEcho)) {
        reply[packet::kCommandAt] = OtherCommand(request[packet::kCommandAt]);
        StoreChecksum(reply);
    }
    m_wireLog.Add(WireDirection::Reply, reply);
    // An interrupt endpoint moves one report per interval each way: the request takes one
    // interval to reach the firmware and the reply another to come back.
    m_connection->Deliver(m_commandCollection, {reply.begin(), reply.end()},
                          Clock::now() + 2 * m_faults.delay);
}

Packet VirtualDevice::ShapeReply(const Packet& request) {
    if (m_row.receiver && m_faults.asleep) {
        Packet reply = MakeReply(request, kStatusOk);
        reply[packet::kCommandAt] = transport::kCmdLinkCheck;
        StoreChecksum(reply);
        return reply;
    }
    if (TakeOne(m_faults.forcedStatusCount))
        return MakeReply(request, m_faults.forcedStatus);
    return m_firmware->Answer(request);
}

} // namespace sim
