#include "transport/HidrawDevice.h"

#include <optional>

#include "platform/DebugLog.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>

namespace transport {

namespace {

long long NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

long long DeadlineFor(int timeoutMs) {
    return timeoutMs < 0 ? -1 : NowMs() + timeoutMs;
}

int Remaining(long long deadlineMs) {
    if (deadlineMs < 0)
        return -1;
    return static_cast<int>(std::max(0LL, deadlineMs - NowMs()));
}

// The device is gone: a hidraw node whose device was unplugged reads as EIO and writes as
// ENODEV (ESHUTDOWN while the USB interface is being torn down); anything else that fails on
// a node will fail again, so the caller is told the same.
constexpr int kGone = -1;

int OpenCancelEvent() {
    const int fd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (fd < 0)
        platform::DebugLog("hidraw: no cancel event (%s); reads cannot be cancelled",
                           std::strerror(errno));
    return fd;
}

} // namespace

HidrawDevice::HidrawDevice(int fd, HidCollection collection, HidAttributes attributes,
                           std::shared_ptr<NodeLock> nodeLock)
    : m_fd(fd), m_cancelFd(OpenCancelEvent()), m_collection(std::move(collection)),
      m_attributes(attributes), m_numbered(!m_collection.reportIds.empty()),
      m_nodeLock(std::move(nodeLock)),
      m_ownExchanges(m_nodeLock ? nullptr : std::make_shared<std::mutex>()) {}

std::shared_ptr<std::mutex> HidrawDevice::ExchangeLock() {
    if (!m_nodeLock)
        return m_ownExchanges;
    return {m_nodeLock, &m_nodeLock->Exchanges()};
}

HidrawDevice::~HidrawDevice() {
    if (m_fd >= 0)
        ::close(m_fd);
    if (m_cancelFd >= 0)
        ::close(m_cancelFd);
}

void HidrawDevice::Cancel() {
    const std::uint64_t one = 1;
    if (m_cancelFd >= 0 && ::write(m_cancelFd, &one, sizeof one) < 0)
        platform::DebugLog("hidraw: cancel failed (%s)", std::strerror(errno));
}

HidrawDevice::Wait HidrawDevice::WaitFor(short events, int timeoutMs, long long deadlineMs) {
    // The cancel event comes first so that a cancel wins over a report that is also ready.
    pollfd fds[2] = {{m_cancelFd, POLLIN, 0}, {m_fd, events, 0}};
    for (;;) {
        const int ready = ::poll(fds, 2, deadlineMs < 0 ? timeoutMs : Remaining(deadlineMs));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready < 0)
            return Wait::Gone;
        if (ready == 0)
            return Wait::TimedOut;
        if (fds[0].revents & POLLIN) {
            std::uint64_t count;
            if (::read(m_cancelFd, &count, sizeof count) < 0 && errno == EAGAIN)
                continue; // another waiter took this cancel
            return Wait::Cancelled;
        }
        // Queued reports are still read after the device went; a write has nowhere to go.
        const bool broken = fds[1].revents & (POLLHUP | POLLERR);
        if ((fds[1].revents & events) && !(events == POLLOUT && broken))
            return Wait::Ready;
        // POLLHUP or POLLERR without data: hidraw reports them once the device is unplugged;
        // POLLNVAL: the node was never open for this direction.
        return Wait::Gone;
    }
}

// One report as the callers want it, 0 when none was there after all, -1 when the device is
// gone.
int HidrawDevice::ReadOnce(std::uint8_t* buffer, std::size_t capacity) {
    std::uint8_t unused;
    // Without report IDs the report lands after a 0 ID byte; a one-byte buffer still takes
    // (and drops) the report so that it does not come back on the next read.
    std::uint8_t* target = m_numbered ? buffer : (capacity > 1 ? buffer + 1 : &unused);
    const std::size_t room = m_numbered ? capacity : std::max<std::size_t>(capacity - 1, 1);
    const ssize_t got = ::read(m_fd, target, room);
    if (got < 0)
        return errno == EAGAIN || errno == EINTR ? 0 : kGone;
    if (got == 0)
        return kGone; // end of file: a node never gives an empty report, only a closed peer
    if (m_numbered)
        return static_cast<int>(got);
    buffer[0] = 0;
    return capacity > 1 ? static_cast<int>(got) + 1 : 1;
}

std::optional<int> HidrawDevice::Unready(Wait wait) {
    switch (wait) {
    case Wait::TimedOut:
    case Wait::Cancelled:
        return 0;
    case Wait::Gone:
        return kGone;
    case Wait::Ready:
        break;
    }
    return std::nullopt;
}

int HidrawDevice::Read(std::uint8_t* buffer, std::size_t capacity, int timeoutMs) {
    if (!buffer || capacity == 0)
        return 0;
    const long long deadline = DeadlineFor(timeoutMs);
    for (;;) {
        if (const auto ended = Unready(WaitFor(POLLIN, timeoutMs, deadline)))
            return *ended;
        const int got = ReadOnce(buffer, capacity);
        if (got != 0)
            return got;
    }
}

int HidrawDevice::Write(const std::uint8_t* report, std::size_t length, int timeoutMs) {
    if (!report || length == 0)
        return kGone;
    const long long deadline = DeadlineFor(timeoutMs);
    for (;;) {
        if (const auto ended = Unready(WaitFor(POLLOUT, timeoutMs, deadline)))
            return *ended;
        const ssize_t written = ::write(m_fd, report, length);
        if (written >= 0)
            return static_cast<int>(written);
        if (errno != EAGAIN && errno != EINTR)
            return kGone;
    }
}

} // namespace transport
