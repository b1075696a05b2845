#pragma once
// The program's diagnostic output. Silent unless the environment has QUARIN_Z17_DEBUG=1; then
// every line goes to stderr. Safe to call from any thread.

#include <string_view>

namespace platform {

bool DebugEnabled();
// printf-style; a line end is added.
void DebugLog(const char* format, ...) __attribute__((format(printf, 1, 2)));
void DebugLine(std::string_view text);

} // namespace platform
