// quarin-z17ctl's profile and key commands on the program's files in a private XDG_DATA_HOME:
// what they print, their exit codes, and that refused commands change nothing.

#include "CtlRun.h"
#include "config/AtomicFile.h"
#include "config/JsonFile.h"
#include "ctl/ProfileCommands.h"
#include "support/DataFolders.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

using test::CtlRun;

class CtlProfile : public ::testing::Test {
protected:
    // Runs "profile ..." or "key ..." with the words after the command.
    CtlRun Ctl(const std::vector<std::string>& words) {
        const std::vector<std::string> args(words.begin() + 1, words.end());
        return test::RunCaptured([&](const ctl::Output& output) {
            return words[0] == "profile" ? ctl::RunProfileCommand(args, output)
                                         : ctl::RunKeyCommand(args, output);
        });
    }
    fs::path Folder(const char* device) const {
        return folders.UserData() / "QUARIN Z17 Keyboard" / device;
    }
    Json::Value ListFile(const char* device) const {
        return config::ReadJsonFile((Folder(device) / "ProfileList.ini").string());
    }
    Json::Value SelectedProfile(const char* device) const {
        const Json::Value list = ListFile(device);
        const std::string id =
            list["profilelist"][list["profileselect"].asUInt()]["profileUUID"].asString();
        return config::ReadJsonFile((Folder(device) / (id + ".Json")).string());
    }
    // Every file of the device folder with its content ("(folder)" for a folder).
    std::map<std::string, std::string> Snapshot(const char* device) const {
        std::map<std::string, std::string> files;
        for (const auto& entry : fs::directory_iterator(Folder(device)))
            files[entry.path().filename()] =
                entry.is_directory() ? "(folder)" : config::readjsonFile(entry.path().string());
        return files;
    }
    std::string SelectedPath(const char* device) const {
        const Json::Value list = ListFile(device);
        return (Folder(device) /
                (list["profilelist"][list["profileselect"].asUInt()]["profileUUID"].asString() +
                 ".Json"))
            .string();
    }
    // The id printed in the fourth column of a profile line.
    static std::string IdOf(const std::string& line) {
        return line.substr(line.rfind('\t') + 1, line.find('\n') - line.rfind('\t') - 1);
    }

    test::DataFolders folders;
};

TEST_F(CtlProfile, ListAddCopySelectDeleteOnTheProgramsFiles) {
    const CtlRun none = Ctl({"profile", "list", "keyboard"});
    EXPECT_EQ(none.exitCode, ctl::kExitOk);
    EXPECT_EQ(none.out, "");
    EXPECT_EQ(none.err, "quarin-z17ctl: no profile has been made yet\n");
    EXPECT_TRUE(fs::is_empty(Folder("keyboard"))) << "listing writes nothing";

    ASSERT_EQ(Ctl({"profile", "select", "keyboard", "0"}).exitCode, ctl::kExitOk)
        << "any change makes the first profile";
    const CtlRun first = Ctl({"profile", "list", "keyboard"});
    ASSERT_EQ(first.exitCode, ctl::kExitOk) << first.err;
    const std::string id1 = IdOf(first.out);
    EXPECT_EQ(first.out, "0\t*\tprofile1\t" + id1 + "\n");
    EXPECT_TRUE(fs::exists(Folder("keyboard") / (id1 + ".Json")));

    const CtlRun added = Ctl({"profile", "add", "keyboard"});
    ASSERT_EQ(added.exitCode, ctl::kExitOk) << added.err;
    const std::string id2 = IdOf(added.out);
    EXPECT_EQ(added.out, "1\t-\tprofile2\t" + id2 + "\n");
    EXPECT_NE(id1, id2);

    EXPECT_EQ(Ctl({"profile", "select", "keyboard-receiver", "1"}).exitCode, ctl::kExitOk)
        << "the receiver shares the keyboard's profiles";
    const CtlRun copied = Ctl({"profile", "copy", "keyboard"});
    EXPECT_EQ(copied.out, "2\t-\tprofile2 copy\t" + IdOf(copied.out) + "\n");
    EXPECT_EQ(Ctl({"profile", "list", "keyboard"}).out,
              "0\t-\tprofile1\t" + id1 + "\n1\t*\tprofile2\t" + id2 + "\n2\t-\tprofile2 copy\t" +
                  IdOf(copied.out) + "\n");

    ASSERT_EQ(Ctl({"profile", "delete", "keyboard"}).exitCode, ctl::kExitOk);
    EXPECT_FALSE(fs::exists(Folder("keyboard") / (id2 + ".Json")));
    EXPECT_EQ(ListFile("keyboard")["profileselect"], 0);
    EXPECT_EQ(Ctl({"profile", "delete", "keyboard"}).exitCode, ctl::kExitOk);
    const CtlRun last = Ctl({"profile", "delete", "keyboard"});
    EXPECT_EQ(last.exitCode, ctl::kExitFailed);
    EXPECT_EQ(last.err, "quarin-z17ctl: the last profile cannot be deleted\n");

    // Each kind keeps its own folder.
    EXPECT_EQ(Ctl({"profile", "select", "headset", "0"}).exitCode, ctl::kExitOk);
    EXPECT_TRUE(fs::exists(Folder("HD") / "ProfileList.ini"));
}

