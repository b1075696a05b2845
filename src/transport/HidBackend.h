#pragma once
// The seam between the HID channels and the system: enumerate the present top-level
// collections, open one, check that one is still there, wait until the list may have changed. Two
// implementations: hidraw (the kernel's /dev/hidrawN through libudev) and the virtual devices of
// src/sim.
//
// A path names one top-level collection and keeps the identity pieces of the interface:
//   /dev/hidraw3?vid_320f&pid_5001&mi_01&col04
// (col: the 1-based top-level collection index, absent when the interface has only one).

#include "transport/Event.h"
#include "transport/HidTypes.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace transport {

// One open top-level collection. Like a hidraw file, Read delivers every input report of the
// interface, whichever collection it belongs to; CHidChannel keeps its collection's own.
class HidDevice {
public:
    virtual ~HidDevice() = default;
    // Reads one input report (its first byte is the report ID; 0 when the collection uses no
    // IDs) into buffer. Waits up to timeoutMs (-1: without limit; 0: only a report already
    // queued). Returns the byte count (> 0), 0 on time-out or when cancelled, -1 when the
    // device failed or is gone. A report longer than capacity is cut to capacity.
    virtual int Read(std::uint8_t* buffer, std::size_t capacity, int timeoutMs) = 0;
    // Writes one output report (first byte: the report ID). Returns the byte count, 0 on
    // time-out or when cancelled, -1 on failure.
    virtual int Write(const std::uint8_t* report, std::size_t length, int timeoutMs) = 0;
    // Makes the Read or Write in progress return 0 at once; with none in progress, the next one
    // does. Safe from any thread.
    virtual void Cancel() = 0;
    virtual HidAttributes Attributes() const = 0;
    virtual const HidCollection& Collection() const = 0;
    // The node's exchange lock. Every open of a node gets every input report, so a request's
    // reply would be taken by whichever open reads first: a request/reply exchange holds this
    // from its write to its last read. All opens of one node in this process share it; it
    // lives as long as the last holder of the pointer.
    virtual std::shared_ptr<std::mutex> ExchangeLock() = 0;
};

struct OpenFlags {
    bool read = true;
    bool write = true;
    bool overlapped = true;
    bool shareReadOnly = false;
};

class HidBackend {
public:
    virtual ~HidBackend() = default;
    // The paths of every present top-level collection; false when the list cannot be had.
    virtual bool Enumerate(std::vector<std::string>& paths) = 0;
    // Opens the collection a path names; nullptr when it cannot be opened or its descriptor
    // cannot be parsed. *error, when given, gets the system's reason for a refused open (an
    // errno value such as EACCES, or kNodeInUse of NodeLock.h when another process owns the
    // node), 0 for any other failure or success.
    virtual std::unique_ptr<HidDevice> Open(const std::string& path, const OpenFlags& flags,
                                            int* error = nullptr) = 0;
    // Whether the interface a path names is still present (the removal check).
    virtual bool Exists(const std::string& path) = 0;

    enum : int { kWaitStopped = -1, kWaitTimedOut = 0, kWaitChanged = 1 };
    // Sleeps until a collection may have come or gone, `stop` is set, or timeoutMs passes
    // (-1: without limit). Returns kWaitChanged, kWaitStopped (stop wins over a change) or
    // kWaitTimedOut. A change that came before the call, since the last wait that reported
    // one, ends the wait at once; a change may be reported that an Enumerate does not show.
    virtual int WaitForChange(Event& stop, int timeoutMs) = 0;
};

// The backend channels use unless given one: the hidraw backend, until the program or a test
// sets another. Not owned.
HidBackend& DefaultHidBackend();
void SetDefaultHidBackend(HidBackend* backend);

// Path parsing: the hexadecimal number after the prefix ("vid_", "pid_", "&mi_", "&col"),
// found without regard to case; 0 when absent. Only the low 16 bits are kept.
std::uint16_t PathVendorId(const std::string& path);
std::uint16_t PathProductId(const std::string& path);
std::uint16_t PathInterfaceNumber(const std::string& path);
std::uint16_t PathCollectionNumber(const std::string& path);
// Builds a path from its pieces (collection 0: no "&col" part).
std::string MakeHidPath(const std::string& node, std::uint16_t vendorId, std::uint16_t productId,
                        std::uint16_t interfaceNumber, std::uint16_t collection);

} // namespace transport
