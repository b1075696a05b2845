// The music styles' file: the default copy taking the place of a missing or broken user file,
// the record read and written back, clamped values, and the colour sent to the recorder.

#include "ConfigFolder.h"
#include "config/AudioStyleFile.h"

#include <fstream>

namespace {

using config::AudioStyleSet;

class AudioStyleFileTest : public test::ConfigFolder {
protected:
    void WriteDefaults() {
        std::ofstream(Path("default.json")) << R"({"Device":{"AudioLightInfo":{
            "nAudioStyle":2,"nStyleName1":"一","nStyleName3":"three",
            "nStyleR2":0,"nStyleG2":0,"nStyleB2":200}}})";
    }
};

TEST_F(AudioStyleFileTest, AMissingOrBrokenUserFileIsReplacedByTheDefaultCopy) {
    WriteDefaults();
    Json::Value device = config::LoadAudioStyleDocument(Path("user.json"), Path("default.json"));
    AudioStyleSet set = config::ReadAudioStyle(device["AudioLightInfo"]);
    EXPECT_EQ(set.current, 2);
    EXPECT_EQ(set.names[0], L"一");
    EXPECT_EQ(set.names[1], L"") << "a missing name reads empty";
    EXPECT_EQ(set.Blue(2), 200);
    EXPECT_EQ(config::ReadJsonFile(Path("user.json")), config::ReadJsonFile(Path("default.json")));

    std::ofstream(Path("user.json")) << "{ not json";
    device = config::LoadAudioStyleDocument(Path("user.json"), Path("default.json"));
    EXPECT_EQ(config::ReadAudioStyle(device["AudioLightInfo"]).Blue(2), 200);

    // A "Device" that is no object counts as none; the panel looks up its members.
    std::ofstream(Path("user.json")) << R"({"Device":[{}]})";
    device = config::LoadAudioStyleDocument(Path("user.json"), Path("default.json"));
    EXPECT_EQ(config::ReadAudioStyle(device["AudioLightInfo"]).Blue(2), 200);
    std::ofstream(Path("default.json")) << R"({"Device":"none"})";
    std::ofstream(Path("user.json")) << R"({"Device":7})";
    device = config::LoadAudioStyleDocument(Path("user.json"), Path("default.json"));
    ASSERT_TRUE(device.isObject());
    EXPECT_EQ(config::ReadAudioStyle(device["AudioLightInfo"]).current, 0);
}

TEST_F(AudioStyleFileTest, EditedStylesAreSavedUnderDeviceAndTheResetBringsTheDefaultsBack) {
    WriteDefaults();
    Json::Value device = config::LoadAudioStyleDocument(Path("user.json"), Path("default.json"));
    AudioStyleSet set = config::ReadAudioStyle(device["AudioLightInfo"]);
    set.current = 3;
    set.names[3] = L"夜";
    set.colours[9] = 12;
    config::WriteAudioStyle(set, device["AudioLightInfo"]);
    ASSERT_TRUE(config::SaveAudioStyleDocument(Path("user.json"), device));

    const Json::Value saved = config::ReadJsonFile(Path("user.json"));
    EXPECT_EQ(saved["Device"]["AudioLightInfo"]["nAudioStyle"].asInt(), 3);
    EXPECT_EQ(saved["Device"]["AudioLightInfo"]["nStyleName4"].asString(), "夜");
    EXPECT_EQ(saved["Device"]["AudioLightInfo"]["nStyleR3"].asInt(), 12);
    EXPECT_TRUE(saved["Device"]["AudioLightInfo"]["nStyleR3"].isNumeric());
    const AudioStyleSet again = config::ReadAudioStyle(
        config::LoadAudioStyleDocument(Path("user.json"), Path("default.json"))["AudioLightInfo"]);
    EXPECT_EQ(again.names, set.names);
    EXPECT_EQ(again.colours, set.colours);

    device = config::ResetAudioStyleDocument(Path("user.json"), Path("default.json"));
    EXPECT_EQ(config::ReadAudioStyle(device["AudioLightInfo"]).current, 2);
    EXPECT_EQ(config::ReadJsonFile(Path("user.json")), config::ReadJsonFile(Path("default.json")));
}

TEST(AudioStyleRecord, ValuesOutOfRangeAreHeldAtTheirEnds) {
    Json::Value info;
    info["nAudioStyle"] = 9;
    info["nStyleR0"] = 300;
    info["nStyleG0"] = -5;
    info["nStyleName2"] = 7;
    const AudioStyleSet set = config::ReadAudioStyle(info);
    EXPECT_EQ(set.current, 3);
    EXPECT_EQ(set.Red(0), 255);
    EXPECT_EQ(set.Green(0), 0);
    EXPECT_EQ(set.names[1], L"");
}

TEST(AudioStyleRecord, TheStyleColourPayloadSendsGreenZeroAsOne) {
    AudioStyleSet set;
    set.current = 2;
    set.colours[6] = 0;
    set.colours[7] = 0;
    set.colours[8] = 200;
    const std::vector<std::uint8_t> payload = config::StyleColourPayload(set);
    ASSERT_EQ(payload.size(), 40u);
    const std::vector<std::uint8_t> head(payload.begin(), payload.begin() + 12);
    EXPECT_EQ(head, (std::vector<std::uint8_t>{0, 0, 0, 0, 1, 0, 0, 0, 0xC8, 0, 0, 0}));
    EXPECT_TRUE(std::all_of(payload.begin() + 12, payload.end(), [](auto b) { return b == 0; }));

    set.colours[7] = 0x42;
    EXPECT_EQ(config::StyleColourPayload(set)[4], 0x42);
}

} // namespace
