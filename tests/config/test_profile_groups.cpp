// The groups of a device record: how each key is read into its record and written back.

#include "ConfigFolder.h"
#include "config/Hs6533Profiledata.h"
#include "config/KeyboardProfiledata.h"
#include "config/MouseProfiledata.h"

#include <cstdio>

using namespace config;
using test::Parse;

namespace {

class ProfileGroupsTest : public test::ConfigFolder {
protected:
    // A profile object holding `record` as its device record.
    template <class Profile> Profile Loaded(const std::string& record) {
        WriteText("p.Json", "{\"Device\": [" + record + "]}");
        Profile profile;
        profile.SetProfilePath(WidePath("p.Json"));
        profile.LoadProfile(WidePath("p.Json"));
        return profile;
    }
};

TEST_F(ProfileGroupsTest, LightInfoReadsFlagsAsBooleansAndTruncatesToBytes) {
    auto profile = Loaded<CBasicProfiledata>(R"({"LightInfo": {"SelectItem": 1, "Light": 2,
        "Speed": 3, "Fx": 4, "MultiColor": 7, "Red": 300, "Green": 6.9, "Blue": -1,
        "ZZCCLedMode": 8, "CustomGroup": 9, "OldLedmode": 10}})");
    const LightInfoRecord r = profile.ReadLightInfo();
    EXPECT_EQ(std::vector<int>({r.selectItem, r.light, r.speed, r.fx, r.multiColor, r.red, r.green,
                                r.blue, r.zzccLedMode, r.customGroup, r.oldLedMode}),
              std::vector<int>({1, 2, 3, 4, 1, 44, 6, 255, 8, 9, 10}));
    for (const char* multiColor : {"1", "0.5", "-3", "true"}) {
        profile = Loaded<CBasicProfiledata>(std::string(R"({"LightInfo": {"MultiColor": )") +
                                            multiColor + "}}");
        EXPECT_EQ(profile.ReadLightInfo().multiColor, 1) << multiColor;
    }
    EXPECT_EQ(Loaded<CBasicProfiledata>("{}").ReadLightInfo(), LightInfoRecord{});
}

TEST_F(ProfileGroupsTest, LightInfoWriteReplacesTheGroupWithItsElevenKeys) {
    auto profile = Loaded<CBasicProfiledata>(R"({"LightInfo": {"Unknown": 1, "Light": 9}})");
    profile.WriteLightInfo({.selectItem = 5, .multiColor = 1, .red = 255, .oldLedMode = 2});
    EXPECT_EQ(profile.DeviceRecord()["LightInfo"],
              Parse(R"({"SelectItem": 5, "Light": 0, "Speed": 0, "Fx": 0, "MultiColor": 1,
                  "Red": 255, "Green": 0, "Blue": 0, "ZZCCLedMode": 0, "CustomGroup": 0,
                  "OldLedmode": 2})"));
    EXPECT_TRUE(profile.DeviceRecord()["LightInfo"]["MultiColor"].isInt());
}

TEST_F(ProfileGroupsTest, AudioLightInfoRoundTripsWithIntegerFlags) {
    auto profile = Loaded<CKeyboardProfiledata>(R"({"AudioLightInfo": {"AudioMode": 3,
        "BkColorR": 1, "BkColorG": 2, "BkColorB": 3, "FgColorR": 4, "FgColorG": 5,
        "FgColorB": 6, "7ColorFlags": 2, "ColorTypeFlags": false, "Old": 0}})");
    const AudioLightRecord r = profile.ReadAudioLightInfo();
    EXPECT_EQ(r, (AudioLightRecord{3, 1, 2, 3, 4, 5, 6, 1, 0}));
    profile.WriteAudioLightInfo(r);
    EXPECT_EQ(profile.DeviceRecord()["AudioLightInfo"],
              Parse(R"({"AudioMode": 3, "BkColorR": 1, "BkColorG": 2, "BkColorB": 3,
                  "FgColorR": 4, "FgColorG": 5, "FgColorB": 6, "7ColorFlags": 1,
                  "ColorTypeFlags": 0})"));
}

