// The keyboard's system settings changed one at a time: the switches and the polling rate reach
// the virtual keyboard's light block (device profile 0) and the saved profile; the repeat values
// are saved but never sent; the repeat defaults come back; the delay shown for any index.

#include "KeyboardFixture.h"

#include "config/JsonFile.h"
#include "devices/KeyboardSystemSettings.h"
#include "devices/LightBlock.h"

namespace keyboardtest {
namespace {

using namespace devices;
namespace ks = devices::keyboard_settings;

class SystemSettingsTest : public KeyboardTest {
protected:
    void SetUp() override {
        KeyboardTest::SetUp();
        keyboard->ReloadProfile();
        keyboard->LoadLists();
        board->ClearWireLog();
        receiver->ClearWireLog();
    }
    std::uint8_t MemoryAt(std::size_t offset) { return board->MemoryImage().at(offset); }
    Json::Value SavedStages() {
        return config::ReadJsonFile(UserFolder() + keyboard->GetCurrentProfileId() +
                                    ".Json")["Device"][0]["SystemStages"];
    }
};

TEST_P(SystemSettingsTest, SwitchesAndPollingRateGoToTheBlockOfProfileZeroAndTheSavedProfile) {
    EXPECT_EQ(keyboard->ChangeSystemSetting(ks::kPollingRate, 1), 1);
    EXPECT_EQ(keyboard->ChangeSystemSetting(ks::kWinFlag, 1), 1);
    EXPECT_EQ(keyboard->ChangeSystemSetting(ks::kWFlag, 1), 1);
    EXPECT_EQ(keyboard->ChangeSystemSetting(ks::kKey6Flag, 1), 1);
    EXPECT_EQ(keyboard->ChangeSystemSetting(ks::kWFlag, 0), 1);

    for (const Request& r : Requests()) {
        if (r.command == 0x06) {
            EXPECT_LT(r.offset, kLightBlockSize) << "only device profile 0 is written";
        }
    }
    EXPECT_EQ(MemoryAt(lightblock::kProfileAt), 0);
    EXPECT_EQ(MemoryAt(lightblock::kWFlagAt), 0);
    EXPECT_EQ(MemoryAt(lightblock::kKey6FlagAt), 1);
    EXPECT_EQ(MemoryAt(lightblock::kWinFlagAt), 1);
    EXPECT_EQ(MemoryAt(lightblock::kPollingRateAt), 1);

    const Json::Value stages = SavedStages();
    EXPECT_EQ(stages["PollingRate"].asInt(), 1);
    EXPECT_EQ(stages["WinFlag"].asInt(), 1);
    EXPECT_EQ(stages["WFlag"].asInt(), 0);
    EXPECT_EQ(stages["Key6Flag"].asInt(), 1);
    EXPECT_EQ(stages["Repeat"].asInt(), ks::kDefaultRepeat) << "the other values stay";
}

TEST_P(SystemSettingsTest, RepeatValuesAreSavedButNeverSentAndResetToTheirDefaults) {
    EXPECT_EQ(keyboard->ChangeSystemSetting(ks::kRepeat, 12), 0);
    EXPECT_EQ(keyboard->ChangeSystemSetting(ks::kRepeatDelay, 3), 0);
    EXPECT_TRUE(Requests().empty());
    EXPECT_EQ(SavedStages()["Repeat"].asInt(), 12);
    EXPECT_EQ(SavedStages()["RepeatDelay"].asInt(), 3);

    keyboard->ChangeSystemSetting(ks::kWinFlag, 1);
    board->ClearWireLog();
    receiver->ClearWireLog();
    keyboard->ResetRepeatSettings();
    EXPECT_TRUE(Requests().empty());
    const config::SystemStageWords& words = keyboard->GetSystemSettings();
    EXPECT_EQ(words.Value(ks::kRepeat), ks::kDefaultRepeat);
    EXPECT_EQ(words.Value(ks::kRepeatDelay), ks::kDefaultRepeatDelay);
    EXPECT_EQ(words.Value(ks::kWinFlag), 1) << "the switches are not repeat settings";
    EXPECT_EQ(SavedStages()["Repeat"].asInt(), ks::kDefaultRepeat);
    EXPECT_EQ(SavedStages()["RepeatDelay"].asInt(), ks::kDefaultRepeatDelay);
}

TEST_P(SystemSettingsTest, WithTheChannelClosedTheChangeIsStillSavedAndNothingIsSent) {
    keyboard->CommandChannel().open = false;
    EXPECT_EQ(keyboard->ChangeSystemSetting(ks::kPollingRate, 2), 0);
    EXPECT_TRUE(Requests().empty());
    EXPECT_EQ(SavedStages()["PollingRate"].asInt(), 2);
}

INSTANTIATE_TEST_SUITE_P(Keyboard, SystemSettingsTest, ::testing::Bool(), KindName);

TEST(RepeatDelayShown, IsAQuarterSecondStepAndAnIndexOutsideTheRangeIsTheFirst) {
    EXPECT_EQ(ks::RepeatDelayMs(0), 250);
    EXPECT_EQ(ks::RepeatDelayMs(3), 1000);
    EXPECT_EQ(ks::RepeatDelayMs(5), 250);
    EXPECT_EQ(ks::RepeatDelayMs(-1), 250);
}

} // namespace
} // namespace keyboardtest
