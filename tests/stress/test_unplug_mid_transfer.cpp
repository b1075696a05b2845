// A device pulled out in the middle of a transfer, a thousand times, by cable and through the
// receiver: key-table reads, macro writes, light frames and information reads each end with
// a failure code within 500 ms of the unplug, while the device's notification thread, blocked
// in its read, lives through it and stops when told. Each round plugs the device in again.

#include "StressFigures.h"
#include "devices/NotificationThread.h"
#include "sim/VirtualDevice.h"
#include "sim/VirtualHidBackend.h"
#include "sim/VirtualProducts.h"
#include "transport/DeviceComm.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <future>
#include <map>
#include <random>
#include <thread>

namespace {

using stress::Clock;
using transport::CDeviceComm;

constexpr int kUnplugs = 1000;
constexpr double kReportLimitMs = 500;
// Far beyond any time limit of the host: a transfer still running then is hung.
constexpr std::chrono::seconds kHung{20};
// Frames four times as fast as the default: the same traffic, in a quarter of the time.
constexpr std::chrono::microseconds kFrame{250};

enum class Transfer { KeyTable, Macro, LightFrame, Info, kCount };

const char* NameOf(Transfer transfer) {
    switch (transfer) {
    case Transfer::KeyTable:
        return "key table read";
    case Transfer::Macro:
        return "macro write";
    case Transfer::LightFrame:
        return "light frame";
    default:
        return "information read";
    }
}

struct Finished {
    int result = 0;
    Clock::time_point at;
};

int RunTransfer(CDeviceComm& comm, Transfer transfer) {
    switch (transfer) {
    case Transfer::KeyTable: {
        std::vector<std::uint8_t> table(comm.GetTransferLength());
        return comm.ReadKeyTable(table);
    }
    case Transfer::Macro: {
        std::vector<std::uint8_t> macro(1024, 0x5A);
        return comm.WriteMacroData(macro);
    }
    case Transfer::LightFrame: {
        std::vector<std::uint8_t> frame(3 * 126, 0x40);
        return comm.WriteLightFrame(frame);
    }
    default: {
        std::array<std::uint8_t, transport::kDeviceInfoSize> info{};
        return comm.ReadDeviceInfo(info);
    }
    }
}

class UnplugTest : public ::testing::TestWithParam<bool> {
protected:
    bool ThroughReceiver() const { return GetParam(); }
    std::shared_ptr<sim::VirtualDevice> board =
        sim::MakeVirtualDevice(sim::VirtualProduct::Keyboard);
    std::shared_ptr<sim::VirtualDevice> receiver = sim::MakeVirtualReceiver(*board);
    sim::VirtualHidBackend backend;
};

TEST_P(UnplugTest, EveryTransferEndsWithAFailureCodeSoonAfterTheUnplug) {
    stress::Stopwatch watch;
    sim::VirtualDevice& wire = ThroughReceiver() ? *receiver : *board;
    wire.SetReplyDelay(kFrame);
    wire.SetWireLogCapacity(8);
    std::mt19937 random(ThroughReceiver() ? 17 : 71);
    std::map<std::string, long long> results;
    std::map<std::string, double> longestMs; // a typical whole transfer, by kind
    double worstReportMs = 0;
    long long midTransfer = 0;

    for (int round = 0; round < kUnplugs; ++round) {
        ASSERT_TRUE(backend.Plug(ThroughReceiver() ? receiver : board));
        CDeviceComm comm(&backend);
        transport::CHidChannel& channel =
            ThroughReceiver() ? comm.ReceiverChannel() : comm.CableChannel();
        ASSERT_EQ(channel.Open(wire.CommandPath(), true, true, true, false), 1);
        comm.SelectMode(ThroughReceiver() ? CDeviceComm::kModeReceiver : CDeviceComm::kModeCable);
        comm.open = true;
        transport::CHidChannel events(&backend);
        ASSERT_EQ(events.Open(wire.NotificationPath(), true, false, true, true), 1);
        devices::CNotificationThread notifications("stress notification thread ended");
        notifications.Start(events, [](std::uint16_t) {});

        // Light frames go by cable only.
        const int kinds = static_cast<int>(Transfer::kCount);
        auto transfer =
            static_cast<Transfer>(std::uniform_int_distribution<int>(0, kinds - 1)(random));
        if (ThroughReceiver() && transfer == Transfer::LightFrame)
            transfer = Transfer::Macro;
        const std::string name = NameOf(transfer);
        // Pulled anywhere from before the first packet to a little after the usual end.
        const double typicalMs = longestMs.count(name) ? longestMs[name] : 20.0;
        const double unplugAfterMs =
            std::uniform_real_distribution<double>(0.0, 1.1 * typicalMs)(random);

        std::promise<Finished> finished;
        std::future<Finished> done = finished.get_future();
        const Clock::time_point started = Clock::now();
        std::thread worker([&] {
            finished.set_value({RunTransfer(comm, transfer), Clock::now()});
        });
        std::this_thread::sleep_for(std::chrono::duration<double, std::milli>(unplugAfterMs));
        const Clock::time_point unplugged = Clock::now();
        ASSERT_TRUE(backend.Unplug(ThroughReceiver() ? receiver : board));
        if (done.wait_for(kHung) != std::future_status::ready) {
            ADD_FAILURE() << "the " << name << " hangs after the unplug";
            std::fflush(stdout);
            std::_Exit(1); // the worker still uses this frame's objects
        }
        worker.join();
        const Finished end = done.get();

        if (end.at < unplugged) {
            EXPECT_EQ(end.result, transport::kCommSuccess) << name << " before the unplug";
            longestMs[name] =
                std::max(longestMs[name], stress::MillisecondsBetween(started, end.at));
            ++results[name + " done before the unplug"];
        } else if (end.result == transport::kCommSuccess) {
            // Its last reply was read as the device went.
            ++results[name + " done as it was unplugged"];
        } else {
            ++midTransfer;
            ++results[name + " " + std::to_string(end.result)];
            const double reportMs = stress::MillisecondsBetween(unplugged, end.at);
            worstReportMs = std::max(worstReportMs, reportMs);
            EXPECT_LE(reportMs, kReportLimitMs) << name << " reported its failure late";
            EXPECT_TRUE(end.result == transport::kCommNothing ||
                        end.result == transport::kCommWriteFailed)
                << name << " ended with " << end.result;
        }
        EXPECT_TRUE(notifications.IsRunning());
        notifications.Stop();
        comm.open = false;
    }
    EXPECT_GT(midTransfer, kUnplugs / 2) << "most unplugs come in the middle of a transfer";
    stress::Figure("unplugs", static_cast<long long>(kUnplugs));
    stress::Figure("unplugged mid-transfer", midTransfer);
    stress::Figure("worst failure report ms", worstReportMs);
    stress::Figures("outcome", results);
    watch.Report();
}

INSTANTIATE_TEST_SUITE_P(ByCableAndReceiver, UnplugTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return std::string(info.param ? "Receiver" : "Cable");
                         });

} // namespace
