#pragma once
// File calls under which opening a path that ends with a name fails with "permission
// denied": tests run as root, who could read a mode-000 file anyway.

#include "config/AtomicFile.h"

#include <cerrno>
#include <string>

namespace test {

inline config::FileCalls DenyOpening(std::string name) {
    config::FileCalls calls = config::FileCalls::System();
    calls.open = [name](const char* path, int flags) {
        if (std::string(path).ends_with(name)) {
            errno = EACCES;
            return -1;
        }
        return config::FileCalls::System().open(path, flags);
    };
    return calls;
}

} // namespace test
