// How long parsing an interface's report descriptor and unpacking input reports take.
// Run: build/bench/bench_hid

#include "transport/HidDescriptor.h"
#include "transport/HidrawBackend.h"
#include "transport/SampleDescriptors.h"

#include <benchmark/benchmark.h>

namespace {

void BM_ParseInterfaceDescriptor(benchmark::State& state) {
    for (auto _ : state) {
        auto parsed = transport::ParseReportDescriptor(test::kInterfaceDescriptor,
                                                       sizeof test::kInterfaceDescriptor);
        benchmark::DoNotOptimize(parsed);
    }
    state.SetBytesProcessed(state.iterations() * sizeof test::kInterfaceDescriptor);
}
BENCHMARK(BM_ParseInterfaceDescriptor);

transport::HidCollection ParsedCollection(int index) {
    return transport::ParseReportDescriptor(test::kInterfaceDescriptor,
                                            sizeof test::kInterfaceDescriptor)
        .collections[index];
}

// The consumer-control collection: what every notification of the keyboard goes through.
void BM_UnpackConsumerReport(benchmark::State& state) {
    transport::HidCollection consumer = ParsedCollection(2);
    const std::uint8_t report[] = {3, 0xE9, 0x00};
    for (auto _ : state)
        benchmark::DoNotOptimize(transport::UnpackInputReport(consumer, report, sizeof report));
}
BENCHMARK(BM_UnpackConsumerReport);

void BM_UnpackKeyboardReport(benchmark::State& state) {
    transport::HidCollection keyboard = ParsedCollection(0);
    const std::uint8_t report[] = {1, 0x05, 0, 0x04, 0x05, 0x06, 0, 0, 0};
    for (auto _ : state)
        benchmark::DoNotOptimize(transport::UnpackInputReport(keyboard, report, sizeof report));
}
BENCHMARK(BM_UnpackKeyboardReport);

void BM_UnpackMouseReport(benchmark::State& state) {
    transport::HidCollection mouse = ParsedCollection(1);
    const std::uint8_t report[] = {2, 0x05, 0xFB, 0xFF, 0x2C, 0x01, 0xFD};
    for (auto _ : state)
        benchmark::DoNotOptimize(transport::UnpackInputReport(mouse, report, sizeof report));
}
BENCHMARK(BM_UnpackMouseReport);

// A scan pass when no hidraw node came or went: what the scan thread pays at each safety pass.
void BM_EnumerateWithoutChange(benchmark::State& state) {
    transport::HidrawBackend backend;
    std::vector<std::string> paths;
    if (!backend.Enumerate(paths)) {
        state.SkipWithError("udev cannot list devices here");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(backend.Enumerate(paths));
    state.counters["paths"] = static_cast<double>(paths.size());
}
BENCHMARK(BM_EnumerateWithoutChange);

// The removal check of one bound slot, on a node that is gone.
void BM_ExistsOfAGoneNode(benchmark::State& state) {
    transport::HidrawBackend backend;
    for (auto _ : state)
        benchmark::DoNotOptimize(backend.Exists("/dev/hidraw250?vid_320f&pid_5001&mi_01&col04"));
}
BENCHMARK(BM_ExistsOfAGoneNode);

} // namespace

BENCHMARK_MAIN();
