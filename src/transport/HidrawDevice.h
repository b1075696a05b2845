#pragma once
// One open top-level collection of a hidraw node. Works over any non-blocking file descriptor
// that keeps report boundaries (a SOCK_SEQPACKET socket stands in for a node in tests).

#include "transport/HidBackend.h"
#include "transport/NodeLock.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>

namespace transport {

class HidrawDevice : public HidDevice {
public:
    // Takes ownership of fd. Reports are numbered (first byte = report ID) when the
    // collection has report IDs; otherwise hidraw gives and takes them without that byte.
    // nodeLock: the node's lock, kept while the device is open (none for a read-only open).
    HidrawDevice(int fd, HidCollection collection, HidAttributes attributes,
                 std::shared_ptr<NodeLock> nodeLock = nullptr);
    ~HidrawDevice() override;
    HidrawDevice(const HidrawDevice&) = delete;
    HidrawDevice& operator=(const HidrawDevice&) = delete;

    // A collection without report IDs gets a 0 byte in front of each report.
    int Read(std::uint8_t* buffer, std::size_t capacity, int timeoutMs) override;
    // The first byte is the report ID, 0 for a collection without IDs; hidraw expects it
    // either way and leaves a 0 out of what goes to the device.
    int Write(const std::uint8_t* report, std::size_t length, int timeoutMs) override;
    // Like an auto-reset event: the first Read or Write to see it returns 0 and clears it.
    void Cancel() override;
    HidAttributes Attributes() const override { return m_attributes; }
    const HidCollection& Collection() const override { return m_collection; }
    // The node lock's; a read-only open, which sends no request, has one of its own.
    std::shared_ptr<std::mutex> ExchangeLock() override;

private:
    enum class Wait { Ready, TimedOut, Cancelled, Gone };
    Wait WaitFor(short events, int timeoutMs, long long deadlineMs);
    // What a read or write returns when its wait ended without the device being ready.
    static std::optional<int> Unready(Wait wait);
    int ReadOnce(std::uint8_t* buffer, std::size_t capacity);

    const int m_fd;
    const int m_cancelFd;
    const HidCollection m_collection;
    const HidAttributes m_attributes;
    const bool m_numbered;
    const std::shared_ptr<NodeLock> m_nodeLock;
    const std::shared_ptr<std::mutex> m_ownExchanges;
};

} // namespace transport
