// quarin-z17ctl's macro commands on the program's macro library in a private XDG_DATA_HOME:
// what they print, the files afterwards, and that refused commands change nothing.

#include "CtlRun.h"
#include "config/MacroFiles.h"
#include "config/MacroLibrary.h"
#include "ctl/MacroCommands.h"
#include "ctl/ProfileCommands.h"
#include "support/DataFolders.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

using test::CtlRun;

std::string Bytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class CtlMacro : public ::testing::Test {
protected:
    // Runs "macro ...", "profile ..." or "key ..." with the words after the command.
    CtlRun Ctl(const std::vector<std::string>& words) {
        const std::vector<std::string> args(words.begin() + 1, words.end());
        return test::RunCaptured([&](const ctl::Output& output) {
            if (words[0] == "macro")
                return ctl::RunMacroCommand(args, output);
            return words[0] == "profile" ? ctl::RunProfileCommand(args, output)
                                         : ctl::RunKeyCommand(args, output);
        });
    }
    fs::path Folder(const char* device) const {
        return folders.UserData() / "QUARIN Z17 Keyboard" / device;
    }
    std::string FolderText(const char* device) const { return Folder(device).string() + "/"; }
    // Every file of the device folder, byte for byte.
    std::map<std::string, std::string> Snapshot(const char* device) const {
        std::map<std::string, std::string> files;
        for (const auto& entry : fs::directory_iterator(Folder(device)))
            files[entry.path().filename()] = Bytes(entry.path());
        return files;
    }
    // Three macros; the second has two events on file.
    void PrepareLibrary(const char* device) {
        fs::create_directories(Folder(device));
        const std::vector<config::MacroInfo> macros = {{"Copy", "2026_01_01_10_00_00_001"},
                                                       {"Burst", "2026_01_01_10_00_00_002"},
                                                       {"Spare", "2026_01_01_10_00_00_003"}};
        ASSERT_EQ(config::WriteMacroIndex(FolderText(device), macros), config::kMacroFileDone);
        ASSERT_EQ(
            config::WriteMacroEvents(
                config::MacroEventsPath(FolderText(device), macros[1].guid), macros[1],
                {{config::kMacroKey, true, 4, 30}, {config::kMacroMouseButton, false, 2, 65535}}),
            config::kMacroFileDone);
    }

    test::DataFolders folders;
};

TEST_F(CtlMacro, ListAndShowThePreparedLibrary) {
    PrepareLibrary("keyboard");
    const std::string list = "0\tCopy\t2026_01_01_10_00_00_001\n"
                             "1\tBurst\t2026_01_01_10_00_00_002\n"
                             "2\tSpare\t2026_01_01_10_00_00_003\n";
    const auto before = Snapshot("keyboard");
    EXPECT_EQ(Ctl({"macro", "list", "keyboard"}).out, list);
    EXPECT_EQ(Ctl({"macro", "list", "keyboard-receiver"}).out, list)
        << "the receiver shares the keyboard's library";
    const CtlRun shown = Ctl({"macro", "show", "keyboard", "1"});
    EXPECT_EQ(shown.exitCode, ctl::kExitOk) << shown.err;
    EXPECT_EQ(shown.out, "10\tdown\t4\t30\n1\tup\t2\t65535\n");
    const CtlRun unsaved = Ctl({"macro", "show", "keyboard", "2"});
    EXPECT_EQ(unsaved.exitCode, ctl::kExitOk) << "a macro never saved has no events";
    EXPECT_EQ(unsaved.out, "");
    EXPECT_EQ(Snapshot("keyboard"), before) << "list and show only read";

    const CtlRun mouse = Ctl({"macro", "list", "mouse-receiver"});
    EXPECT_EQ(mouse.exitCode, ctl::kExitOk);
    EXPECT_EQ(mouse.out, "") << "the mouse keeps its own library";
    PrepareLibrary("mouse");
    EXPECT_EQ(Ctl({"macro", "list", "mouse"}).out, list);
}

TEST_F(CtlMacro, AddUpToFiftyThenRefuse) {
    for (int i = 0; i < config::kMaxLibraryMacros; ++i) {
        const CtlRun added = Ctl({"macro", "add", "mouse"});
        ASSERT_EQ(added.exitCode, ctl::kExitOk) << added.err;
        const std::string head = std::to_string(i) + "\tmacro_" + std::to_string(i + 1) + "\t";
        ASSERT_EQ(added.out.substr(0, head.size()), head);
    }
    const auto before = Snapshot("mouse");
    const CtlRun refused = Ctl({"macro", "add", "mouse"});
    EXPECT_EQ(refused.exitCode, ctl::kExitFailed);
    EXPECT_EQ(refused.err,
              "quarin-z17ctl: there are 50 macros already; delete one to add another\n");
    EXPECT_EQ(Snapshot("mouse"), before);
    EXPECT_EQ(config::ReadMacroIndex(FolderText("mouse")).macros.size(), 50u);
}

