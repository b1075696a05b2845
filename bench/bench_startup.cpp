// Start-up with the demo's four virtual devices: from making the main window to the window
// shown and painted after its first device scan, as the program starts (fonts, skin, style).
// cold_ms is the first start in the process, before Qt has cached fonts, images and styles.
// Run: QT_QPA_PLATFORM=offscreen build/bench/bench_startup

#include "platform/Paths.h"
#include "platform/PrivateFonts.h"
#include "shell/Application.h"
#include "shell/MainWnd.h"
#include "shell/Messages.h"
#include "sim/VirtualDevice.h"
#include "sim/VirtualHidBackend.h"
#include "sim/VirtualProducts.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QWidget>
#include <benchmark/benchmark.h>

namespace {

void BM_StartUpToShownWindow(benchmark::State& state) {
    sim::VirtualHidBackend backend;
    std::vector<std::shared_ptr<sim::VirtualDevice>> devices;
    for (sim::VirtualProduct product : sim::DefaultDemoProducts()) {
        devices.push_back(sim::MakeVirtualDevice(product));
        backend.Plug(devices.back());
    }
    transport::SetDefaultHidBackend(&backend);
    bool first = true;
    for (auto _ : state) {
        // Every start finds a fresh user folder, as on a first run.
        QTemporaryDir home;
        qputenv("XDG_DATA_HOME", home.path().toUtf8());
        qputenv("XDG_CONFIG_HOME", home.path().toUtf8());
        QElapsedTimer clock;
        clock.start();
        auto wnd = std::make_unique<shell::CMainWnd>();
        if (!wnd->Create(nullptr, QStringLiteral("QUARIN Z17 Keyboard"), 0x96CA0000u, 0, 0, 0, 1000,
                         640)) {
            state.SkipWithError("the main window cannot be built");
            break;
        }
        wnd->CenterWindow();
        // Shown once the first scan pass has made the four device pages.
        while (!wnd->IsWindowVisible() || wnd->ConnectedCount() < devices.size())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        wnd->GetHWND()->repaint();
        const double seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
        state.SetIterationTime(seconds);
        if (first)
            state.counters["cold_ms"] = seconds * 1000;
        first = false;
        wnd.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    transport::SetDefaultHidBackend(nullptr);
}
BENCHMARK(BM_StartUpToShownWindow)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(8);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QUARIN_Z17_DATA_DIR", QUARIN_SOURCE_DATA_DIR "/");
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    platform::PrivateFonts fonts;
    fonts.Load(QString::fromStdString(platform::FontFolder()));
    shell::RegisterInstanceMessage();
    shell::SetUpResources();
    shell::RegisterProgramMessages();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    fonts.Remove();
    return 0;
}
