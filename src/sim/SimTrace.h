#pragma once
// A trace of every report the virtual devices receive and send, for anyone to read: with
// QUARIN_Z17_SIM_TRACE=FILE set when a device is made, each report is appended to FILE as one
// line, the device's word, "<" received or ">" sent, and the report's bytes in hex:
//
//   keyboard < 04 1d 00 03 22 00 00 00 00 ...
//
// Light transactions are in it too, unlike the debug log. Devices tracing to the same file
// share it, so their lines never interleave.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

namespace sim {

enum class TraceDirection { Received, Sent };

class SimTrace {
public:
    static constexpr const char* kVariable = "QUARIN_Z17_SIM_TRACE";

    // The trace the environment asks for, shared by every device tracing to that file;
    // nullptr when the variable is unset or empty, or the file cannot be opened.
    static std::shared_ptr<SimTrace> FromEnvironment();

    explicit SimTrace(std::FILE* file) : m_file(file) {}
    ~SimTrace();
    SimTrace(const SimTrace&) = delete;
    SimTrace& operator=(const SimTrace&) = delete;

    void Add(std::string_view device, TraceDirection direction, const std::uint8_t* report,
             std::size_t length);

private:
    std::mutex m_mutex;
    std::FILE* const m_file;
};

} // namespace sim
