// The profile list of a device on real files: first run, each operation's edge cases, damaged
// lists and profile documents, refused imports, and the list file being the reference.

#include "ConfigFolder.h"
#include "config/AtomicFile.h"
#include "config/ProfileList.h"
#include "config/ProfileNames.h"

#include <filesystem>

using namespace config;

namespace {

constexpr const char* kDefaults = R"({
   "Device" : [ { "LightInfo" : { "Light" : 3 }, "KeyList" : [ { "Assignment" : 66051 } ],
                  "CustomEQNameInfo" : [ { "Name" : "" } ],
                  "CustomEQHzValueInfo" : [ [ { "value" : 0 } ] ] } ],
   "profileUUID" : "",
   "profilename" : "default"
})";

class ProfileListTest : public test::ConfigFolder {
protected:
    void SetUp() override {
        ConfigFolder::SetUp();
        std::filesystem::create_directory(Folder() / "user");
        WriteText("defaults.Json", kDefaults);
    }

    CProfileList MakeList() { return CProfileList(Path("user"), Path("defaults.Json")); }
    // A list of the given names, each with a profile document, written as another program
    // would; ids "id0", "id1", ...
    void WriteList(const std::vector<std::string>& names, int selected = 0) {
        ProfileListState state;
        for (std::size_t i = 0; i < names.size(); ++i) {
            state.entries.push_back({names[i], "id" + std::to_string(i)});
            WriteProfile("id" + std::to_string(i), names[i]);
        }
        state.selected = selected;
        ASSERT_TRUE(WriteJsonFile(ListFile(), MakeProfileListDocument(state)));
    }
    void WriteProfile(const std::string& id, const std::string& name, int light = 9) {
        Json::Value doc = test::Parse(kDefaults);
        doc["profilename"] = name;
        doc["profileUUID"] = id;
        doc["Device"][0]["LightInfo"]["Light"] = light;
        ASSERT_TRUE(WriteJsonFile(Profile(id), doc));
    }
    std::string ListFile() const { return Path("user/ProfileList.ini"); }
    std::string Profile(const std::string& id) const { return Path("user/" + id + ".Json"); }
    Json::Value ListDocument() const { return ReadJsonFile(ListFile()); }
    Json::Value ProfileDocument(const std::string& id) const { return ReadJsonFile(Profile(id)); }
    std::set<std::string> UserFiles() const {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(Folder() / "user"))
            names.insert(entry.path().filename().string());
        return names;
    }
    // The names in the list file, in order.
    std::vector<std::string> ListedNames() const {
        std::vector<std::string> names;
        const Json::Value list = ListDocument();
        for (const Json::Value& entry : list["profilelist"])
            names.push_back(entry["profilename"].asString());
        return names;
    }
    // Every listed profile has its document, carrying the entry's name and id.
    void ExpectDocumentsMatchTheList() const {
        const Json::Value list = ListDocument();
        for (const Json::Value& entry : list["profilelist"]) {
            const Json::Value doc = ProfileDocument(entry["profileUUID"].asString());
            EXPECT_EQ(doc["profilename"], entry["profilename"]);
            EXPECT_EQ(doc["profileUUID"], entry["profileUUID"]);
        }
    }
};

TEST_F(ProfileListTest, FirstRunMakesProfile1FromTheDefaults) {
    CProfileList list = MakeList();
    ASSERT_EQ(list.Load(), kProfileDone);
    ASSERT_EQ(list.State().entries.size(), 1u);
    const std::string id = list.SelectedId();
    EXPECT_TRUE(IsUsableProfileId(id));

    Json::Value expectedList = test::Parse(R"({"profilelist": [{"profilename": "profile1",
        "profileislink": 0, "profilelinkmame": ""}], "profileselect": 0})");
    expectedList["profilelist"][0]["profileUUID"] = id;
    EXPECT_EQ(ListDocument(), expectedList);

    Json::Value expectedProfile = test::Parse(kDefaults);
    expectedProfile["profilename"] = "profile1";
    expectedProfile["profileUUID"] = id;
    EXPECT_EQ(ProfileDocument(id), expectedProfile);

    // A second load finds the list and makes nothing new.
    CProfileList again = MakeList();
    ASSERT_EQ(again.Load(), kProfileDone);
    EXPECT_EQ(again.State(), list.State());
    EXPECT_EQ(UserFiles().size(), 2u);
}

