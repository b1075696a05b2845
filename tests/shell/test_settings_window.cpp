// The settings window over the real main window: opened from the title bar, its update list
// against a local HTTPS service (unreachable, offering updates, never answering), the update
// confirmation, the outside updater's progress with the close refused meanwhile, the
// language choice, and the switch that starts the program hidden at login.

#include "MainWindowFixture.h"
#include "config/JsonFile.h"
#include "platform/Autostart.h"
#include "platform/Paths.h"
#include "shell/update/SetWnd.h"
#include "shell/update/UpdateDateFile.h"
#include "shell/update/UpdateInfoListItemUI.h"
#include "shell/update/UpdateSources.h"
#include "support/HttpsTestServer.h"
#include "ui/ComboUI.h"
#include "ui/ContainerUI.h"

#include <QFile>
#include <QPushButton>

namespace {

using shell::update::CSetWnd;
using shell::update::CUpdateInfoListItemUI;
namespace su = shell::update;

::update::UpdateEntry HexEntry(const wchar_t* name, std::int32_t version) {
    ::update::UpdateEntry entry;
    entry.numberFormat = 1;
    entry.secondNumber = 1;
    entry.currentVersion = version;
    entry.makerName = L"ORBEK";
    entry.modelCode = L"RT21K";
    entry.shortName = name;
    entry.displayName = name;
    return entry;
}

class SettingsWindowTest : public test::MainWindowTest {
protected:
    void TearDown() override {
        if (wnd)
            wnd->SetSecondaryWindow(shell::CMainWnd::Secondary::Settings, nullptr);
        settings.reset();
        test::MainWindowTest::TearDown();
    }
    // A settings window over the main window, not modal, checking `root` for `entries`.
    void Open(std::vector<::update::UpdateEntry> entries, const std::string& root) {
        su::SettingsSetup setup;
        setup.mainWnd = wnd.get();
        setup.languageIndex = wnd->GetLanguageIndex();
        setup.entries = std::move(entries);
        setup.serviceRoot = root;
        setup.http.caFile = server.CaFile();
        setup.userFolder = platform::UserFolder();
        settings = std::make_unique<CSetWnd>(std::move(setup));
        ASSERT_TRUE(settings->Create(wnd.get(), QStringLiteral("SetWnd"),
                                     ui::WS_POPUP | ui::WS_VISIBLE, ui::WS_EX_TOOLWINDOW, 0, 0,
                                     CSetWnd::kWidth, CSetWnd::kHeight));
        // As the main window's own opening does: its relayed messages come here.
        wnd->SetSecondaryWindow(shell::CMainWnd::Secondary::Settings, settings.get());
        ASSERT_TRUE(test::WaitUntil([&] { return settings->OverallState() >= 0; }));
    }
    bool WaitForState(int state) {
        return test::WaitUntil([&] { return settings->OverallState() == state; }, 5000);
    }
    template <class T = ui::CControlUI> T* In(const char* name) const {
        return settings->Find<T>(QLatin1String(name));
    }
    void ClickIn(ui::CControlUI* control) {
        auto* widget = dynamic_cast<QWidget*>(control);
        ASSERT_NE(widget, nullptr);
        QTest::mouseClick(widget, Qt::LeftButton);
        QCoreApplication::sendPostedEvents();
    }
    // Two firmware entries offered version 0x0200, the second one unchecked, then confirmed.
    void ConfirmTheFirstOfTwoUpdates() {
        server.SetReplyBody(R"({"name":"fw","version":"0200","version_name":"2.0",)"
                            R"("path":"/fw.bin","device_id":3})");
        Open({HexEntry(L"Keyboard", 0x0105), HexEntry(L"Mouse", 0x0106)}, server.Root());
        ASSERT_TRUE(WaitForState(su::kUpdatesFound));
        const auto rows = settings->Rows();
        ASSERT_EQ(rows.size(), 2u);
        ClickIn(rows[1]->CheckBox());
        ClickIn(In("update_fw_and_ap"));
        EXPECT_EQ(In<ui::CTabLayoutUI>("get_update_tab_layout")->GetCurSel(), 1);
        ClickIn(In("update_OK_btn"));
    }

