#include "transport/NodeLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <map>
#include <mutex>
#include <utility>

namespace transport {

namespace {

// A node by its file, not its name: node numbers are reused as devices come and go, and a
// new device gets a new file under /dev.
using FileKey = std::pair<dev_t, ino_t>;

struct Registry {
    std::mutex mutex;
    std::map<FileKey, std::weak_ptr<NodeLock>> locks;
};

Registry& Locks() {
    static Registry registry;
    return registry;
}

bool KeyOf(int fd, FileKey& key) {
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        return false;
    key = {info.st_dev, info.st_ino};
    return true;
}

int FlockNow(int fd, int operation) {
    int result;
    do
        result = ::flock(fd, operation | LOCK_NB);
    while (result != 0 && errno == EINTR);
    return result == 0 ? 0 : errno;
}

} // namespace

int LockExclusively(int fd) {
    return FlockNow(fd, LOCK_EX);
}

NodeLock::~NodeLock() {
    if (m_fd >= 0)
        ::close(m_fd); // closing the last file of the lock releases it
}

std::shared_ptr<NodeLock> AcquireNodeLock(int fd, int* error) {
    *error = 0;
    FileKey key;
    if (!KeyOf(fd, key)) {
        *error = errno;
        return nullptr;
    }
    Registry& registry = Locks();
    const std::lock_guard guard(registry.mutex);
    std::erase_if(registry.locks, [](const auto& entry) { return entry.second.expired(); });
    std::weak_ptr<NodeLock>& slot = registry.locks[key];
    if (std::shared_ptr<NodeLock> held = slot.lock())
        return held;
    // A duplicate shares fd's lock yet stays open when fd is closed.
    const int lockFd = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
    if (lockFd < 0) {
        *error = errno;
        registry.locks.erase(key);
        return nullptr;
    }
    if (const int failed = LockExclusively(lockFd)) {
        ::close(lockFd);
        *error = failed;
        registry.locks.erase(key);
        return nullptr;
    }
    auto lock = std::make_shared<NodeLock>(lockFd);
    slot = lock;
    return lock;
}

int CheckNodeFree(int fd) {
    FileKey key;
    if (!KeyOf(fd, key))
        return 0; // nothing to tell by: the open that follows decides
    Registry& registry = Locks();
    const std::lock_guard guard(registry.mutex);
    const auto held = registry.locks.find(key);
    if (held != registry.locks.end() && !held->second.expired())
        return 0;
    // A shared lock conflicts only with an owner's exclusive one, and is dropped at once.
    const int failed = FlockNow(fd, LOCK_SH);
    if (failed == 0)
        ::flock(fd, LOCK_UN);
    return failed == kNodeInUse ? kNodeInUse : 0;
}

} // namespace transport
