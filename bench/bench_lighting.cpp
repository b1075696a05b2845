// The keyboard's host-driven lighting: how many frames a second reach the virtual keyboard by
// cable at its default 1 ms per report in effect 30 (the music colour), against the limit the
// transport sets (one report a millisecond), and what streaming costs the process in CPU
// time (the virtual keyboard's threads included); then what one effect-29 frame costs to render in
// each "AudioMode". Run: build/bench/bench_lighting

#include "devices/DeviceModels.h"
#include "devices/MusicEffects.h"
#include "sim/VirtualDevice.h"
#include "sim/VirtualHidBackend.h"
#include "sim/VirtualProducts.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <sys/resource.h>
#include <vector>

namespace {

constexpr int kMusicColourEffect = 30;
constexpr int kMusicEffect = 29;
constexpr std::uint8_t kFrameCommand = 0x12;

std::chrono::microseconds ProcessCpuTime() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto micros = [](const timeval& t) {
        return std::chrono::seconds(t.tv_sec) + std::chrono::microseconds(t.tv_usec);
    };
    return micros(usage.ru_utime) + micros(usage.ru_stime);
}

// One effect-30 frame with a colour of its own, so the repeat rule never holds it back.
int StreamFrame(devices::CKelvaneKeyboardDevice& keyboard, std::uint32_t n) {
    keyboard.SetMusicSettings({static_cast<std::int32_t>(n & 0xFF),
                               static_cast<std::int32_t>((n >> 8) & 0xFF),
                               static_cast<std::int32_t>((n >> 16) & 0xFF), 0, 0, 0});
    keyboard.StepMusic();
    return keyboard.SendLightFrame();
}

void BM_StreamMusicColourFrames(benchmark::State& state) {
    const std::filesystem::path home =
        std::filesystem::temp_directory_path() / "quarin-bench-lighting";
    ::setenv("XDG_DATA_HOME", home.c_str(), 1);

    sim::VirtualHidBackend backend;
    auto board = sim::MakeVirtualDevice(sim::VirtualProduct::Keyboard);
    backend.Plug(board);
    std::unique_ptr<devices::CKelvaneUSBDevice> device = devices::CreateDeviceForModel(1, &backend);
    auto& keyboard = static_cast<devices::CKelvaneKeyboardDevice&>(*device);
    keyboard.SetCurrentProfileId("bench");
    keyboard.SetProfilePaths();
    transport::CDeviceComm& comm = keyboard.CommandChannel();
    comm.CableChannel().Open(board->CommandPath(), true, true, true, false);
    comm.SelectMode(transport::CDeviceComm::kModeCable);
    comm.open = true;
    if (keyboard.ReadAllFromDevice() != 1) {
        state.SkipWithError("the keyboard cannot be read");
        return;
    }
    config::LightInfoRecord fields = keyboard.GetLightFields();
    fields.selectItem = kMusicColourEffect;
    fields.light = 3;
    keyboard.SetLightFields(fields);

    // The reports one frame takes, counted on the wire.
    board->ClearWireLog();
    std::uint32_t n = 1;
    if (StreamFrame(keyboard, n++) != 1) {
        state.SkipWithError("the frame was not sent");
        return;
    }
    double packetsPerFrame = 0;
    for (const sim::WirePacket& p : board->WireLog())
        if (p.direction == sim::WireDirection::Request && p.bytes[3] == kFrameCommand)
            ++packetsPerFrame;
    board->SetWireLogCapacity(16);

    std::int64_t frames = 0;
    const auto cpuBefore = ProcessCpuTime();
    const auto wallBefore = std::chrono::steady_clock::now();
    for (auto _ : state) {
        if (StreamFrame(keyboard, n++) != 1)
            state.SkipWithError("a frame was not sent");
        ++frames;
    }
    const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - wallBefore;
    const std::chrono::duration<double> cpu = ProcessCpuTime() - cpuBefore;

    const double framesPerSecond = static_cast<double>(frames) / wall.count();
    const double transportLimit = 1000.0 / packetsPerFrame;
    state.counters["packets_per_frame"] = packetsPerFrame;
    state.counters["frames_per_s"] = framesPerSecond;
    state.counters["limit_frames_per_s"] = transportLimit;
    state.counters["of_limit"] = framesPerSecond / transportLimit;
    // Each frame report waits for its status reply, which comes two reports' time later.
    state.counters["round_trip_limit_frames_per_s"] = transportLimit / 2;
    state.counters["cpu_ms_per_s"] = 1000.0 * cpu.count() / wall.count();
    std::filesystem::remove_all(home);
}
BENCHMARK(BM_StreamMusicColourFrames)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

// A spectrum that moves like music: each band wanders within the full scale.
std::vector<devices::MusicSpectrum> MovingSpectra() {
    std::mt19937 random(29);
    std::uniform_int_distribution<std::int32_t> level(0, 2000);
    std::vector<devices::MusicSpectrum> spectra(64);
    for (devices::MusicSpectrum& bands : spectra)
        for (std::int32_t& band : bands)
            band = level(random);
    return spectra;
}

void BM_RenderMusicFrame(benchmark::State& state) {
    config::AudioLightRecord audio;
    audio.audioMode = static_cast<std::uint8_t>(state.range(0));
    audio.fgRed = 255;
    audio.bkBlue = 80;
    audio.sevenColorFlags = 1;
    const devices::LightSettings settings{kMusicEffect, 3, 0, 0, 1, 255, 255, 255};
    devices::EffectState effect;
    std::vector<devices::LedColour> leds(devices::kOnScreenKeyCount);
    const std::vector<devices::MusicSpectrum> spectra = MovingSpectra();
    std::size_t n = 0;
    for (auto _ : state) {
        devices::RenderMusicFrame(leds, settings, audio, effect, spectra[n++ % spectra.size()]);
        benchmark::DoNotOptimize(leds.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RenderMusicFrame)
    ->ArgName("audio_mode")
    ->DenseRange(0, 6)
    ->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
