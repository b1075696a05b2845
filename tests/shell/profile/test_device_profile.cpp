// The profile panel built from its skin file and driven by real clicks and selections on its
// controls, routed as the main window routes them; the files of a device in a private
// XDG_DATA_HOME are checked after each step.

#include "config/AtomicFile.h"
#include "config/JsonFile.h"
#include "devices/DeviceModels.h"
#include "shell/ControlClasses.h"
#include "shell/PanelTags.h"
#include "shell/profile/DeviceProfileUI.h"
#include "shell/profile/ProfileRoutes.h"
#include "support/TestEnvironment.h"
#include "ui/ButtonUI.h"
#include "ui/ComboUI.h"
#include "ui/DialogBuilder.h"
#include "ui/EditUI.h"
#include "ui/ListUI.h"
#include "ui/PaintManagerUI.h"
#include "ui/ResourceManager.h"

#include <QTest>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <sys/stat.h>

namespace {

using shell::CDeviceProfileUI;
using shell::ProfileRoute;

constexpr int kKeyboardRow = 1; // model row of the keyboard
constexpr int kHeadsetRow = 3;

// Stands for the main window: routes clicks to the panel and records the rest.
class Router : public ui::INotifyUI {
public:
    void Notify(ui::TNotifyUI& msg) override {
        const QString name = msg.pSender ? msg.pSender->GetName() : QString();
        if (msg.sType == ui::notify::click && panel)
            lastRoute = shell::RouteProfileClick(*panel, name, dialogs);
        else if (msg.sType == ui::notify::itemselect && shell::IsProfileCombo(name))
            ++profileSelections;
        else if (msg.sType == ui::notify::selectchanged)
            selectedTabs.push_back(shell::ProfileTabNumber(name));
    }
    CDeviceProfileUI* panel = nullptr;
    shell::ProfileDialogs dialogs;
    ProfileRoute lastRoute = ProfileRoute::kNotMine;
    int profileSelections = 0;
    std::vector<int> selectedTabs;
};

class DeviceProfileTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(ui::CResourceManager::GetInstance().LoadResource("res.xml"));
        ASSERT_TRUE(ui::CResourceManager::GetInstance().LoadLanguage("lan_en.xml"));
        shell::RegisterProgramControls();
        router.dialogs.message = [this](const QString& id, int buttons) {
            messages.push_back(id);
            return buttons == 1 ? confirm : 1;
        };
        router.dialogs.saveFile = [this](const QString& suggested) {
            suggestedNames.push_back(suggested);
            return chosenFile;
        };
        router.dialogs.openFile = [this] { return chosenFile; };
        pm.AddNotifier(&router);
    }
    void TearDown() override { pm.RemoveNotifier(&router); }

    // A panel from the skin file, set up for the device of the model row as the device does it.
    CDeviceProfileUI& Build(int modelRow) {
        ui::CControlUI* root = shell::CreatePanelForTag("DeviceProfileUI", &pm);
        EXPECT_NE(root, nullptr);
        hosts.emplace_back(root->GetWidget());
        hosts.back()->show();
        CDeviceProfileUI* panel = shell::FindProfilePanel(root);
        EXPECT_NE(panel, nullptr);
        device = devices::CreateDeviceForModel(modelRow);
        shell::SetUpProfilePanel(*panel, *device, device->GetDeviceKind(), router.dialogs);
        router.panel = panel;
        return *panel;
    }
    template <class T> T* Find(CDeviceProfileUI& panel, const char* name) {
        return dynamic_cast<T*>(pm.FindSubControlByName(&panel, QLatin1String(name)));
    }
    void Click(CDeviceProfileUI& panel, const char* name) {
        auto* button = Find<ui::CButtonUI>(panel, name);
        ASSERT_NE(button, nullptr) << name;
        ASSERT_TRUE(button->isVisible()) << name;
        QTest::mouseClick(button, Qt::LeftButton);
    }
    // Opens the profile menu, as the user must before using its buttons.
    void OpenMenu(CDeviceProfileUI& panel) {
        if (!panel.IsProfileMenuVisible())
            Click(panel, "profile_fun_spread_btn");
        ASSERT_TRUE(panel.IsProfileMenuVisible());
    }
    QStringList ItemTexts(CDeviceProfileUI& panel) {
        QStringList texts;
        auto* combo = Find<ui::CComboUI>(panel, "device_profile_combo");
        for (int i = 0; i < combo->GetCount(); ++i)
            texts << combo->GetItemAt(i)->GetText();
        return texts;
    }
    std::string Folder() const { return device->UserDataFolder(); }
    Json::Value ListFile() const { return config::ReadJsonFile(Folder() + "ProfileList.ini"); }
    Json::Value ProfileFile(const std::string& id) const {
        return config::ReadJsonFile(Folder() + id + ".Json");
    }
    std::string TempFile(const char* name) const {
        return env.DataHome().toStdString() + "/" + name;
    }

    test::ScopedEnvironment env;
    ui::CPaintManagerUI pm;
    std::vector<std::unique_ptr<QWidget>> hosts; // the control trees; they go before pm
    std::unique_ptr<devices::CKelvaneUSBDevice> device;
    Router router;
    QStringList messages;
    QStringList suggestedNames;
    QString chosenFile;
    int confirm = 1;
};

