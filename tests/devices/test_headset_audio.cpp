// The headset model over the virtual headset's audio library: which endpoints it takes, what
// the feature lists give, the initial synchronisation, the settings read into the profile, and
// every user change as the property calls it makes and what the profile keeps.

#include "config/JsonFile.h"
#include "devices/DeviceModels.h"
#include "headset/HeadsetProperties.h"
#include "headset/VirtualHeadsetLibrary.h"
#include "support/DataFolders.h"

#include <gtest/gtest.h>

namespace {

namespace p = headset::property;
using devices::AudioStart;
using devices::CHeadsetAudio;
using headset::AudioEndpoint;
using headset::kFlowCapture;
using headset::kFlowPlayback;

constexpr int kHeadsetModelRow = 3;

class HeadsetAudioTest : public ::testing::Test {
protected:
    void SetUp() override {
        folders.CopyDefaultDocument("HD.Json");
        auto made = devices::CreateDeviceForModel(kHeadsetModelRow);
        ASSERT_EQ(made->GetDeviceKind(), transport::kKindHeadset);
        device.reset(static_cast<devices::CKelvaneHS6533Device*>(made.release()));
        device->UseAudio(audio);
        device->SetCurrentProfileId("2024_01_02_03_04_05_006");
        device->ReloadProfile();
    }
    // Starts the audio, then forgets the calls of the start.
    void Started() {
        ASSERT_EQ(device->StartAudio(), AudioStart::kStarted);
        library.ClearCalls();
    }
    Json::Value SavedSettings() const {
        return config::ReadJsonFile(device->UserDataFolder() + device->GetCurrentProfileId() +
                                    ".Json")["Device"][0]["SystemSetStages"];
    }
    int Count(const std::wstring& property, int direction) const {
        int n = 0;
        for (const headset::PropertyCall& call : library.Calls())
            n += call.property == property && call.direction == direction ? 1 : 0;
        return n;
    }

