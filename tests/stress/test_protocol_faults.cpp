// Ten thousand command exchanges with devices that get one reply in ten wrong: late (within
// the host's time limit and past it), lost, echoing another command, or refused with status
// 0xFF. Nothing crashes, every failure is one of CDeviceComm's result codes, and no exchange
// takes the reply of another request: every read returns the bytes at the offset it asked
// for, and every write reported done is in the device's memory.
//
// A lost or late reply costs the host its one-second time limit, so the exchanges run on many
// devices at once, each with a channel and a thread of its own.

#include "StressFigures.h"
#include "sim/VirtualDevice.h"
#include "sim/VirtualHidBackend.h"
#include "sim/VirtualProducts.h"
#include "transport/DeviceComm.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <map>
#include <mutex>
#include <random>
#include <thread>
#include <vector>

namespace {

using transport::CDeviceComm;

constexpr int kDevices = 40;
constexpr int kExchangesPerDevice = 250;
constexpr double kFaultRate = 0.1;
// Half of the late replies come after the host has given up on them.
constexpr std::chrono::milliseconds kMaxLate{2 * CDeviceComm::kCableTimeoutMs * 3 / 4};

constexpr std::size_t kReadLength = 56;
constexpr std::size_t kWriteLength = 16;
constexpr std::uint16_t kOffsetStep = 8;

struct Outcome {
    std::map<int, long long> results; // result code -> count
    long long wrongReplies = 0;
    long long unknownResults = 0;
    sim::FaultTally faults;
    std::vector<std::string> problems;
};

// Memory whose bytes differ from one offset to the next, so that a read of one offset can
// never pass for a read of another.
std::vector<std::uint8_t> DistinctBytes(std::size_t size) {
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t a = 0; a < size; ++a)
        bytes[a] = static_cast<std::uint8_t>(a * 31 + 7);
    return bytes;
}

bool IsResultCode(int result) {
    switch (result) {
    case transport::kCommSuccess:
    case transport::kCommNothing:
    case transport::kCommWriteFailed:
    case transport::kCommNoDevice:
    case transport::kCommStatusError:
    case transport::kCommStatusRefused:
        return true;
    default:
        return false;
    }
}

class FaultyDevice {
public:
    explicit FaultyDevice(std::uint32_t seed) : m_random(seed) {
        m_device->SetWireLogCapacity(8);
        m_memorySize = m_device->MemoryImage().size();
        m_device->DeviceFirmware().WriteArea(sim::FirmwareArea::Memory, 0,
                                             DistinctBytes(m_memorySize));
        m_backend.Plug(m_device);
        m_ok = m_comm.CableChannel().Open(m_device->CommandPath(), true, true, true, false) == 1;
        m_comm.SelectMode(CDeviceComm::kModeCable);
        m_comm.open = true;
        sim::RandomFaults faults;
        faults.rate = kFaultRate;
        faults.seed = seed;
        faults.maxLate = kMaxLate;
        m_device->SetRandomFaults(faults);
    }

    Outcome Run(int exchanges) {
        Outcome outcome;
        if (!m_ok) {
            outcome.problems.push_back("the channel did not open");
            return outcome;
        }
        for (int i = 0; i < exchanges; ++i) {
            const int kind = std::uniform_int_distribution<int>(0, 9)(m_random);
            const int result = kind < 6 ? Read(outcome) : kind < 9 ? Write(outcome) : Info(outcome);
            ++outcome.results[result];
            if (!IsResultCode(result)) {
                ++outcome.unknownResults;
                outcome.problems.push_back("result " + std::to_string(result));
            }
        }
        outcome.faults = m_device->RandomFaultTally();
        return outcome;
    }

private:
    // An offset none of the last two exchanges used: a late reply is at most that far
    // behind, and the reply to the same request again would be a right one.
    std::uint16_t FreshOffset(std::size_t length) {
        const int last = static_cast<int>((m_memorySize - length) / kOffsetStep);
        for (;;) {
            const auto offset = static_cast<std::uint16_t>(
                kOffsetStep * std::uniform_int_distribution<int>(0, last)(m_random));
            if (std::find(m_recent.begin(), m_recent.end(), offset) == m_recent.end()) {
                m_recent.push_back(offset);
                if (m_recent.size() > 2)
                    m_recent.pop_front();
                return offset;
            }
        }
    }

    std::vector<std::uint8_t> MemoryAt(std::uint16_t offset, std::size_t length) const {
        const std::vector<std::uint8_t> memory = m_device->MemoryImage();
        return {memory.begin() + offset, memory.begin() + offset + static_cast<long>(length)};
    }