TEST_F(DeviceProfileTest, FirstRunShowsProfile1AndHandsItToTheDevice) {
    CDeviceProfileUI& panel = Build(kKeyboardRow);
    EXPECT_EQ(panel.GetName(), "DeviceProfileItem");
    auto* combo = Find<ui::CComboUI>(panel, "device_profile_combo");
    ASSERT_NE(combo, nullptr);
    ASSERT_EQ(ItemTexts(panel), QStringList{"profile1"});
    auto* item = dynamic_cast<ui::CListLabelElementUI*>(combo->GetItemAt(0));
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->GetFixedHeight(), CDeviceProfileUI::kItemHeight);
    EXPECT_EQ(item->GetToolTip(), "profile1");
    EXPECT_EQ(combo->itemData(0, Qt::ToolTipRole).toString(), "profile1");
    EXPECT_EQ(panel.GetSelectedIndex(), 0);
    EXPECT_EQ(panel.GetNameEditText(), "profile1");
    EXPECT_EQ(router.profileSelections, 0) << "loading selects without notification";

    const std::string id = panel.GetCurrentProfileId();
    EXPECT_EQ(device->GetCurrentProfileId(), id);
    EXPECT_EQ(ListFile(), panel.GetListDocument());
    EXPECT_EQ(ListFile()["profilelist"][0]["profileUUID"], id);
    const Json::Value profile = ProfileFile(id);
    EXPECT_EQ(profile["profilename"], "profile1");
    EXPECT_EQ(profile["Device"][0]["KeyList"].size(), 170u) << "made from keyboard.Json";
}

TEST_F(DeviceProfileTest, TabsFollowTheDeviceKindAndSelectTabSendsNothing) {
    CDeviceProfileUI& keyboard = Build(kKeyboardRow);
    CDeviceProfileUI& headset = Build(kHeadsetRow);
    auto visible = [&](CDeviceProfileUI& panel) {
        std::vector<bool> shown;
        for (const char* name : shell::kProfileTabNames)
            shown.push_back(Find<ui::COptionUI>(panel, name)->IsVisible());
        return shown;
    };
    EXPECT_EQ(visible(keyboard),
              (std::vector<bool>{true, true, true, true, false, false, false, false}));
    EXPECT_EQ(visible(headset),
              (std::vector<bool>{true, false, false, false, false, true, true, true}));

    headset.SelectTab(7);
    EXPECT_TRUE(Find<ui::COptionUI>(headset, "magic_Op_tab")->IsSelected());
    EXPECT_FALSE(Find<ui::COptionUI>(headset, "deng_Op_tab")->IsSelected());
    EXPECT_TRUE(Find<ui::COptionUI>(keyboard, "deng_Op_tab")->IsSelected())
        << "another page's tabs keep their selection";
    headset.SelectTab(8);
    headset.SelectTab(0);
    EXPECT_TRUE(Find<ui::COptionUI>(headset, "Virtual7.1_Op_tab")->IsSelected())
        << "an unknown tab unselects the first seven only";
    EXPECT_FALSE(Find<ui::COptionUI>(headset, "magic_Op_tab")->IsSelected());
    EXPECT_TRUE(router.selectedTabs.empty());

    // A real click on a tab reaches the window with its number.
    QTest::mouseClick(Find<ui::COptionUI>(keyboard, "macro_Op_tab"), Qt::LeftButton);
    EXPECT_EQ(router.selectedTabs.back(), 3);
}

