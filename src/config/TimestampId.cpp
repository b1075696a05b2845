#include "config/TimestampId.h"

#include <cstdio>
#include <ctime>

namespace config {

std::string MakeTimestampId() {
    return MakeTimestampId(std::chrono::system_clock::now());
}

std::string MakeTimestampId(std::chrono::system_clock::time_point when) {
    using namespace std::chrono;
    const auto wholeSeconds = floor<seconds>(when);
    const std::time_t time = system_clock::to_time_t(wholeSeconds);
    const auto millisecond = duration_cast<milliseconds>(when - wholeSeconds).count();
    std::tm local{};
    localtime_r(&time, &local);
    char buffer[200] = {};
    std::snprintf(buffer, sizeof buffer, "%d_%02d_%02d_%02d_%02d_%02d_%03d", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec,
                  static_cast<int>(millisecond));
    return buffer;
}

} // namespace config
