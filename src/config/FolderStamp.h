#pragma once
// What a folder's files look like from outside, to tell whether anything in it was written:
// every regular file under it (all levels) with its inode, size and modification time. A file saved
// through AtomicFile gets a new inode even when its size and time stay the same.

#include <map>
#include <string>
#include <tuple>

namespace config {

struct FileStamp {
    unsigned long long inode = 0;
    long long size = 0;
    long long modifiedNs = 0; // modification time, ns since the epoch
    bool operator==(const FileStamp& other) const {
        return std::tie(inode, size, modifiedNs) ==
               std::tie(other.inode, other.size, other.modifiedNs);
    }
};

// Paths relative to the folder. A folder that does not exist has no files; one that cannot
// be read has the files read so far.
using FolderStamp = std::map<std::string, FileStamp>;
FolderStamp StampFolder(const std::string& folder);

} // namespace config