    int Read(Outcome& outcome) {
        const std::uint16_t offset = FreshOffset(kReadLength);
        std::vector<std::uint8_t> bytes(kReadLength, 0);
        const int result = m_comm.ReadMemory(bytes, offset);
        if (result == transport::kCommSuccess && bytes != MemoryAt(offset, kReadLength)) {
            ++outcome.wrongReplies;
            outcome.problems.push_back("the read of offset " + std::to_string(offset) +
                                       " returned other bytes");
        }
        return result;
    }

    int Write(Outcome& outcome) {
        const std::uint16_t offset = FreshOffset(kWriteLength);
        std::vector<std::uint8_t> bytes(kWriteLength);
        for (std::uint8_t& b : bytes)
            b = static_cast<std::uint8_t>(++m_writeCounter);
        const int result = m_comm.WriteMemory(bytes, offset);
        if (result == transport::kCommSuccess && bytes != MemoryAt(offset, kWriteLength)) {
            ++outcome.wrongReplies;
            outcome.problems.push_back("the write at offset " + std::to_string(offset) +
                                       " was reported done but is not in the memory");
        }
        return result;
    }

    int Info(Outcome& outcome) {
        std::array<std::uint8_t, transport::kDeviceInfoSize> info{};
        const int result = m_comm.ReadDeviceInfo(info);
        const std::vector<std::uint8_t> expected = m_device->InfoBlock();
        if (result == transport::kCommSuccess &&
            !std::equal(info.begin(), info.end(), expected.begin())) {
            ++outcome.wrongReplies;
            outcome.problems.push_back("the information block read returned other bytes");
        }
        return result;
    }

    std::mt19937 m_random;
    sim::VirtualHidBackend m_backend;
    std::shared_ptr<sim::VirtualDevice> m_device =
        sim::MakeVirtualDevice(sim::VirtualProduct::Keyboard);
    CDeviceComm m_comm{&m_backend};
    std::size_t m_memorySize = 0;
    std::deque<std::uint16_t> m_recent;
    unsigned m_writeCounter = 0;
    bool m_ok = false;
};

TEST(ProtocolFaults, TenThousandExchangesWithOneReplyInTenWrong) {
    stress::Stopwatch watch;
    std::vector<Outcome> outcomes(kDevices);
    std::vector<std::thread> threads;
    for (int d = 0; d < kDevices; ++d) {
        threads.emplace_back([d, &outcomes] {
            FaultyDevice device(1000 + static_cast<std::uint32_t>(d));
            outcomes[static_cast<std::size_t>(d)] = device.Run(kExchangesPerDevice);
        });
    }
    for (std::thread& t : threads)
        t.join();

    std::map<int, long long> results;
    sim::FaultTally faults;
    long long wrongReplies = 0, unknownResults = 0;
    for (const Outcome& o : outcomes) {
        for (const auto& [code, count] : o.results)
            results[code] += count;
        faults.replies += o.faults.replies;
        faults.late += o.faults.late;
        faults.dropped += o.faults.dropped;
        faults.wrongEcho += o.faults.wrongEcho;
        faults.rejected += o.faults.rejected;
        wrongReplies += o.wrongReplies;
        unknownResults += o.unknownResults;
        for (const std::string& problem : o.problems)
            ADD_FAILURE() << problem;
    }
    long long exchanges = 0;
    for (const auto& [code, count] : results)
        exchanges += count;
    EXPECT_EQ(exchanges, kDevices * kExchangesPerDevice);
    EXPECT_EQ(wrongReplies, 0);
    EXPECT_EQ(unknownResults, 0);
    // Every fault shows: a faulty reply fails its exchange unless the re-read or the next
    // exchange makes up for it, so the failures are about as many as the faults.
    const long long failures = exchanges - results[transport::kCommSuccess];
    EXPECT_GT(failures, 0);
    EXPECT_EQ(results[transport::kCommStatusError], faults.rejected)
        << "a refused command fails with -102, once per refusal";

    stress::Figure("exchanges", exchanges);
    stress::Figure("replies", faults.replies);
    stress::Figure("fault late", faults.late);
    stress::Figure("fault dropped", faults.dropped);
    stress::Figure("fault wrong echo", faults.wrongEcho);
    stress::Figure("fault status 0xFF", faults.rejected);
    stress::Figures("result", results);
    stress::Figure("replies taken for another request", wrongReplies);
    watch.Report();
}

} // namespace