TEST_F(ProfileListTest, FirstRunWithoutDefaultDocumentWritesOnlyTheNames) {
    std::filesystem::remove(Path("defaults.Json"));
    CProfileList list = MakeList();
    ASSERT_EQ(list.Load(), kProfileDone);
    Json::Value expected(Json::objectValue);
    expected["profilename"] = "profile1";
    expected["profileUUID"] = list.SelectedId();
    EXPECT_EQ(ProfileDocument(list.SelectedId()), expected);
}

TEST_F(ProfileListTest, DamagedListIsRebuiltFromTheProfilesStillInTheFolder) {
    for (const char* damaged :
         {"{ \"profilelist\" : [ { \"profilename\" : ", "[]", "42", "{\"profilelist\": []}",
          "{\"profilelist\": {}}", "{\"profilelist\": [1, null, {\"profilename\": \"x\"}]}"}) {
        SCOPED_TRACE(damaged);
        std::filesystem::remove_all(Folder() / "user");
        std::filesystem::create_directory(Folder() / "user");
        WriteProfile("2023_01_02_00_00_00_000", "later");
        WriteProfile("2022_01_02_00_00_00_000", "earlier");
        WriteText("user/2021_01_01_00_00_00_000.Json", "not json");           // unreadable
        WriteText("user/other.Json", R"({"profileUUID": "something else"})"); // not its own id
        WriteText("user/ProfileList.ini", damaged);

        CProfileList list = MakeList();
        ASSERT_EQ(list.Load(), kProfileDone);
        const std::vector<ProfileEntry> expected{{"earlier", "2022_01_02_00_00_00_000"},
                                                 {"later", "2023_01_02_00_00_00_000"}};
        EXPECT_EQ(list.State().entries, expected);
        EXPECT_EQ(list.State().selected, 0);
        EXPECT_EQ(ListedNames(), (std::vector<std::string>{"earlier", "later"}));
    }
}

TEST_F(ProfileListTest, DamagedListWithNoProfilesLeftTakesTheFirstRunPath) {
    WriteText("user/ProfileList.ini", "\xEF\xBB\xBF{ broken");
    CProfileList list = MakeList();
    ASSERT_EQ(list.Load(), kProfileDone);
    EXPECT_EQ(ListedNames(), std::vector<std::string>{"profile1"});
    ExpectDocumentsMatchTheList();
}

TEST_F(ProfileListTest, UnusableEntriesAreDroppedAndTheSelectionFollowsItsEntry) {
    WriteProfile("keep1", "one");
    WriteProfile("keep2", "two");
    WriteText("outside.Json", "{}");
    WriteText("user/ProfileList.ini", R"({"profilelist": [
        {"profilename": "evil", "profileUUID": "../outside"},
        {"profilename": "one", "profileUUID": "keep1"},
        "junk",
        {"profilename": "again", "profileUUID": "keep1"},
        {"profilename": 7, "profileUUID": "keep2"}], "profileselect": 4})");
    CProfileList list = MakeList();
    ASSERT_EQ(list.Load(), kProfileDone);
    EXPECT_EQ(list.State().entries,
              (std::vector<ProfileEntry>{{"one", "keep1"}, {"keep2", "keep2"}}));
    EXPECT_EQ(list.SelectedId(), "keep2");

    // Deleting can only reach listed profiles, never a file outside the folder.
    EXPECT_EQ(list.Delete("../outside"), kProfileUnknown);
    EXPECT_TRUE(std::filesystem::exists(Path("outside.Json")));

    WriteText("user/ProfileList.ini", R"({"profilelist": [{"profileUUID": "keep1"}],
                                          "profileselect": 99})");
    ASSERT_EQ(list.Load(), kProfileDone);
    EXPECT_EQ(list.SelectedId(), "keep1");
}

TEST_F(ProfileListTest, AddTakesTheLowestFreeNumberAndKeepsTheSelection) {
    WriteList({"profile1", "Profile3"}, 1);
    CProfileList list = MakeList();
    ASSERT_EQ(list.Add(), kProfileDone);
    EXPECT_EQ(ListedNames(), (std::vector<std::string>{"profile1", "Profile3", "profile2"}));
    EXPECT_EQ(ListDocument()["profileselect"], 1);
    ASSERT_EQ(list.Add(), kProfileDone);
    EXPECT_EQ(list.State().entries.back().name, "profile4");

    // A new profile is the default document under its own name.
    const std::string id = list.State().entries.back().id;
    Json::Value expected = test::Parse(kDefaults);
    expected["profilename"] = "profile4";
    expected["profileUUID"] = id;
    EXPECT_EQ(ProfileDocument(id), expected);
    ExpectDocumentsMatchTheList();
}