TEST_F(ProfileGroupsTest, LightListMarksNullEffectsAsAbsent) {
    auto profile = Loaded<CBasicProfiledata>(R"({"LightList": [null, {"LEDREGMode": 1,
        "LEDBrightness": 2, "LEDSpeed": 3, "LEDDirection": 4, "LEDMultiColor": 0,
        "red": 5, "green": 6, "blue": 7, "Red": 99}]})");
    EXPECT_EQ(profile.ReadLightList(),
              (std::vector<LightListEntry>{{}, {1, 2, 3, 1, 0, 5, 6, 7, 1}}));
}

TEST_F(ProfileGroupsTest, KeyListUnpacksBothAssignmentsAndWritesOnlyTheCurrentOne) {
    auto profile = Loaded<CBasicProfiledata>(R"({"KeyList": [
        {"Assignment": 66051, "DefaultAssignment": 263430}, {"Assignment": 16777215}]})");
    std::vector<KeyListEntry> keys = profile.ReadKeyList();
    ASSERT_EQ(keys.size(), 2u);
    EXPECT_EQ(keys[0], (KeyListEntry{{0, {1, 2, 3}}, {0, {4, 5, 6}}}));
    EXPECT_EQ(keys[1], (KeyListEntry{{1, {255, 255, 255}}, {1, {0, 0, 0}}}));

    keys[1].current.code = {0x0A, 0x0B, 0x0C};
    keys[1].defaults.code = {9, 9, 9};
    profile.WriteKeyList(keys);
    EXPECT_EQ(profile.DeviceRecord()["KeyList"],
              Parse(R"([{"Assignment": 66051, "DefaultAssignment": 263430},
                  {"Assignment": 658188, "DefaultAssignment": null}])"));
}

TEST_F(ProfileGroupsTest, RecordedLightEffectIsFoundBesideTheListByItsGuidOnly) {
    const std::string effect = R"({"LEDEffectList": [{"LEDREGMode": 1, "LEDDirection": 1,
        "LEDBrightness": 2, "LEDSpeed": 3, "LEDMultiColor": 1, "red": 4, "green": 5,
        "blue": 6, "Time": 70000, "Cyle": -2}, null]})";
    WriteText("effect.light", effect);
    // The same effect where a "Guid" naming a path would reach: the folder's parent.
    const std::string outside = Path("../outside-effect");
    std::ofstream(outside + ".light") << effect;
    WriteText("orbek_light.config",
              R"({"LightInfo": [[{"LightName": "a", "Guid": "nowhere"},
        {"LightName": "b", "Guid": "effect"}, {"LightName": "c", "Guid": "../outside-effect"},
        {"LightName": "d", "Guid": ")" +
                  outside + R"("}, {"LightName": "e", "Guid": ""}]]})");
    auto profile = Loaded<CBasicProfiledata>(R"({"LightInfo": {"SelectItem": 1}})");
    EXPECT_TRUE(profile.ReadLightEffect().empty()); // no configuration loaded yet
    profile.LoadConfig(WidePath("orbek_light.config"));
    profile.ReadLightInfo();
    EXPECT_EQ(profile.ReadLightEffect(),
              (std::vector<LightEffectStep>{{1, 2, 3, 1, 1, 4, 5, 6, 70000, -2}, {}}));
    for (int item : {0, 2, 3, 4, 255}) {
        profile.WriteLightInfo({.selectItem = static_cast<std::uint8_t>(item)});
        EXPECT_TRUE(profile.ReadLightEffect().empty()) << item;
    }
    std::remove((outside + ".light").c_str());
}

TEST_F(ProfileGroupsTest, KeyboardSystemStagesPackSixHalves) {
    auto profile = Loaded<CKeyboardProfiledata>(R"({"SystemStages": {"Repeat": 1,
        "RepeatDelay": 2, "Key6Flag": 3, "PollingRate": 4, "WFlag": 5, "WinFlag": 70000,
        "Other": true}})");
    const SystemStageWords stages = profile.ReadSystemStages();
    EXPECT_EQ(stages.words, (std::array<std::uint32_t, 3>{0x00020001, 0x00040003, 0x11700005}));
    profile.WriteSystemStages(stages);
    EXPECT_EQ(profile.DeviceRecord()["SystemStages"],
              Parse(R"({"Repeat": 1, "RepeatDelay": 2, "Key6Flag": 3, "PollingRate": 4,
                  "WFlag": 5, "WinFlag": 4464, "Other": true})"));
}

