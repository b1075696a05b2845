// The macro index and macro files: what is written, what readers accept, and that files the
// program cannot read are told apart from missing ones and left alone.

#include "ConfigFolder.h"
#include "config/AtomicFile.h"
#include "config/MacroFiles.h"
#include "support/DenyOpening.h"

#include <cerrno>

using namespace config;

namespace {

class MacroFileTest : public test::ConfigFolder {
protected:
    std::string FolderPath() const { return Folder().string() + "/"; }
};

TEST_F(MacroFileTest, AMacroFileIsWrittenWithTextDelaysAndReadBack) {
    const std::vector<MacroEvent> events{
        {kMacroKey, true, 4, 120}, {kMacroKey, false, 4, 0}, {kMacroModifierKey, true, 2, 65535}};
    ASSERT_EQ(WriteMacroEvents(Path("a.mac"), {"mine", "a"}, events), kMacroFileDone);

    const Json::Value written = test::Parse(ReadText("a.mac"));
    EXPECT_EQ(written["MacroName"].asString(), "mine");
    EXPECT_EQ(written["Guid"].asString(), "a");
    EXPECT_EQ(written["Version"].asInt(), 64);
    EXPECT_EQ(written["Events"][0]["Delay"], Json::Value("120"));
    EXPECT_EQ(written["Events"][0]["Action"].asString(), "down");
    EXPECT_EQ(written["Events"][1]["Action"].asString(), "up");
    EXPECT_EQ(written["Events"][2]["Type"].asInt(), 9);

    const MacroEventsRead read = ReadMacroEvents(Path("a.mac"));
    EXPECT_EQ(read.state, ReadState::kRead);
    EXPECT_EQ(read.info, (MacroInfo{"mine", "a"}));
    EXPECT_EQ(read.events, events);
}

TEST_F(MacroFileTest, DelaysAreReadFromTextOrIntegersAndCappedAt65535) {
    EXPECT_EQ(MacroDelayFromJson(Json::Value("70000")), 65535);
    EXPECT_EQ(MacroDelayFromJson(Json::Value("65535")), 65535);
    EXPECT_EQ(MacroDelayFromJson(Json::Value("99999999999999999999999")), 65535);
    EXPECT_EQ(MacroDelayFromJson(Json::Value(250)), 250) << "shoot files write integers";
    EXPECT_EQ(MacroDelayFromJson(Json::Value(70000)), 65535);
    EXPECT_EQ(MacroDelayFromJson(Json::Value(-3)), 0);
    EXPECT_EQ(MacroDelayFromJson(Json::Value("12ms")), 0);
    EXPECT_EQ(MacroDelayFromJson(Json::Value()), 0);

    const MacroEvent odd =
        MacroEventFromJson(test::Parse(R"({"Type": 300, "Action": "Down", "Button": "4"})"));
    EXPECT_EQ(odd, (MacroEvent{0, false, 0, 0})) << "values out of their range read as 0";
}

TEST_F(MacroFileTest, TheIndexListsEveryEntryAndToldStatesApart) {
    EXPECT_EQ(ReadMacroIndex(FolderPath()).state, ReadState::kMissing);
    WriteText("macro.config", "{\"MacroInfo\": [");
    EXPECT_EQ(ReadMacroIndex(FolderPath()).state, ReadState::kDamaged);
    EXPECT_TRUE(ReadMacroIndex(FolderPath()).macros.empty());

    ASSERT_EQ(WriteMacroIndex(FolderPath(), {{"one", "g1"}, {"two", "g2"}}), kMacroFileDone);
    const Json::Value written = test::Parse(ReadText("macro.config"));
    EXPECT_EQ(written["MacroInfo"][1]["MacroName"].asString(), "two");
    EXPECT_EQ(written["MacroInfo"][1]["Guid"].asString(), "g2");

    WriteText("macro.config",
              R"({"MacroInfo": [{"MacroName": "one", "Guid": "g1"}, 7, {"Guid": "g3"}]})");
    const MacroIndexRead read = ReadMacroIndex(FolderPath());
    EXPECT_EQ(read.macros, (std::vector<MacroInfo>{{"one", "g1"}, {}, {"", "g3"}}))
        << "a key names a macro by position, so odd entries keep theirs";

    ScopedFileCalls denied(test::DenyOpening("macro.config"));
    const MacroIndexRead refused = ReadMacroIndex(FolderPath());
    EXPECT_TRUE(refused.Refused());
    EXPECT_TRUE(refused.macros.empty());
}

TEST_F(MacroFileTest, CopiesAreByteForByteAndAMissingOrUnreadableSourceTouchesNothing) {
    const std::string odd = "\xEF\xBB\xBF{ \"Events\" : [ ],\r\n\"Version\":64 }  \n";
    WriteText("in.mac", odd);
    ASSERT_EQ(CopyMacroFile(Path("in.mac"), Path("out.mac")), kMacroFileDone);
    EXPECT_EQ(ReadText("out.mac"), odd);

    WriteText("keep.mac", "kept");
    EXPECT_EQ(CopyMacroFile(Path("none.mac"), Path("keep.mac")), kMacroFileSourceMissing);
    {
        ScopedFileCalls denied(test::DenyOpening("in.mac"));
        EXPECT_EQ(CopyMacroFile(Path("in.mac"), Path("keep.mac")), kMacroFileRefused);
    }
    std::filesystem::create_directory(Folder() / "dir.mac");
    EXPECT_EQ(CopyMacroFile(Path("dir.mac"), Path("keep.mac")), kMacroFileRefused);
    EXPECT_EQ(ReadText("keep.mac"), "kept");
}

TEST_F(MacroFileTest, OnlyPlainIdsNameMacroFiles) {
    EXPECT_TRUE(IsPlainMacroId("2024_01_02_03_04_05_006"));
    EXPECT_FALSE(IsPlainMacroId(""));
    EXPECT_FALSE(IsPlainMacroId(".."));
    EXPECT_FALSE(IsPlainMacroId("../profile"));
    EXPECT_FALSE(IsPlainMacroId("/etc/passwd"));
    EXPECT_FALSE(IsPlainMacroId("..\\profile"));
    EXPECT_FALSE(IsPlainMacroId(std::string("a\nb")));
}

} // namespace
