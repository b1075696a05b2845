// The profile panel's export and import dialogs over the real main window: they are the
// desktop's (no style of the program reaches them) and, with no portal on the test bus, Qt's
// own dialog with its default options, so a platform theme with a native dialog would give
// that one.

#include "MainWindowFixture.h"
#include "shell/Application.h"
#include "ui/PaintManagerUI.h"

#include <QApplication>
#include <QFileDialog>
#include <QStyle>
#include <QTimer>

namespace {

using test::MainWindowTest;

struct SeenDialog {
    bool seen = false;
    bool styled = true;
    QString sheet;
    bool nativeAllowed = false;
    QPalette palette;
};

// Runs `click` and answers the file dialog it opens with Cancel.
SeenDialog CancelDialogOf(const std::function<void()>& click) {
    SeenDialog seen;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        seen.seen = true;
        seen.styled = dialog->style()->inherits("QStyleSheetStyle");
        seen.sheet = dialog->styleSheet();
        seen.nativeAllowed = !dialog->testOption(QFileDialog::DontUseNativeDialog);
        seen.palette = dialog->palette();
        dialog->reject();
    });
    watcher.start(10);
    click();
    return seen;
}

class FileDialogTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        shell::SetUpResources(); // the program's look, as at start-up
        board = sim::MakeVirtualDevice(sim::VirtualProduct::Keyboard);
        devices.Plug(board);
        ASSERT_TRUE(test::WaitUntil([&] { return wnd->ConnectedCount() == 1; }, 1000));
        Click("profile_fun_spread_btn");
    }
    void TearDown() override {
        ui::CPaintManagerUI::SetStyleSheet({});
        MainWindowTest::TearDown();
    }
    std::shared_ptr<sim::VirtualDevice> board;
};

TEST_F(FileDialogTest, ExportAndImportOpenTheDesktopsDialogWithoutTheProgramsStyle) {
    ASSERT_FALSE(ui::CPaintManagerUI::GetStyleSheet().isEmpty());
    EXPECT_TRUE(qApp->styleSheet().isEmpty());
    EXPECT_FALSE(Host()->findChild<QWidget*>("root")->styleSheet().isEmpty())
        << "the program's own window keeps its look";
    for (const char* button : {"device_export_btn", "device_import_btn"}) {
        const SeenDialog seen = CancelDialogOf([&] { Click(button); });
        ASSERT_TRUE(seen.seen) << button;
        EXPECT_FALSE(seen.styled) << button;
        EXPECT_TRUE(seen.sheet.isEmpty()) << button;
        EXPECT_TRUE(seen.nativeAllowed) << button;
        EXPECT_EQ(seen.palette, QApplication::palette()) << button;
    }
}

} // namespace
