// The weapon slot files of the recoil editor and the editor's operations on them: the six
// events a bullet is written as, what readers accept, and that start-up, reset, import and
// export replace only what they should.

#include "ConfigFolder.h"
#include "config/AtomicFile.h"
#include "config/ShootEditor.h"
#include "support/DenyOpening.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>

using namespace config;

namespace {

std::string FileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

Json::Value Event(int type, const char* action, int button, int delay) {
    Json::Value event(Json::objectValue);
    event["Type"] = type;
    event["Action"] = action;
    event["Button"] = button;
    event["Delay"] = delay;
    return event;
}

class ShootEditorTest : public test::ConfigFolder {
protected:
    void SetUp() override {
        test::ConfigFolder::SetUp();
        std::filesystem::create_directory(Folder() / "user");
        std::filesystem::create_directory(Folder() / "defaults");
        for (int slot = 0; slot < kShootSlotCount; ++slot) {
            Json::Value document(Json::objectValue);
            for (int bullet = 0; bullet < kShootBulletCount; ++bullet)
                PutShootBullet(document, bullet, {slot, true, bullet, false, 100 + slot});
            WriteJsonFile(DefaultPath(slot), document);
        }
        editor.SetShootFolders(Path("user") + "/", Path("defaults") + "/");
    }
    std::string DefaultPath(int slot) const { return ShootFilePath(Path("defaults") + "/", slot); }
    std::string UserName(int slot) const {
        return "user/ShootData_" + std::to_string(slot) + ".Shoot";
    }
    std::vector<std::string> UserEntries() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(Folder() / "user"))
            names.push_back(entry.path().filename().string());
        return names;
    }
    Json::Value UserDocument(int slot) const { return test::Parse(ReadText(UserName(slot))); }

    CShootEditor editor;
};

TEST_F(ShootEditorTest, ABulletIsSixEventsWithIntegerDelaysAndTheOthersStay) {
    editor.InitShootEditor();
    editor.SelectWeapon(0);
    editor.SelectBullet(5);
    ASSERT_EQ(editor.SaveBullet({12, true, 3, false, 77}), kShootFileDone);

    const Json::Value events = UserDocument(0)["Events"];
    ASSERT_EQ(events.size(), 180u);
    EXPECT_EQ(events[30], Event(1, "down", 1, 10));
    EXPECT_EQ(events[31], Event(1, "up", 1, 0));
    EXPECT_EQ(events[32], Event(4, "down", 12, 5));
    EXPECT_EQ(events[33], Event(5, "up", 3, 77));
    EXPECT_EQ(events[34], Event(4, "down", 0, 0));
    EXPECT_EQ(events[35], Event(5, "up", 0, 0));
    EXPECT_EQ(events[38], Event(4, "down", 0, 5)) << "bullet 6 is the default's";
    EXPECT_EQ(events[39], Event(5, "up", 6, 100));
    EXPECT_EQ(editor.LoadBullet(), (ShootBullet{12, true, 3, false, 77}));
}

TEST_F(ShootEditorTest, OtherMembersAreKeptAndTextDelaysAreRead) {
    Json::Value document(Json::objectValue);
    document["Name"] = "AK";
    document["Events"][3] = Event(5, "down", 9, 0);
    document["Events"][3]["Delay"] = "250";
    WriteJsonFile(Path(UserName(1)), document);

    editor.SelectWeapon(1);
    editor.SelectBullet(0);
    EXPECT_EQ(editor.LoadBullet(), (ShootBullet{0, false, 9, true, 250}));
    editor.SelectBullet(2);
    ASSERT_EQ(editor.SaveBullet({1, false, 2, true, 3}), kShootFileDone);
    const Json::Value written = UserDocument(1);
    EXPECT_EQ(written["Name"].asString(), "AK");
    EXPECT_EQ(written["Events"][3]["Delay"].asString(), "250");
    EXPECT_EQ(written["Events"].size(), 18u);
    EXPECT_EQ(written["Events"][15], Event(5, "down", 2, 3));
}

TEST_F(ShootEditorTest, StartUpRestoresMissingAndDamagedSlotsOnly) {
    WriteText(UserName(0), R"({"Events": [], "Mine": 1})");
    WriteText(UserName(1), "{ not json");
    WriteText(UserName(3), "");
    EXPECT_EQ(editor.InitShootEditor(), 3);

    EXPECT_EQ(UserDocument(0)["Mine"].asInt(), 1);
    for (int slot : {1, 2, 3})
        EXPECT_EQ(ReadText(UserName(slot)), FileText(DefaultPath(slot))) << slot;
    int asides = 0;
    for (const std::string& name : UserEntries())
        asides += name.find(".broken-") != std::string::npos;
    EXPECT_EQ(asides, 2) << "the damaged files are set aside, not lost";
    EXPECT_EQ(editor.InitShootEditor(), 0);
}

