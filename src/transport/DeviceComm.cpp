#include "transport/DeviceComm.h"

#include "platform/DebugLog.h"

#include <algorithm>
#include <chrono>
#include <optional>
#include <thread>
#include <utility>

namespace transport {

namespace {
// Holds the lock an operation names, or none.
class OperationLock {
public:
    OperationLock(std::recursive_mutex* mutex) : m_mutex(mutex) {
        if (m_mutex)
            m_mutex->lock();
    }
    ~OperationLock() {
        if (m_mutex)
            m_mutex->unlock();
    }
    OperationLock(const OperationLock&) = delete;
    OperationLock& operator=(const OperationLock&) = delete;

private:
    std::recursive_mutex* m_mutex;
};

// The exchange lock of the node a channel is open on (HidDevice::ExchangeLock), held while
// this lives; nothing is held for a closed channel, on which nothing can be written anyway.
class NodeExchange {
public:
    NodeExchange() = default;
    explicit NodeExchange(CHidChannel& channel) : m_mutex(channel.ExchangeLock()) {
        if (m_mutex)
            m_lock = std::unique_lock(*m_mutex);
    }
    // Holds the lock of the channel's node now, without waiting: false while another
    // exchange holds it. A lock already held is kept.
    bool TryHold(CHidChannel& channel) {
        std::shared_ptr<std::mutex> mutex = channel.ExchangeLock();
        if (mutex == m_mutex && m_lock.owns_lock())
            return true;
        m_lock = {};
        m_mutex = std::move(mutex);
        if (!m_mutex)
            return true;
        m_lock = std::unique_lock(*m_mutex, std::try_to_lock);
        return m_lock.owns_lock();
    }

private:
    std::shared_ptr<std::mutex> m_mutex; // outlives the lock on it
    std::unique_lock<std::mutex> m_lock;
};
} // namespace

void LogPacket(const char* title, std::span<const std::uint8_t> bytes) {
    if (!platform::DebugEnabled())
        return;
    platform::DebugLine(title);
    for (const std::string& line : FormatPacketLines(bytes))
        platform::DebugLine(line);
}

CDeviceComm::CDeviceComm(HidBackend* backend) : m_cable(backend), m_receiver(backend) {}

void CDeviceComm::SelectMode(int mode) {
    const bool receiver = mode == kModeReceiver;
    m_receiverMode = receiver;
    m_chunkSize = receiver ? kReceiverChunk : kCableChunk;
}

int CDeviceComm::SetTransferLength(std::uint16_t length) {
    if (length > kMaxTransferLength)
        return 0;
    m_transferLength = length;
    return 1;
}

namespace {
// hidraw keeps at most this many input reports per open file; what comes while it is full is
// lost.
constexpr int kHidrawQueueLength = 64;

// What a reply says about the request it answers.
enum class Echo { Matches, OtherCommand, OtherPacket, NoDevice };

// The device echoes the command byte. Firmware that also echoes the length and offset of a
// packet sets them in the reply; a reply whose fields name another packet of the same command
// (a late reply to an earlier request) is not this request's.
Echo EchoOf(const Packet& request, std::span<const std::uint8_t> reply, std::uint32_t got,
            bool receiverMode) {
    if (reply[packet::kCommandAt] != request[packet::kCommandAt])
        return receiverMode && reply[packet::kCommandAt] == packet::kNoDeviceEcho
                   ? Echo::NoDevice
                   : Echo::OtherCommand;
    if (got <= packet::kOffsetHighAt)
        return Echo::Matches;
    const auto header = reply.subspan(packet::kLengthAt, 3);
    const bool echoed = std::any_of(header.begin(), header.end(), [](auto b) { return b != 0; });
    return echoed && !std::equal(header.begin(), header.end(), request.begin() + packet::kLengthAt)
               ? Echo::OtherPacket
               : Echo::Matches;
}
} // namespace

void CDeviceComm::DropQueuedReports(CHidChannel& channel) {
    Packet stale{};
    std::uint32_t got = 0;
    // Reports that come in meanwhile are new ones: one queue's worth is all there can be.
    for (int i = 0;
         i < kHidrawQueueLength && channel.ReadQueued(stale.data(), stale.size(), &got) == 1; ++i)
        LogPacket("command channel: dropped a queued report", std::span(stale).first(got));
}

int CDeviceComm::Exchange(CHidChannel& channel, int timeoutMs, const Packet& request,
                          std::span<std::uint8_t> reply, std::uint32_t* bytesRead, int maxReads,
                          bool checkEcho) {
    // One exchange at a time on the handle, from the drop to the last read: another one's
    // drop would take this one's reply. The node's other opens in this process (another
    // channel's) get the reply too, and would take it for theirs: one exchange at a time on
    // the node as well.
    const std::lock_guard lock(m_ioLock);
    const NodeExchange node(channel);
    // Light frames leave their last replies on their way: they are read as what they are
    // before this request goes, so that none passes for its reply.
    if (&channel == &m_cable) {
        const int light = CollectLightReplies(0);
        if (m_lightFailure == kCommSuccess)
            m_lightFailure = light;
    }
    // Apart from those, the handle is read only here, so it holds what came since the last
    // exchange: late replies, which must not pass for this one's, and the interface's other
    // input, which would fill the queue until the reply is lost.
    DropQueuedReports(channel);
    std::uint32_t written = 0;
    int result = channel.Write(request.data(), request.size(), &written, timeoutMs);
    if (result <= 0)
        return kCommWriteFailed;
    int lightRepliesPassed = 0;
    for (int attempt = 0; attempt < maxReads; ++attempt) {
        std::uint32_t got = 0;
        result = channel.Read(reply.data(), reply.size(), &got, timeoutMs);
        if (bytesRead)
            *bytesRead = got;
        // A failed read is not retried: only a reply that does not echo the request is.
        if (result != 1 || !checkEcho || got <= packet::kCommandAt)
            break;
        // The light frames of another channel on the node leave replies on their way (ours
        // were read above); they answer no command and cost no attempt. A queue's worth is
        // all there can be.
        if (reply[packet::kCommandAt] == kCmdWriteLightFrame &&
            request[packet::kCommandAt] != kCmdWriteLightFrame &&
            lightRepliesPassed < kHidrawQueueLength) {
            ++lightRepliesPassed;
            --attempt;
            continue;
        }
        const Echo echo = EchoOf(request, reply, got, m_receiverMode);
        if (echo == Echo::Matches)
            break;
        if (echo == Echo::NoDevice)
            return kCommNoDevice;
        // Another command's reply is passed on when the re-read brings no better; another
        // packet's data never is.
        if (echo == Echo::OtherPacket && attempt + 1 == maxReads) {
            if (bytesRead)
                *bytesRead = 0;
            result = kCommNothing;
        }
    }
    return result;
}

int CDeviceComm::Transaction(std::span<const std::uint8_t> request, std::span<std::uint8_t> reply,
                             std::uint32_t* bytesRead) {
    m_busy = true;
    if (bytesRead)
        *bytesRead = 0;
    int result = kCommNothing;
    if (open && !reply.empty()) {
        Packet padded{};
        std::copy_n(request.begin(), std::min(request.size(), packet::kSize), padded.begin());
        LogPacket("命令", padded);
        const bool receiver = m_receiverMode;
        result = Exchange(receiver ? m_receiver : m_cable,
                          receiver ? kReceiverTimeoutMs : kCableTimeoutMs, padded, reply, bytesRead,
                          2, true);
        LogPacket("返回", reply);
    }
    m_busy = false;
    return result;
}

int CDeviceComm::LightTransaction(std::span<const std::uint8_t> request,
                                  std::span<std::uint8_t> reply, std::uint32_t* bytesRead) {
    if (bytesRead)
        *bytesRead = 0;
    if (!open || reply.empty())
        return kCommNothing;
    Packet padded{};
    std::copy_n(request.begin(), std::min(request.size(), packet::kSize), padded.begin());
    return Exchange(m_cable, kCableTimeoutMs, padded, reply, bytesRead, 1, false);
}

int CDeviceComm::StatusResult(int transactionResult, const Packet& reply) {
    if (transactionResult != kCommSuccess)
        return transactionResult;
    if (reply[packet::kStatusAt] == packet::kStatusError)
        return kCommStatusError;
    if (reply[packet::kStatusAt] == packet::kStatusRefused)
        return kCommStatusRefused;
    return kCommSuccess;
}

int CDeviceComm::Simple(std::uint8_t command) {
    const Packet request = MakeRequest(command);
    Packet reply{};
    const std::lock_guard lock(m_commandLock);
    return StatusResult(Transaction(request, reply), reply);
}

int CDeviceComm::DataPacket(std::uint8_t command, std::span<const std::uint8_t> data,
                            std::uint16_t offset, std::uint8_t length, Lock lock, Packet& reply) {
    const Packet request = MakeRequest(command, data, offset, length);
    reply.fill(0);
    std::recursive_mutex* mutex = lock == Lock::Command ? &m_commandLock
                                  : lock == Lock::Light ? &m_lightLock
                                                        : nullptr;
    const OperationLock held(mutex);
    return StatusResult(Transaction(request, reply), reply);
}

int CDeviceComm::ChunkedWrite(std::uint8_t command, std::span<const std::uint8_t> bytes,
                              std::uint16_t baseOffset, std::uint8_t chunk, Lock lock) {
    Packet reply{};
    for (std::size_t at = 0; at < bytes.size(); at += chunk) {
        const auto length =
            static_cast<std::uint8_t>(std::min<std::size_t>(chunk, bytes.size() - at));
        const auto offset = static_cast<std::uint16_t>(baseOffset + at);
        const int result =
            DataPacket(command, bytes.subspan(at, length), offset, length, lock, reply);
        if (result != kCommSuccess)
            return result;
    }
    return kCommSuccess;
}

int CDeviceComm::ChunkedRead(std::uint8_t command, std::span<std::uint8_t> bytes,
                             std::uint16_t baseOffset) {
    const std::uint8_t chunk = m_chunkSize;
    Packet reply{};
    for (std::size_t at = 0; at < bytes.size(); at += chunk) {
        const auto length =
            static_cast<std::uint8_t>(std::min<std::size_t>(chunk, bytes.size() - at));
        const auto offset = static_cast<std::uint16_t>(baseOffset + at);
        const int result = DataPacket(command, {}, offset, length, Lock::Command, reply);
        if (result != kCommSuccess)
            return result;
        std::copy_n(reply.begin() + packet::kDataAt, length, bytes.begin() + static_cast<long>(at));
    }
    return kCommSuccess;
}

int CDeviceComm::Begin() {
    return Simple(kCmdBegin);
}

int CDeviceComm::End() {
    // The firmware needs a moment after the last write before it takes the end.
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return Simple(kCmdEnd);
}

int CDeviceComm::ReadDeviceInfo(std::span<std::uint8_t, kDeviceInfoSize> info) {
    return ChunkedRead(kCmdReadInfo, info, 0);
}

int CDeviceComm::ReadMemory(std::span<std::uint8_t> bytes, std::uint16_t offset) {
    return ChunkedRead(kCmdReadMemory, bytes, offset);
}

int CDeviceComm::WriteMemory(std::span<const std::uint8_t> bytes, std::uint16_t offset) {
    return ChunkedWrite(kCmdWriteMemory, bytes, offset, m_chunkSize, Lock::Command);
}

int CDeviceComm::ReadKeyTable(std::span<std::uint8_t> table) {
    return ChunkedRead(kCmdReadKeyTable,
                       table.first(std::min<std::size_t>(table.size(), m_transferLength)), 0);
}

int CDeviceComm::WriteKeyTable(std::span<const std::uint8_t> table, int page) {
    if (page != 0)
        return kCommBadPage;
    return ChunkedWrite(kCmdWriteKeyTable,
                        table.first(std::min<std::size_t>(table.size(), m_transferLength)), 0,
                        m_chunkSize, Lock::Command);
}

int CDeviceComm::WriteBlock(std::span<const std::uint8_t> bytes, std::uint16_t blockIndex,
                            std::uint16_t blockSize) {
    return ChunkedWrite(kCmdWriteBlock, bytes, static_cast<std::uint16_t>(blockIndex * blockSize),
                        m_chunkSize, Lock::Light);
}

// A light frame is one packet per chunk, and the device answers each packet one report
// interval after it has taken it. Waiting for each reply before the next write would leave the
// OUT pipe idle half the time, so the packets go back to back and the replies are read behind
// them: before each write, the reply of the packet kInFlight back, which has come by then.
// Every packet still gets exactly one reply read, and its status checked. The replies still
// owed when the frame's writes are done are read by the next frame, or by the next command
// exchange before its request (then the failure waits for the next frame). A lost reply shows
// when the next one names a later packet, or, from firmware that echoes only the command byte,
// when its time is up while it is the last owed. All of it runs under the I/O lock taken by
// try-lock per packet, as before: nothing here waits for a command exchange, and a command
// exchange waits at most for one packet's write and the replies still on their way.
int CDeviceComm::WriteLightFrame(std::span<const std::uint8_t> frame) {
    const std::lock_guard lock(m_lightLock);
    const std::uint8_t chunk = m_chunkSize;
    // Taken by the first packet that goes and held to the frame's end, so that no other
    // channel's exchange on the node runs between its packets and their replies.
    NodeExchange node;
    for (std::size_t at = 0; at < frame.size(); at += chunk) {
        // A frame packet never goes in the middle of a command exchange, and never through
        // the receiver: it is dropped and counts as sent. Nor does it wait for an exchange
        // that holds the handle or the node (a command's, a rebinding, another channel's):
        // the caller is the UI thread.
        if (m_receiverMode)
            continue;
        const std::unique_lock io(m_ioLock, std::try_to_lock);
        if (m_busy || !io.owns_lock() || !node.TryHold(m_cable)) {
            platform::DebugLine("放弃灯光数据");
            continue;
        }
        const auto length =
            static_cast<std::uint8_t>(std::min<std::size_t>(chunk, frame.size() - at));
        const int result =
            PipelineLightPacket(frame.subspan(at, length), static_cast<std::uint16_t>(at));
        if (result != kCommSuccess)
            return result;
    }
    return kCommSuccess;
}

int CDeviceComm::PipelineLightPacket(std::span<const std::uint8_t> data, std::uint16_t offset) {
    if (!open)
        return kCommNothing;
    int result = std::exchange(m_lightFailure, kCommSuccess);
    if (result == kCommSuccess)
        result = CollectLightReplies(OwedLightReplies::kInFlight - 1);
    if (result == kCommSuccess)
        result = SendLightPacket(data, offset);
    return result;
}

int CDeviceComm::SendLightPacket(std::span<const std::uint8_t> data, std::uint16_t offset) {
    ForgetRepliesOfAnEarlierHandle();
    // With nothing owed, whatever is queued is stale.
    if (m_owedLight.Empty())
        DropQueuedReports(m_cable);
    const auto length = static_cast<std::uint8_t>(data.size());
    const Packet request = MakeRequest(kCmdWriteLightFrame, data, offset, length);
    std::uint32_t written = 0;
    if (m_cable.Write(request.data(), request.size(), &written, kCableTimeoutMs) <= 0)
        return kCommWriteFailed;
    m_owedLight.Add({length, offset,
                     OwedLightReplies::Clock::now() + std::chrono::milliseconds(kCableTimeoutMs)});
    return kCommSuccess;
}

void CDeviceComm::ForgetRepliesOfAnEarlierHandle() {
    const std::uint64_t handle = m_cable.GetOpenCount();
    if (handle != m_owedLightHandle || !m_cable.IsOpen()) {
        m_owedLight.Clear();
        m_owedLightHandle = handle;
    }
}

int CDeviceComm::CollectLightReplies(std::size_t keep) {
    ForgetRepliesOfAnEarlierHandle();
    int result = kCommSuccess;
    while (m_owedLight.Count() > keep) {
        const int one = CollectLightReply();
        if (result == kCommSuccess)
            result = one;
    }
    return result;
}

namespace {
// What is left of a time limit, in whole milliseconds rounded up; 0 once it has passed.
int MillisecondsUntil(OwedLightReplies::Clock::time_point deadline) {
    const auto left = deadline - OwedLightReplies::Clock::now();
    if (left <= OwedLightReplies::Clock::duration::zero())
        return 0;
    return static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(left).count());
}
} // namespace

