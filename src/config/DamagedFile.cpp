#include "config/DamagedFile.h"

#include "config/TimestampId.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>

namespace config {

bool SetDamagedFileAside(const std::string& path) {
    auto when = std::chrono::system_clock::now();
    for (int tries = 0; tries < 1000; ++tries) {
        const std::string aside = path + ".broken-" + MakeTimestampId(when);
        // No replace: a file set aside in the same millisecond is kept too.
        if (::renameat2(AT_FDCWD, path.c_str(), AT_FDCWD, aside.c_str(), RENAME_NOREPLACE) == 0)
            return true;
        struct stat taken {};
        // File systems without the no-replace flag: look first.
        if (errno == EINVAL && ::stat(aside.c_str(), &taken) != 0)
            return ::rename(path.c_str(), aside.c_str()) == 0 || errno == ENOENT;
        if (errno == ENOENT)
            return true;
        if (errno != EEXIST)
            return false;
        when += std::chrono::milliseconds(1);
    }
    return false;
}

bool KeepWhatIsReplaced(const std::string& path, const JsonRead& read) {
    if (read.state == ReadState::kMissing || read.document.isObject())
        return true;
    return SetDamagedFileAside(path);
}

} // namespace config
