// How long the main window's skin takes to build, and a control lookup by name.
// Run: QT_QPA_PLATFORM=offscreen build/bench/bench_skin

#include "ui/ControlUI.h"
#include "ui/DialogBuilder.h"
#include "ui/PaintManagerUI.h"
#include "ui/ResourceManager.h"

#include <QApplication>
#include <benchmark/benchmark.h>

namespace {

void SetUpSkin() {
    ui::CPaintManagerUI::SetResourcePath(QStringLiteral(QUARIN_SOURCE_DATA_DIR "/skin/"));
    ui::CResourceManager::GetInstance().LoadResource(QStringLiteral("res.xml"));
    ui::CResourceManager::GetInstance().LoadLanguage(QStringLiteral("lan_en.xml"));
}

void BM_BuildMainSkin(benchmark::State& state) {
    SetUpSkin();
    for (auto _ : state) {
        ui::CPaintManagerUI pm;
        ui::CDialogBuilder builder;
        ui::CControlUI* root = builder.Create(QStringLiteral("XML_MAIN"), nullptr, &pm);
        benchmark::DoNotOptimize(root);
        delete root->GetWidget();
    }
}
BENCHMARK(BM_BuildMainSkin)->Unit(benchmark::kMicrosecond);

void BM_FindControlByName(benchmark::State& state) {
    SetUpSkin();
    ui::CPaintManagerUI pm;
    ui::CDialogBuilder builder;
    ui::CControlUI* root = builder.Create(QStringLiteral("XML_MAIN"), nullptr, &pm);
    for (auto _ : state)
        benchmark::DoNotOptimize(pm.FindControl(QStringLiteral("str_test")));
    delete root->GetWidget();
}
BENCHMARK(BM_FindControlByName);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
