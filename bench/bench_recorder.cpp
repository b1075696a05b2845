// The recorder's costs: one frame of analysis, the band levels the configurator makes of a
// piece of synthetic music, and the running program (CPU time per second, frame intervals)
// against a fake configurator on the session bus.

#include "devices/MusicBandLevels.h"
#include "recorder/FrequencyAnalyser.h"
#include "recorder/RecorderProtocol.h"
#include "recorder/RecorderService.h"
#include "recorder/WavWriter.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QThread>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstring>
#include <fstream>
#include <numbers>
#include <random>
#include <unistd.h>

using namespace recorder;

namespace {

// Kick, snare, hi-hat, a bass line and chords, 120 beats per minute, peaks near -6 dB.
std::vector<float> SyntheticMusic(int rate, double seconds) {
    std::vector<float> out(std::size_t(rate * seconds));
    std::mt19937 random(7);
    std::uniform_real_distribution<float> noise(-1.0f, 1.0f);
    const double bassNotes[] = {55.0, 73.4, 82.4, 65.4};
    const double chords[][3] = {{220.0, 277.2, 329.6}, {246.9, 311.1, 370.0}};
    for (std::size_t n = 0; n < out.size(); ++n) {
        const double t = double(n) / rate;
        const double beat = std::fmod(t, 0.5), eighth = std::fmod(t, 0.25);
        double s = 0.35 * std::exp(-beat * 20) * std::sin(2 * std::numbers::pi * 60 * beat);
        if (std::fmod(t, 1.0) >= 0.5)
            s += 0.2 * std::exp(-beat * 30) * noise(random);
        s += 0.05 * std::exp(-eighth * 60) * noise(random);
        s += 0.12 * std::sin(2 * std::numbers::pi * bassNotes[int(t / 0.5) % 4] * t);
        for (double hz : chords[int(t / 2) % 2])
            s += 0.05 * std::sin(2 * std::numbers::pi * hz * t);
        out[n] = float(s);
    }
    return out;
}

void BM_AnalyseFrame(benchmark::State& state) {
    const int rate = int(state.range(0));
    FrequencyAnalyser analyser(rate);
    const std::vector<float> music = SyntheticMusic(rate, 0.2);
    SpectrumFrame frame;
    for (auto _ : state) {
        analyser.Analyse(std::span(music).first(analyser.BlockSize()), frame);
        benchmark::DoNotOptimize(frame);
    }
}
BENCHMARK(BM_AnalyseFrame)->Arg(44100)->Arg(48000)->Arg(96000)->Unit(benchmark::kMicrosecond);

// What the configurator's band computation makes of the frames: mean and largest band level.
void BM_BandLevelsOfMusic(benchmark::State& state) {
    const int rate = 48000, fps = 40;
    const std::vector<float> music = SyntheticMusic(rate, 10.0);
    FrequencyAnalyser analyser(rate);
    double mean = 0, largest = 0;
    for (auto _ : state) {
        SpectrumFrame frame{}, previous{};
        std::array<std::int64_t, 25> bands{};
        double sum = 0;
        std::size_t count = 0;
        for (std::size_t end = analyser.BlockSize(); end <= music.size(); end += rate / fps) {
            analyser.Analyse(
                std::span(music).subspan(end - analyser.BlockSize(), analyser.BlockSize()), frame);
            for (int j = 0; j < 25; ++j) {
                std::int64_t diffs = 0;
                for (int i = 5 * j; i < 5 * j + 4; ++i)
                    diffs += std::abs(previous[i] - frame[i]);
                bands[j] = (bands[j] + diffs) / 4;
                sum += double(bands[j]);
                largest = std::max(largest, double(bands[j]));
                ++count;
            }
            previous = frame;
        }
        mean = sum / double(count);
    }
    state.counters["band_mean"] = mean;
    state.counters["band_max"] = largest;
}
BENCHMARK(BM_BandLevelsOfMusic)->Iterations(1)->Unit(benchmark::kMillisecond);

class FrameClock : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.quarin.Z17Keyboard")

public:
    QElapsedTimer clock;
    std::vector<double> arrivals; // ms

public slots:
    void PushCopyData(quint32 id, const QByteArray&) {
        if (id == kSpectrumDataId)
            arrivals.push_back(clock.nsecsElapsed() / 1e6);
    }
};

