#include "platform/DebugLog.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

namespace platform {

namespace {
std::mutex g_outputMutex;
}

bool DebugEnabled() {
    static const bool enabled = [] {
        const char* value = std::getenv("QUARIN_Z17_DEBUG");
        return value && std::strcmp(value, "1") == 0;
    }();
    return enabled;
}

void DebugLog(const char* format, ...) {
    if (!DebugEnabled())
        return;
    char buffer[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    DebugLine(buffer);
}

void DebugLine(std::string_view text) {
    if (!DebugEnabled())
        return;
    const std::lock_guard lock(g_outputMutex);
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fputc('\n', stderr);
    std::fflush(stderr);
}

} // namespace platform
