// The recoil editor built from its skin file and driven by clicks and typing on its controls,
// routed as the main window routes them; the slot files of a private user folder are checked
// after each step.

#include "config/JsonFile.h"
#include "config/ShootFiles.h"
#include "devices/ShootDownload.h"
#include "shell/ControlClasses.h"
#include "shell/PanelTags.h"
#include "shell/shoot/ShootControlUI.h"
#include "shell/shoot/ShootRoutes.h"
#include "support/TestEnvironment.h"
#include "ui/ButtonUI.h"
#include "ui/ContainerUI.h"
#include "ui/ControlTree.h"
#include "ui/EditUI.h"
#include "ui/PaintManagerUI.h"
#include "ui/ResourceManager.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {

using shell::shoot::CShootControlUI;
using shell::shoot::ShootRoute;

// Stands for the main window: routes the panel's notifications and records what is left.
class Router : public ui::INotifyUI {
public:
    void Notify(ui::TNotifyUI& msg) override {
        if (!panel)
            return;
        const ShootRoute route = shell::shoot::RouteShootNotify(*panel, msg, dialogs);
        if (route == ShootRoute::kSendToMouse)
            sent.push_back(shell::shoot::ShootImage(*panel));
    }
    CShootControlUI* panel = nullptr;
    shell::ProfileDialogs dialogs;
    std::vector<std::vector<std::uint8_t>> sent;
};

class ShootEditorPanelTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(ui::CResourceManager::GetInstance().LoadResource("res.xml"));
        ASSERT_TRUE(ui::CResourceManager::GetInstance().LoadLanguage("lan_en.xml"));
        shell::RegisterProgramControls();
        router.dialogs.openFile = [this] { return chosenFile; };
        router.dialogs.saveFile = [this](const QString&) { return chosenFile; };
        pm.AddNotifier(&router);
        ASSERT_TRUE(QDir().mkpath(env.DataHome() + "/mouse"));
    }
    void TearDown() override { pm.RemoveNotifier(&router); }

    // The panel from its skin file, started as the mouse model starts it.
    CShootControlUI& Build() {
        ui::CControlUI* root = shell::CreatePanelForTag("ShootKeySetControlUI", &pm);
        EXPECT_NE(root, nullptr);
        host.reset(root->GetWidget());
        host->show();
        auto* panel = dynamic_cast<CShootControlUI*>(
            ui::FindInTreeByName(root, QStringLiteral("ShootControlItem")));
        EXPECT_NE(panel, nullptr);
        panel->SetShootFolders(UserFolder(), (env.ProgramData() + "DefaultData/").toStdString());
        panel->InitShootEditor();
        panel->SelectWeapon(0);
        panel->SelectBullet(0);
        router.panel = panel;
        return *panel;
    }
    std::string UserFolder() const { return (env.DataHome() + "/mouse/").toStdString(); }
    std::string SlotPath(int slot) const { return config::ShootFilePath(UserFolder(), slot); }
    std::string DefaultPath(int slot) const {
        return config::ShootFilePath((env.ProgramData() + "DefaultData/").toStdString(), slot);
    }
    static QByteArray Bytes(const std::string& path) {
        QFile file(QString::fromStdString(path));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    template <class T = ui::CControlUI> T* Find(const QString& name) {
        return dynamic_cast<T*>(ui::FindInTreeByName(router.panel, name));
    }
    void Click(const QString& name) {
        auto* button = Find<ui::CButtonUI>(name);
        ASSERT_NE(button, nullptr) << name.toStdString();
        QTest::mouseClick(button, Qt::LeftButton);
    }
    void Type(const char* edit, const QString& text) {
        auto* control = Find<ui::CEditUI>(QLatin1String(edit));
        ASSERT_NE(control, nullptr) << edit;
        control->setFocus();
        control->selectAll();
        QTest::keyClicks(control, text);
    }
    QString Text(const char* name) { return Find(QLatin1String(name))->GetText(); }
    QString RawText(const char* name) { return Find(QLatin1String(name))->GetRawText(); }
    bool Selected(const QString& name) { return Find<ui::COptionUI>(name)->IsSelected(); }

    test::ScopedEnvironment env;
    ui::CPaintManagerUI pm;
    std::unique_ptr<QWidget> host; // the control tree; it goes before pm
    Router router;
    QString chosenFile;
};