int CDeviceComm::CollectLightReply() {
    const OwedLightReplies::Clock::time_point deadline = m_owedLight.Oldest().deadline;
    Packet reply{};
    // Reports that answer none of the owed packets (a command's late reply) are passed over;
    // a queue's worth is all there can be.
    for (int i = 0; i < kHidrawQueueLength; ++i) {
        std::uint32_t got = 0;
        if (m_cable.Read(reply.data(), reply.size(), &got, MillisecondsUntil(deadline)) != 1)
            break;
        if (got <= packet::kCommandAt || reply[packet::kCommandAt] != kCmdWriteLightFrame)
            continue;
        const std::optional<std::size_t> answered =
            m_owedLight.Answered(std::span(reply).first(got));
        if (!answered)
            continue;
        // A reply for a later packet: the replies of the ones before it were lost.
        m_owedLight.Forget(*answered + 1);
        return *answered == 0 ? StatusResult(kCommSuccess, reply) : kCommNothing;
    }
    m_owedLight.Forget(1);
    return kCommNothing;
}

int CDeviceComm::WriteMacroData(std::span<const std::uint8_t> bytes) {
    return ChunkedWrite(kCmdWriteMacro, bytes, 0, m_chunkSize, Lock::Command);
}

int CDeviceComm::WriteLargeData(std::span<const std::uint8_t> bytes) {
    return ChunkedWrite(kCmdWriteLargeData, bytes, 0, packet::kMaxData, Lock::None);
}

