#include "sim/VirtualDevice.h"

#include "transport/NodeLock.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>

namespace sim {
namespace {

const ReportLayout* FindReport(const std::vector<ReportLayout>& reports, std::uint8_t id) {
    const auto found = std::find_if(reports.begin(), reports.end(),
                                    [id](const ReportLayout& report) { return report.id == id; });
    return found == reports.end() ? nullptr : &*found;
}

std::size_t FindCollectionWithInput(const std::vector<CollectionLayout>& collections,
                                    std::uint8_t reportId) {
    for (std::size_t i = 0; i < collections.size(); ++i) {
        if (FindReport(collections[i].inputs, reportId))
            return i;
    }
    return VirtualDevice::kNoCollection;
}

// The path the interface's collection shows, as the HID layer names it: the USB identity and,
// when the interface has more than one collection, the collection's 1-based number.
std::string CollectionPath(const std::string& node, const ProductRow& row, std::size_t collection,
                           std::size_t collections) {
    char identity[64];
    std::snprintf(identity, sizeof identity, "?vid_%04x&pid_%04x&mi_%02x", row.vendorId,
                  row.productId, row.interfaceNumber);
    std::string path = node + identity;
    if (collections > 1) {
        char number[24];
        std::snprintf(number, sizeof number, "&col%02zx", collection + 1);
        path += number;
    }
    return path;
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
    return command == kBegin ? kEnd : kBegin;
}

} // namespace

VirtualDevice::VirtualDevice(const ProductRow& row, std::shared_ptr<Firmware> firmware)
    : m_row(row), m_firmware(std::move(firmware)), m_layout(row.interfaceLayout()),
      m_trace(SimTrace::FromEnvironment()) {
    m_commandCollection = FindCollectionWithInput(m_layout.collections, kCommandReportId);
    m_notificationCollection =
        FindCollectionWithInput(m_layout.collections, row.notificationReportId);
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

std::chrono::microseconds VirtualDevice::ReplyDelay() const {
    const std::lock_guard lock(m_mutex);
    return m_faults.delay;
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

void VirtualDevice::EchoCommandOnly(bool commandOnly) {
    const std::lock_guard lock(m_mutex);
    m_faults.commandOnlyEcho = commandOnly;
}

void VirtualDevice::SetDeviceAsleep(bool asleep) {
    const std::lock_guard lock(m_mutex);
    m_faults.asleep = asleep;
}

void VirtualDevice::RefuseOpens(bool refuse) {
    const std::lock_guard lock(m_mutex);
    m_faults.openRefusal = refuse ? EACCES : 0;
}

void VirtualDevice::SetOwnedElsewhere(bool owned) {
    const std::lock_guard lock(m_mutex);
    m_faults.openRefusal = owned ? transport::kNodeInUse : 0;
}

int VirtualDevice::OpenRefusal() const {
    const std::lock_guard lock(m_mutex);
    return m_faults.openRefusal;
}

void VirtualDevice::SetRandomFaults(const RandomFaults& faults) {
    const std::lock_guard lock(m_mutex);
    m_faults.random = faults;
    m_random.seed(faults.seed);
    m_tally = FaultTally{};
}

FaultTally VirtualDevice::RandomFaultTally() const {
    const std::lock_guard lock(m_mutex);
    return m_tally;
}

void VirtualDevice::ClearFaults() {
    const std::lock_guard lock(m_mutex);
    m_faults = Faults{};
}

VirtualDevice::RandomFault VirtualDevice::DrawFault() {
    ++m_tally.replies;
    const RandomFaults& faults = m_faults.random;
    std::vector<RandomFault> enabled;
    if (faults.late && faults.maxLate.count() > 0)
        enabled.push_back(RandomFault::Late);
    if (faults.drop)
        enabled.push_back(RandomFault::Drop);
    if (faults.wrongEcho)
        enabled.push_back(RandomFault::WrongEcho);
    if (faults.rejected)
        enabled.push_back(RandomFault::Rejected);
    if (enabled.empty() ||
        std::uniform_real_distribution<double>(0.0, 1.0)(m_random) >= faults.rate)
        return RandomFault::None;
    const RandomFault fault =
        enabled[std::uniform_int_distribution<std::size_t>(0, enabled.size() - 1)(m_random)];
    switch (fault) {
    case RandomFault::Late:
        ++m_tally.late;
        break;
    case RandomFault::Drop:
        ++m_tally.dropped;
        break;
    case RandomFault::WrongEcho:
        ++m_tally.wrongEcho;
        break;
    default:
        ++m_tally.rejected;
        break;
    }
    return fault;
}

bool VirtualDevice::SendNotification(const std::vector<std::uint8_t>& report) {
    const std::lock_guard lock(m_mutex);
    if (!m_connection || report.empty() || m_notificationCollection == kNoCollection)
        return false;
    if (!FindReport(m_layout.collections[m_notificationCollection].inputs, report[0]))
        return false;
    Trace(TraceDirection::Sent, report.data(), report.size());
    m_connection->Deliver(report, Clock::now() + m_faults.delay);
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
    // The paths are made once per plug-in: every scan pass and removal check asks for them.
    m_paths.clear();
    const std::size_t count = m_layout.collections.size();
    for (std::size_t i = 0; i < count; ++i)
        m_paths.push_back(CollectionPath(node, m_row, i, count));
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

VirtualDevice::Attachment VirtualDevice::Attach(const std::string& path) {
    const std::lock_guard lock(m_mutex);
    for (std::size_t i = 0; i < m_paths.size(); ++i) {
        if (PathLocked(i) == path)
            return {m_connection, m_connection->Attach(i)};
    }
    return {};
}

std::size_t VirtualDevice::OutputLength(std::size_t collection, std::uint8_t reportId) const {
    const ReportLayout* report = FindReport(m_layout.collections[collection].outputs, reportId);
    return report ? report->length : 0;
}

void VirtualDevice::Trace(TraceDirection direction, const std::uint8_t* report,
                          std::size_t length) const {
    if (m_trace)
        m_trace->Add(m_row.word, direction, report, length);
}

int VirtualDevice::ReceiveOutput(const Connection& connection, std::size_t collection,
                                 const std::uint8_t* report, std::size_t length) {
    const std::lock_guard lock(m_mutex);
    if (m_connection.get() != &connection || length == 0 ||
        collection >= m_layout.collections.size())
        return -1;
    if (length > OutputLength(collection, report[0]))
        return -1;
    Trace(TraceDirection::Received, report, length);
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
    const RandomFault fault = m_faults.random.rate > 0 ? DrawFault() : RandomFault::None;
    // A rejected command is not carried out: the firmware never sees it.
    Packet reply =
        fault == RandomFault::Rejected ? MakeReply(request, kStatusRejected) : ShapeReply(request);
    if (TakeOne(m_faults.drop) || fault == RandomFault::Drop)
        return;
    if (TakeOne(m_faults.wrongEcho) || fault == RandomFault::WrongEcho)
        reply[wire::kCommandAt] = OtherCommand(request[wire::kCommandAt]);
    if (m_faults.commandOnlyEcho)
        std::fill_n(reply.begin() + wire::kLengthAt, 3, 0);
    StoreChecksum(reply);
    m_wireLog.Add(WireDirection::Reply, reply);
    Trace(TraceDirection::Sent, reply.data(), reply.size());
    // The request took one report interval to get here (the handle's write waited for it);
    // the reply takes another to come back.
    Clock::time_point due = Clock::now() + m_faults.delay;
    if (fault == RandomFault::Late)
        due += std::chrono::microseconds(
            std::uniform_int_distribution<long long>(1, m_faults.random.maxLate.count())(m_random));
    m_connection->Deliver({reply.begin(), reply.end()}, due);
}

Packet VirtualDevice::ShapeReply(const Packet& request) {
    if (m_row.receiver && m_faults.asleep) {
        Packet reply = MakeReply(request, kStatusOk);
        reply[wire::kCommandAt] = kLinkCheck;
        StoreChecksum(reply);
        return reply;
    }
    if (TakeOne(m_faults.forcedStatusCount))
        return MakeReply(request, m_faults.forcedStatus);
    return m_firmware->Answer(request);
}

} // namespace sim
