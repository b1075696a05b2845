// Loading and saving a profile document: the rebuild of a missing device record from the
// default document, what survives a save, and files that are broken in every way.

#include "ConfigFolder.h"
#include "config/Hs6533Profiledata.h"
#include "config/KeyboardProfiledata.h"
#include "config/MouseProfiledata.h"

using namespace config;
using test::Parse;

namespace {

const char* const kDefaults = R"({"profilename": "default", "Device": [{
    "LightInfo": {"SelectItem": 2, "Light": 4, "MultiColor": 1},
    "KeyList": [{"Assignment": 66051, "DefaultAssignment": 66051}]}]})";

class ProfileDocumentTest : public test::ConfigFolder {
protected:
    void SetUp() override {
        ConfigFolder::SetUp();
        WriteText("keyboard.Json", kDefaults);
        m_profile.SetDefaultPath(WidePath("keyboard.Json"));
        m_profile.SetProfilePath(WidePath("p.Json"));
    }
    Json::Value DefaultRecord() const { return Parse(kDefaults)["Device"][0]; }
    Json::Value OnDisk() const { return ReadJsonFile(Path("p.Json")); }

    CKeyboardProfiledata m_profile;
};

TEST_F(ProfileDocumentTest, ProfileWithoutDeviceIsCompletedAndKeepsItsNames) {
    WriteText("p.Json", R"({"profilename": "Game", "profileUUID": "2022_07_06_14_05_09_042"})");
    EXPECT_EQ(m_profile.LoadProfile(WidePath("p.Json")), DefaultRecord());
    const Json::Value document = OnDisk();
    EXPECT_EQ(document["profilename"], "Game");
    EXPECT_EQ(document["profileUUID"], "2022_07_06_14_05_09_042");
    EXPECT_EQ(document["Device"][0], DefaultRecord());
}

TEST_F(ProfileDocumentTest, UnusableFilesAreRebuiltFromTheDefaults) {
    const char* const contents[] = {"",
                                    "{",
                                    "[1, 2]",
                                    "5",
                                    "\"text\"",
                                    R"({"Device": "keyboard"})",
                                    R"({"Device": []})",
                                    R"({"Device": [7]})",
                                    R"({"Device": {"0": {}}})",
                                    R"({"Device": [null, {}]})"};
    for (const char* content : contents) {
        WriteText("p.Json", content);
        EXPECT_EQ(m_profile.LoadProfile(WidePath("p.Json")), DefaultRecord()) << content;
        EXPECT_EQ(OnDisk()["Device"][0], DefaultRecord()) << content;
    }
    // A missing file is rebuilt with nothing but the device list.
    EXPECT_EQ(m_profile.LoadProfile(WidePath("new.Json")), DefaultRecord());
    EXPECT_EQ(ReadJsonFile(Path("new.Json")).getMemberNames(), std::vector<std::string>{"Device"});
}

TEST_F(ProfileDocumentTest, ReadableRecordIsUsedAndTheFileLeftAlone) {
    const std::string text = R"({"Device": [{"LightInfo": {"Light": 1}}]} // mine)";
    WriteText("p.Json", text);
    EXPECT_EQ(m_profile.LoadProfile(WidePath("p.Json")), Parse(R"({"LightInfo": {"Light": 1}})"));
    EXPECT_EQ(ReadText("p.Json"), text);
}

TEST_F(ProfileDocumentTest, MissingDefaultsLeaveANullRecordThatReadsAsZeros) {
    m_profile.SetDefaultPath(WidePath("absent.Json"));
    EXPECT_TRUE(m_profile.LoadProfile(WidePath("p.Json")).isNull());
    EXPECT_EQ(OnDisk(), Parse(R"({"Device": [null]})"));
    EXPECT_EQ(m_profile.ReadLightInfo(), LightInfoRecord{});
    EXPECT_TRUE(m_profile.ReadKeyList().empty());
    EXPECT_EQ(m_profile.ReadSystemStages(), SystemStageWords{});
    EXPECT_TRUE(m_profile.DeviceRecord().isNull());
}

TEST_F(ProfileDocumentTest, SaveRereadsTheFileAndStoresAbsentGroupsAsNull) {
    WriteText("p.Json", R"({"profilename": "A", "extra": [1], "Device": [{}, {"other": 1}]})");
    m_profile.LoadProfile(WidePath("p.Json"));
    m_profile.ReadAudioLightInfo();
    m_profile.ReadSystemStages();
    Json::Value renamed = OnDisk();
    renamed["profilename"] = "B";
    WriteJsonFile(Path("p.Json"), renamed);

    ASSERT_TRUE(m_profile.SaveProfile());
    const Json::Value document = OnDisk();
    EXPECT_EQ(document["profilename"], "B");
    EXPECT_EQ(document["extra"], Parse("[1]"));
    EXPECT_EQ(document["Device"][1], Parse(R"({"other": 1})"));
    const Json::Value& record = document["Device"][0];
    EXPECT_EQ(record.getMemberNames(),
              (std::vector<std::string>{"AudioLightInfo", "SystemStages"}));
    EXPECT_TRUE(record["AudioLightInfo"].isNull());
    EXPECT_TRUE(record["SystemStages"].isNull());
}