TEST_F(CtlProfile, RenameExportAndImport) {
    ASSERT_EQ(Ctl({"profile", "add", "mouse"}).exitCode, ctl::kExitOk);
    EXPECT_EQ(Ctl({"profile", "rename", "mouse", "Aim"}).exitCode, ctl::kExitOk);
    EXPECT_EQ(SelectedProfile("mouse")["profilename"], "Aim");

    const auto before = Snapshot("mouse");
    const CtlRun taken = Ctl({"profile", "rename", "mouse", "PROFILE2"});
    EXPECT_EQ(taken.exitCode, ctl::kExitFailed);
    EXPECT_EQ(taken.err, "quarin-z17ctl: another profile is named 'PROFILE2'\n");
    EXPECT_EQ(Ctl({"profile", "rename", "mouse", "  "}).err, "quarin-z17ctl: the name is blank\n");
    EXPECT_EQ(Ctl({"profile", "rename", "mouse", "a\nb"}).exitCode, ctl::kExitUsage);
    EXPECT_EQ(Snapshot("mouse"), before);

    const std::string file = (folders.Root() / "aim.json").string();
    ASSERT_EQ(Ctl({"profile", "export", "mouse", file}).exitCode, ctl::kExitOk);
    EXPECT_EQ(config::ReadJsonFile(file), SelectedProfile("mouse"));
    const CtlRun imported = Ctl({"profile", "import", "mouse", file});
    ASSERT_EQ(imported.exitCode, ctl::kExitOk) << imported.err;
    EXPECT_EQ(imported.out.substr(0, 7), "2\t-\taim");

    const std::string notProfile = (folders.Root() / "notes.json").string();
    ASSERT_TRUE(config::WriteJsonFile(notProfile, Json::Value(Json::objectValue)));
    const auto beforeImport = Snapshot("mouse");
    const CtlRun refused = Ctl({"profile", "import", "mouse", notProfile});
    EXPECT_EQ(refused.exitCode, ctl::kExitFailed);
    EXPECT_NE(refused.err.find("not a profile"), std::string::npos);
    const std::string none = (folders.Root() / "none.json").string();
    EXPECT_EQ(Ctl({"profile", "import", "mouse", none}).err,
              "quarin-z17ctl: " + none +
                  " cannot be read (No such file or directory); nothing "
                  "was changed\n");
    EXPECT_EQ(Snapshot("mouse"), beforeImport);
}

TEST_F(CtlProfile, MalformedCommandsAreUsageErrorsAndChangeNothing) {
    ASSERT_EQ(Ctl({"profile", "select", "keyboard", "0"}).exitCode, ctl::kExitOk);
    const auto before = Snapshot("keyboard");
    for (const std::vector<std::string>& words :
         std::vector<std::vector<std::string>>{{"profile"},
                                               {"profile", "shred", "keyboard"},
                                               {"profile", "list"},
                                               {"profile", "add", "toaster"},
                                               {"profile", "rename", "keyboard"},
                                               {"profile", "select", "keyboard", "-1"},
                                               {"profile", "select", "keyboard", "1x"},
                                               {"key", "get", "keyboard"},
                                               {"key", "get", "mousepad", "0"},
                                               {"key", "set", "keyboard", "0", "12345"},
                                               {"key", "set", "keyboard", "0", "0x2000"},
                                               {"key", "set", "keyboard", "0", "20002G"},
                                               {"key", "set", "keyboard", "first", "20002C"}}) {
        const CtlRun run = Ctl(words);
        EXPECT_EQ(run.exitCode, ctl::kExitUsage) << words.back();
        EXPECT_TRUE(run.out.empty());
        EXPECT_FALSE(run.err.empty());
    }
    EXPECT_EQ(Ctl({"profile", "select", "keyboard", "5"}).err,
              "quarin-z17ctl: there is no profile 5\n");
    EXPECT_EQ(Snapshot("keyboard"), before);
}