double ProcessCpuSeconds(qint64 pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string field;
    std::vector<std::string> fields;
    while (stat >> field)
        fields.push_back(field);
    if (fields.size() < 15)
        return 0;
    return (std::stod(fields[13]) + std::stod(fields[14])) / double(sysconf(_SC_CLK_TCK));
}

void RecorderMessage(QDBusConnection& bus, quint32 command) {
    QDBusMessage call = QDBusMessage::createMethodCall(
        QString::fromLatin1(kRecorderBusName), QString::fromLatin1(kRecorderObjectPath),
        QString::fromLatin1(kRecorderInterface), QStringLiteral("RecorderMessage"));
    call << command << quint32(0);
    bus.call(call, QDBus::Block, 5000);
}

// The program playing a file at the rate given for 10 s: CPU time, frame intervals.
void BM_RecorderProgram(benchmark::State& state) {
    if (!qEnvironmentVariableIsSet("DBUS_SESSION_BUS_ADDRESS")) {
        state.SkipWithError("needs a session bus: run under dbus-run-session");
        return;
    }
    const std::string wav = "/tmp/bench_recorder_music.wav";
    recorder_test::WriteFile(wav, recorder_test::WavBytes(SyntheticMusic(48000, 5.0), 1, 48000,
                                                          recorder_test::WavSample::Pcm16));
    QDBusConnection bus = QDBusConnection::sessionBus();
    FrameClock configurator;
    bus.registerObject(QString::fromLatin1(kConfiguratorObjectPath), &configurator,
                       QDBusConnection::ExportAllSlots);
    bus.registerService(QString::fromLatin1(kConfiguratorBusName));
    const double seconds = 10.0;
    for (auto _ : state) {
        QProcess recorder;
        recorder.start(QStringLiteral(QUARIN_RECORDER_PATH),
                       {"--input", QString::fromStdString(wav), "--loop", "--rate",
                        QString::number(state.range(0))});
        recorder.waitForStarted();
        while (!bus.interface()->isServiceRegistered(QString::fromLatin1(kRecorderBusName)))
            QThread::msleep(10);
        const double idleStart = ProcessCpuSeconds(recorder.processId());
        QThread::sleep(1);
        const double idle = ProcessCpuSeconds(recorder.processId()) - idleStart;
        configurator.clock.start();
        RecorderMessage(bus, kHandshakeBegin);
        RecorderMessage(bus, kHandshakeContinue);
        RecorderMessage(bus, kHandshakeEnd);
        const double cpuStart = ProcessCpuSeconds(recorder.processId());
        QEventLoop run;
        QTimer::singleShot(int(seconds * 1000), &run, &QEventLoop::quit);
        run.exec();
        const double cpu = ProcessCpuSeconds(recorder.processId()) - cpuStart;
        RecorderMessage(bus, kShutdownBegin);
        RecorderMessage(bus, kShutdownContinue);
        RecorderMessage(bus, kShutdownEnd);
        recorder.waitForFinished();

        std::vector<double> intervals;
        for (std::size_t i = 1; i < configurator.arrivals.size(); ++i)
            intervals.push_back(configurator.arrivals[i] - configurator.arrivals[i - 1]);
        double mean = 0, square = 0;
        for (double v : intervals)
            mean += v;
        mean /= double(intervals.size());
        for (double v : intervals)
            square += (v - mean) * (v - mean);
        std::sort(intervals.begin(), intervals.end());
        state.counters["cpu_percent_sending"] = 100 * cpu / seconds;
        state.counters["cpu_percent_idle"] = 100 * idle;
        state.counters["frames_per_s"] = double(configurator.arrivals.size()) / seconds;
        state.counters["interval_mean_ms"] = mean;
        state.counters["interval_stddev_ms"] = std::sqrt(square / double(intervals.size()));
        state.counters["interval_p99_ms"] = intervals[intervals.size() * 99 / 100];
        state.counters["interval_max_ms"] = intervals.back();
    }
}
BENCHMARK(BM_RecorderProgram)->Arg(40)->Arg(60)->Iterations(1)->Unit(benchmark::kSecond);

// The configurator's side of a step: the band levels it makes of each spectrum and hands to
// the keyboard on every third, with the time each hand-over's loudest band came.
class BandClock : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.quarin.Z17Keyboard")

