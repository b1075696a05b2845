// The keyboard's host-driven lighting: how many frames a second the keyboard's lighting thread
// streams to the virtual keyboard by cable at its default 1 ms per report in effect 30 (the
// music colour), counted at the keyboard, against the limit the transport sets (one report a
// millisecond), and what streaming costs the process in CPU time (the virtual keyboard's
// threads included); then what one effect-29 frame costs to render in each "AudioMode". Run:
// build/bench/bench_lighting

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
#include <set>
#include <sys/resource.h>
#include <thread>
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

// A colour of its own for each n, so the repeat rule never holds a frame back.
devices::MusicSettings MusicColour(std::uint32_t n) {
    return {static_cast<std::int32_t>(n & 0xFF),
            static_cast<std::int32_t>((n >> 8) & 0xFF),
            static_cast<std::int32_t>((n >> 16) & 0xFF),
            0,
            0,
            0};
}

// The bench thread hands the keyboard a new colour this often: several times a frame, so the
// lighting thread always finds one waiting when its frame has gone out.
constexpr std::chrono::milliseconds kFeedPeriod{1};
// What one benchmark iteration streams.
constexpr int kFeedsPerIteration = 250;

struct StreamCount {
    std::int64_t frames = 0;
    std::size_t packetsPerFrame = 0;
};

// The frames the virtual keyboard took (one per frame packet at offset 0) and the packets of
// one frame (the offsets its packets take); the log starts and ends inside frames.
StreamCount CountFrames(const std::vector<sim::WirePacket>& log) {
    StreamCount count;
    std::set<int> offsets;
    for (const sim::WirePacket& p : log) {
        if (p.direction != sim::WireDirection::Request || p.bytes[3] != kFrameCommand)
            continue;
        const int offset = p.bytes[5] | (p.bytes[6] << 8);
        offsets.insert(offset);
        if (offset == 0)
            ++count.frames;
    }
    count.packetsPerFrame = offsets.size();
    return count;
}

// The real path: the keyboard's lighting thread (started by ReadAllFromDevice) renders and
// streams a frame whenever new music settings have come, while the bench thread feeds them.
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

    std::uint32_t n = 1;
    const auto feed = [&] {
        keyboard.SetMusicSettings(MusicColour(n++));
        std::this_thread::sleep_for(kFeedPeriod);
    };
    for (int i = 0; i < 50; ++i) // the stream under way
        feed();
    // Every packet of the run stays in the log: about 15 a frame, requests and replies.
    board->SetWireLogCapacity(std::size_t{1} << 18);
    board->ClearWireLog();

    const auto cpuBefore = ProcessCpuTime();
    const auto wallBefore = std::chrono::steady_clock::now();
    for (auto _ : state)
        for (int i = 0; i < kFeedsPerIteration; ++i)
            feed();
    const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - wallBefore;
    const std::chrono::duration<double> cpu = ProcessCpuTime() - cpuBefore;
    const StreamCount count = CountFrames(board->WireLog());
    device.reset(); // stops the lighting thread before the keyboard goes
    if (count.frames == 0) {
        state.SkipWithError("no frame was streamed");
        return;
    }

    const auto packetsPerFrame = static_cast<double>(count.packetsPerFrame);
    const double framesPerSecond = static_cast<double>(count.frames) / wall.count();
    // The OUT endpoint takes one report a millisecond.
    const double transportLimit = 1000.0 / packetsPerFrame;
    state.counters["packets_per_frame"] = packetsPerFrame;
    state.counters["frames_per_s"] = framesPerSecond;
    state.counters["limit_frames_per_s"] = transportLimit;
    state.counters["of_limit"] = framesPerSecond / transportLimit;
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