    test::HttpsTestServer server;
    std::unique_ptr<CSetWnd> settings;
};

TEST_F(SettingsWindowTest, OpensFromTheTitleBarWithOnlyTheApplicationWhenNoDeviceIsThere) {
    ASSERT_TRUE(server.Error().empty()) << server.Error();
    std::size_t rows = 0;
    QString name, status;
    bool found = false;
    // The window runs modally: it is looked at and closed from inside its own loop.
    auto* watcher = new QTimer(Host());
    QObject::connect(watcher, &QTimer::timeout, [&] {
        auto* window = dynamic_cast<CSetWnd*>(wnd->SettingsWindow());
        if (found || !window || window->OverallState() != su::kNoServiceReached)
            return;
        found = true;
        rows = window->Rows().size();
        name = window->Rows().front()->CheckBox()->GetText();
        status = window->Rows().front()->GetState() == su::kRowNone ? "none" : "other";
        QTest::mouseClick(window->Find<QPushButton>(QStringLiteral("closebtn")), Qt::LeftButton);
    });
    watcher->start(20);
    Click("setbtn");
    ASSERT_TRUE(test::WaitUntil([&] { return found && !wnd->SettingsWindow(); }, 5000));
    EXPECT_EQ(rows, 1u);
    EXPECT_EQ(name, QStringLiteral("AP")) << "the application's entry";
    EXPECT_EQ(status, QStringLiteral("none")) << "no service is set up here";
}

TEST_F(SettingsWindowTest, WhenNoQueryReachesTheServiceEveryRowStaysDisabled) {
    Open({HexEntry(L"Keyboard", 0x0105), HexEntry(L"Mouse", 0x0106)},
         "https://127.0.0.1:" + std::to_string(test::UnusedLoopbackPort()) + "/");
    ASSERT_TRUE(WaitForState(su::kNoServiceReached));
    EXPECT_EQ(In("Update_Status_text")->GetText(),
              QStringLiteral("The update service could not be reached"));
    for (CUpdateInfoListItemUI* row : settings->Rows()) {
        EXPECT_EQ(row->GetState(), su::kRowNone);
        EXPECT_FALSE(row->CheckBox()->IsEnabled());
    }
    EXPECT_FALSE(In("update_fw_and_ap")->IsVisible());
    EXPECT_FALSE(In("update_status_ring")->IsVisible());
}

TEST_F(SettingsWindowTest, TheConfirmedUpdateWaitsForItsDownloadAndTheUncheckedRowIsDisabled) {
    ASSERT_TRUE(server.Error().empty()) << server.Error();
    ConfirmTheFirstOfTwoUpdates();
    const auto rows = settings->Rows();
    EXPECT_EQ(rows[0]->GetState(), su::kRowDownloadWaiting);
    EXPECT_EQ(rows[0]->GetLocalVersion(), QStringLiteral("V0105"));
    EXPECT_EQ(rows[0]->GetServerVersion(), QStringLiteral("V0200"));
    EXPECT_EQ(rows[0]->GetUserData(), QStringLiteral("/fw.bin"));
    EXPECT_EQ(rows[0]->CheckBox()->GetText(), QStringLiteral("Keyboard"));
    EXPECT_EQ(rows[1]->GetState(), su::kRowNeedsUpdate);
    EXPECT_FALSE(rows[1]->CheckBox()->IsEnabled());
    EXPECT_FALSE(In("update_fw_and_ap")->IsEnabled());
    EXPECT_EQ(In<ui::CTabLayoutUI>("get_update_tab_layout")->GetCurSel(), 0);
    // The completed check is dated.
    const Json::Value dates = config::ReadJsonFile(platform::UserFolder() + "updatetime.config");
    EXPECT_EQ(QString::fromStdString(dates["updatelasttime"]["value"].asString()), su::TodayText());
}

TEST_F(SettingsWindowTest, TheOutsideUpdatersProgressKeepsTheWindowOpenUntilItEnds) {
    ASSERT_TRUE(server.Error().empty()) << server.Error();
    ConfirmTheFirstOfTwoUpdates();
    wnd->Find(QStringLiteral("setbtn"))->SetForeImage(QStringLiteral("common/logo.png"));
    CUpdateInfoListItemUI* row = settings->Rows()[0];
    settings->SendMessage(shell::g_messages.settingsRelay, 4, 40);
    EXPECT_EQ(settings->UpdatingRow(), row);
    EXPECT_EQ(row->GetState(), su::kRowUpdating);
    EXPECT_EQ(settings->Find(QStringLiteral("update_progress_value"))->GetText(),
              QStringLiteral("40%"));

    ClickIn(In("closebtn"));
    EXPECT_TRUE(settings->IsWindowVisible()) << "no closing while the row updates";

    // Relayed through the main window, as the updater sends it.
    wnd->SendMessage(shell::g_messages.settingsRelay, 1, 0);
    ASSERT_TRUE(test::WaitUntil([&] { return row->GetState() == su::kRowUpdated; }));
    EXPECT_EQ(row->GetLocalVersion(), QStringLiteral("V0200"));
    EXPECT_TRUE(row->GetServerVersion().isEmpty());
    EXPECT_FALSE(row->IsChecked());
    // The other row still has its update: it may be checked again.
    EXPECT_EQ(settings->OverallState(), su::kUpdatesFound);
    EXPECT_TRUE(settings->Rows()[1]->CheckBox()->IsEnabled());

    ClickIn(In("closebtn"));
    EXPECT_TRUE(test::WaitUntil([&] { return !settings->GetHWND(); }));
}

TEST_F(SettingsWindowTest, AFailedUpdateAndTheLastOneEndingBringTheirStates) {
    ASSERT_TRUE(server.Error().empty()) << server.Error();
    server.SetReplyBody(R"({"version":"0200","version_name":"2.0"})");
    Open({HexEntry(L"Keyboard", 0x0105)}, server.Root());
    ASSERT_TRUE(WaitForState(su::kUpdatesFound));
    ClickIn(In("update_OK_btn"));
    CUpdateInfoListItemUI* row = settings->Rows()[0];
    settings->SendMessage(shell::g_messages.settingsRelay, 3, 0);
    EXPECT_EQ(row->GetState(), su::kRowFailed);
    EXPECT_EQ(settings->UpdatingRow(), nullptr);

    // Checked again and confirmed, it ends well: everything is up to date now.
    row->SetState(su::kRowDownloadWaiting);
    wnd->Find(QStringLiteral("setbtn"))->SetForeImage(QStringLiteral("common/logo.png"));
    settings->SendMessage(shell::g_messages.settingsRelay, 1, 0);
    EXPECT_EQ(settings->OverallState(), su::kUpToDate);
    EXPECT_TRUE(In("Update_Status_text")->GetText().endsWith(settings->CheckDate()));
    EXPECT_TRUE(wnd->Find(QStringLiteral("setbtn"))->GetForeImage().isEmpty())
        << "the main window's update mark is cleared";
}

TEST_F(SettingsWindowTest, AServiceThatNeverAnswersDoesNotHoldTheWindow) {
    ASSERT_TRUE(server.Error().empty()) << server.Error();
    server.SetSilent();
    Open({HexEntry(L"Keyboard", 0x0105)}, server.Root());
    ASSERT_TRUE(test::WaitUntil([&] { return !server.Requests().empty(); }, 5000));
    ClickIn(In("closebtn"));
    // The check thread was woken and joined by the click itself.
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(settings->GetHWND(), nullptr);
    EXPECT_EQ(settings->OverallState(), su::kChecking);
}

TEST_F(SettingsWindowTest, ChoosingALanguageSwitchesTheMainWindowsTexts) {
    Open({}, "");
    auto* combo = In<ui::CComboUI>("Language_combox_info");
    ASSERT_NE(combo, nullptr);
    ASSERT_TRUE(test::WaitUntil([&] { return combo->GetCount() >= 2; }));
    EXPECT_EQ(combo->GetCurSel(), wnd->GetLanguageIndex());
    auto* status = wnd->Find(QStringLiteral("status_text"));
    ASSERT_NE(status, nullptr);
    const QString before = status->GetText();
    const int other = wnd->GetLanguageIndex() == 0 ? 1 : 0;
    combo->SelectItem(other);
    EXPECT_EQ(wnd->GetLanguageIndex(), other);
    EXPECT_NE(status->GetText(), before);
}

TEST_F(SettingsWindowTest, TheLoginSwitchWritesAndRemovesTheEntryAndShowsItsState) {
    const QString entry = env.ConfigHome() + QStringLiteral("/autostart/quarin-z17.desktop");
    ASSERT_EQ(QString::fromStdString(platform::AutostartFile()), entry);
    Open({}, "");
    auto* check = In<ui::CCheckBoxUI>("autostart_check");
    ASSERT_NE(check, nullptr);
    EXPECT_EQ(check->GetText(), QStringLiteral("Start hidden in the tray when I log in"));
    EXPECT_FALSE(check->GetCheck());

    ClickIn(check);
    EXPECT_TRUE(check->GetCheck());
    QFile file(entry);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << "the click wrote the entry";
    const QString text = QString::fromUtf8(file.readAll());
    file.close();
    EXPECT_TRUE(text.contains(QStringLiteral("\nExec=%1 --hidden\n")
                                  .arg(QString::fromStdString(platform::RunningProgram()))))
        << text.toStdString();

    // Opened again, the window shows the entry that is there.
    ClickIn(In("closebtn"));
    settings.reset();
    Open({}, "");
    check = In<ui::CCheckBoxUI>("autostart_check");
    EXPECT_TRUE(check->GetCheck());
    ClickIn(check);
    EXPECT_FALSE(check->GetCheck());
    EXPECT_FALSE(QFile::exists(entry));

    // A folder that cannot take the entry: the box stays off.
    QFile blocker(env.ConfigHome() + QStringLiteral("/autostart"));
    QDir(env.ConfigHome() + QStringLiteral("/autostart")).removeRecursively();
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    ClickIn(check);
    EXPECT_FALSE(check->GetCheck());
    EXPECT_FALSE(platform::IsAutostartOn());
}

} // namespace

TEST(SettingsWindowProxy, FollowsTheDesktopsProxyVariables) {
    test::ScopedEnvironment env;
    qputenv("https_proxy", "http://proxy.test:3128");
    qputenv("http_proxy", "http://proxy.test:3128");
    qputenv("no_proxy", "updates.local");
    EXPECT_EQ(shell::update::DesktopProxyFor("https://updates.example.com/"),
              "http://proxy.test:3128");
    EXPECT_EQ(shell::update::DesktopProxyFor("https://updates.local/"), "");
    EXPECT_EQ(shell::update::DesktopProxyFor(""), "") << "no service, no proxy";
    for (const char* name : {"https_proxy", "http_proxy", "no_proxy"})
        qunsetenv(name);
}
