#include "config/AtomicFile.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace config {

namespace {

const FileCalls* g_activeCalls = nullptr;

std::string FolderOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// A hidden name beside the target, so that folder listings of profiles never pick it up.
std::string TemporaryNameFor(const std::string& path) {
    static std::atomic<unsigned> counter{0};
    const size_t slash = path.find_last_of('/');
    const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    return path.substr(0, nameStart) + "." + path.substr(nameStart) + ".tmp-" +
           std::to_string(getpid()) + "-" + std::to_string(counter++);
}

// O_EXCL so that a stale temporary file of a crashed process (same pid after reuse) is
// never written into; the mode lets the umask apply as for any new file.
int CreateTemporary(const std::string& path, std::string& name) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = TemporaryNameFor(path);
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

bool WriteAll(const FileCalls& calls, int fd, std::string_view content) {
    while (!content.empty()) {
        const ssize_t written = calls.write(fd, content.data(), content.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        content.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

void KeepPermissions(const std::string& path, int fd) {
    struct stat old {};
    if (::stat(path.c_str(), &old) == 0)
        ::fchmod(fd, old.st_mode & 07777);
}

// Makes the rename itself durable. Some file systems refuse fsync on a folder; the new
// content is in place by then either way, so the result is not a failure of the write.
void SyncFolder(const FileCalls& calls, const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    calls.fsync(fd);
    ::close(fd);
}

// The temporary files a process killed mid-save left beside `path`: those of a process that
// no longer exists go. A live process's (this one's or another's saving now) stay.
void RemoveStaleTemporaries(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    const std::string prefix =
        "." + path.substr(slash == std::string::npos ? 0 : slash + 1) + ".tmp-";
    const std::string folder = FolderOf(path);
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.compare(0, prefix.size(), prefix) != 0)
            continue;
        char* end = nullptr;
        const long pid = std::strtol(name.c_str() + prefix.size(), &end, 10);
        if (pid <= 0 || *end != '-' || pid == getpid())
            continue;
        if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH)
            ::unlink((folder + "/" + name).c_str());
    }
    ::closedir(dir);
}

} // namespace

const FileCalls& FileCalls::System() {
    static const FileCalls calls{::write, ::fsync, ::rename,
                                 [](const char* path, int flags) { return ::open(path, flags); }};
    return calls;
}

const FileCalls& ActiveFileCalls() {
    return g_activeCalls ? *g_activeCalls : FileCalls::System();
}

bool ReplaceFileContent(const std::string& path, std::string_view content) {
    return ReplaceFileContent(path, content, ActiveFileCalls());
}

bool ReplaceFileContent(const std::string& path, std::string_view content, const FileCalls& calls) {
    if (path.empty() || path.back() == '/')
        return false;
    std::string temporary;
    const int fd = CreateTemporary(path, temporary);
    if (fd < 0)
        return false;
    KeepPermissions(path, fd);
    bool written = WriteAll(calls, fd, content) && calls.fsync(fd) == 0;
    written = ::close(fd) == 0 && written;
    if (!written || calls.rename(temporary.c_str(), path.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    SyncFolder(calls, FolderOf(path));
    RemoveStaleTemporaries(path);
    return true;
}

ScopedFileCalls::ScopedFileCalls(FileCalls calls)
    : m_calls(std::move(calls)), m_previous(g_activeCalls) {
    g_activeCalls = &m_calls;
}

ScopedFileCalls::~ScopedFileCalls() {
    g_activeCalls = m_previous;
}

} // namespace config