TEST_F(ShootEditorPanelTest, StartingCreatesMissingSlotFilesFromTheDefaultsAndShowsBulletOne) {
    config::WriteJsonFile(SlotPath(1), Json::Value(Json::objectValue));
    CShootControlUI& panel = Build();
    EXPECT_TRUE(panel.AllControlsFound());
    for (int slot : {0, 2, 3})
        EXPECT_EQ(Bytes(SlotPath(slot)), Bytes(DefaultPath(slot))) << slot;
    EXPECT_EQ(Bytes(SlotPath(1)), "{}\n") << "a readable slot file stays";

    const Json::Value shipped = config::ReadJsonFile(DefaultPath(0));
    const config::ShootBullet first = config::ReadShootBullet(shipped, 0);
    EXPECT_EQ(Text("bullet_select_index"), "1");
    EXPECT_EQ(Text("bullet_x_eidt"), QString::number(first.x));
    EXPECT_EQ(Text("bullet_y_eidt"), QString::number(first.y));
    EXPECT_EQ(Text("bullet_delay_eidt"), QString::number(first.delay));
    EXPECT_EQ(RawText("bullet_y_check"), "mouse_move_to_down_text");
    EXPECT_EQ(Text("bullet_y_check"), "Move down");
    EXPECT_TRUE(Selected("shoot_gun_op_0"));
    EXPECT_TRUE(Selected("bullet_op_0"));
}

TEST_F(ShootEditorPanelTest, PreviousAndNextStopAtTheEndsAndBulletOptionsSelect) {
    CShootControlUI& panel = Build();
    Click("bullet_selected_prev");
    EXPECT_EQ(panel.GetSelectedBullet(), 0);
    Click("bullet_op_29");
    EXPECT_EQ(Text("bullet_select_index"), "30");
    Click("bullet_selected_next");
    EXPECT_EQ(panel.GetSelectedBullet(), 29);
    EXPECT_TRUE(Selected("bullet_op_29"));
    Click("bullet_selected_prev");
    EXPECT_EQ(panel.GetSelectedBullet(), 28);
    EXPECT_TRUE(Selected("bullet_op_28"));
    EXPECT_FALSE(Selected("bullet_op_29"));
    EXPECT_EQ(Text("bullet_select_index"), "29");
}

TEST_F(ShootEditorPanelTest, TypingAndTheDirectionBoxesWriteTheSelectedBullet) {
    Build();
    Click("bullet_op_5");
    Find<ui::CCheckBoxUI>(QStringLiteral("bullet_x_check"))->SetCheck(false, false);
    Click("bullet_x_check");
    EXPECT_EQ(RawText("bullet_x_check"), "mouse_move_to_left_text");
    Type("bullet_x_eidt", "12");

    const Json::Value events = config::ReadJsonFile(SlotPath(0))["Events"];
    Json::Value move(Json::objectValue);
    move["Type"] = 4;
    move["Action"] = "down";
    move["Button"] = 12;
    move["Delay"] = 5;
    EXPECT_EQ(events[32], move);
    move["Button"] = 0;
    move["Delay"] = 0;
    EXPECT_EQ(events[34], move);

    Click("bullet_y_check");
    EXPECT_EQ(RawText("bullet_y_check"), "mouse_move_to_up_text");
    EXPECT_EQ(config::ReadJsonFile(SlotPath(0))["Events"][33]["Action"].asString(), "down")
        << "the direction is kept without another typed number";
    Type("bullet_delay_eidt", "250");
    EXPECT_EQ(config::ReadJsonFile(SlotPath(0))["Events"][33]["Delay"], Json::Value(250));
    EXPECT_EQ(config::ReadJsonFile(SlotPath(0))["Events"][26],
              config::ReadJsonFile(DefaultPath(0))["Events"][26])
        << "bullet 4 is untouched";
}