TEST_F(ProfileListTest, AddStopsAtFiftyWhileCopyAndImportGoOn) {
    CProfileList list = MakeList();
    ASSERT_EQ(list.Load(), kProfileDone);
    for (int i = 1; i < kMaxAddedProfiles; ++i)
        ASSERT_EQ(list.Add(), kProfileDone) << i;
    const std::set<std::string> files = UserFiles();
    EXPECT_EQ(files.size(), 51u) << "fifty distinct profile files and the list";
    const std::string listText = ReadText("user/ProfileList.ini");

    EXPECT_EQ(list.Add(), kProfileNothingDone);
    EXPECT_EQ(UserFiles(), files);
    EXPECT_EQ(ReadText("user/ProfileList.ini"), listText);

    EXPECT_EQ(list.Copy(list.SelectedId()), kProfileDone);
    WriteText("game.json", R"({"profilename": "x", "profileUUID": "y"})");
    EXPECT_EQ(list.Import(Path("game.json")), kProfileDone);
    EXPECT_EQ(list.State().entries.size(), 52u);
    ExpectDocumentsMatchTheList();
}

TEST_F(ProfileListTest, DeleteSelectsThePreviousProfileAndNeverTheLastOne) {
    WriteList({"a", "b", "c"}, 0);
    CProfileList list = MakeList();
    ASSERT_EQ(list.Delete("id0"), kProfileDone);
    EXPECT_EQ(ListedNames(), (std::vector<std::string>{"b", "c"}));
    EXPECT_EQ(ListDocument()["profileselect"], 0);
    EXPECT_FALSE(std::filesystem::exists(Profile("id0")));

    WriteList({"a", "b", "c"}, 2);
    ASSERT_EQ(list.Delete("id2"), kProfileDone);
    EXPECT_EQ(ListDocument()["profileselect"], 1);

    // Deleting another profile than the selected one keeps the selected one selected.
    WriteList({"a", "b", "c"}, 2);
    ASSERT_EQ(list.Delete("id0"), kProfileDone);
    EXPECT_EQ(list.SelectedId(), "id2");
    EXPECT_EQ(ListDocument()["profileselect"], 1);

    WriteList({"only"});
    EXPECT_EQ(list.Delete("id0"), kProfileNothingDone);
    EXPECT_EQ(ListedNames(), std::vector<std::string>{"only"});
    EXPECT_TRUE(std::filesystem::exists(Profile("id0")));
}

TEST_F(ProfileListTest, CopyNamesTheCopyAfterItsSourceAndCopiesTheDocument) {
    WriteList({"A", "a COPY"}, 1);
    WriteProfile("id0", "A", 42);
    CProfileList list = MakeList();
    ASSERT_EQ(list.Copy("id0"), kProfileDone);
    const ProfileEntry copy = list.State().entries.back();
    EXPECT_EQ(copy.name, "A copy copy");
    EXPECT_EQ(ListDocument()["profileselect"], 1);
    const Json::Value doc = ProfileDocument(copy.id);
    EXPECT_EQ(doc["Device"][0]["LightInfo"]["Light"], 42);
    EXPECT_EQ(doc["profilename"], "A copy copy");
    EXPECT_EQ(doc["profileUUID"], copy.id);
    EXPECT_EQ(ProfileDocument("id0")["profilename"], "A") << "the source is left as it was";
    EXPECT_EQ(list.Copy("gone"), kProfileUnknown);
}

TEST_F(ProfileListTest, ImportNamesAfterTheFileAndKeepsTheRestOfTheDocument) {
    WriteList({"profile1"});
    WriteText("game.json", R"({"profilename": "inside", "profileUUID": "theirs",
                               "Device": [{"LightInfo": {"Light": 4}}], "extra": true})");
    CProfileList list = MakeList();
    for (int i = 0; i < 3; ++i)
        ASSERT_EQ(list.Import(Path("game.json")), kProfileDone);
    EXPECT_EQ(ListedNames(),
              (std::vector<std::string>{"profile1", "game", "game(1)", "game(1)(2)"}));
    const std::string id = list.State().entries[1].id;
    Json::Value expected = test::Parse(R"({"Device": [{"LightInfo": {"Light": 4}}],
                                           "extra": true, "profilename": "game"})");
    expected["profileUUID"] = id;
    EXPECT_EQ(ProfileDocument(id), expected);
    ExpectDocumentsMatchTheList();
}

