// Files the program cannot read are left as they are and the operation fails; damaged files
// are set aside before they are replaced; imports take small regular files only. Tests run as
// root, who reads any file whatever its mode, so a user's "permission denied" is injected.

#include "ConfigFolder.h"
#include "config/AtomicFile.h"
#include "config/BasicProfiledata.h"
#include "config/ProfileList.h"

#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>

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
    EXPECT_EQ(list.Read(), kProfileUnreadable);
    EXPECT_EQ(list.Add(), kProfileUnreadable);
    EXPECT_EQ(list.Delete("id1"), kProfileUnreadable);
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(UnreadableFileTest, AnUnreadableProfileIsNeitherRewrittenNorCopied) {
    const auto before = Snapshot();
    const ScopedFileCalls denied = Unreadable("id0.Json");
    CProfileList list = MakeList();
    ASSERT_EQ(list.Load(), kProfileDone);
    EXPECT_EQ(list.Rename("id0", "new"), kProfileUnreadable);
    EXPECT_EQ(list.LastProblem().path, Path("user/id0.Json"));
    EXPECT_EQ(list.Copy("id0"), kProfileUnreadable);
    EXPECT_EQ(list.Reset("id0", kHeadsetDeviceKind), kProfileUnreadable)
        << "its custom equalisers cannot be kept";
    EXPECT_EQ(Snapshot(), before);

    CBasicProfiledata profile;
    profile.SetDefaultPath(WidePath("defaults.Json"));
    profile.SetProfilePath(WidePath("user/id0.Json"));
    EXPECT_TRUE(profile.LoadProfile(WidePath("user/id0.Json")).isNull());
    EXPECT_EQ(profile.LoadResult(), kProfileUnreadable);
    EXPECT_FALSE(profile.SaveProfile());
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(UnreadableFileTest, DamagedFilesAreSetAsideBeforeTheyAreReplaced) {
    WriteText("user/ProfileList.ini", "{ \"profilelist\" : [ ");
    WriteText("user/id1.Json", "[\"not a profile\"]");
    CProfileList list = MakeList();
    ASSERT_EQ(list.Load(), kProfileDone);
    EXPECT_EQ(list.State().entries, (std::vector<ProfileEntry>{{"mine", "id0"}}));
    ASSERT_EQ(SetAside("ProfileList.ini").size(), 1u);
    EXPECT_EQ(ReadText("user/" + SetAside("ProfileList.ini")[0]), "{ \"profilelist\" : [ ");

    CBasicProfiledata profile;
    profile.SetDefaultPath(WidePath("defaults.Json"));
    const Json::Value record = profile.LoadProfile(WidePath("user/id1.Json"));
    EXPECT_EQ(record, test::Parse(kDefaults)["Device"][0]);
    EXPECT_EQ(profile.LoadResult(), kProfileDone);
    ASSERT_EQ(SetAside("id1.Json").size(), 1u);
    EXPECT_EQ(ReadText("user/" + SetAside("id1.Json")[0]), "[\"not a profile\"]");
    EXPECT_EQ(ReadJsonFile(Path("user/id1.Json"))["Device"][0], record);
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
