// The shipped default documents through each device model's profile data: loaded as a new
// profile, every group read and written back, saved — the file comes out as it went in.

#include "config/Utf8.h"
#include "devices/DeviceModels.h"
#include "support/DataFolders.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

using namespace devices;

std::string ReadAll(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class DefaultRoundTrip : public ::testing::TestWithParam<int> {
protected:
    test::DataFolders folders;
};

TEST_P(DefaultRoundTrip, EveryGroupReadAndWrittenBackLeavesTheFileAsShipped) {
    auto device = CreateDeviceForModel(GetParam());
    ASSERT_NE(device, nullptr);
    device->SetCurrentProfileId("roundtrip");
    device->SetProfilePaths();
    const std::string shipped = ReadAll(device->DefaultProfilePath());
    ASSERT_FALSE(shipped.empty()) << device->DefaultProfilePath();
    const std::filesystem::path profile =
        std::filesystem::path(device->UserDataFolder()) / "roundtrip.Json";
    std::ofstream(profile, std::ios::binary) << shipped;

    config::CBasicProfiledata& data = device->ProfileData();
    ASSERT_FALSE(data.LoadProfile(config::Utf8ToWide(profile.string())).isNull());
    data.WriteLightInfo(data.ReadLightInfo());
    data.ReadLightList();
    if (auto* keyboard = dynamic_cast<CKelvaneKeyboardDevice*>(device.get())) {
        auto& p = keyboard->Profile();
        p.WriteAudioLightInfo(p.ReadAudioLightInfo());
        p.WriteKeyList(p.ReadKeyList());
        p.WriteSystemStages(p.ReadSystemStages());
        const int group = p.ReadCustomLightGroup();
        p.WriteCustomLightGroup(group);
        for (int mode = 0; mode < 8; ++mode)
            p.WriteCustomLightColors(mode, p.ReadCustomLightColors(mode, 170));
    } else if (auto* mouse = dynamic_cast<CKelvaneMouseDevice*>(device.get())) {
        auto& p = mouse->Profile();
        p.WriteKeyList(p.ReadKeyList());
        p.WriteDpiStages(p.ReadDpiStages());
        p.WriteDpiStageActive(p.GetDpiStageActive());
        p.WriteMouseSystem(p.ReadMouseSystem());
        EXPECT_EQ(p.ReadCorrectInfo().size(), 3u);
    } else if (auto* headset = dynamic_cast<CKelvaneHS6533Device*>(device.get())) {
        auto& p = headset->Profile();
        p.WriteHeadsetSettings(p.ReadHeadsetSettings());
        for (int preset = 1; preset <= 12; ++preset) {
            const std::vector<int> bands = p.ReadEqPreset(preset);
            EXPECT_EQ(bands.size(), 10u) << preset;
            p.WriteEqPreset(preset, bands);
        }
        p.WriteCustomEqNames(p.ReadCustomEqNames());
    }
    ASSERT_TRUE(data.SaveProfile());
    EXPECT_EQ(ReadAll(profile), shipped);
}

std::string ModelName(const ::testing::TestParamInfo<int>& info) {
    static const char* const kNames[] = {"Mouse", "Keyboard", "MousePad", "Headset"};
    return kNames[info.param];
}

INSTANTIATE_TEST_SUITE_P(EveryModel, DefaultRoundTrip, ::testing::Values(0, 1, 2, 3), ModelName);

} // namespace
