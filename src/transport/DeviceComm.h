#pragma once
// CDeviceComm: the command channel of one product. It holds the cable and the receiver
// channel, uses the one the mode selects, runs one 64-byte request/reply exchange at a time,
// and offers one operation per firmware command; long data goes packet by packet.
//
// Results (every operation): 1 success; 0 nothing done or nothing read (channel not open, a
// read failed, timed out or was cancelled); -1 the request could not be written; -101 the
// receiver reports that its device does not answer; -102/-103 the device answered status
// 0xFF/0xFE; -201 a bad page for the key-table write.

#include "transport/CommandPacket.h"
#include "transport/HidChannel.h"
#include "transport/OwedLightReplies.h"
#include "transport/WatchedFlag.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <span>

namespace transport {

enum CommResult : int {
    kCommSuccess = 1,
    kCommNothing = 0,
    kCommWriteFailed = -1,
    kCommNoDevice = -101,
    kCommStatusError = -102,
    kCommStatusRefused = -103,
    kCommBadPage = -201,
};

inline constexpr std::size_t kDeviceInfoSize = 34;
inline constexpr std::uint16_t kMaxTransferLength = 512;

class CDeviceComm {
public:
    static constexpr int kModeCable = 1;
    static constexpr int kModeReceiver = 2;
    static constexpr std::uint8_t kCableChunk = 56;
    static constexpr std::uint8_t kReceiverChunk = 24;
    static constexpr int kCableTimeoutMs = 1000;
    static constexpr int kReceiverTimeoutMs = 5000;

    explicit CDeviceComm(HidBackend* backend = nullptr);
    CDeviceComm(const CDeviceComm&) = delete;
    CDeviceComm& operator=(const CDeviceComm&) = delete;

    // 2 selects the receiver (24-byte chunks); anything else the cable (56-byte chunks).
    void SelectMode(int mode);
    bool IsReceiverMode() const { return m_receiverMode; }
    std::uint8_t GetChunkSize() const { return m_chunkSize; }

    std::uint16_t GetTransferLength() const { return m_transferLength; }
    // 1, or 0 leaving the length as it was when it is above 512.
    int SetTransferLength(std::uint16_t length);

    // Set by the owner once a channel is open for commands; no transaction runs while clear.
    // The device's lighting thread watches both flags.
    WatchedFlag open{false};
    // While set, the software lighting threads send nothing.
    WatchedFlag lightPause{false};
    bool IsBusy() const { return m_busy; }

    CHidChannel& CableChannel() { return m_cable; }
    CHidChannel& ReceiverChannel() { return m_receiver; }
    // Lock order: the command or light lock first, then the I/O lock, then the node's exchange
    // lock (CHidChannel::ExchangeLock), which other channels on the node share. Binding holds
    // the I/O lock while it reopens a channel; every exchange holds it and the node's lock from
    // its write to its last read. A light frame holds the node's lock from its first packet to
    // its end and takes the I/O lock per packet without waiting.
    std::recursive_mutex& IoLock() { return m_ioLock; }
    std::recursive_mutex& CommandLock() { return m_commandLock; }
    std::recursive_mutex& LightLock() { return m_lightLock; }
    // Held by no exchange: the keyboard guards its receiver event channel with it.
    std::recursive_mutex& SpareLock() { return m_spareLock; }

    // One exchange: the reports queued on the handle dropped, the request padded or cut to
    // 64 bytes, written, and a reply read until it echoes the request (one re-read).
    // *bytesRead gets the reply's length.
    int Transaction(std::span<const std::uint8_t> request, std::span<std::uint8_t> reply,
                    std::uint32_t* bytesRead = nullptr);
    // For light frames: always the cable, no busy flag, no log, one read, no echo check.
    int LightTransaction(std::span<const std::uint8_t> request, std::span<std::uint8_t> reply,
                         std::uint32_t* bytesRead = nullptr);