TEST_F(DeviceProfileTest, MenuButtonsAddCopyAndDeleteProfiles) {
    CDeviceProfileUI& panel = Build(kKeyboardRow);
    EXPECT_FALSE(panel.IsProfileMenuVisible());
    Click(panel, "profile_fun_spread_btn");
    EXPECT_TRUE(panel.IsProfileMenuVisible());
    Click(panel, "device_add_btn");
    Click(panel, "device_add_btn");
    Click(panel, "device_copy_btn");
    EXPECT_EQ(ItemTexts(panel), (QStringList{"profile1", "profile2", "profile3", "profile1 copy"}));
    EXPECT_EQ(panel.GetSelectedIndex(), 0) << "adding leaves the selection";
    EXPECT_EQ(ListFile()["profileselect"], 0) << "and the list keeps naming the shown profile";
    EXPECT_EQ(router.profileSelections, 0);

    // Deleting the selected third profile moves to the second, telling the window.
    panel.SelectProfile(2, false);
    const std::string deleted = panel.GetCurrentProfileId();
    Click(panel, "device_sub_btn");
    EXPECT_EQ(ItemTexts(panel), (QStringList{"profile1", "profile2", "profile1 copy"}));
    EXPECT_EQ(panel.GetSelectedIndex(), 1);
    EXPECT_EQ(router.profileSelections, 1);
    EXPECT_EQ(panel.GetNameEditText(), "profile2");
    EXPECT_EQ(shell::ApplyProfileSelection(panel, router.dialogs),
              ListFile()["profilelist"][1]["profileUUID"].asString());
    EXPECT_EQ(ListFile()["profileselect"], 1);
    EXPECT_FALSE(std::filesystem::exists(Folder() + deleted + ".Json"));

    Click(panel, "profile_fun_spread_btn");
    EXPECT_FALSE(panel.IsProfileMenuVisible());
}

TEST_F(DeviceProfileTest, RenameShowsWhyANameIsRefused) {
    CDeviceProfileUI& panel = Build(kKeyboardRow);
    OpenMenu(panel);
    Click(panel, "device_add_btn");
    auto* edit = Find<ui::CEditUI>(panel, "device_profile_name_edit");

    edit->setText(QString());
    QTest::keyClicks(edit, "PROFILE2");
    Click(panel, "device_profile_edit_save_btn");
    EXPECT_EQ(messages, QStringList{"message_text_5"});
    edit->setText(QString());
    QTest::keyClicks(edit, "   ");
    Click(panel, "device_profile_edit_save_btn");
    EXPECT_EQ(messages, (QStringList{"message_text_5", "message_text_25"}));
    edit->setText(QString());
    Click(panel, "device_profile_edit_save_btn");
    EXPECT_EQ(messages.size(), 2) << "an empty edit box does nothing";
    EXPECT_EQ(ItemTexts(panel), (QStringList{"profile1", "profile2"}));

    QTest::keyClicks(edit, "Gaming");
    Click(panel, "device_profile_edit_save_btn");
    EXPECT_EQ(messages.size(), 2);
    EXPECT_EQ(ItemTexts(panel), (QStringList{"Gaming", "profile2"}));
    auto* combo = Find<ui::CComboUI>(panel, "device_profile_combo");
    EXPECT_EQ(combo->GetItemAt(0)->GetToolTip(), "Gaming");
    EXPECT_EQ(combo->currentText(), "Gaming");
    EXPECT_EQ(ProfileFile(panel.GetCurrentProfileId())["profilename"], "Gaming");
    EXPECT_EQ(ListFile()["profilelist"][0]["profilename"], "Gaming");
}

