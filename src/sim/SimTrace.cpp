#include "sim/SimTrace.h"

#include <cstdlib>
#include <map>

namespace sim {
namespace {

std::string TraceLine(std::string_view device, TraceDirection direction, const std::uint8_t* report,
                      std::size_t length) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string line(device);
    line += direction == TraceDirection::Received ? " <" : " >";
    for (std::size_t i = 0; i < length; ++i) {
        line += ' ';
        line += kHex[report[i] >> 4];
        line += kHex[report[i] & 0x0F];
    }
    return line;
}

} // namespace

std::shared_ptr<SimTrace> SimTrace::FromEnvironment() {
    const char* file = std::getenv(kVariable);
    if (!file || !*file)
        return nullptr;
    static std::mutex mutex;
    static std::map<std::string, std::weak_ptr<SimTrace>> open;
    const std::lock_guard lock(mutex);
    std::weak_ptr<SimTrace>& known = open[file];
    if (auto trace = known.lock())
        return trace;
    std::FILE* stream = std::fopen(file, "a");
    if (!stream)
        return nullptr;
    auto trace = std::make_shared<SimTrace>(stream);
    known = trace;
    return trace;
}

SimTrace::~SimTrace() {
    std::fclose(m_file);
}

void SimTrace::Add(std::string_view device, TraceDirection direction, const std::uint8_t* report,
                   std::size_t length) {
    const std::string line = TraceLine(device, direction, report, length) + '\n';
    const std::lock_guard lock(m_mutex);
    std::fwrite(line.data(), 1, line.size(), m_file);
    // Flushed line by line: the trace is read while the program runs.
    std::fflush(m_file);
}

} // namespace sim
