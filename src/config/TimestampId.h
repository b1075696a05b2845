#pragma once
// Profile and macro ids: the local time as "%d_%02d_%02d_%02d_%02d_%02d_%03d" (year, month,
// day, hour, minute, second, millisecond), e.g. "2022_07_06_14_05_09_042". Two ids made in
// the same millisecond are equal.

#include <chrono>
#include <string>

namespace config {

std::string MakeTimestampId();
std::string MakeTimestampId(std::chrono::system_clock::time_point when);

} // namespace config