TEST_F(CtlProfile, KeySetStoresTheCodeInTheSelectedProfileOnly) {
    ASSERT_EQ(Ctl({"profile", "add", "keyboard"}).exitCode, ctl::kExitOk);
    const CtlRun original = Ctl({"key", "get", "keyboard", "5"});
    ASSERT_EQ(original.exitCode, ctl::kExitOk) << original.err;
    const int defaultValue =
        SelectedProfile("keyboard")["Device"][0]["KeyList"][5]["Assignment"].asInt();
    char expected[8];
    std::snprintf(expected, sizeof expected, "%06X\n", defaultValue);
    EXPECT_EQ(original.out, expected);

    ASSERT_EQ(Ctl({"key", "set", "keyboard", "5", "a00100"}).exitCode, ctl::kExitOk);
    EXPECT_EQ(Ctl({"key", "get", "keyboard", "5"}).out, "A00100\n");
    const Json::Value entry = SelectedProfile("keyboard")["Device"][0]["KeyList"][5];
    EXPECT_EQ(entry["Assignment"], 0xA00100);
    EXPECT_EQ(entry["DefaultAssignment"], defaultValue) << "the default stays";
    EXPECT_EQ(SelectedProfile("keyboard")["profilename"], "profile1");

    ASSERT_EQ(Ctl({"profile", "select", "keyboard", "1"}).exitCode, ctl::kExitOk);
    EXPECT_EQ(Ctl({"key", "get", "keyboard", "5"}).out, expected) << "profile2 is untouched";

    const auto before = Snapshot("keyboard");
    const CtlRun outside = Ctl({"key", "set", "keyboard", "170", "20002C"});
    EXPECT_EQ(outside.exitCode, ctl::kExitFailed);
    EXPECT_EQ(outside.err, "quarin-z17ctl: there is no key 170 (the profile has keys 0 to 169)\n");
    EXPECT_EQ(Snapshot("keyboard"), before);

    // The mouse has its own, shorter key list.
    EXPECT_EQ(Ctl({"key", "set", "mouse-receiver", "10", "100100"}).exitCode, ctl::kExitOk);
    EXPECT_EQ(Ctl({"key", "get", "mouse", "10"}).out, "100100\n");
    EXPECT_EQ(Ctl({"key", "get", "mouse", "11"}).exitCode, ctl::kExitFailed);
}

TEST_F(CtlProfile, FilesThatCannotBeReadAreLeftAloneAndTheCommandFails) {
    ASSERT_EQ(Ctl({"profile", "add", "keyboard"}).exitCode, ctl::kExitOk);
    const std::string profile = SelectedPath("keyboard");
    fs::remove(profile);
    fs::create_directory(profile);
    const auto before = Snapshot("keyboard");
    const CtlRun get = Ctl({"key", "get", "keyboard", "5"});
    EXPECT_EQ(get.exitCode, ctl::kExitFailed);
    EXPECT_EQ(get.out, "");
    EXPECT_EQ(get.err, "quarin-z17ctl: " + profile +
                           " cannot be read (not a regular file); nothing was changed\n");
    EXPECT_EQ(Ctl({"key", "set", "keyboard", "5", "A00100"}).exitCode, ctl::kExitFailed);
    EXPECT_EQ(Snapshot("keyboard"), before);

    const fs::path list = Folder("keyboard") / "ProfileList.ini";
    fs::remove(list);
    fs::create_directory(list);
    const auto withoutList = Snapshot("keyboard");
    const CtlRun listed = Ctl({"profile", "list", "keyboard"});
    EXPECT_EQ(listed.exitCode, ctl::kExitFailed);
    EXPECT_EQ(listed.out, "");
    EXPECT_NE(listed.err.find(list.string() + " cannot be read"), std::string::npos);
    EXPECT_EQ(Ctl({"profile", "add", "keyboard"}).exitCode, ctl::kExitFailed);
    EXPECT_EQ(Snapshot("keyboard"), withoutList);
}

TEST_F(CtlProfile, ReadingCommandsWriteNothingEvenWithADamagedList) {
    ASSERT_EQ(Ctl({"profile", "add", "keyboard"}).exitCode, ctl::kExitOk);
    ASSERT_EQ(Ctl({"key", "set", "keyboard", "5", "A00100"}).exitCode, ctl::kExitOk);
    std::ofstream(Folder("keyboard") / "ProfileList.ini") << "{ \"profilelist\" : [ ";
    const auto before = Snapshot("keyboard");
    const CtlRun listed = Ctl({"profile", "list", "keyboard"});
    EXPECT_EQ(std::count(listed.out.begin(), listed.out.end(), '\n'), 2) << listed.out;
    EXPECT_EQ(Ctl({"key", "get", "keyboard", "5"}).out, "A00100\n");
    EXPECT_EQ(Snapshot("keyboard"), before);
}
TEST_F(CtlProfile, AFirstRunOnAFullDiskIsReportedNotListed) {
    config::FileCalls calls = config::FileCalls::System();
    calls.write = [](int, const void*, size_t) -> ssize_t { return errno = ENOSPC, -1; };
    const config::ScopedFileCalls full(calls);
    const CtlRun listed = Ctl({"profile", "list", "keyboard"});
    EXPECT_EQ(listed.out, "") << "no profile1 that was never written";
    const CtlRun added = Ctl({"profile", "add", "keyboard"});
    EXPECT_EQ(added.exitCode, ctl::kExitFailed);
    EXPECT_EQ(added.out, "");
    EXPECT_EQ(added.err, "quarin-z17ctl: the profile files cannot be written\n");
    EXPECT_TRUE(fs::is_empty(Folder("keyboard")));
}

} // namespace