TEST_F(ProfileListTest, ImportRefusesWhatIsNotAProfileAndChangesNothing) {
    WriteList({"profile1"});
    WriteText("no_id.json", R"({"profilename": "x", "Device": []})");
    WriteText("null_name.json", R"({"profilename": null, "profileUUID": "y"})");
    WriteText("array.json", R"([{"profilename": "x", "profileUUID": "y"}])");
    WriteText("text.json", "profilename profileUUID");
    const std::string listText = ReadText("user/ProfileList.ini");
    const std::set<std::string> files = UserFiles();

    CProfileList list = MakeList();
    for (const char* name : {"no_id.json", "null_name.json", "array.json", "text.json"})
        EXPECT_EQ(list.Import(Path(name)), kProfileNotAProfile) << name;
    EXPECT_EQ(list.Import(Path("missing.json")), kProfileUnreadable);
    EXPECT_EQ(list.Import(Path("user")), kProfileUnreadable) << "a folder";
    EXPECT_EQ(ReadText("user/ProfileList.ini"), listText);
    EXPECT_EQ(UserFiles(), files);
}

TEST_F(ProfileListTest, ExportWritesTheProfileOrNothing) {
    WriteList({"a", "b"});
    CProfileList list = MakeList();
    ASSERT_EQ(list.Export("id1", Path("out.json")), kProfileDone);
    EXPECT_EQ(ReadJsonFile(Path("out.json")), ProfileDocument("id1"));
    EXPECT_EQ(ReadText("out.json"), StyledText(ProfileDocument("id1")));

    WriteText("user/id0.Json", "garbage");
    EXPECT_EQ(list.Export("id0", Path("bad.json")), kProfileUnreadable);
    EXPECT_FALSE(std::filesystem::exists(Path("bad.json")));
    EXPECT_EQ(list.Export("id9", Path("bad.json")), kProfileUnknown);
    EXPECT_EQ(list.Export("id1", Path("no/such/folder/out.json")), kProfileWriteFailed);
}

TEST_F(ProfileListTest, RenameRefusesBlankAndTakenNamesAndKeepsTheNameAsTyped) {
    WriteList({"first", "Ärger"});
    CProfileList list = MakeList();
    EXPECT_EQ(list.Rename("id0", "   "), kProfileBlankName);
    EXPECT_EQ(list.Rename("id0", "\t\u3000"), kProfileBlankName);
    EXPECT_EQ(list.Rename("id0", "äRGER"), kProfileNothingDone);
    EXPECT_EQ(list.Rename("id0", "FIRST"), kProfileDone) << "its own name in another case";
    EXPECT_EQ(list.Rename("id0", " new name "), kProfileDone);
    EXPECT_EQ(ListedNames(), (std::vector<std::string>{" new name ", "Ärger"}));
    EXPECT_EQ(ProfileDocument("id0")["profilename"], " new name ");
    EXPECT_EQ(ProfileDocument("id0")["Device"][0]["LightInfo"]["Light"], 9);
    EXPECT_EQ(list.Rename("id7", "x"), kProfileUnknown);

    // A profile whose document is gone gets one holding its name and id.
    std::filesystem::remove(Profile("id1"));
    EXPECT_EQ(list.Rename("id1", "back"), kProfileDone);
    ExpectDocumentsMatchTheList();
}

TEST_F(ProfileListTest, ResetRestoresTheDefaultsAndTheHeadsetKeepsItsCustomEqualisers) {
    WriteList({"mine"});
    Json::Value doc = ProfileDocument("id0");
    doc["Device"][0]["CustomEQNameInfo"] = test::Parse(R"([{"Name": "Bass"}, {"Name": "Voice"}])");
    doc["Device"][0]["CustomEQHzValueInfo"] = test::Parse(R"([[{"value": 5}], [{"value": -3}]])");
    doc["Device"][0]["KeyList"][0]["Assignment"] = 1;
    ASSERT_TRUE(WriteJsonFile(Profile("id0"), doc));

    CProfileList list = MakeList();
    ASSERT_EQ(list.Reset("id0", kHeadsetDeviceKind), kProfileDone);
    Json::Value expected = test::Parse(kDefaults);
    expected["profilename"] = "mine";
    expected["profileUUID"] = "id0";
    expected["Device"][0]["CustomEQNameInfo"] = doc["Device"][0]["CustomEQNameInfo"];
    expected["Device"][0]["CustomEQHzValueInfo"] = doc["Device"][0]["CustomEQHzValueInfo"];
    EXPECT_EQ(ProfileDocument("id0"), expected);

    // Any other device takes the defaults whole.
    ASSERT_EQ(list.Reset("id0", 1), kProfileDone);
    expected = test::Parse(kDefaults);
    expected["profilename"] = "mine";
    expected["profileUUID"] = "id0";
    EXPECT_EQ(ProfileDocument("id0"), expected);

    // A damaged headset profile resets to the defaults without a crash.
    WriteText("user/id0.Json", R"({"Device": "broken"})");
    EXPECT_EQ(list.Reset("id0", kHeadsetDeviceKind), kProfileDone);
    EXPECT_EQ(ProfileDocument("id0"), expected);
}