TEST_F(ShootEditorTest, SelectionsAreClampedAndSwitchingSlotKeepsTheBullet) {
    editor.InitShootEditor();
    EXPECT_EQ(editor.SelectedBullet(), -1);
    EXPECT_EQ(editor.LoadBullet(), ShootBullet{});
    EXPECT_EQ(editor.SaveBullet({1, true, 1, true, 1}), kShootFileWriteFailed);

    editor.SelectBullet(0 - 1);
    EXPECT_EQ(editor.SelectedBullet(), 0);
    editor.SelectBullet(29 + 1);
    EXPECT_EQ(editor.SelectedBullet(), 29);
    editor.SelectWeapon(7);
    EXPECT_EQ(editor.SelectedWeapon(), 3);
    editor.SelectWeapon(-2);
    EXPECT_EQ(editor.SelectedWeapon(), 0);

    editor.SelectBullet(4);
    editor.SelectWeapon(2);
    EXPECT_EQ(editor.SelectedBullet(), 4);
    EXPECT_EQ(editor.LoadBullet(), (ShootBullet{2, true, 4, false, 102}));
}

TEST_F(ShootEditorTest, ResetImportAndExportCopyByteForByte) {
    editor.InitShootEditor();
    editor.SelectWeapon(1);
    editor.SelectBullet(0);
    const std::string foreign = "[1, 2, 3]  \n";
    WriteText("foreign.shoot", foreign);

    EXPECT_EQ(editor.ImportWeapon(""), kShootFileWriteFailed);
    EXPECT_EQ(editor.ImportWeapon(Path("missing.shoot")), kShootFileSourceMissing);
    EXPECT_EQ(ReadText(UserName(1)), FileText(DefaultPath(1)));
    ASSERT_EQ(editor.ImportWeapon(Path("foreign.shoot")), kShootFileDone);
    EXPECT_EQ(ReadText(UserName(1)), foreign);
    EXPECT_EQ(editor.LoadBullet(), ShootBullet{}) << "not a shoot document: zeros";

    ASSERT_EQ(editor.ExportWeapon(Path("out.shoot")), kShootFileDone);
    EXPECT_EQ(ReadText("out.shoot"), foreign);
    EXPECT_EQ(editor.ExportWeapon(""), kShootFileWriteFailed);

    // Saving into a document that is no object sets it aside instead of dropping it.
    ASSERT_EQ(editor.SaveBullet({5, false, 6, true, 7}), kShootFileDone);
    EXPECT_EQ(editor.LoadBullet(), (ShootBullet{5, false, 6, true, 7}));

    ASSERT_EQ(editor.ResetWeapon(), kShootFileDone);
    EXPECT_EQ(ReadText(UserName(1)), FileText(DefaultPath(1)));
    EXPECT_EQ(editor.LoadBullet(), (ShootBullet{1, true, 0, false, 101}));
}

TEST_F(ShootEditorTest, AnUnreadableSlotFileIsNeverReplaced) {
    WriteText(UserName(2), "{}");
    {
        ScopedFileCalls denied(test::DenyOpening("ShootData_2.Shoot"));
        EXPECT_EQ(editor.InitShootEditor(), 3);
        editor.SelectWeapon(2);
        editor.SelectBullet(0);
        EXPECT_EQ(editor.SaveBullet({1, true, 1, true, 1}), kShootFileRefused);
        EXPECT_EQ(editor.ExportWeapon(Path("out.shoot")), kShootFileRefused);
    }
    EXPECT_EQ(ReadText(UserName(2)), "{}");
    EXPECT_FALSE(std::filesystem::exists(Path("out.shoot")));
}

TEST_F(ShootEditorTest, AFailedWriteLeavesTheSlotFileAsItWas) {
    editor.InitShootEditor();
    editor.SelectBullet(3);
    const std::string before = ReadText(UserName(0));
    FileCalls failing = FileCalls::System();
    failing.rename = [](const char*, const char*) {
        errno = ENOSPC;
        return -1;
    };
    ScopedFileCalls full(failing);
    EXPECT_EQ(editor.SaveBullet({1, true, 1, true, 1}), kShootFileWriteFailed);
    EXPECT_EQ(editor.ResetWeapon(), kShootFileWriteFailed);
    EXPECT_EQ(ReadText(UserName(0)), before);
}

TEST(ShootSlotEvents, AreHeldToTheDeviceLimitsAndMissingOnesAreZero) {
    Json::Value document(Json::objectValue);
    PutShootBullet(document, 0, {300, true, -4, false, 70000});
    const std::vector<MacroEvent> events = ShootSlotEvents(document);
    ASSERT_EQ(events.size(), 180u);
    EXPECT_EQ(events[0], (MacroEvent{1, true, 1, 10}));
    EXPECT_EQ(events[2], (MacroEvent{4, true, 255, 5}));
    EXPECT_EQ(events[3], (MacroEvent{5, false, 0, 65535}));
    EXPECT_EQ(events[6], (MacroEvent{0, false, 0, 0}));
    EXPECT_EQ(events[179], (MacroEvent{0, false, 0, 0}));
}

} // namespace