    int Begin();
    int End();
    int ReadDeviceInfo(std::span<std::uint8_t, kDeviceInfoSize> info);
    int ReadMemory(std::span<std::uint8_t> bytes, std::uint16_t offset);
    int WriteMemory(std::span<const std::uint8_t> bytes, std::uint16_t offset);
    // `table` must hold the transfer length.
    int ReadKeyTable(std::span<std::uint8_t> table);
    int WriteKeyTable(std::span<const std::uint8_t> table, int page);
    int WriteBlock(std::span<const std::uint8_t> bytes, std::uint16_t blockIndex,
                   std::uint16_t blockSize);
    // The frame's packets go out back to back on the cable; each reply is read once the next
    // packets are on their way, the last ones by the next frame or the next command exchange.
    // A failure (status 0xFF/0xFE, a lost reply) counts for the frame that reads it, or, when
    // a command exchange read it, for the next frame. Packets are dropped, and count as sent,
    // in receiver mode, while a command exchange runs, while another thread holds the I/O
    // lock, or while another channel's exchange holds the node.
    int WriteLightFrame(std::span<const std::uint8_t> frame);
    int WriteMacroData(std::span<const std::uint8_t> bytes);
    int WriteLargeData(std::span<const std::uint8_t> bytes);
    // One packet; at most 56 bytes.
    int ReadStatus(std::span<std::uint8_t> status, std::uint16_t offset);
    // `table` must hold a third of the transfer length.
    int ReadKeyAttributeTable(std::span<std::uint8_t> table);
    int TakeLightingControl();
    // True when the device behind the receiver answers; true without traffic on the cable.
    bool CheckReceiverLink();

private:
    enum class Lock { Command, Light, None };
    CHidChannel& Active() { return m_receiverMode ? m_receiver : m_cable; }
    // Empties the handle's queue before a request.
    void DropQueuedReports(CHidChannel& channel);
    int Exchange(CHidChannel& channel, int timeoutMs, const Packet& request,
                 std::span<std::uint8_t> reply, std::uint32_t* bytesRead, int maxReads,
                 bool checkEcho);
    // A command without data; the reply's status decides the result.
    int Simple(std::uint8_t command);
    // One packet of a chunked transfer, under the given lock.
    int DataPacket(std::uint8_t command, std::span<const std::uint8_t> data, std::uint16_t offset,
                   std::uint8_t length, Lock lock, Packet& reply);
    int ChunkedWrite(std::uint8_t command, std::span<const std::uint8_t> bytes,
                     std::uint16_t baseOffset, std::uint8_t chunk, Lock lock);
    int ChunkedRead(std::uint8_t command, std::span<std::uint8_t> bytes, std::uint16_t baseOffset);
    static int StatusResult(int transactionResult, const Packet& reply);
    // Light frames, with the I/O lock held: one packet of a frame, its write and the replies
    // read ahead of it.
    int PipelineLightPacket(std::span<const std::uint8_t> data, std::uint16_t offset);
    int SendLightPacket(std::span<const std::uint8_t> data, std::uint16_t offset);
    // Reads replies until no more than `keep` packets are owed; the first failure.
    int CollectLightReplies(std::size_t keep);
    int CollectLightReply();
    // Replies owed to a handle that was closed or replaced never come.
    void ForgetRepliesOfAnEarlierHandle();

    std::uint16_t m_transferLength = kMaxTransferLength;
    std::atomic<bool> m_busy{false};
    CHidChannel m_cable;
    CHidChannel m_receiver;
    std::recursive_mutex m_ioLock;
    std::recursive_mutex m_commandLock;
    std::recursive_mutex m_lightLock;
    std::recursive_mutex m_spareLock;
    std::atomic<bool> m_receiverMode{false};
    std::atomic<std::uint8_t> m_chunkSize{kReceiverChunk};
    // Guarded by the I/O lock.
    OwedLightReplies m_owedLight;
    std::uint64_t m_owedLightHandle = 0; // the cable's open count when they were written
    int m_lightFailure = kCommSuccess;   // found by a command exchange, told by the next frame
};

// Writes "命令" or "返回" and the 64 bytes as two lines of 32 to the debug output.
void LogPacket(const char* title, std::span<const std::uint8_t> bytes);

} // namespace transport
