// The macro library's operations on the files of a user folder, and what deleting a macro does
// to the key assignments that name macros by position.

#include "ConfigFolder.h"
#include "config/AtomicFile.h"
#include "config/MacroLibrary.h"
#include "support/DenyOpening.h"

#include <cerrno>

using namespace config;

namespace {

using namespace std::chrono;

// Every id is made at the same instant unless a test moves it.
class MacroLibraryTest : public test::ConfigFolder {
protected:
    void SetUp() override {
        ConfigFolder::SetUp();
        library.SetMacroFolder(Folder().string() + "/");
    }
    void WriteIndex(const std::vector<std::string>& names) {
        std::vector<MacroInfo> macros;
        for (std::size_t i = 0; i < names.size(); ++i)
            macros.push_back({names[i], "g" + std::to_string(i)});
        ASSERT_EQ(WriteMacroIndex(library.MacroFolder(), macros), kMacroFileDone);
        library.LoadMacroList();
    }
    std::vector<std::string> IndexNames() {
        std::vector<std::string> names;
        for (const MacroInfo& m : ReadMacroIndex(library.MacroFolder()).macros)
            names.push_back(m.name);
        return names;
    }

    system_clock::time_point now = system_clock::time_point(hours(480000));
    CMacroLibrary library{[this] { return now; }};
};

KeyListEntry Key(std::uint32_t current, std::uint32_t defaults) {
    auto bytes = [](std::uint32_t v) {
        return std::array<std::uint8_t, 3>{static_cast<std::uint8_t>(v >> 16),
                                           static_cast<std::uint8_t>(v >> 8),
                                           static_cast<std::uint8_t>(v)};
    };
    return {{0, bytes(current)}, {0, bytes(defaults)}};
}

TEST_F(MacroLibraryTest, AddTakesTheFirstFreeNameAnyCaseAndAFreshId) {
    WriteIndex({"macro_1", "MACRO_3"});
    const std::string id = library.AddMacro();
    EXPECT_EQ(id, MakeTimestampId(now));
    EXPECT_EQ(IndexNames(), (std::vector<std::string>{"macro_1", "MACRO_3", "macro_2"}));
    EXPECT_EQ(library.GetSelectedMacroIndex(), 2);
    EXPECT_FALSE(std::filesystem::exists(Path(id + ".mac"))) << "the first save makes it";

    const std::string second = library.AddMacro();
    EXPECT_EQ(library.Macros().back().name, "macro_4");
    EXPECT_NE(second, id) << "two macros made in one millisecond must not share a file";
    EXPECT_EQ(second, MakeTimestampId(now + milliseconds(1)));
}

TEST_F(MacroLibraryTest, TheFiftyFirstAddIsRefusedAndChangesNothing) {
    for (int i = 0; i < 50; ++i) {
        now += milliseconds(1);
        ASSERT_FALSE(library.AddMacro().empty()) << i;
    }
    const std::string before = ReadText("macro.config");
    EXPECT_EQ(library.AddMacro(), "");
    EXPECT_EQ(ReadText("macro.config"), before);
    EXPECT_EQ(library.Macros().size(), 50u);
    EXPECT_EQ(library.ImportMacro(Path("macro.config")), "");
}

TEST_F(MacroLibraryTest, RenameRefusesNoSelectionEmptyAndTakenNames) {
    WriteIndex({"first", "Second"});
    EXPECT_EQ(library.RenameMacro("x").index, -1) << "nothing selected";
    library.SelectMacro(0);
    EXPECT_EQ(library.RenameMacro(" \t "), (MacroRename{"IsEmpty", -1}));
    EXPECT_EQ(library.RenameMacro("FIRST"), (MacroRename{"", 0})) << "its own name, any case";
    EXPECT_EQ(library.RenameMacro("second"), (MacroRename{"", 0}));

    ASSERT_EQ(library.SaveMacro({}), kMacroFileDone);
    EXPECT_EQ(library.RenameMacro("  Third "), (MacroRename{"Third", 0}));
    EXPECT_EQ(IndexNames(), (std::vector<std::string>{"Third", "Second"}));
    EXPECT_EQ(library.LoadMacroEvents().info.name, "first") << "until the next save";
}

TEST_F(MacroLibraryTest, SaveAndLoadGoThroughTheSelectedMacrosFile) {
    WriteIndex({"one"});
    EXPECT_EQ(library.SaveMacro({}), kMacroFileWriteFailed) << "nothing selected";
    library.SelectMacro(0);
    const std::vector<MacroEvent> events{{kMacroMouseButton, true, 1, 30}};
    ASSERT_EQ(library.SaveMacro(events), kMacroFileDone);
    const MacroEventsRead read = library.LoadMacroEvents();
    EXPECT_EQ(read.info, (MacroInfo{"one", "g0"}));
    EXPECT_EQ(read.events, events);

    WriteText("g0.mac", "kept as it is");
    ScopedFileCalls denied(test::DenyOpening("g0.mac"));
    EXPECT_EQ(library.SaveMacro({}), kMacroFileRefused);
    EXPECT_EQ(ReadText("g0.mac"), "kept as it is");
}

TEST_F(MacroLibraryTest, AnIndexThatCannotBeReadIsNeverReplaced) {
    WriteIndex({"one", "two"});
    library.SelectMacro(1);
    const std::string before = ReadText("macro.config");
    ScopedFileCalls denied(test::DenyOpening("macro.config"));
    EXPECT_EQ(library.AddMacro(), "");
    EXPECT_EQ(library.RenameMacro("new"), MacroRename{});
    EXPECT_EQ(library.DeleteMacro(), -1);
    EXPECT_EQ(ReadText("macro.config"), before);
    EXPECT_EQ(library.LoadMacroList(), ReadState::kUnreadable);
}

TEST_F(MacroLibraryTest, DeletingTheFirstOfThreeMovesTheOthersAndTheirKeys) {
    WriteIndex({"a", "b", "c"});
    for (const char* id : {"g0", "g1", "g2"})
        WriteText(std::string(id) + ".mac", "{}");
    std::vector<KeyListEntry> keys{Key(0x700000, 0x200004), Key(0x710203, 0x200005),
                                   Key(0x700101, 0x200006), Key(0x200007, 0x200007)};

    // The panel's steps: a second question because key 0 names macro 0, then the keys.
    EXPECT_EQ(KeysNamingMacro(keys, 0), std::vector<int>{0});
    EXPECT_TRUE(ShiftMacroReferences(keys, 0));
    EXPECT_EQ(keys[0], Key(0x200004, 0x200004)) << "back to its default";
    EXPECT_EQ(keys[1], Key(0x710103, 0x200005)) << "the third macro is now the second";
    EXPECT_EQ(keys[2], Key(0x700001, 0x200006));
    EXPECT_EQ(keys[3], Key(0x200007, 0x200007));

    library.SelectMacro(0);
    EXPECT_EQ(library.DeleteMacro(), 0);
    EXPECT_EQ(IndexNames(), (std::vector<std::string>{"b", "c"}));
    EXPECT_EQ(library.GetSelectedMacroIndex(), -1);
    EXPECT_FALSE(std::filesystem::exists(Path("g0.mac")));
    EXPECT_TRUE(std::filesystem::exists(Path("g1.mac")));
    EXPECT_EQ(library.DeleteMacro(), -1) << "nothing selected";

    std::vector<KeyListEntry> untouched{Key(0x700000, 0x200004)};
    EXPECT_TRUE(KeysNamingMacro(untouched, 1).empty());
    EXPECT_FALSE(ShiftMacroReferences(untouched, 1));
}

TEST_F(MacroLibraryTest, AnIdNamingAnotherFolderIsNeverRemoved) {
    std::filesystem::create_directory(Folder() / "user");
    library.SetMacroFolder(Folder().string() + "/user/");
    WriteText("outside.mac", "not a macro of this library");
    ASSERT_EQ(WriteMacroIndex(library.MacroFolder(), {{"odd", "../outside"}}), kMacroFileDone);
    library.LoadMacroList();
    library.SelectMacro(0);
    EXPECT_EQ(library.DeleteMacro(), 0);
    EXPECT_TRUE(std::filesystem::exists(Path("outside.mac")));
}

TEST_F(MacroLibraryTest, ImportCopiesTheFileUnderANewEntryAndExportCopiesItOut) {
    const std::string file = "{\"Guid\": \"theirs\", \"MacroName\": \"x\", \"Events\": []}\n";
    WriteText("from.mac", file);
    EXPECT_EQ(library.ImportMacro(""), "");
    const std::string id = library.ImportMacro(Path("from.mac"));
    ASSERT_FALSE(id.empty());
    EXPECT_EQ(IndexNames(), std::vector<std::string>{"macro_1"});
    EXPECT_EQ(ReadText(id + ".mac"), file);
    EXPECT_EQ(library.LoadMacroEvents().info.guid, "theirs") << "until the next save";

    ASSERT_EQ(library.ExportMacro(Path("to.mac")), kMacroFileDone);
    EXPECT_EQ(ReadText("to.mac"), file);
    EXPECT_EQ(library.ExportMacro(""), kMacroFileWriteFailed);

    EXPECT_EQ(library.ImportMacro(Path("none.mac")), "");
    EXPECT_EQ(IndexNames(), std::vector<std::string>{"macro_1"})
        << "the entry made for a file that is not there goes again";
}

} // namespace
