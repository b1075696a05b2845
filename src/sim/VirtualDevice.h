#pragma once
// One virtual USB device with one HID interface: its report descriptor and the device's own
// table of the collections it declares, its firmware, the wire log of its command traffic and
// the faults it is told to show. It is plugged into a VirtualHidBackend, which hands out its
// collections as transport::HidDevice handles.
//
// Command requests (report ID 4 written to the command collection) are answered by the
// firmware; the reply arrives as an input report after the reply delay, on every open handle
// of the interface as hidraw would hand it out. Everything here is safe to call from any
// thread.

#include "sim/Connection.h"
#include "sim/Descriptors.h"
#include "sim/Firmware.h"
#include "sim/ProductTable.h"
#include "sim/SimTrace.h"
#include "sim/WireLog.h"
#include "transport/HidBackend.h"
#include "transport/HidTypes.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <random>
#include <string>
#include <vector>

namespace sim {

// A device that misbehaves now and then, as a flaky cable, a busy firmware or a noisy hub
// shows it: each reply, with the given chance, gets one fault picked at random from those
// enabled. A late reply comes up to maxLate after its bus frame; the replies behind it wait
// for it, since the firmware answers its requests in order.
struct RandomFaults {
    double rate = 0.0; // 0 (never) to 1 (every reply)
    std::uint32_t seed = 1;
    bool late = true;
    std::chrono::microseconds maxLate{0};
    bool drop = true;
    bool wrongEcho = true;
    bool rejected = true; // status 0xFF, the command not carried out
};

// What the device did to its replies since the random faults were set.
struct FaultTally {
    long long replies = 0; // requests answered, with or without a fault
    long long late = 0;
    long long dropped = 0;
    long long wrongEcho = 0;
    long long rejected = 0;
};

class VirtualDevice : public std::enable_shared_from_this<VirtualDevice> {
public:
    static constexpr std::size_t kNoCollection = static_cast<std::size_t>(-1);
    static constexpr std::chrono::microseconds kDefaultReplyDelay{1000};

    VirtualDevice(const ProductRow& row, std::shared_ptr<Firmware> firmware);

    VirtualProduct Product() const { return m_row.product; }
    std::string_view Word() const { return m_row.word; }
    std::uint16_t VendorId() const { return m_row.vendorId; }
    std::uint16_t ProductId() const { return m_row.productId; }
    std::uint16_t InterfaceNumber() const { return m_row.interfaceNumber; }
    bool IsReceiver() const { return m_row.receiver; }
    transport::HidAttributes Attributes() const;
    const std::vector<std::uint8_t>& ReportDescriptor() const { return m_layout.descriptor; }
    // The top-level collections the descriptor declares, and which carry what (0-based).
    const std::vector<CollectionLayout>& Collections() const { return m_layout.collections; }
    std::size_t CommandCollection() const { return m_commandCollection; }
    std::size_t NotificationCollection() const { return m_notificationCollection; }

    bool IsPlugged() const;
    // The path of a collection as enumerated; empty while unplugged.
    std::string PathOf(std::size_t collection) const;
    std::string CommandPath() const { return PathOf(m_commandCollection); }
    std::string NotificationPath() const { return PathOf(m_notificationCollection); }
    std::vector<std::string> Paths() const;

    // Faults. A count applies to the next that many replies; ForceStatus with a negative count
    // applies to every reply until called again. A forced status means the command was not
    // carried out; a dropped reply's command was. The reply delay is the bus frame of the
    // interrupt endpoints: a request goes in the next frame the OUT endpoint has free, its
    // reply arrives one frame after that, a notification one frame after it is sent.
    void SetReplyDelay(std::chrono::microseconds delay);
    std::chrono::microseconds ReplyDelay() const;
    void DropReplies(int count);
    void WrongEchoReplies(int count);
    void ForceStatus(std::uint8_t status, int count);
    // Firmware that echoes only the command byte and leaves the length and offset 0.
    void EchoCommandOnly(bool commandOnly);
    // A receiver whose device sleeps answers 0xAA in place of the echo to every command.
    // Ignored by cable devices.
    void SetDeviceAsleep(bool asleep);
    // Opens of its collections fail with EACCES, as a node without the udev rule's
    // permissions does.
    void RefuseOpens(bool refuse);
    // Opens of its collections fail with kNodeInUse, as a node another program holds does.
    // This and RefuseOpens replace each other: false from either lets opens through.
    void SetOwnedElsewhere(bool owned);
    // The errno its opens fail with now, 0 when they do not.
    int OpenRefusal() const;
    // Replaces the random faults and clears their tally. They come on top of the counted ones.
    void SetRandomFaults(const RandomFaults& faults);
    FaultTally RandomFaultTally() const;
    void ClearFaults();

