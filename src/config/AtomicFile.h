#pragma once
// Whole-file replacement that never leaves a half-written file: the content goes to a
// temporary file in the same folder, is flushed to the disk and then renamed over the old
// file. A crash or a failed write at any point leaves either the old or the new content.

#include <functional>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace config {

// The system calls a replacement is made of, with the signatures of write(2), fsync(2) and
// rename(2), and the open(2) that reading a JSON file starts with. Tests swap single ones for
// calls that fail on purpose.
struct FileCalls {
    std::function<ssize_t(int fd, const void* data, size_t size)> write;
    std::function<int(int fd)> fsync;
    std::function<int(const char* from, const char* to)> rename;
    std::function<int(const char* path, int flags)> open;

    static const FileCalls& System();
};

// The calls in force: those of the innermost ScopedFileCalls, else the system's.
const FileCalls& ActiveFileCalls();

// Replaces the file at `path` (UTF-8) with `content`, keeping the old file's permission bits.
// Returns false when the content could not be put in place; the old file is then untouched
// and the temporary file is removed.
bool ReplaceFileContent(const std::string& path, std::string_view content);
bool ReplaceFileContent(const std::string& path, std::string_view content, const FileCalls& calls);

// Makes every ReplaceFileContent without explicit calls, and every JSON file read, use `calls`
// while the object lives.
// Not thread-safe; meant for tests and the fuzz driver.
class ScopedFileCalls {
public:
    explicit ScopedFileCalls(FileCalls calls);
    ~ScopedFileCalls();
    ScopedFileCalls(const ScopedFileCalls&) = delete;
    ScopedFileCalls& operator=(const ScopedFileCalls&) = delete;

private:
    FileCalls m_calls;
    const FileCalls* m_previous;
};

} // namespace config