TEST_F(ProfileGroupsTest, CustomLightColorsFillNullEntriesWithZeros) {
    auto profile = Loaded<CKeyboardProfiledata>(R"({"CustomLightMode": {
        "CustomLightModeGroupIndex": 2, "LightColorInfo": [
        [{"Red": 1, "Green": 2, "Blue": 3, "Alpha": 4}, null, {"Red": 9}], null]}})");
    EXPECT_EQ(profile.ReadCustomLightGroup(), 2);
    EXPECT_EQ(profile.ReadCustomLightColors(0, 3),
              (std::vector<RgbaColor>{{1, 2, 3, 4}, {0, 0, 0, 0}, {9, 0, 0, 0}}));
    EXPECT_TRUE(profile.ReadCustomLightColors(1, 2).empty());
    const std::string zero = R"({"Red": 0, "Green": 0, "Blue": 0, "Alpha": 0})";
    const Json::Value& modes = profile.DeviceRecord()["CustomLightMode"]["LightColorInfo"];
    EXPECT_EQ(modes[0][1], Parse(zero));
    EXPECT_EQ(modes[1], Parse("[" + zero + "," + zero + "]"));

    profile.WriteCustomLightColors(0, {{7, 7, 7, 7}});
    profile.WriteCustomLightGroup(5);
    EXPECT_EQ(modes[0].size(), 3u);
    EXPECT_EQ(modes[0][0], Parse(R"({"Red": 7, "Green": 7, "Blue": 7, "Alpha": 7})"));
    EXPECT_EQ(profile.ReadCustomLightGroup(), 5);
}

TEST_F(ProfileGroupsTest, DpiStagesKeepSixteenBitsAndTheCurrentStage) {
    auto profile = Loaded<CMouseProfiledata>(R"({"DPIStages": {"StageActive": 1, "StageDPIs": [
        {"StageActive": 1, "StageXY": 0, "StageDPIX": 70000, "StageDPIY": 800,
         "StageColorR": 255, "StageColorG": 0, "StageColorB": 16}, null]}})");
    const std::vector<DpiStage> stages = profile.ReadDpiStages();
    ASSERT_EQ(stages.size(), 2u);
    EXPECT_EQ(stages[0].DpiX(), 4464);
    EXPECT_EQ(stages[0].DpiY(), 800);
    EXPECT_EQ(stages[0].dpiY[0], 0x20); // low byte first
    EXPECT_EQ(std::vector<int>({stages[0].enable, stages[0].red, stages[0].blue}),
              std::vector<int>({1, 255, 16}));
    EXPECT_EQ(stages[1], DpiStage{});
    EXPECT_EQ(profile.GetDpiStageActive(), 1);

    profile.WriteDpiStages(stages);
    profile.WriteDpiStageActive(0);
    const Json::Value& group = profile.DeviceRecord()["DPIStages"];
    EXPECT_EQ(group["StageDPIs"][0]["StageDPIX"], 4464);
    EXPECT_EQ(group["StageDPIs"][1]["StageColorG"], 0);
    EXPECT_EQ(group["StageActive"], 0);
}

TEST_F(ProfileGroupsTest, MouseSystemJoinsTheReportRate) {
    auto profile = Loaded<CMouseProfiledata>(R"({"SystemStages": {"DoubleClickTime": 500,
        "MouseSpeed": 10, "PointerPrecision": 1, "ScorllPage": 3, "WheelScorlllinse": 4},
        "ReportStages": {"StageActive": 2}})");
    SystemStageWords system = profile.ReadMouseSystem();
    EXPECT_EQ(system.words, (std::array<std::uint32_t, 3>{0x000A01F4, 0x00030001, 0x00020004}));
    system.SetValue(5, 3);
    profile.WriteMouseSystem(system);
    EXPECT_EQ(profile.DeviceRecord()["ReportStages"]["StageActive"], 3);
    EXPECT_EQ(profile.DeviceRecord()["SystemStages"]["ScorllPage"], 3);

    profile = Loaded<CMouseProfiledata>(R"({"SystemStages": {"MouseSpeed": 6}})");
    EXPECT_EQ(profile.ReadMouseSystem().words, (std::array<std::uint32_t, 3>{0x00060000, 0, 0}));
}