    test::DataFolders folders{test::DataFolders::Program::Own};
    headset::VirtualHeadsetLibrary library;
    CHeadsetAudio audio{&library};
    std::unique_ptr<devices::CKelvaneHS6533Device> device;
};

TEST_F(HeadsetAudioTest, HeadphonesComeFirstThenTypesSevenAndFourAmongActiveEndpoints) {
    library.SetEndpoints(kFlowPlayback, {{10, 4, 0, 1}, {11, 7, 0, 0}, {12, 1, 0, 1}});
    library.SetEndpoints(kFlowCapture, {{20, 3, 0, 1}, {21, 2, 0, 0}, {22, 2, 0, 1}});
    ASSERT_EQ(audio.Start(), AudioStart::kStarted);
    EXPECT_EQ(audio.Output()->endpoint.id, 12u);
    EXPECT_EQ(audio.Input()->endpoint.id, 21u) << "the first capture endpoint of type 2";

    headset::VirtualHeadsetLibrary other;
    other.SetEndpoints(kFlowPlayback, {{10, 4, 0, 1}, {11, 7, 0, 0}, {12, 1, 0, 0}});
    CHeadsetAudio second(&other);
    ASSERT_EQ(second.Start(), AudioStart::kStarted);
    EXPECT_EQ(second.Output()->endpoint.id, 10u) << "type 7 is not active";
    EXPECT_EQ(second.Start(), AudioStart::kStarted) << "once per process";
    EXPECT_EQ(other.DeviceListsCreated(), 1);
}

TEST_F(HeadsetAudioTest, TheFeatureListGivesItsFirstFifthAndSeventhNumbers) {
    library.SetValue(p::kSupportFeature, "1,2,3,4,5,6,7");
    ASSERT_EQ(audio.Start(), AudioStart::kStarted);
    EXPECT_EQ(audio.Output()->features, (std::array<std::int32_t, 3>{1, 5, 7}));
    EXPECT_TRUE(audio.Input()->featuresRead);
    EXPECT_FALSE(audio.FeatureListFailed());

    headset::VirtualHeadsetLibrary shortList;
    shortList.SetValue(p::kSupportFeature, "1,2,3,4,5,6");
    CHeadsetAudio second(&shortList);
    second.Start();
    EXPECT_TRUE(second.FeatureListFailed());
    EXPECT_FALSE(second.Output()->featuresRead);
}

TEST_F(HeadsetAudioTest, AFailedInitIsReportedAndNoPlaybackEndpointStopsEverything) {
    std::vector<std::string> shown;
    CHeadsetAudio::SetMessageSink([&shown](const char* text) { shown.push_back(text); });
    library.SetInitResult(5);
    EXPECT_EQ(device->StartAudio(), AudioStart::kInitFailed);
    EXPECT_TRUE(audio.HasEndpoints()) << "the rest goes on";
    EXPECT_EQ(device->StartAudio(), AudioStart::kInitFailed);
    EXPECT_EQ(shown, std::vector<std::string>{"ConfLibInit called failed!"}) << "shown once";
    CHeadsetAudio::SetMessageSink(nullptr);

    headset::VirtualHeadsetLibrary silent;
    silent.SetEndpoints(kFlowPlayback, {});
    CHeadsetAudio none(&silent);
    device->UseAudio(none);
    EXPECT_EQ(device->StartAudio(), AudioStart::kNoPlayback);
    EXPECT_TRUE(silent.Calls().empty());
    EXPECT_FALSE(device->SetMicLevel(10));
}

TEST_F(HeadsetAudioTest, TheStartWritesDefaultsOnlyWhereAReadFailsAndReadsTheSettings) {
    library.FailReads(p::kRoomSize);
    library.FailReads(p::kMicVolume);
    library.SetValue(p::kMicScalar, "0.37");
    library.SetValue(p::kMonitorMute, "0");
    library.SetValue(p::kMagicVoiceSelection, "2");
    ASSERT_EQ(device->StartAudio(), AudioStart::kStarted);

    const auto room = library.Writes(p::kRoomSize);
    ASSERT_EQ(room.size(), 1u);
    EXPECT_EQ(room[0].intValue, 0);
    const auto mic = library.Writes(p::kMicVolume);
    ASSERT_EQ(mic.size(), 1u);
    EXPECT_EQ(mic[0].channel, -1);
    EXPECT_TRUE(library.Writes(p::kEqEnable).empty()) << "read fine, left as it is";
    EXPECT_TRUE(library.Writes(p::kSurround).empty());

    EXPECT_EQ(device->Settings().micInValue, 37);
    EXPECT_EQ(device->Settings().micInSelect, 1);
    EXPECT_EQ(device->Settings().micMonitorSelect, 1);
    EXPECT_EQ(device->Settings().micMonitorValue, 50);
    EXPECT_EQ(device->Settings().magicType, 3);
    EXPECT_DOUBLE_EQ(device->MicRange().max, 30.0);
    EXPECT_DOUBLE_EQ(device->MonitorRange().level, -11.25);
    EXPECT_EQ(SavedSettings()["MicInValue"].asInt(), 37);
    EXPECT_EQ(SavedSettings()["MagicType"].asInt(), 3);
}

TEST_F(HeadsetAudioTest, LevelsGoAsScalarsAndAFailedWriteKeepsTheProfile) {
    Started();
    ASSERT_TRUE(device->SetMicLevel(37));
    const auto scalar = library.Writes(p::kMicScalar);
    ASSERT_EQ(scalar.size(), 1u);
    EXPECT_FLOAT_EQ(scalar[0].floatValue, 0.37f);
    ASSERT_TRUE(scalar[0].hasChannel);
    EXPECT_EQ(scalar[0].channel, -1);
    EXPECT_EQ(Count(p::kMicVolume, headset::kRead), 1) << "the level in dB is read back";
    EXPECT_EQ(SavedSettings()["MicInValue"].asInt(), 37);

    ASSERT_TRUE(device->SetMonitorLevel(64));
    ASSERT_EQ(library.Writes(p::kMonitorScalar).size(), 1u);
    EXPECT_EQ(library.Writes(p::kMonitorScalar)[0].channel, 0);
    EXPECT_EQ(SavedSettings()["MicMoniterValue"].asInt(), 64);

    library.FailWrites(p::kMicScalar);
    library.FailWrites(p::kMonitorMute);
    EXPECT_FALSE(device->SetMicLevel(90));
    EXPECT_FALSE(device->SetMonitorMuted(false));
    EXPECT_FALSE(device->SetMicLevel(101)) << "out of range";
    EXPECT_EQ(device->Settings().micInValue, 37);
    EXPECT_EQ(SavedSettings()["MicInValue"].asInt(), 37);
    EXPECT_EQ(SavedSettings()["MicMoniterSelect"].asInt(), 0);

    ASSERT_TRUE(device->SetMicMuted(true));
    EXPECT_EQ(library.Writes(p::kMicMute).back().intValue, 1);
    EXPECT_EQ(SavedSettings()["MicInSelect"].asInt(), 0);
}

TEST_F(HeadsetAudioTest, APresetWritesItsBandsAndAHandMovedBandMakesTheEqualiserCustom) {
    Started();
    ASSERT_TRUE(device->SelectEqOption(3));
    ASSERT_EQ(library.Writes(p::kEqEnable).size(), 1u);
    EXPECT_EQ(library.Writes(p::kEqEnable)[0].intValue, 1);
    const std::vector<int> preset3{5, 4, 3, 1, -1, -1, 1, 3, 4, 5}; // "EQHzValueInfo"[3]
    for (int band = 0; band < 10; ++band) {
        const auto writes = library.Writes(p::kEqBands[band]);
        ASSERT_EQ(writes.size(), 1u) << band;
        EXPECT_EQ(writes[0].intValue, preset3[static_cast<std::size_t>(band)]) << band;
    }
    EXPECT_EQ(SavedSettings()["EqType"].asInt(), 3);

    library.ClearCalls();
    ASSERT_TRUE(device->SetEqBand(2, 5));
    EXPECT_EQ(device->Settings().eqType, devices::CKelvaneHS6533Device::kCustomEq);
    ASSERT_EQ(library.Calls().size(), 1u);
    EXPECT_EQ(library.Calls()[0].property, L"EQ_Slider3");
    EXPECT_EQ(library.Calls()[0].intValue, 5);
    EXPECT_FALSE(device->SetEqBand(10, 5));
    EXPECT_FALSE(device->SelectEqOption(0));
    EXPECT_EQ(library.Calls().size(), 1u) << "option 0 and band 10 send nothing";

    // The custom option with no custom equaliser saved: ten flat bands, no crash.
    ASSERT_TRUE(device->SelectEqOption(13));
    EXPECT_EQ(device->Bands(), std::vector<int>(10, 0));
}

TEST_F(HeadsetAudioTest, TheVoiceEffectSwitchesTheEchoOffAndEffectZeroDoesNothing) {
    Started();
    ASSERT_TRUE(device->SetVoiceEffect(true));
    ASSERT_EQ(library.Writes(p::kMicEcho).size(), 1u);
    EXPECT_EQ(library.Writes(p::kMicEcho)[0].intValue, 0);
    ASSERT_TRUE(device->SetVoiceEffect(false));
    EXPECT_EQ(library.Writes(p::kMicEcho).size(), 1u) << "only when switched on";
    EXPECT_EQ(SavedSettings()["MagicEnable"].asInt(), 0);

    library.ClearCalls();
    EXPECT_FALSE(device->SelectVoiceEffect(0));
    EXPECT_TRUE(library.Calls().empty());
    ASSERT_TRUE(device->SelectVoiceEffect(4));
    EXPECT_EQ(library.Writes(p::kMagicVoiceSelection)[0].intValue, 3);
    EXPECT_EQ(SavedSettings()["MagicType"].asInt(), 4);
}

} // namespace