TEST_F(ShootEditorPanelTest, SwitchingSlotKeepsTheBulletAndShowsTheNewSlotsValues) {
    CShootControlUI& panel = Build();
    Click("bullet_op_7");
    Click("shoot_gun_op_2");
    EXPECT_EQ(panel.GetSelectedWeapon(), 2);
    EXPECT_EQ(panel.GetSelectedBullet(), 7);
    EXPECT_EQ(Find<ui::CTabLayoutUI>(QStringLiteral("shoot_image_display_switch"))->GetCurSel(), 2);
    EXPECT_FALSE(Selected("shoot_gun_op_0"));
    const config::ShootBullet expected =
        config::ReadShootBullet(config::ReadJsonFile(DefaultPath(2)), 7);
    EXPECT_EQ(Text("bullet_y_eidt"), QString::number(expected.y));
    EXPECT_EQ(Text("bullet_delay_eidt"), QString::number(expected.delay));
    EXPECT_EQ(Text("bullet_select_index"), "8");
}

TEST_F(ShootEditorPanelTest, ImportExportAndResetCopyTheSlotFile) {
    Build();
    Click("shootdate_import_btn"); // cancelled
    EXPECT_EQ(Bytes(SlotPath(0)), Bytes(DefaultPath(0)));

    const std::string foreign = (env.DataHome() + "/other.shoot").toStdString();
    Json::Value document(Json::objectValue);
    config::PutShootBullet(document, 0, {9, true, 8, true, 7});
    config::WriteJsonFile(foreign, document);
    chosenFile = QString::fromStdString(foreign);
    Click("shootdate_import_btn");
    EXPECT_EQ(Bytes(SlotPath(0)), Bytes(foreign));
    EXPECT_EQ(Text("bullet_x_eidt"), "9");
    EXPECT_EQ(RawText("bullet_x_check"), "mouse_move_to_left_text");

    Click("shoot_gun_op_1");
    chosenFile = env.DataHome() + "/out.shoot";
    Click("shootdate_export_btn");
    EXPECT_EQ(Bytes(chosenFile.toStdString()), Bytes(SlotPath(1)));

    Click("shoot_gun_op_0");
    Click("shootdate_reset_btn");
    EXPECT_EQ(Bytes(SlotPath(0)), Bytes(DefaultPath(0)));
    const config::ShootBullet first =
        config::ReadShootBullet(config::ReadJsonFile(DefaultPath(0)), 0);
    EXPECT_EQ(Text("bullet_x_eidt"), QString::number(first.x));
}

TEST_F(ShootEditorPanelTest, SaveHandsTheFourSlotsToTheMouse) {
    Build();
    Click("bullet_op_1");
    Type("bullet_y_eidt", "300");
    EXPECT_EQ(config::ReadJsonFile(SlotPath(0))["Events"][9]["Button"], Json::Value(300))
        << "kept as typed";
    Click("shootdate_save_btn");
    ASSERT_EQ(router.sent.size(), 1u);
    const std::vector<std::uint8_t>& image = router.sent[0];
    ASSERT_EQ(image.size(), 2920u);
    // Slot 0's block starts at 24; bullet 1's vertical move is its event 9, held to 255.
    EXPECT_EQ(image[24 + 4 + 9 * 4 + 3], 255);
    std::vector<std::vector<config::MacroEvent>> slotEvents;
    for (int slot = 0; slot < 4; ++slot)
        slotEvents.push_back(config::ShootSlotEvents(config::ReadJsonFile(SlotPath(slot))));
    EXPECT_EQ(image, devices::BuildShootImage(slotEvents));
}

} // namespace
