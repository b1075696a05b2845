// Feeds one input, as a file of the skin folder, to everything that reads the skin's XML: the
// dialog builder (controls, attributes, defaults, fonts, includes), the resource index, the
// language files and the menu builder. The input may include or name itself as its base,
// which must end in a refusal, not a loop. The same input is the language table
// ("Language.config" of the default-data folder), whose language files are then loaded.
//
// Beyond not crashing: a build that fails gives no tree, the tree is finite,
// and a language that loads answers its ids consistently.

#include "FuzzSupport.h"

#include "shell/Language.h"
#include "ui/ControlUI.h"
#include "ui/DialogBuilder.h"
#include "ui/MenuWnd.h"
#include "ui/PaintManagerUI.h"
#include "ui/ResourceManager.h"

#include <QApplication>
#include <QWidget>

#include <memory>

using fuzz::Require;

namespace {

constexpr const char* kFile = "fuzz.xml";

// One application for the whole run, on the offscreen platform; the skin folder is the work
// folder, where the input is saved. It is never destroyed: at exit Qt's own globals may be
// gone before it.
void StartOnce() {
    static QApplication* application = nullptr;
    if (application)
        return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QUARIN_Z17_DATA_DIR", QByteArray::fromStdString(fuzz::WorkFolder()));
    std::filesystem::create_directory(fuzz::WorkFolder() + "DefaultData");
    static int argc = 1;
    static char name[] = "fuzz_skin_xml";
    static char* argv[] = {name, nullptr};
    application = new QApplication(argc, argv);
    ui::CPaintManagerUI::SetResourcePath(QString::fromStdString(fuzz::WorkFolder()));
}

int CountControls(ui::CControlUI* control, int depth) {
    Require(depth < 1000, "the control tree is deeper than any file could make it");
    int count = 1;
    if (QWidget* widget = control->GetWidget())
        for (QObject* child : widget->children())
            if (auto* inner = dynamic_cast<ui::CControlUI*>(child))
                count += CountControls(inner, depth + 1);
    return count;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    StartOnce();
    fuzz::WriteFile(fuzz::WorkFolder() + kFile, {data, size});
    fuzz::WriteFile(fuzz::WorkFolder() + "DefaultData/Language.config", {data, size});
    const QString file = QString::fromLatin1(kFile);

    {
        ui::CPaintManagerUI manager;
        ui::CDialogBuilder builder;
        ui::CControlUI* root = builder.Create(file, nullptr, &manager);
        Require(!root || builder.GetLastError().isEmpty(), "a build that failed gave a tree");
        if (root) {
            std::unique_ptr<QWidget> keep(root->GetWidget());
            CountControls(root, 0);
        }
    }

    ui::CResourceManager& resources = ui::CResourceManager::GetInstance();
    if (resources.LoadResource(file)) {
        resources.GetXmlFile(QStringLiteral("XML_MAIN"));
        resources.GetImageFile(QStringLiteral("107"));
    }
    if (resources.LoadLanguage(file)) {
        const QString text = resources.GetText(QStringLiteral("1"));
        Require(text == resources.GetText(QStringLiteral("1")), "a text changes between asks");
        Require(resources.HasText(QStringLiteral("1")) || text == QStringLiteral("1"),
                "an id without a text does not show as itself");
    }
    for (const shell::LanguageEntry& entry : shell::ReadLanguageTable())
        resources.LoadLanguage(entry.file);
    resources.Release();

    ui::CMenuWnd menu;
    menu.Build(nullptr, file);
    return 0;
}
