// Files the program cannot read are left as they are and the operation fails; damaged files
// are set aside before they are replaced; reading the list never writes; a disk that takes
// nothing is reported. Tests run as root, who reads any file whatever its mode, so the
// "permission denied" of a user is injected at the open.

#include "ConfigFolder.h"
#include "config/AtomicFile.h"
#include "config/BasicProfiledata.h"
#include "config/ProfileList.h"

#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

using namespace config;

namespace {

namespace fs = std::filesystem;

constexpr const char* kDefaults = R"({"Device": [{"KeyList": [{"Assignment": 66051}],
    "CustomEQNameInfo": [{"Name": ""}]}], "profileUUID": "", "profilename": "default"})";

class UnreadableFileTest : public test::ConfigFolder {
protected:
    void SetUp() override {
        ConfigFolder::SetUp();
        fs::create_directory(Folder() / "user");
        WriteText("defaults.Json", kDefaults);
        WriteText("user/ProfileList.ini",
                  R"({"profilelist": [{"profilename": "mine", "profileUUID": "id0"},
                      {"profilename": "other", "profileUUID": "id1"}], "profileselect": 0})");
        WriteText("user/id0.Json", R"({"profilename": "mine", "profileUUID": "id0",
                                       "Device": [{"KeyList": [{"Assignment": 1}]}]})");
        WriteText("user/id1.Json", R"({"profilename": "other", "profileUUID": "id1"})");
    }
    CProfileList MakeList() { return CProfileList(Path("user"), Path("defaults.Json")); }
    // Every file of the user folder with its content.
    std::map<std::string, std::string> Snapshot() const {
        std::map<std::string, std::string> files;
        for (const auto& entry : fs::directory_iterator(Folder() / "user"))
            files[entry.path().filename()] =
                fs::is_regular_file(entry) ? ReadText("user/" + entry.path().filename().string())
                                           : "(folder)";
        return files;
    }
    // The names of the user folder's files set aside as NAME.broken-TIMESTAMP.
    std::vector<std::string> SetAside(const std::string& name) const {
        std::vector<std::string> found;
        for (const auto& entry : fs::directory_iterator(Folder() / "user")) {
            const std::string file = entry.path().filename();
            if (file.starts_with(name + ".broken-"))
                found.push_back(file);
        }
        return found;
    }
    // Opening `name` of the user folder fails as it does for a user without read permission.
    ScopedFileCalls Unreadable(const std::string& name) const {
        FileCalls calls = FileCalls::System();
        calls.open = [path = Path("user/" + name)](const char* file, int flags) {
            if (path == file)
                return errno = EACCES, -1;
            return ::open(file, flags);
        };
        return ScopedFileCalls(calls);
    }
};

TEST_F(UnreadableFileTest, AnUnreadableListFailsEveryOperationAndIsNeverRebuilt) {
    const auto before = Snapshot();
    const ScopedFileCalls denied = Unreadable("ProfileList.ini");
    CProfileList list = MakeList();
    EXPECT_EQ(list.Load(), kProfileUnreadable);
    EXPECT_EQ(list.LastProblem().path, Path("user/ProfileList.ini"));
    EXPECT_EQ(list.LastProblem().reason, "Permission denied");
    EXPECT_TRUE(list.State().entries.empty());
    EXPECT_EQ(list.Read(), kProfileUnreadable);
    EXPECT_EQ(list.Add(), kProfileUnreadable);
    EXPECT_EQ(list.Select("id1"), kProfileUnreadable);
    EXPECT_EQ(list.Delete("id1"), kProfileUnreadable);
    EXPECT_EQ(list.Copy("id0"), kProfileUnreadable);
    EXPECT_EQ(list.Rename("id0", "new"), kProfileUnreadable);
    EXPECT_EQ(list.Reset("id0", 1), kProfileUnreadable);
    EXPECT_EQ(list.Export("id0", Path("out.json")), kProfileUnreadable);
    EXPECT_EQ(Snapshot(), before);
    EXPECT_FALSE(fs::exists(Path("out.json")));
}