TEST_F(CtlMacro, RenameRefusesBlankAndTakenNames) {
    PrepareLibrary("keyboard");
    ASSERT_EQ(Ctl({"macro", "rename", "keyboard", "2", "  Paste "}).exitCode, ctl::kExitOk);
    EXPECT_EQ(config::ReadMacroIndex(FolderText("keyboard")).macros[2].name, "Paste");
    const auto before = Snapshot("keyboard");
    EXPECT_EQ(Ctl({"macro", "rename", "keyboard", "0", "BURST"}).err,
              "quarin-z17ctl: a macro is named 'BURST' already\n");
    EXPECT_EQ(Ctl({"macro", "rename", "keyboard", "0", "copy"}).exitCode, ctl::kExitFailed)
        << "its own name in another case";
    EXPECT_EQ(Ctl({"macro", "rename", "keyboard", "0", " "}).err,
              "quarin-z17ctl: the name is blank\n");
    EXPECT_EQ(Ctl({"macro", "rename", "keyboard", "0", "a\tb"}).exitCode, ctl::kExitUsage);
    EXPECT_EQ(Snapshot("keyboard"), before);
    EXPECT_EQ(Ctl({"macro", "rename", "keyboard", "0", config::kMacroNameEmpty}).exitCode,
              ctl::kExitOk)
        << "a name that reads like the blank-name result is still a name";
    EXPECT_EQ(config::ReadMacroIndex(FolderText("keyboard")).macros[0].name,
              config::kMacroNameEmpty);
}

TEST_F(CtlMacro, DeleteFixesTheSelectedProfilesKeys) {
    PrepareLibrary("keyboard");
    ASSERT_EQ(Ctl({"profile", "add", "keyboard"}).exitCode, ctl::kExitOk);
    const std::string default5 = Ctl({"key", "get", "keyboard", "5"}).out;
    ASSERT_EQ(Ctl({"key", "set", "keyboard", "5", "700100"}).exitCode, ctl::kExitOk);
    ASSERT_EQ(Ctl({"key", "set", "keyboard", "9", "710203"}).exitCode, ctl::kExitOk);
    ASSERT_EQ(Ctl({"key", "set", "keyboard", "12", "700100"}).exitCode, ctl::kExitOk);

    const auto before = Snapshot("keyboard");
    const CtlRun refused = Ctl({"macro", "delete", "keyboard", "1"});
    EXPECT_EQ(refused.exitCode, ctl::kExitFailed);
    EXPECT_EQ(refused.err, "quarin-z17ctl: keys 5, 12 of the selected profile name macro 1; give "
                           "--shift to delete it and give them their default assignments\n");
    EXPECT_EQ(Snapshot("keyboard"), before);

    const CtlRun shifted = Ctl({"macro", "delete", "keyboard", "--shift", "1"});
    ASSERT_EQ(shifted.exitCode, ctl::kExitOk) << shifted.err;
    EXPECT_EQ(Ctl({"key", "get", "keyboard", "5"}).out, default5);
    EXPECT_EQ(Ctl({"key", "get", "keyboard", "9"}).out, "710103\n") << "the later macro moved up";
    EXPECT_EQ(Ctl({"macro", "list", "keyboard"}).out,
              "0\tCopy\t2026_01_01_10_00_00_001\n1\tSpare\t2026_01_01_10_00_00_003\n");
    EXPECT_FALSE(fs::exists(Folder("keyboard") / "2026_01_01_10_00_00_002.mac"));

    // No key names macro 0: no --shift is needed, and key 9 still follows its macro.
    ASSERT_EQ(Ctl({"macro", "delete", "keyboard", "0"}).exitCode, ctl::kExitOk);
    EXPECT_EQ(Ctl({"key", "get", "keyboard", "9"}).out, "710003\n");
    EXPECT_EQ(Ctl({"macro", "list", "keyboard"}).out, "0\tSpare\t2026_01_01_10_00_00_003\n");
}

