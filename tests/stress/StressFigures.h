#pragma once
// The figures a stress run ends with (durations, worst latencies, counts), printed on the
// output as "[figure] test: name = value" and kept as properties of the test in its XML report.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <string>
#include <type_traits>

namespace stress {

using Clock = std::chrono::steady_clock;

inline double MillisecondsBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

inline void Figure(const std::string& name, const std::string& value) {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::printf("[figure] %s: %s = %s\n", test ? test->name() : "?", name.c_str(), value.c_str());
    std::fflush(stdout);
    ::testing::Test::RecordProperty(name, value);
}

inline void Figure(const std::string& name, double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    Figure(name, std::string(text));
}

inline void Figure(const std::string& name, long long value) {
    Figure(name, std::to_string(value));
}

// A count per key, printed as one figure each: "<prefix> <key>".
template <typename Key>
void Figures(const std::string& prefix, const std::map<Key, long long>& counts) {
    for (const auto& [key, count] : counts) {
        if constexpr (std::is_convertible_v<Key, std::string>)
            Figure(prefix + " " + key, count);
        else
            Figure(prefix + " " + std::to_string(key), count);
    }
}

// Measures the whole test body from construction to Report().
class Stopwatch {
public:
    double ElapsedMs() const { return MillisecondsBetween(m_start, Clock::now()); }
    void Report() const { Figure("duration ms", ElapsedMs()); }

private:
    Clock::time_point m_start = Clock::now();
};

} // namespace stress
