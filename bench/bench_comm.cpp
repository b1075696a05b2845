// The command channel and discovery against virtual devices:
//  - the host cost of one transaction (zero-delay device),
//  - transactions per second against a device with the default 1 ms per report,
//  - light frames per second against the same device, against one report a millisecond,
//  - one scan pass with 50 virtual interfaces present and nothing new to bind.
// Run: build/bench/bench_comm

#include "sim/VirtualDevice.h"
#include "sim/VirtualHidBackend.h"
#include "sim/VirtualProducts.h"
#include "transport/DeviceComm.h"
#include "transport/DeviceScanThread.h"

#include <benchmark/benchmark.h>

#include <condition_variable>
#include <mutex>

namespace {

using namespace transport;

struct OpenKeyboard {
    explicit OpenKeyboard(std::chrono::microseconds delay) {
        keyboard->SetReplyDelay(delay);
        keyboard->SetWireLogCapacity(16);
        backend.Plug(keyboard);
        comm.CableChannel().Open(keyboard->CommandPath(), true, true, true, false);
        comm.SelectMode(CDeviceComm::kModeCable);
        comm.open = true;
    }
    sim::VirtualHidBackend backend;
    std::shared_ptr<sim::VirtualDevice> keyboard =
        sim::MakeVirtualDevice(sim::VirtualProduct::Keyboard);
    CDeviceComm comm{&backend};
};

void BM_TransactionHostCost(benchmark::State& state) {
    OpenKeyboard open(std::chrono::microseconds(0));
    for (auto _ : state) {
        if (open.comm.Begin() != kCommSuccess)
            state.SkipWithError("transaction failed");
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_TransactionHostCost)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_TransactionsAtOneMillisecondPerReport(benchmark::State& state) {
    OpenKeyboard open(sim::VirtualDevice::kDefaultReplyDelay);
    for (auto _ : state) {
        if (open.comm.Begin() != kCommSuccess)
            state.SkipWithError("transaction failed");
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_TransactionsAtOneMillisecondPerReport)
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime()
    ->MinTime(2.0);

// Light frames of seven packets (the keyboard's) written back to back against a device with
// the default 1 ms per report: the OUT endpoint allows one report a millisecond.
void BM_LightFramesAtOneMillisecondPerReport(benchmark::State& state) {
    OpenKeyboard open(sim::VirtualDevice::kDefaultReplyDelay);
    const std::vector<std::uint8_t> frame(7 * CDeviceComm::kCableChunk, 0x5A);
    for (auto _ : state) {
        if (open.comm.WriteLightFrame(frame) != kCommSuccess)
            state.SkipWithError("frame failed");
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["of_limit"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * 7.0 / 1000.0, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_LightFramesAtOneMillisecondPerReport)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(2.0);

class NullReceiver : public ISlotReceiver {
    void OnSlotBound(int) override {}
    void OnSlotLost(int) override {}
    void OnFirstScanDone() override {}
    void OnOpenDenied(const std::string&, int) override {}
};

void BM_ScanPassWithFiftyInterfaces(benchmark::State& state) {
    sim::VirtualHidBackend backend;
    std::vector<std::shared_ptr<sim::VirtualDevice>> pads;
    for (int i = 0; i < 25; ++i) { // two collections each
        pads.push_back(sim::MakeVirtualDevice(sim::VirtualProduct::MousePad));
        backend.Plug(pads.back());
    }
    std::vector<DeviceSlot> slots = MakeSlotList();
    NullReceiver receiver;
    DeviceScanThread scan(slots, receiver, &backend);
    scan.ScanOnce(); // binds the first pad; later passes find nothing new
    for (auto _ : state)
        benchmark::DoNotOptimize(scan.ScanOnce());
}
BENCHMARK(BM_ScanPassWithFiftyInterfaces)->Unit(benchmark::kMicrosecond);

// Reports when the scan thread binds or loses a slot.
class SignallingReceiver : public ISlotReceiver {
public:
    void OnSlotBound(int) override { Bump(); }
    void OnSlotLost(int) override { Bump(); }
    void OnFirstScanDone() override {}
    void OnOpenDenied(const std::string&, int) override {}
    void WaitForEvents(int count) {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return m_events >= count; });
    }

private:
    void Bump() {
        {
            const std::lock_guard lock(m_mutex);
            ++m_events;
        }
        m_changed.notify_all();
    }
    std::mutex m_mutex;
    std::condition_variable m_changed;
    int m_events = 0;
};

// The time from plugging (or unplugging) a device to the scan thread reporting both of its
// interfaces; the plug or unplug wakes the thread, so this is one wake-up plus a pass.
void BM_PlugAndUnplugLatency(benchmark::State& state) {
    sim::VirtualHidBackend backend;
    std::vector<DeviceSlot> slots = MakeSlotList();
    SignallingReceiver receiver;
    DeviceScanThread scan(slots, receiver, &backend);
    scan.Start();
    auto pad = sim::MakeVirtualDevice(sim::VirtualProduct::MousePad);
    int expected = 0;
    const bool plug = state.range(0) == 1;
    for (auto _ : state) {
        if (!plug) {
            backend.Plug(pad);
            receiver.WaitForEvents(expected += 2);
        }
        const auto start = std::chrono::steady_clock::now();
        if (plug)
            backend.Plug(pad);
        else
            backend.Unplug(pad);
        receiver.WaitForEvents(expected += 2);
        const auto elapsed = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(std::chrono::duration<double>(elapsed).count());
        if (plug) {
            backend.Unplug(pad);
            receiver.WaitForEvents(expected += 2);
        }
    }
    scan.Stop();
}
BENCHMARK(BM_PlugAndUnplugLatency)
    ->ArgName("plug")
    ->Arg(1)
    ->Arg(0)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20);

} // namespace

BENCHMARK_MAIN();