    // Sends an input report (first byte: its report ID) on the notification collection;
    // false while unplugged or when the report ID is not the collection's.
    bool SendNotification(const std::vector<std::uint8_t>& report);
    // The same for one consumer usage, as the firmware reports its own changes (0x0401 asks
    // the host to read the device again, 0x10pp a profile switch).
    bool SendUsage(std::uint16_t usage);

    std::vector<WirePacket> WireLog() const { return m_wireLog.Packets(); }
    void ClearWireLog() { m_wireLog.Clear(); }
    void SetWireLogCapacity(std::size_t packets) { m_wireLog.SetCapacity(packets); }

    Firmware& DeviceFirmware() { return *m_firmware; }
    const std::shared_ptr<Firmware>& SharedFirmware() const { return m_firmware; }
    std::vector<std::uint8_t> InfoBlock() const { return m_firmware->Area(FirmwareArea::Info); }
    std::vector<std::uint8_t> MemoryImage() const;
    std::vector<std::uint8_t> KeyTable() const;
    std::vector<std::uint8_t> KeyAttributeTable() const;
    std::vector<std::uint8_t> LedTable() const;
    std::vector<std::uint8_t> LightSchemes() const;
    std::vector<std::uint8_t> MacroMemory() const;
    std::vector<std::uint8_t> LargeData() const;

private:
    friend class VirtualHidBackend;
    friend class VirtualHidHandle;

    struct Faults {
        std::chrono::microseconds delay = kDefaultReplyDelay;
        int drop = 0;
        int wrongEcho = 0;
        int forcedStatusCount = 0;
        std::uint8_t forcedStatus = kStatusRejected;
        bool asleep = false;
        bool commandOnlyEcho = false;
        int openRefusal = 0; // an errno
        RandomFaults random;
    };

    enum class RandomFault { None, Late, Drop, WrongEcho, Rejected };
    // The fault this reply gets, counted; with the mutex held.
    RandomFault DrawFault();

    // One handle's hold on the device: what a path opens.
    struct Attachment {
        std::shared_ptr<Connection> connection;
        std::shared_ptr<InputQueue> queue;
    };

    // Called by the backend.
    bool PlugIn(const std::string& node);
    void Unplug();
    // Nothing attached when the path is not one of the device's (any more).
    Attachment Attach(const std::string& path);

    // Called by a handle's Write: the byte count, or -1 when the report is not one the
    // collection takes or the connection is gone.
    int ReceiveOutput(const Connection& connection, std::size_t collection,
                      const std::uint8_t* report, std::size_t length);
    void AnswerRequest(const Packet& request);
    Packet ShapeReply(const Packet& request);
    std::string PathLocked(std::size_t collection) const;
    // The output report's length, 0 when the collection takes no report of that ID.
    std::size_t OutputLength(std::size_t collection, std::uint8_t reportId) const;
    void Trace(TraceDirection direction, const std::uint8_t* report, std::size_t length) const;

    const ProductRow& m_row;
    const std::shared_ptr<Firmware> m_firmware;
    const InterfaceLayout m_layout;
    const std::shared_ptr<SimTrace> m_trace; // null unless the environment asks for a trace
    std::size_t m_commandCollection = kNoCollection;
    std::size_t m_notificationCollection = kNoCollection;
    ::sim::WireLog m_wireLog;

    mutable std::mutex m_mutex;
    std::shared_ptr<Connection> m_connection; // null while unplugged
    std::vector<std::string> m_paths;         // by collection, while plugged in
    Faults m_faults;
    std::mt19937 m_random;
    FaultTally m_tally;
};

} // namespace sim
