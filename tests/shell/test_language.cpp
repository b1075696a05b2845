// Choosing, switching and storing the language: the font rules, the stored choice and the
// texts by id, on the main window built from the shipped skin.

#include "platform/Settings.h"
#include "shell/ControlClasses.h"
#include "shell/Language.h"
#include "shell/MainWnd.h"
#include "shell/Messages.h"
#include "support/TestEnvironment.h"
#include "ui/PaintManagerUI.h"
#include "ui/ResourceManager.h"

#include <QFile>
#include <QSettings>
#include <gtest/gtest.h>

namespace {

using shell::CMainWnd;

constexpr int kChinese = 0, kEnglish = 1, kTraditional = 2, kJapanese = 3, kKorean = 4, kThai = 15;

TEST(LanguageFontFace, FollowsTheTableOfIndexes) {
    using shell::FontFaceForLanguage;
    EXPECT_EQ(FontFaceForLanguage(kChinese, -1), "汉仪菱心体简");
    EXPECT_EQ(FontFaceForLanguage(kTraditional, kEnglish), "Noto Sans CJK TC Regular");
    EXPECT_EQ(FontFaceForLanguage(kThai, kEnglish), "Noto Sans Thai");
    // Another language after one with its own face (or none yet) gets the common face...
    for (int previous : {-1, kChinese, kTraditional, kThai})
        EXPECT_EQ(FontFaceForLanguage(kEnglish, previous), "Verdana Unicode MS") << previous;
    // ...and between two such languages the fonts stay as they are.
    EXPECT_EQ(FontFaceForLanguage(kJapanese, kEnglish), "");
    EXPECT_EQ(FontFaceForLanguage(kKorean, kJapanese), "");
}

class LanguageTest : public ::testing::Test {
protected:
    void SetUp() override {
        shell::RegisterInstanceMessage();
        shell::RegisterProgramControls();
        ui::CResourceManager::GetInstance().LoadResource("res.xml");
    }
    void Store(quint32 id) { ASSERT_TRUE(platform::StoreLanguage(id)); }
    QString SettingsFile() const {
        return env.ConfigHome() + "/QUARIN Z17 Keyboard/QUARIN Z17 Keyboard.conf";
    }
    std::optional<quint32> Stored() const { return platform::ReadStoredLanguage().id; }
    // Makes the main window and lets "windowinit" choose the starting language.
    void Open() {
        ASSERT_NE(wnd.Create(nullptr, "QUARIN Z17 Keyboard", ui::WS_VISIBLE, 0, 0, 0, 800, 572),
                  nullptr)
            << wnd.GetSkinError().toStdString();
        ASSERT_TRUE(test::WaitUntil([&] { return wnd.GetLanguageIndex() >= 0; }));
    }

    test::ScopedEnvironment env{true};
    CMainWnd wnd;
};

TEST_F(LanguageTest, StartsWithTheStoredLanguageOr520OrTheFirst) {
    // No value stored: the language whose id is 520 (English in the shipped table).
    EXPECT_EQ(shell::GetLanguageIndex(), kEnglish);
    Store(660);
    EXPECT_EQ(shell::GetLanguageIndex(), kThai);
    Store(12345);
    EXPECT_EQ(shell::GetLanguageIndex(), 0) << "an id no language has";

    // A table without 520: the first language.
    QSettings(SettingsFile(), QSettings::IniFormat).remove("LANGUAGE");
    env.WriteProgramFile(
        "DefaultData/Language.config",
        R"({"Language":[{"Language_ID":7,"Language_name":"x","Language_file":"lan_en.xml"},
                                         {"Language_ID":8,"Language_name":"y","Language_file":"lan_th.xml"}]})");
    EXPECT_EQ(shell::GetLanguageIndex(), 0);
    Store(8);
    EXPECT_EQ(shell::GetLanguageIndex(), 1);

    // An id no choice can be and members of the wrong kind do not end the program: the id
    // reads as 0, a text that is no text as empty, a number as its digits.
    env.WriteProgramFile(
        "DefaultData/Language.config",
        R"({"Language":[{"Language_ID":-1,"Language_name":["x"],"Language_file":{}},
                        {"Language_ID":8,"Language_name":7,"Language_text":true}]})");
    const std::vector<shell::LanguageEntry> table = shell::ReadLanguageTable();
    ASSERT_EQ(table.size(), 2u);
    EXPECT_EQ(table[0].id, 0u);
    EXPECT_TRUE(table[0].name.isEmpty() && table[0].file.isEmpty());
    EXPECT_EQ(table[1].name, "7");
    EXPECT_EQ(table[1].text, "true");
    EXPECT_EQ(shell::GetLanguageIndex(), 1);

    // A language file is one in the skin folder: an entry naming another folder is left out.
    env.WriteProgramFile("DefaultData/Language.config",
                         R"({"Language":[{"Language_ID":7,"Language_file":"../../etc/passwd"},
                        {"Language_ID":8,"Language_file":"/tmp/lan_en.xml"},
                        {"Language_ID":9,"Language_file":"lan_en.xml"}]})");
    ASSERT_EQ(shell::ReadLanguageTable().size(), 1u);
    EXPECT_EQ(shell::ReadLanguageTable()[0].id, 9u);

    for (const char* broken : {"", "{ not json", R"({"Language": 5})", "[]"}) {
        env.WriteProgramFile("DefaultData/Language.config", broken);
        EXPECT_EQ(shell::GetLanguageIndex(), 0) << broken;
    }
    QFile::remove(env.ProgramData() + "DefaultData/Language.config");
    EXPECT_EQ(shell::GetLanguageIndex(), 0);
}

