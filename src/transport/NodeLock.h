#pragma once
// One owner per hidraw node across processes. Two programs sending commands to one device
// interleave their requests and each takes the other's replies, so whoever opens a node for
// writing holds an exclusive advisory lock (flock) on it while any of its opens of that node
// stay open. Opens within one process share the lock: the configurator opens the command and
// the notification collections of an interface, which share their node, at the same time.

#include <cerrno>
#include <memory>
#include <mutex>

namespace transport {

// The errno a refused open reports when another process owns the node.
constexpr int kNodeInUse = EWOULDBLOCK;

// Takes an exclusive lock on fd without waiting: 0, or the errno of the failure (kNodeInUse
// when another open file holds a lock on the same file, in this process or another).
int LockExclusively(int fd);

// The lock of one node, held while this object lives (an open file of its own, so that the
// lock outlives whichever open took it first).
class NodeLock {
public:
    explicit NodeLock(int lockedFd) : m_fd(lockedFd) {}
    ~NodeLock();
    NodeLock(const NodeLock&) = delete;
    NodeLock& operator=(const NodeLock&) = delete;

    // Held by every request/reply exchange on the node in this process (HidDevice::
    // ExchangeLock): the other opens of the node would take its reply for theirs.
    std::mutex& Exchanges() { return m_exchanges; }

private:
    const int m_fd;
    std::mutex m_exchanges;
};

// The lock of the node fd is open on: the one this process holds already, or a new one.
// nullptr with *error set (kNodeInUse when another process owns the node, another errno when
// the lock cannot be taken at all).
std::shared_ptr<NodeLock> AcquireNodeLock(int fd, int* error);

// 0 when this process owns the node fd is open on or nobody does; kNodeInUse when another
// process owns it. Takes no lock that lasts: for opens that only read, such as the scan's.
int CheckNodeFree(int fd);

} // namespace transport