TEST_F(UnreadableFileTest, AFolderInPlaceOfTheListIsLeftAlone) {
    fs::remove(Path("user/ProfileList.ini"));
    fs::create_directory(Path("user/ProfileList.ini"));
    CProfileList list = MakeList();
    EXPECT_EQ(list.Load(), kProfileUnreadable);
    EXPECT_EQ(list.LastProblem().reason, "not a regular file");
    EXPECT_TRUE(fs::is_directory(Path("user/ProfileList.ini")));
    EXPECT_TRUE(SetAside("ProfileList.ini").empty());
}

TEST_F(UnreadableFileTest, AnUnreadableProfileIsNeitherRewrittenNorCopied) {
    const auto before = Snapshot();
    const ScopedFileCalls denied = Unreadable("id0.Json");
    CProfileList list = MakeList();
    ASSERT_EQ(list.Load(), kProfileDone);
    EXPECT_EQ(list.Rename("id0", "new"), kProfileUnreadable);
    EXPECT_EQ(list.LastProblem().path, Path("user/id0.Json"));
    EXPECT_EQ(list.Copy("id0"), kProfileUnreadable);
    EXPECT_EQ(list.Export("id0", Path("out.json")), kProfileUnreadable);
    EXPECT_EQ(list.Reset("id0", kHeadsetDeviceKind), kProfileUnreadable)
        << "its custom equalisers cannot be kept";
    EXPECT_EQ(Snapshot(), before);

    CBasicProfiledata profile;
    profile.SetDefaultPath(WidePath("defaults.Json"));
    profile.SetProfilePath(WidePath("user/id0.Json"));
    EXPECT_TRUE(profile.LoadProfile(WidePath("user/id0.Json")).isNull());
    EXPECT_EQ(profile.LoadResult(), kProfileUnreadable);
    EXPECT_FALSE(profile.SaveProfile());
    EXPECT_FALSE(profile.WriteDeviceRecord(WidePath("user/id0.Json"), Json::Value()));
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(UnreadableFileTest, WithoutReadPermissionForAUser) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root reads files of any mode; the injected failures above stand in";
    ::chmod(Path("user/ProfileList.ini").c_str(), 0);
    const auto before = Snapshot();
    CProfileList list = MakeList();
    EXPECT_EQ(list.Load(), kProfileUnreadable);
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(UnreadableFileTest, DamagedFilesAreSetAsideBeforeTheyAreReplaced) {
    WriteText("user/ProfileList.ini", "{ \"profilelist\" : [ ");
    WriteText("user/id1.Json", "[\"not a profile\"]");
    CProfileList list = MakeList();
    ASSERT_EQ(list.Load(), kProfileDone);
    EXPECT_EQ(list.State().entries, (std::vector<ProfileEntry>{{"mine", "id0"}}));
    const std::vector<std::string> listAside = SetAside("ProfileList.ini");
    ASSERT_EQ(listAside.size(), 1u);
    EXPECT_EQ(ReadText("user/" + listAside[0]), "{ \"profilelist\" : [ ");

    CBasicProfiledata profile;
    profile.SetDefaultPath(WidePath("defaults.Json"));
    const Json::Value record = profile.LoadProfile(WidePath("user/id1.Json"));
    EXPECT_EQ(record, test::Parse(kDefaults)["Device"][0]);
    EXPECT_EQ(profile.LoadResult(), kProfileDone);
    const std::vector<std::string> profileAside = SetAside("id1.Json");
    ASSERT_EQ(profileAside.size(), 1u);
    EXPECT_EQ(ReadText("user/" + profileAside[0]), "[\"not a profile\"]");
    EXPECT_EQ(ReadJsonFile(Path("user/id1.Json"))["Device"][0], record);

    // Nothing is set aside when a readable document only lacks its record.
    WriteText("user/id0.Json", R"({"profilename": "mine", "profileUUID": "id0"})");
    profile.LoadProfile(WidePath("user/id0.Json"));
    EXPECT_TRUE(SetAside("id0.Json").empty());
    EXPECT_EQ(ReadJsonFile(Path("user/id0.Json"))["profilename"], "mine");

    WriteText("user/id0.Json", "garbage");
    ASSERT_EQ(list.Rename("id0", "renamed"), kProfileDone);
    EXPECT_EQ(SetAside("id0.Json").size(), 1u);
}

TEST_F(UnreadableFileTest, ReadingTheListWritesNothing) {
    for (const char* list : {"", "{ broken"}) {
        SCOPED_TRACE(list);
        if (*list)
            WriteText("user/ProfileList.ini", list);
        else
            fs::remove(Path("user/ProfileList.ini"));
        const auto before = Snapshot();
        CProfileList profiles = MakeList();
        ASSERT_EQ(profiles.Read(), kProfileDone);
        EXPECT_EQ(profiles.State().entries,
                  (std::vector<ProfileEntry>{{"mine", "id0"}, {"other", "id1"}}));
        CBasicProfiledata profile;
        profile.SetDefaultPath(WidePath("defaults.Json"));
        EXPECT_EQ(profile.ReadProfile(WidePath("user/id1.Json")),
                  test::Parse(kDefaults)["Device"][0]);
        EXPECT_EQ(Snapshot(), before);
    }
    fs::remove_all(Folder() / "user");
    fs::create_directory(Folder() / "user");
    CProfileList empty = MakeList();
    ASSERT_EQ(empty.Read(), kProfileDone);
    EXPECT_TRUE(empty.State().entries.empty());
    EXPECT_TRUE(Snapshot().empty());
}

TEST_F(UnreadableFileTest, AFirstRunOnAFullDiskReportsTheFailureAndListsNothing) {
    fs::remove_all(Folder() / "user");
    fs::create_directory(Folder() / "user");
    FileCalls calls = FileCalls::System();
    calls.write = [](int, const void*, size_t) -> ssize_t { return errno = ENOSPC, -1; };
    const ScopedFileCalls full(calls);
    CProfileList list = MakeList();
    EXPECT_EQ(list.Load(), kProfileWriteFailed);
    EXPECT_TRUE(list.State().entries.empty());
    EXPECT_TRUE(list.SelectedId().empty());
    EXPECT_EQ(list.Add(), kProfileWriteFailed);
    EXPECT_TRUE(Snapshot().empty());

    // Only the list fails: the first profile made for it goes again.
    FileCalls listOnly = FileCalls::System();
    listOnly.rename = [](const char* from, const char* to) {
        if (std::string(to).ends_with("ProfileList.ini"))
            return errno = ENOSPC, -1;
        return ::rename(from, to);
    };
    const ScopedFileCalls noList(listOnly);
    EXPECT_EQ(list.Load(), kProfileWriteFailed);
    EXPECT_TRUE(Snapshot().empty());
}

TEST_F(UnreadableFileTest, ImportTakesOnlyRegularFilesOfAtMostOneMebibyte) {
    const auto before = Snapshot();
    ASSERT_EQ(::mkfifo(Path("pipe.json").c_str(), 0600), 0);
    fs::create_directory(Path("folder.json"));
    CProfileList list = MakeList();
    for (const std::string& path :
         {Path("pipe.json"), Path("folder.json"), std::string("/dev/null")}) {
        EXPECT_EQ(list.Import(path), kProfileUnreadable) << path;
        EXPECT_EQ(list.LastProblem().reason, "not a regular file") << path;
    }
    EXPECT_EQ(list.Import(Path("missing.json")), kProfileUnreadable);
    EXPECT_EQ(list.LastProblem().reason, "No such file or directory");

    const std::string head = R"({"profilename": "big", "profileUUID": "x", "pad": ")";
    const std::string tail = "\"}";
    const std::string padding(kMaxImportBytes - head.size() - tail.size(), 'p');
    WriteText("big.json", head + padding + "p" + tail);
    EXPECT_EQ(list.Import(Path("big.json")), kProfileUnreadable);
    EXPECT_EQ(list.LastProblem().reason, "larger than 1 MiB");
    EXPECT_EQ(Snapshot(), before);

    WriteText("big.json", head + padding + tail);
    EXPECT_EQ(list.Import(Path("big.json")), kProfileDone) << "exactly 1 MiB is taken";
}

} // namespace