TEST_F(ProfileListTest, SelectWritesTheSelection) {
    WriteList({"a", "b"});
    CProfileList list = MakeList();
    ASSERT_EQ(list.Select("id1"), kProfileDone);
    EXPECT_EQ(ListDocument()["profileselect"], 1);
    EXPECT_EQ(list.Select("nope"), kProfileUnknown);
    EXPECT_EQ(ListDocument()["profileselect"], 1);
    // An id taken from the state itself, which the operation replaces as it reads the list.
    ASSERT_EQ(list.Select(list.State().entries[0].id), kProfileDone);
    EXPECT_EQ(list.SelectedId(), "id0");
    ASSERT_EQ(list.Delete(list.State().entries[1].id), kProfileDone);
    EXPECT_EQ(ListedNames(), std::vector<std::string>{"a"});
}

TEST_F(ProfileListTest, EveryChangeStartsFromTheFileNotFromWhatWasReadBefore) {
    CProfileList window = MakeList();
    ASSERT_EQ(window.Load(), kProfileDone);
    CProfileList script = MakeList();
    ASSERT_EQ(script.Add(), kProfileDone); // profile2, made behind the window's back
    ASSERT_EQ(window.Add(), kProfileDone);
    EXPECT_EQ(ListedNames(), (std::vector<std::string>{"profile1", "profile2", "profile3"}));
    ExpectDocumentsMatchTheList();
    EXPECT_EQ(UserFiles().size(), 4u);
}

TEST_F(ProfileListTest, FailedWritesChangeNothingAndLeaveNoStrayFile) {
    WriteList({"a", "b"});
    const std::string listText = ReadText("user/ProfileList.ini");
    const std::set<std::string> files = UserFiles();
    CProfileList list = MakeList();
    {
        FileCalls calls = FileCalls::System();
        calls.rename = [](const char*, const char*) { return errno = ENOSPC, -1; };
        ScopedFileCalls failing(calls);
        EXPECT_EQ(list.Add(), kProfileWriteFailed);
        EXPECT_EQ(list.Copy("id0"), kProfileWriteFailed);
        EXPECT_EQ(list.Delete("id0"), kProfileWriteFailed);
        EXPECT_EQ(list.Rename("id0", "z"), kProfileWriteFailed);
    }
    EXPECT_EQ(ReadText("user/ProfileList.ini"), listText);
    EXPECT_EQ(UserFiles(), files);

    // Only the list fails: the new profile's document is taken away again.
    {
        FileCalls calls = FileCalls::System();
        calls.rename = [](const char* from, const char* to) {
            if (std::string(to).ends_with("ProfileList.ini"))
                return errno = EIO, -1;
            return ::rename(from, to);
        };
        ScopedFileCalls failing(calls);
        EXPECT_EQ(list.Add(), kProfileWriteFailed);
    }
    EXPECT_EQ(UserFiles(), files);
}

TEST_F(ProfileListTest, WithoutAUserFolderNothingIsWrittenAnywhere) {
    CProfileList list("", Path("defaults.Json"));
    EXPECT_EQ(list.Load(), kProfileWriteFailed);
    EXPECT_EQ(list.Add(), kProfileWriteFailed);
    EXPECT_TRUE(list.State().entries.empty());
    EXPECT_FALSE(std::filesystem::exists("ProfileList.ini"));
}

TEST(ProfileNames, CaseIsIgnoredBeyondAscii) {
    EXPECT_TRUE(SameProfileName("Straße", "STRAßE"));
    EXPECT_TRUE(SameProfileName("Профиль", "ПРОФИЛЬ"));
    EXPECT_TRUE(SameProfileName("Łódź", "łÓDŹ"));
    EXPECT_FALSE(SameProfileName("profile1", "profile 1"));
    EXPECT_EQ(NewProfileName({"PROFILE1", "profile2"}), "profile3");
}

} // namespace