TEST_F(ProfileGroupsTest, CorrectInfoReadsWideNames) {
    auto profile = Loaded<CMouseProfiledata>(R"({"CorrectInfo": [{"CorrectPixThresh": 1,
        "CorrectMinSq": 2, "CorrectSelect": 3, "CorrectName": "直线"}, {}]})");
    EXPECT_EQ(profile.ReadCorrectInfo(),
              (std::vector<CorrectEntry>{{1, 2, 3, L"直线"}, {0, 0, 0, L""}}));
}

TEST_F(ProfileGroupsTest, HeadsetSettingsUseTheStoredKeyNames) {
    auto profile = Loaded<CHs6533Profiledata>(R"({"SystemSetStages": {"MagicEnable": 1,
        "MagicType": 2, "EqType": 3, "CustomEqSeletIndex": 4, "MicInSelect": 5,
        "MicInValue": -6, "MicMoniterSelect": 7, "MicMoniterValue": 8}})");
    const HeadsetSettings settings = profile.ReadHeadsetSettings();
    EXPECT_EQ(settings, (HeadsetSettings{1, 2, 3, 4, 5, -6, 7, 8}));
    const Json::Value before = profile.DeviceRecord();
    profile.WriteHeadsetSettings(settings);
    EXPECT_EQ(profile.DeviceRecord(), before);
}

TEST_F(ProfileGroupsTest, EqPresetIndexFollowsTheEqualiserType) {
    std::string presets;
    for (int preset = 0; preset <= 12; ++preset)
        presets +=
            (preset ? "," : "") + std::string("[{\"value\": ") + std::to_string(preset) + "}]";
    auto profile = Loaded<CHs6533Profiledata>("{\"EQHzValueInfo\": [" + presets + "]}");
    for (auto [eqType, preset] : {std::pair{0, 1}, {1, 1}, {5, 5}, {12, 12}, {14, 1}, {-1, 1}})
        EXPECT_EQ(profile.ReadEqPreset(eqType)[0], preset) << eqType;

    // Bands missing from a preset are written into the record as 0.
    EXPECT_EQ(profile.DeviceRecord()["EQHzValueInfo"][5].size(), 10u);
    EXPECT_EQ(profile.DeviceRecord()["EQHzValueInfo"][5][9], Parse(R"({"value": 0})"));

    const Json::Value before = profile.DeviceRecord();
    EXPECT_TRUE(profile.ReadEqPreset(CHs6533Profiledata::kCustomEqType).empty());
    profile.WriteEqPreset(CHs6533Profiledata::kCustomEqType, std::vector<int>(10, 3));
    EXPECT_EQ(profile.DeviceRecord(), before);

    profile.WriteEqPreset(0, {-4, 4});
    EXPECT_EQ(profile.ReadEqPreset(1), (std::vector<int>{-4, 4, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST_F(ProfileGroupsTest, CustomEqualisersAndTheirNames) {
    auto profile = Loaded<CHs6533Profiledata>(R"({"CustomEQHzValueInfo": [],
        "CustomEQNameInfo": [{"Name": "Mine"}, {"Name": "Rock", "Extra": 1}]})");
    EXPECT_EQ(profile.ReadCustomEq(1), std::vector<int>(10, 0));
    EXPECT_EQ(profile.DeviceRecord()["CustomEQHzValueInfo"][1][3], Parse(R"({"value": 0})"));
    profile.WriteCustomEq(1, std::vector<int>(10, 6));
    EXPECT_EQ(profile.ReadCustomEq(1), std::vector<int>(10, 6));

    EXPECT_EQ(profile.ReadCustomEqNames(), (std::vector<std::wstring>{L"Mine", L"Rock"}));
    profile.WriteCustomEqNames({L"Jazz 爵士"});
    EXPECT_EQ(profile.DeviceRecord()["CustomEQNameInfo"], Parse(R"([{"Name": "Jazz 爵士"}])"));
}

} // namespace