TEST_F(ProfileDocumentTest, WronglyTypedGroupsReadAsEmptyAndAreReplacedOnWrite) {
    WriteText("p.Json", R"({"Device": [{
        "LightInfo": [1, 2], "AudioLightInfo": "on", "LightList": {"0": 1},
        "KeyList": ["a", 3, null, {"Assignment": "x", "DefaultAssignment": 1.9e30}],
        "SystemStages": [1], "CustomLightMode": {"LightColorInfo": "red"},
        "DPIStages": {"StageActive": "2", "StageDPIs": 5}, "ReportStages": [],
        "CorrectInfo": {"a": 1}, "SystemSetStages": true,
        "EQHzValueInfo": [[], 1, [2, "x", {"value": {}}]], "CustomEQNameInfo": [1, {"Name": 5}]}]})");
    CKeyboardProfiledata keyboard;
    CMouseProfiledata mouse;
    CHs6533Profiledata headset;
    for (CBasicProfiledata* profile : {(CBasicProfiledata*)&keyboard, (CBasicProfiledata*)&mouse,
                                       (CBasicProfiledata*)&headset}) {
        profile->SetDefaultPath(WidePath("keyboard.Json"));
        ASSERT_TRUE(profile->LoadProfile(WidePath("p.Json"))["LightInfo"].isArray());
        EXPECT_EQ(profile->ReadLightInfo(), LightInfoRecord{});
        EXPECT_EQ(profile->ReadAudioLightInfo(), AudioLightRecord{});
        EXPECT_TRUE(profile->ReadLightList().empty());
        const std::vector<KeyListEntry> keys = profile->ReadKeyList();
        ASSERT_EQ(keys.size(), 4u);
        for (const KeyListEntry& key : keys)
            EXPECT_EQ(key.current.code, (std::array<std::uint8_t, 3>{}));
    }
    EXPECT_EQ(keyboard.ReadSystemStages(), SystemStageWords{});
    EXPECT_TRUE(keyboard.ReadCustomLightColors(0, 4).empty());
    EXPECT_TRUE(mouse.ReadDpiStages().empty());
    EXPECT_EQ(mouse.GetDpiStageActive(), 0);
    EXPECT_EQ(mouse.ReadMouseSystem(), SystemStageWords{});
    EXPECT_TRUE(mouse.ReadCorrectInfo().empty());
    EXPECT_EQ(headset.ReadHeadsetSettings(), HeadsetSettings{});
    EXPECT_TRUE(headset.ReadEqPreset(1).empty());
    EXPECT_EQ(headset.ReadEqPreset(2), std::vector<int>(10, 0));
    EXPECT_EQ(headset.ReadCustomEqNames(), (std::vector<std::wstring>{L"", L""}));

    keyboard.SetProfilePath(WidePath("p.Json"));
    keyboard.WriteLightInfo({.light = 9});
    keyboard.WriteKeyList({{{0, {0, 0, 7}}, {}}});
    keyboard.WriteCustomLightColors(1, {{1, 2, 3, 4}});
    ASSERT_TRUE(keyboard.SaveProfile());
    keyboard.LoadProfile(WidePath("p.Json"));
    EXPECT_EQ(keyboard.ReadLightInfo().light, 9);
    EXPECT_EQ(keyboard.ReadKeyList()[0].current.code[2], 7);
    EXPECT_EQ(keyboard.ReadCustomLightColors(1, 1), (std::vector<RgbaColor>{{1, 2, 3, 4}}));
}

// Large files go through the same paths; none of these may exhaust the parser's stack.
TEST_F(ProfileDocumentTest, HugeFilesAreReadWithoutACrash) {
    const std::string big(50 << 20, 'a');
    WriteText("p.Json",
              R"({"profilename": ")" + big + R"(", "Device": [{"LightInfo": {"Light": 3}}]})");
    EXPECT_EQ(m_profile.LoadProfile(WidePath("p.Json"))["LightInfo"]["Light"], 3);
    EXPECT_EQ(OnDisk()["profilename"].asString().size(), big.size());

    WriteText("p.Json", R"({"profilename": ")" + big);
    EXPECT_EQ(m_profile.LoadProfile(WidePath("p.Json")), DefaultRecord());

    WriteText("p.Json", std::string(50 << 20, '['));
    EXPECT_EQ(m_profile.LoadProfile(WidePath("p.Json")), DefaultRecord());
}

} // namespace
