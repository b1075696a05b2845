// "quarin-z17ctl headset" over the virtual headset's audio library: the property calls of each
// change, the profile afterwards, and refusals that change nothing.

#include "config/JsonFile.h"
#include "ctl/HeadsetCommands.h"
#include "devices/DeviceModels.h"
#include "headset/HeadsetProperties.h"
#include "headset/VirtualHeadsetLibrary.h"
#include "support/DataFolders.h"

#include "CtlRun.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

namespace p = headset::property;

class CtlHeadset : public ::testing::Test {
protected:
    test::CtlRun Run(std::vector<std::string> args) {
        return test::RunCaptured([&](const ctl::Output& output) {
            return ctl::RunHeadsetCommand(args, output, &audio);
        });
    }
    Json::Value Saved() const {
        devices::CKelvaneHS6533Device headset;
        headset.SetDeviceName("HD");
        const std::string folder = headset.UserDataFolder();
        // The one profile the command made.
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            if (entry.path().extension() == ".Json")
                return config::ReadJsonFile(entry.path().string())["Device"][0]["SystemSetStages"];
        return {};
    }

    test::DataFolders folders;
    headset::VirtualHeadsetLibrary library;
    devices::CHeadsetAudio audio{&library};
};

TEST_F(CtlHeadset, ChangesGoToTheHeadsetInTheirOrderAndTheEightSettingsArePrinted) {
    const test::CtlRun run = Run({"mic", "37", "monitor", "on", "eq", "5", "effect", "2"});
    ASSERT_EQ(run.exitCode, ctl::kExitOk) << run.err;
    EXPECT_EQ(run.out, "effect\t0\neffect-selection\t2\neq\t5\ncustom-eq\t0\nmic\t1\n"
                       "mic-level\t37\nmonitor\t1\nmonitor-level\t50\n");
    ASSERT_EQ(library.Writes(p::kMicScalar).size(), 1u);
    EXPECT_FLOAT_EQ(library.Writes(p::kMicScalar)[0].floatValue, 0.37f);
    EXPECT_EQ(library.Writes(p::kMonitorMute).back().intValue, 0);
    EXPECT_EQ(library.Writes(p::kMagicVoiceSelection).back().intValue, 1);
    EXPECT_EQ(library.Writes(p::kEqEnable).back().intValue, 1);
    EXPECT_EQ(Saved()["MicInValue"].asInt(), 37);
    EXPECT_EQ(Saved()["EqType"].asInt(), 5);
}

TEST_F(CtlHeadset, AMalformedCommandChangesNothingAndARefusedChangeFails) {
    for (const std::vector<std::string>& args : {std::vector<std::string>{"mic", "101"},
                                                 {"mic"},
                                                 {"eq", "0"},
                                                 {"effect", "5"},
                                                 {"volume", "3"},
                                                 {"mic", "40", "monitor", "loud"}}) {
        const test::CtlRun run = Run(args);
        EXPECT_EQ(run.exitCode, ctl::kExitUsage) << args[0];
    }
    EXPECT_TRUE(library.Calls().empty()) << "nothing reached the headset";

    library.FailWrites(p::kMicScalar);
    const test::CtlRun run = Run({"mic", "20"});
    EXPECT_EQ(run.exitCode, ctl::kExitFailed);
    EXPECT_NE(run.err.find("'mic 20'"), std::string::npos) << run.err;
    EXPECT_EQ(Saved()["MicInValue"].asInt(), 80) << "the level read from the headset stays";
}

TEST_F(CtlHeadset, WithoutTheHeadsetsSoundCardItFails) {
    library.SetEndpoints(headset::kFlowPlayback, {});
    const test::CtlRun run = Run({});
    EXPECT_EQ(run.exitCode, ctl::kExitFailed);
    EXPECT_TRUE(run.out.empty());
}

} // namespace