TEST_F(DeviceProfileTest, ExportAndImportGoThroughTheFileDialogs) {
    CDeviceProfileUI& panel = Build(kKeyboardRow);
    OpenMenu(panel);
    chosenFile.clear();
    Click(panel, "device_export_btn");
    EXPECT_EQ(suggestedNames, QStringList{"profile1.json"});

    chosenFile = QString::fromStdString(TempFile("saved"));
    Click(panel, "device_export_btn");
    const Json::Value exported = config::ReadJsonFile(TempFile("saved.json"));
    EXPECT_EQ(exported, ProfileFile(panel.GetCurrentProfileId()));

    // A file that is not a profile is dropped without a message and changes nothing.
    const std::string text = TempFile("notes.json");
    ASSERT_TRUE(config::WriteJsonFile(text, Json::Value("just text")));
    chosenFile = QString::fromStdString(text);
    Click(panel, "device_import_btn");
    EXPECT_EQ(ItemTexts(panel), QStringList{"profile1"});
    EXPECT_TRUE(messages.isEmpty());

    chosenFile = QString::fromStdString(TempFile("saved.json"));
    Click(panel, "device_import_btn");
    Click(panel, "device_import_btn");
    EXPECT_EQ(ItemTexts(panel), (QStringList{"profile1", "saved", "saved(1)"}));
    const std::string imported = panel.GetProfileIdAt(2);
    EXPECT_EQ(ProfileFile(imported)["profilename"], "saved(1)");
    EXPECT_EQ(ProfileFile(imported)["Device"], exported["Device"]);
}

TEST_F(DeviceProfileTest, ResetAsksFirstAndThenAsksForAReload) {
    CDeviceProfileUI& panel = Build(kHeadsetRow);
    OpenMenu(panel);
    const std::string id = panel.GetCurrentProfileId();
    Json::Value changed = ProfileFile(id);
    changed["Device"][0]["SystemSetStages"]["EqType"] = 5;
    changed["Device"][0]["CustomEQNameInfo"][0]["Name"] = "Mine";
    ASSERT_TRUE(config::WriteJsonFile(Folder() + id + ".Json", changed));

    confirm = 0;
    Click(panel, "device_reset_btn");
    EXPECT_EQ(messages, QStringList{"message_text_22"});
    EXPECT_EQ(router.lastRoute, ProfileRoute::kHandled);
    EXPECT_EQ(ProfileFile(id), changed);

    confirm = 1;
    Click(panel, "device_reset_btn");
    EXPECT_EQ(router.lastRoute, ProfileRoute::kReloadProfile);
    const Json::Value reset = ProfileFile(id);
    EXPECT_NE(reset["Device"][0]["SystemSetStages"]["EqType"], 5);
    EXPECT_EQ(reset["Device"][0]["CustomEQNameInfo"][0]["Name"], "Mine");
    EXPECT_EQ(reset["profilename"], "profile1");
}