int CDeviceComm::ReadStatus(std::span<std::uint8_t> status, std::uint16_t offset) {
    const auto length = static_cast<std::uint8_t>(std::min(status.size(), packet::kMaxData));
    Packet reply{};
    const int result = DataPacket(kCmdReadStatus, {}, offset, length, Lock::Command, reply);
    if (result == kCommSuccess)
        std::copy_n(reply.begin() + packet::kDataAt, length, status.begin());
    return result;
}

int CDeviceComm::ReadKeyAttributeTable(std::span<std::uint8_t> table) {
    const std::size_t length = std::min<std::size_t>(table.size(), m_transferLength / 3);
    return ChunkedRead(kCmdReadKeyAttributes, table.first(length), 0);
}

int CDeviceComm::TakeLightingControl() {
    return Simple(kCmdTakeLightControl);
}

bool CDeviceComm::CheckReceiverLink() {
    if (!m_receiverMode)
        return true;
    Packet reply{};
    const Packet request = MakeRequest(kCmdLinkCheck);
    int result;
    {
        const std::lock_guard lock(m_commandLock);
        result = Transaction(request, reply);
    }
    const std::uint8_t status = reply[packet::kStatusAt];
    return result == kCommSuccess && reply[packet::kDataAt] == 0xFF &&
           status != packet::kStatusError && status != packet::kStatusRefused;
}

} // namespace transport
