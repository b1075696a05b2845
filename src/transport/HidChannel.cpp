#include "transport/HidChannel.h"

#include "transport/HidDescriptor.h"

#include <algorithm>
#include <chrono>

namespace transport {

CHidChannel::CHidChannel(HidBackend* backend)
    : m_backend(backend ? backend : &DefaultHidBackend()) {}

CHidChannel::~CHidChannel() {
    Close();
    FreeList();
}

int CHidChannel::Open(const std::string& path, bool read, bool write, bool overlapped,
                      bool shareReadOnly) {
    m_flags = OpenFlags{read, write, overlapped, shareReadOnly};
    if (path.size() >= kMaxPath) {
        Close();
        m_openError = 0;
        m_path.clear();
        return 0;
    }
    m_path = path;
    return Reopen();
}

int CHidChannel::Reopen() {
    Close();
    m_openError = 0;
    if (m_path.empty())
        return 0;
    std::shared_ptr<HidDevice> device = m_backend->Open(m_path, m_flags, &m_openError);
    if (!device)
        return 0;
    m_attributes = device->Attributes();
    m_collection = device->Collection();
    for (int type = 0; type < 3; ++type) {
        const HidCaps& caps = m_collection.caps;
        const std::uint16_t length = type == 0   ? caps.inputReportByteLength
                                     : type == 1 ? caps.outputReportByteLength
                                                 : caps.featureReportByteLength;
        m_reportBuffers[type].assign(length, 0);
    }
    m_interfaceNumber = PathInterfaceNumber(m_path);
    m_collectionNumber = PathCollectionNumber(m_path);
    const std::lock_guard lock(m_deviceMutex);
    m_device = std::move(device);
    ++m_openCount;
    return 1;
}

void CHidChannel::Close() {
    std::shared_ptr<HidDevice> device;
    {
        const std::lock_guard lock(m_deviceMutex);
        device = std::move(m_device);
    }
    // Always cancel, once for a read and once for a write that may both be waiting: a thread
    // that took the device just before the close must not wait on it. The device goes when
    // the last thread using it lets go.
    if (device) {
        device->Cancel();
        device->Cancel();
    }
    ReleaseCapabilities();
}

void CHidChannel::ReleaseCapabilities() {
    for (auto& buffer : m_reportBuffers)
        buffer.clear();
}

std::shared_ptr<std::mutex> CHidChannel::ExchangeLock() const {
    const std::shared_ptr<HidDevice> device = Device();
    return device ? device->ExchangeLock() : nullptr;
}

void CHidChannel::Cancel() {
    if (std::shared_ptr<HidDevice> device = Device())
        device->Cancel();
}

bool CHidChannel::IsOpen() const {
    return Device() != nullptr;
}

std::shared_ptr<HidDevice> CHidChannel::Device() const {
    const std::lock_guard lock(m_deviceMutex);
    return m_device;
}

namespace {
// One read or write on the channel's device: 1 with the byte count, 0 when nothing moved.
template <class Move>
int Transfer(const std::shared_ptr<HidDevice>& device, bool hasData, std::uint32_t* bytes,
             Move&& move) {
    if (bytes)
        *bytes = 0;
    if (!device || !hasData)
        return 0;
    const int n = move(*device);
    if (n <= 0)
        return 0;
    if (bytes)
        *bytes = static_cast<std::uint32_t>(n);
    return 1;
}

// A report of the collection: one whose ID is the collection's, or any report when the
// collection has no IDs (then the interface has no other collection).
bool OwnsReport(const HidCollection& collection, std::uint8_t reportId) {
    const auto& ids = collection.reportIds;
    return ids.empty() || std::find(ids.begin(), ids.end(), reportId) != ids.end();
}

// Reads until a report of the device's own collection arrives, within one time limit.
int ReadOwnReport(HidDevice& device, std::uint8_t* buffer, std::size_t length, int timeoutMs) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    int remaining = timeoutMs;
    for (;;) {
        const int n = device.Read(buffer, length, remaining);
        if (n <= 0 || OwnsReport(device.Collection(), buffer[0]))
            return n;
        if (timeoutMs != CHidChannel::kInfinite) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            remaining = static_cast<int>(std::max<long long>(left.count(), 0));
        }
    }
}
} // namespace

int CHidChannel::Read(std::uint8_t* buffer, std::size_t length, std::uint32_t* bytes,
                      int timeoutMs) {
    return Transfer(Device(), buffer && length > 0, bytes, [&](HidDevice& device) {
        return ReadOwnReport(device, buffer, length, timeoutMs);
    });
}

int CHidChannel::ReadQueued(std::uint8_t* buffer, std::size_t length, std::uint32_t* bytes) {
    return Transfer(Device(), buffer && length > 0, bytes,
                    [&](HidDevice& device) { return device.Read(buffer, length, 0); });
}

int CHidChannel::Write(const std::uint8_t* buffer, std::size_t length, std::uint32_t* bytes,
                       int timeoutMs) {
    return Transfer(Device(), buffer && length > 0, bytes,
                    [&](HidDevice& device) { return device.Write(buffer, length, timeoutMs); });
}

int CHidChannel::Enumerate() {
    FreeList();
    return m_backend->Enumerate(m_paths) ? 1 : 0;
}

const std::string* CHidChannel::NextPath() {
    if (m_cursor >= m_paths.size())
        return nullptr;
    return &m_paths[m_cursor++];
}

void CHidChannel::FreeList() {
    m_paths.clear();
    m_cursor = 0;
}

std::int32_t CHidChannel::UnpackInputReport(const std::uint8_t* report, std::size_t length) {
    return transport::UnpackInputReport(m_collection, report, length);
}

std::span<std::uint8_t> CHidChannel::GetReportBuffer(HidReportType type) {
    return m_reportBuffers[static_cast<int>(type)];
}

std::vector<HidReportItem>& CHidChannel::GetReportItems(HidReportType type) {
    return m_collection.items[static_cast<int>(type)];
}

} // namespace transport