TEST_F(DeviceProfileTest, ChoosingAProfileInTheDropDownSwitchesTheSelection) {
    CDeviceProfileUI& panel = Build(kKeyboardRow);
    panel.AddProfile();
    auto* combo = Find<ui::CComboUI>(panel, "device_profile_combo");
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Down);
    EXPECT_EQ(router.profileSelections, 1);
    EXPECT_EQ(panel.GetSelectedIndex(), 1);
    const std::string id = shell::ApplyProfileSelection(panel, router.dialogs);
    EXPECT_EQ(id, panel.GetProfileIdAt(1));
    EXPECT_EQ(panel.GetNameEditText(), "profile2");
    EXPECT_EQ(ListFile()["profileselect"], 1);

    // A list that cannot be read any more: the switch is refused and said, nothing changes.
    const std::string list = Folder() + "ProfileList.ini";
    std::filesystem::remove(list);
    std::filesystem::create_directory(list);
    QTest::keyClick(combo, Qt::Key_Up);
    EXPECT_EQ(shell::ApplyProfileSelection(panel, router.dialogs), "");
    EXPECT_EQ(messages, QStringList{"message_text_40"});
    EXPECT_EQ(panel.GetCurrentProfileId(), id);
    EXPECT_EQ(panel.GetSelectedIndex(), 1) << "the drop-down shows the current profile again";
    EXPECT_TRUE(std::filesystem::is_directory(list));
}

TEST_F(DeviceProfileTest, WithoutItsDropDownThePanelDoesNothing) {
    ui::CDialogBuilder builder;
    ui::CControlUI* root = builder.CreateFromText(
        R"(<DeviceProfile name="DeviceProfileItem"><Button name="device_add_btn"/></DeviceProfile>)",
        "bare", nullptr, &pm);
    ASSERT_NE(root, nullptr) << builder.GetLastError().toStdString();
    hosts.emplace_back(root->GetWidget());
    auto* panel = shell::FindProfilePanel(root);
    ASSERT_NE(panel, nullptr);
    device = devices::CreateDeviceForModel(kKeyboardRow);
    shell::SetUpProfilePanel(*panel, *device, 1, router.dialogs);
    EXPECT_EQ(panel->GetSelectedIndex(), -1);
    EXPECT_EQ(panel->AddProfile(), config::kProfileNothingDone);
    EXPECT_EQ(panel->DeleteProfile(), config::kProfileNothingDone);
    EXPECT_FALSE(panel->IsProfileMenuVisible());
    EXPECT_EQ(ListFile()["profilelist"].size(), 1u);
}

TEST_F(DeviceProfileTest, FilesThatCannotBeReadAreReportedAndLeftAsTheyAre) {
    CDeviceProfileUI& first = Build(kKeyboardRow);
    // Only regular files of at most 1 MiB are imported; a FIFO is never opened.
    const std::string fifo = TempFile("pipe.json");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    chosenFile = QString::fromStdString(fifo);
    OpenMenu(first);
    Click(first, "device_import_btn");
    EXPECT_EQ(messages, QStringList{"message_text_42"});
    EXPECT_EQ(ItemTexts(first), QStringList{"profile1"});

    const std::string list = Folder() + "ProfileList.ini";
    std::filesystem::remove(list);
    std::filesystem::create_directory(list);
    CDeviceProfileUI& second = Build(kKeyboardRow);
    EXPECT_EQ(messages, (QStringList{"message_text_42", "message_text_40"}));
    EXPECT_TRUE(ItemTexts(second).isEmpty());
    EXPECT_TRUE(std::filesystem::is_directory(list));
}
TEST_F(DeviceProfileTest, AFirstRunOnAFullDiskIsReportedWithoutAProfile) {
    config::FileCalls calls = config::FileCalls::System();
    calls.write = [](int, const void*, size_t) -> ssize_t { return errno = ENOSPC, -1; };
    const config::ScopedFileCalls full(calls);
    CDeviceProfileUI& panel = Build(kKeyboardRow);
    EXPECT_EQ(messages, QStringList{"message_text_41"});
    EXPECT_TRUE(ItemTexts(panel).isEmpty());
    OpenMenu(panel);
    Click(panel, "device_add_btn");
    EXPECT_EQ(messages, (QStringList{"message_text_41", "message_text_41"}));
    EXPECT_TRUE(ItemTexts(panel).isEmpty());
    EXPECT_TRUE(std::filesystem::is_empty(Folder()));
}

} // namespace