TEST_F(LanguageTest, SwitchingChangesTextsFontsAndTheStoredChoice) {
    Store(660);
    Open();
    EXPECT_EQ(wnd.GetLanguageIndex(), kThai);
    EXPECT_EQ(wnd.TextById("menu_exit"), "ออก");
    EXPECT_EQ(wnd.MessageTextById("menu_exit"), "ออก");
    EXPECT_EQ(wnd.GetPaintManager().GetFont(-1).family(), "Noto Sans Thai");
    EXPECT_EQ(wnd.GetPaintManager().GetFont(50).bold(), true);
    EXPECT_EQ(wnd.GetPaintManager().GetFont(1).underline(), true);
    EXPECT_EQ(wnd.GetPaintManager().GetFont(3).pixelSize(), 30);

    // Thai to Japanese: the common face replaces Thai's.
    wnd.SetLanguage(kJapanese);
    EXPECT_EQ(wnd.GetPaintManager().GetFont(-1).family(), "Verdana Unicode MS");
    EXPECT_EQ(wnd.TextById("menu_exit"), "終了");
    EXPECT_EQ(Stored(), 540u);
    EXPECT_EQ(ui::CResourceManager::GetInstance().GetLanguage(), "ja");
    // A shown text follows the language.
    EXPECT_EQ(wnd.Find("nodevice_text")->GetText(), "デバイスが接続されていません");

    // Japanese to Korean: neither has a face of its own, so the fonts stay.
    wnd.GetPaintManager().AddFont(7, "Sentinel Face", 14, false, false, false, true);
    wnd.SetLanguage(kKorean);
    EXPECT_EQ(wnd.GetPaintManager().GetFont(7).family(), "Sentinel Face");
    EXPECT_EQ(Stored(), 550u);

    wnd.SetLanguage(kChinese);
    EXPECT_EQ(wnd.GetPaintManager().GetFont(7).family(), "汉仪菱心体简");
    EXPECT_EQ(wnd.TextById("nodevice_text"), "未连接设备");
}

TEST_F(LanguageTest, ChoosingTheCurrentLanguageChangesNothing) {
    Open();
    ASSERT_EQ(wnd.GetLanguageIndex(), kEnglish);
    QFile::remove(SettingsFile());
    wnd.GetPaintManager().AddFont(0, "Sentinel Face", 15, false, false, false, true);
    wnd.SendMessage(shell::UM_SET_LANGUAGE, kEnglish, 0);
    EXPECT_FALSE(QFile::exists(SettingsFile())) << "not even the stored choice is written";
    EXPECT_EQ(wnd.GetPaintManager().GetFont(0).family(), "Sentinel Face");
    wnd.SendMessage(shell::UM_SET_LANGUAGE, kThai, 0);
    EXPECT_EQ(Stored(), 660u);
}

TEST_F(LanguageTest, AMissingLanguageTableKeepsTextsAndTheStoredChoice) {
    Store(520);
    Open();
    QFile::remove(env.ProgramData() + "DefaultData/Language.config");
    wnd.SetLanguage(kThai);
    EXPECT_EQ(wnd.GetLanguageIndex(), kThai);
    EXPECT_EQ(wnd.TextById("menu_exit"), "Exit") << "the loaded texts stay";
    EXPECT_EQ(Stored(), 520u) << "no language, no identifier to store";
}

// A secondary window that records what it is sent.
class RecordingWnd : public ui::CWindowWnd {
public:
    QString GetWindowClassName() const override { return "Recording"; }
    std::vector<std::tuple<ui::UINT, ui::WPARAM, ui::LPARAM>> received;

protected:
    ui::LRESULT HandleMessage(ui::UINT msg, ui::WPARAM w, ui::LPARAM l) override {
        received.emplace_back(msg, w, l);
        return 0;
    }
};

TEST_F(LanguageTest, TellsTheOpenSettingsAboutAndMusicWindows) {
    Open();
    RecordingWnd settings, about, colour, music;
    wnd.SetSecondaryWindow(CMainWnd::Secondary::Settings, &settings);
    wnd.SetSecondaryWindow(CMainWnd::Secondary::About, &about);
    wnd.SetSecondaryWindow(CMainWnd::Secondary::ColourPicker, &colour);
    wnd.SetLanguage(kThai);
    using Message = std::tuple<ui::UINT, ui::WPARAM, ui::LPARAM>;
    const std::vector<Message> expected{{shell::UM_SET_LANGUAGE, 0, 0}};
    EXPECT_EQ(settings.received, expected);
    EXPECT_EQ(about.received, expected);
    EXPECT_TRUE(colour.received.empty()) << "the colour picker reloads nothing";
    EXPECT_TRUE(music.received.empty()) << "not open";

    wnd.SetSecondaryWindow(CMainWnd::Secondary::Settings, nullptr);
    wnd.SetSecondaryWindow(CMainWnd::Secondary::Music, &music);
    wnd.SetLanguage(kEnglish);
    EXPECT_EQ(settings.received.size(), 1u) << "closed windows are not told";
    EXPECT_EQ(music.received, expected);
    wnd.SetSecondaryWindow(CMainWnd::Secondary::About, nullptr);
    wnd.SetSecondaryWindow(CMainWnd::Secondary::ColourPicker, nullptr);
    wnd.SetSecondaryWindow(CMainWnd::Secondary::Music, nullptr);
}

} // namespace