public:
    QElapsedTimer clock;
    std::vector<std::pair<double, int>> handovers; // ms, loudest band level

public slots:
    void PushCopyData(quint32 id, const QByteArray& bytes) {
        if (id != kSpectrumDataId || bytes.size() < 2000)
            return;
        std::array<std::int32_t, devices::kSpectrumValues> spectrum{};
        std::memcpy(spectrum.data(), bytes.constData(), sizeof spectrum);
        if (!bands.Take(spectrum))
            return;
        const auto& levels = bands.Levels();
        handovers.emplace_back(clock.nsecsElapsed() / 1e6,
                               *std::max_element(levels.begin(), levels.end()));
    }

private:
    devices::MusicBandLevels bands;
};

// From the start of a tone in the input to the first band levels handed to the keyboard that
// show it (the keyboard's next music frame follows within one 31.25 ms step): about half a
// second of silence and half a second of a 1 kHz tone, six times, at the rate given.
void BM_StepToKeyboardBands(benchmark::State& state) {
    if (!qEnvironmentVariableIsSet("DBUS_SESSION_BUS_ADDRESS")) {
        state.SkipWithError("needs a session bus: run under dbus-run-session");
        return;
    }
    const int rate = 48000;
    std::vector<float> steps;
    std::vector<double> onsets; // ms
    // Silences of 500, 517, 534 … ms, so the onsets fall at every phase of the frame clock.
    for (int k = 0; k < 6; ++k) {
        steps.insert(steps.end(), std::size_t(rate * (0.5 + 0.017 * k)), 0.0f);
        onsets.push_back(1000.0 * double(steps.size()) / rate);
        for (int n = 0; n < rate / 2; ++n)
            steps.push_back(0.5f * float(std::sin(2 * std::numbers::pi * 1000.0 * n / rate)));
    }
    const std::string wav = "/tmp/bench_recorder_steps.wav";
    recorder_test::WriteFile(
        wav, recorder_test::WavBytes(steps, 1, rate, recorder_test::WavSample::Pcm16));
    QDBusConnection bus = QDBusConnection::sessionBus();
    BandClock configurator;
    bus.unregisterObject(QString::fromLatin1(kConfiguratorObjectPath));
    bus.registerObject(QString::fromLatin1(kConfiguratorObjectPath), &configurator,
                       QDBusConnection::ExportAllSlots);
    bus.registerService(QString::fromLatin1(kConfiguratorBusName));
    for (auto _ : state) {
        configurator.handovers.clear();
        QProcess recorder;
        recorder.start(
            QStringLiteral(QUARIN_RECORDER_PATH),
            {"--input", QString::fromStdString(wav), "--rate", QString::number(state.range(0))});
        recorder.waitForStarted();
        while (!bus.interface()->isServiceRegistered(QString::fromLatin1(kRecorderBusName)))
            QThread::msleep(10);
        RecorderMessage(bus, kHandshakeBegin);
        RecorderMessage(bus, kHandshakeContinue);
        // The file starts playing when the recorder takes the last greeting.
        configurator.clock.start();
        RecorderMessage(bus, kHandshakeEnd);
        QEventLoop run;
        QTimer::singleShot(int(1000.0 * double(steps.size()) / rate) + 500, &run,
                           &QEventLoop::quit);
        run.exec();
        RecorderMessage(bus, kShutdownBegin);
        RecorderMessage(bus, kShutdownContinue);
        RecorderMessage(bus, kShutdownEnd);
        recorder.waitForFinished();

        std::vector<double> latencies;
        for (const double onset : onsets) {
            for (const auto& [at, loudest] : configurator.handovers)
                if (at >= onset && loudest > 300) {
                    latencies.push_back(at - onset);
                    break;
                }
        }
        std::sort(latencies.begin(), latencies.end());
        bus.unregisterObject(QString::fromLatin1(kConfiguratorObjectPath));
        state.counters["steps_seen"] = double(latencies.size());
        if (!latencies.empty()) {
            state.counters["latency_median_ms"] = latencies[latencies.size() / 2];
            state.counters["latency_max_ms"] = latencies.back();
        }
    }
}
BENCHMARK(BM_StepToKeyboardBands)->Arg(40)->Arg(60)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

#include "bench_recorder.moc"