TEST_F(CtlMacro, ImportAndExportCopyByteForByte) {
    PrepareLibrary("keyboard");
    const fs::path source = folders.Root() / "shared.mac";
    const std::string text =
        "{ \"MacroName\" : \"Shared\", \"Guid\" : \"g-7\",\r\n  \"Events\" : [ { \"Type\" : 9, "
        "\"Action\" : \"down\", \"Button\" : 2, \"Delay\" : \"15\" } ], \"Version\" : 64 }\r\n";
    std::ofstream(source, std::ios::binary) << text;

    const CtlRun imported = Ctl({"macro", "import", "keyboard", source.string()});
    ASSERT_EQ(imported.exitCode, ctl::kExitOk) << imported.err;
    EXPECT_EQ(imported.out.substr(0, 10), "3\tmacro_1\t");
    EXPECT_EQ(Ctl({"macro", "show", "keyboard", "3"}).out, "9\tdown\t2\t15\n");
    const std::string id = config::ReadMacroIndex(FolderText("keyboard")).macros[3].guid;
    EXPECT_EQ(Bytes(config::MacroEventsPath(FolderText("keyboard"), id)), text);

    const fs::path copy = folders.Root() / "copy.mac";
    ASSERT_EQ(Ctl({"macro", "export", "keyboard", "3", copy.string()}).exitCode, ctl::kExitOk);
    EXPECT_EQ(Bytes(copy), text);
    ASSERT_EQ(Ctl({"macro", "export", "keyboard", "1", copy.string()}).exitCode, ctl::kExitOk);
    EXPECT_EQ(Bytes(copy), Bytes(Folder("keyboard") / "2026_01_01_10_00_00_002.mac"));

    const CtlRun unsaved = Ctl({"macro", "export", "keyboard", "2", copy.string()});
    EXPECT_EQ(unsaved.exitCode, ctl::kExitFailed);
    EXPECT_NE(unsaved.err.find("no events file yet"), std::string::npos);
    EXPECT_EQ(Bytes(copy), Bytes(Folder("keyboard") / "2026_01_01_10_00_00_002.mac"))
        << "a failed export leaves the destination";
}

TEST_F(CtlMacro, RefusedCommandsChangeNoFile) {
    PrepareLibrary("keyboard");
    const fs::path notMacro = folders.Root() / "notes.mac";
    std::ofstream(notMacro) << "not json";
    const std::string missing = (folders.Root() / "none.mac").string();
    const auto before = Snapshot("keyboard");
    struct Case {
        std::vector<std::string> words;
        int exitCode;
    };
    for (const Case& c : std::vector<Case>{
             {{"macro"}, ctl::kExitUsage},
             {{"macro", "shred", "keyboard"}, ctl::kExitUsage},
             {{"macro", "list"}, ctl::kExitUsage},
             {{"macro", "list", "toaster"}, ctl::kExitUsage},
             {{"macro", "add", "mousepad"}, ctl::kExitUsage},
             {{"macro", "show", "keyboard", "one"}, ctl::kExitUsage},
             {{"macro", "show", "keyboard", "-1"}, ctl::kExitUsage},
             {{"macro", "rename", "keyboard", "0"}, ctl::kExitUsage},
             {{"macro", "delete", "keyboard", "0", "--force"}, ctl::kExitUsage},
             {{"macro", "add", "keyboard", "--shift"}, ctl::kExitUsage},
             {{"macro", "export", "keyboard", "1"}, ctl::kExitUsage},
             {{"macro", "show", "keyboard", "3"}, ctl::kExitFailed},
             {{"macro", "delete", "keyboard", "7"}, ctl::kExitFailed},
             {{"macro", "rename", "keyboard", "3", "New"}, ctl::kExitFailed},
             {{"macro", "import", "keyboard", missing}, ctl::kExitFailed},
             {{"macro", "import", "keyboard", notMacro.string()}, ctl::kExitFailed},
         }) {
        const CtlRun run = Ctl(c.words);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.words.back();
        EXPECT_TRUE(run.out.empty()) << c.words.back();
        EXPECT_FALSE(run.err.empty()) << c.words.back();
    }
    EXPECT_EQ(Ctl({"macro", "show", "keyboard", "3"}).err,
              "quarin-z17ctl: there is no macro 3 (the library has macros 0 to 2)\n");
    EXPECT_EQ(Ctl({"macro", "import", "keyboard", missing}).err,
              "quarin-z17ctl: there is no file " + missing + "\n");
    EXPECT_EQ(Snapshot("keyboard"), before);
    EXPECT_FALSE(fs::exists(folders.Root() / "none.mac"));

    // An index that is there but cannot be read is left alone.
    fs::remove(Folder("keyboard") / config::kMacroIndexFileName);
    fs::create_directory(Folder("keyboard") / config::kMacroIndexFileName);
    const CtlRun blocked = Ctl({"macro", "add", "keyboard"});
    EXPECT_EQ(blocked.exitCode, ctl::kExitFailed);
    EXPECT_NE(blocked.err.find("cannot be read"), std::string::npos);
    EXPECT_TRUE(fs::is_directory(Folder("keyboard") / config::kMacroIndexFileName));
}

} // namespace
