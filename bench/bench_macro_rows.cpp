// How long the macro editor takes to show a macro's events as rows, and to save them, for
// macros of 100, 1000 and 4000 events (the most a recording makes), in a shown window.
// Run: QT_QPA_PLATFORM=offscreen build/bench/bench_macro_rows

#include "config/JsonFile.h"
#include "shell/ControlClasses.h"
#include "shell/macro/MacroControlUI.h"
#include "ui/ControlTree.h"
#include "ui/DialogBuilder.h"
#include "ui/ListUI.h"
#include "ui/PaintManagerUI.h"
#include "ui/ResourceManager.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <QWidget>
#include <benchmark/benchmark.h>

namespace {

struct ShownEditor {
    explicit ShownEditor(int events) {
        ui::CPaintManagerUI::SetResourcePath(QStringLiteral(QUARIN_SOURCE_DATA_DIR "/skin/"));
        ui::CResourceManager::GetInstance().LoadLanguage(QStringLiteral("lan_en.xml"));
        shell::RegisterProgramControls();
        folder = folderDir.path().toStdString() + "/";
        Json::Value library;
        library["MacroInfo"][0]["MacroName"] = "m";
        library["MacroInfo"][0]["Guid"] = "g0";
        config::WriteJsonFile(folder + "macro.config", library);
        Json::Value macro;
        for (int i = 0; i < events; ++i) {
            Json::Value event;
            event["Type"] = 10;
            event["Action"] = i % 2 ? "up" : "down";
            event["Button"] = 4 + i % 26;
            event["Delay"] = "15";
            macro["Events"].append(event);
        }
        config::WriteJsonFile(folder + "g0.mac", macro);

        ui::CDialogBuilder builder;
        root =
            builder.Create(QStringLiteral("XML/CustomControlXML/MacroControl.xml"), nullptr, &pm);
        editor = dynamic_cast<shell::macro::CMacroControlUI*>(root);
        window.resize(1000, 420);
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(root->GetWidget());
        window.show();
        editor->BindControls();
        editor->SetMacroFolder(folder);
        editor->LoadMacroList();
        auto* names = dynamic_cast<ui::CListUI*>(
            ui::FindInTreeByName(root, QStringLiteral("macro_name_list")));
        names->SelectItem(0, false, false);
    }
    void Settle() { QCoreApplication::processEvents(); }

    QTemporaryDir folderDir;
    std::string folder;
    ui::CPaintManagerUI pm;
    QWidget window;
    ui::CControlUI* root = nullptr;
    shell::macro::CMacroControlUI* editor = nullptr;
};

void BM_ShowMacroEvents(benchmark::State& state) {
    ShownEditor shown(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        shown.editor->LoadMacroEvents(); // as choosing the macro in the list does
        shown.Settle();
    }
}
BENCHMARK(BM_ShowMacroEvents)->Arg(100)->Arg(1000)->Arg(4000)->Unit(benchmark::kMillisecond);

void BM_SaveMacroEvents(benchmark::State& state) {
    ShownEditor shown(static_cast<int>(state.range(0)));
    shown.editor->LoadMacroEvents();
    shown.Settle();
    for (auto _ : state)
        shown.editor->SaveMacro();
}
BENCHMARK(BM_SaveMacroEvents)->Arg(100)->Arg(1000)->Arg(4000)->Unit(benchmark::kMillisecond);

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
