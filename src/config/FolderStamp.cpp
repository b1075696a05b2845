#include "config/FolderStamp.h"

#include <filesystem>
#include <sys/stat.h>
#include <system_error>

namespace config {

FolderStamp StampFolder(const std::string& folder) {
    namespace fs = std::filesystem;
    FolderStamp stamp;
    std::error_code error;
    const fs::path root(folder);
    for (fs::recursive_directory_iterator
             it(root, fs::directory_options::skip_permission_denied, error),
         end;
         !error && it != end; it.increment(error)) {
        struct stat info {};
        // lstat: a link is not followed out of the folder.
        if (::lstat(it->path().c_str(), &info) != 0 || !S_ISREG(info.st_mode))
            continue;
        stamp[it->path().lexically_relative(root).string()] = {
            static_cast<unsigned long long>(info.st_ino), static_cast<long long>(info.st_size),
            static_cast<long long>(info.st_mtim.tv_sec) * 1000000000LL + info.st_mtim.tv_nsec};
    }
    return stamp;
}

} // namespace config
