#pragma once
// CHidChannel: one HID top-level collection — its path, open flags, capabilities and report
// items — with timed reads and writes of whole reports. One read and one write may run at a
// time; callers serialise their use. Closing the channel from another thread makes a read or
// write in progress return 0 at once.

#include "transport/HidBackend.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <vector>

namespace transport {

class CHidChannel {
public:
    // Paths of this many characters or more are not supported: Open fails.
    static constexpr std::size_t kMaxPath = 260;
    static constexpr int kInfinite = -1;

    // backend nullptr: the default backend.
    explicit CHidChannel(HidBackend* backend = nullptr);
    ~CHidChannel();
    CHidChannel(const CHidChannel&) = delete;
    CHidChannel& operator=(const CHidChannel&) = delete;

    // Stores the flags and the path, then reopens. 1 on success, 0 on failure.
    int Open(const std::string& path, bool read, bool write, bool overlapped, bool shareReadOnly);
    // Closes and opens the stored path again. 1 on success, 0 on failure (the channel is then
    // closed).
    int Reopen();
    void Close();
    // Makes the Read or Write in progress return 0 at once (or the next one, when none is in
    // progress); the channel stays open. Safe from any thread.
    void Cancel();
    bool IsOpen() const;
    // Why the last Open or Reopen was refused (an errno value such as EACCES); 0 after a
    // success or a failure of another kind.
    int GetOpenError() const { return m_openError; }
    // How many times the channel has opened a device. Input owed to an earlier handle never
    // comes on a later one.
    std::uint64_t GetOpenCount() const { return m_openCount; }
    // The exchange lock of the open node (HidDevice::ExchangeLock); nullptr while closed.
    std::shared_ptr<std::mutex> ExchangeLock() const;

    // Whole reports with a time limit in ms (kInfinite: none). 1 when a report moved, 0 on
    // time-out, cancel, failure or a closed channel; the byte count goes to *bytes. Read
    // passes over the reports of the interface's other collections (their report IDs are not
    // this collection's) and waits on for one of its own.
    int Read(std::uint8_t* buffer, std::size_t length, std::uint32_t* bytes, int timeoutMs);
    int Write(const std::uint8_t* buffer, std::size_t length, std::uint32_t* bytes, int timeoutMs);
    // Takes the next report already queued on the handle, of whichever collection, without
    // waiting: 1 with its byte count, 0 when there is none.
    int ReadQueued(std::uint8_t* buffer, std::size_t length, std::uint32_t* bytes);

    // The present collections' paths: Enumerate (1 or 0), then NextPath until nullptr.
    int Enumerate();
    const std::string* NextPath();
    void FreeList();

    // Fills the input report items from one input report; returns the unpacking status.
    std::int32_t UnpackInputReport(const std::uint8_t* report, std::size_t length);

    const std::string& GetPath() const { return m_path; }
    const HidCaps& GetCaps() const { return m_collection.caps; }
    std::uint16_t GetInputReportByteLength() const {
        return m_collection.caps.inputReportByteLength;
    }
    std::uint16_t GetUsagePage() const { return m_collection.caps.usagePage; }
    std::uint16_t GetUsage() const { return m_collection.caps.usage; }
    std::uint16_t GetVendorId() const { return m_attributes.vendorId; }
    std::uint16_t GetProductId() const { return m_attributes.productId; }
    std::uint16_t GetVersionNumber() const { return m_attributes.versionNumber; }
    std::uint32_t GetInterfaceNumber() const { return m_interfaceNumber; }
    std::uint32_t GetCollectionNumber() const { return m_collectionNumber; }
    std::span<std::uint8_t> GetReportBuffer(HidReportType type);
    std::vector<HidReportItem>& GetReportItems(HidReportType type);

private:
    std::shared_ptr<HidDevice> Device() const;
    void ReleaseCapabilities();

    HidBackend* m_backend;
    std::string m_path;
    OpenFlags m_flags;
    mutable std::mutex m_deviceMutex; // guards m_device against a close from another thread
    std::shared_ptr<HidDevice> m_device;
    HidAttributes m_attributes;
    HidCollection m_collection;
    std::vector<std::uint8_t> m_reportBuffers[3];
    std::uint32_t m_interfaceNumber = 0;
    std::uint32_t m_collectionNumber = 0;
    int m_openError = 0;
    std::atomic<std::uint64_t> m_openCount{0};
    std::vector<std::string> m_paths;
    std::size_t m_cursor = 0;
};

} // namespace transport
