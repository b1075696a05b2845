// Saving a profile to the keyboard ("Save to device": light block, key table) against the
// virtual keyboard at the default 1 ms per report, by cable and through the receiver; this is
// the wait a user sees after the click.
// Run: build/bench/bench_keyboard

#include "devices/DeviceModels.h"
#include "sim/VirtualDevice.h"
#include "sim/VirtualHidBackend.h"
#include "sim/VirtualProducts.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>

namespace {

void BM_SaveProfileToKeyboard(benchmark::State& state) {
    const bool viaReceiver = state.range(0) != 0;
    const std::filesystem::path home = std::filesystem::temp_directory_path() / "quarin-bench";
    ::setenv("XDG_DATA_HOME", home.c_str(), 1);

    sim::VirtualHidBackend backend;
    auto board = sim::MakeVirtualDevice(sim::VirtualProduct::Keyboard);
    auto receiver = sim::MakeVirtualReceiver(*board);
    board->SetWireLogCapacity(16);
    receiver->SetWireLogCapacity(16);
    backend.Plug(viaReceiver ? receiver : board);
    std::unique_ptr<devices::CKelvaneUSBDevice> device = devices::CreateDeviceForModel(1, &backend);
    auto& keyboard = static_cast<devices::CKelvaneKeyboardDevice&>(*device);
    keyboard.SetCurrentProfileId("bench");
    keyboard.SetProfilePaths();
    transport::CDeviceComm& comm = keyboard.CommandChannel();
    const auto& wire = viaReceiver ? *receiver : *board;
    (viaReceiver ? comm.ReceiverChannel() : comm.CableChannel())
        .Open(wire.CommandPath(), true, true, true, false);
    comm.SelectMode(viaReceiver ? transport::CDeviceComm::kModeReceiver
                                : transport::CDeviceComm::kModeCable);
    comm.open = true;
    if (keyboard.ReadAllFromDevice() != 1) {
        state.SkipWithError("the keyboard cannot be read");
        return;
    }
    for (auto _ : state) {
        const devices::KeyboardApplyResult result = keyboard.ApplyProfile();
        if (result.keyTable != 1)
            state.SkipWithError("the key table was not written");
    }
    std::filesystem::remove_all(home);
}
BENCHMARK(BM_SaveProfileToKeyboard)
    ->ArgName("receiver")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace

BENCHMARK_MAIN();
