// The colour picker's swatch file: the default copy standing in for a missing or damaged file,
// swatches written and read back, and the values a hand-edited file may hold.

#include "config/ColorOptionFile.h"
#include "config/ConfigFolder.h"

#include <gtest/gtest.h>

namespace {

using config::CColorOptionFile;
using config::ColorSwatch;
using config::kColorSwatchCount;

const std::string kDefault = R"({ "coloroptioninfo" : {
    "palletDialogcoloroption" : [ { "color" : "FFFF0000" }, { "color" : "FF00FF00" } ],
    "palletDialogcoloroption_selectitem" : 1,
    "palletDialogcollectcoloroption" : [ { "color" : "FF123456", "UserData" : "1" } ],
    "palletDialogcollectcoloroption_selectitem" : 0 } })";

class ColorOptionFileTest : public test::ConfigFolder {
protected:
    void SetUp() override {
        ConfigFolder::SetUp();
        WriteText("default.config", kDefault);
    }
    int Load() { return file.Load(Path("user.config"), Path("default.config")); }
    CColorOptionFile file;
};

TEST(ColorText, IsEightUpperCaseDigitsAlphaFirstAndReadsBack) {
    EXPECT_EQ(config::ColorText(0xFFFF0000u), "FFFF0000");
    EXPECT_EQ(config::ColorText(0x0000000Au), "0000000A");
    EXPECT_EQ(config::ParseColorText("FFFF0000"), 0xFFFF0000u);
    EXPECT_EQ(config::ParseColorText("80ff0000"), 0x80FF0000u);
    EXPECT_EQ(config::ParseColorText("0x00FF00"), 0xFF00FF00u);
    // Without alpha digits a colour is opaque: "ff0000" is red, not transparent.
    EXPECT_EQ(config::ParseColorText("ff0000"), 0xFFFF0000u);
    for (const char* bad : {"", "0x", "red", "FF00GG", "1FFFF00000", "-1", " FF"})
        EXPECT_EQ(config::ParseColorText(bad), std::nullopt) << bad;
}

TEST_F(ColorOptionFileTest, AMissingOrDamagedUserFileReadsTheDefaultCopy) {
    for (const char* content : {static_cast<const char*>(nullptr), "", "{ broken", "[1, 2]"}) {
        SCOPED_TRACE(content ? content : "missing");
        std::filesystem::remove(Path("user.config"));
        if (content)
            WriteText("user.config", content);
        ASSERT_EQ(Load(), 1);
        EXPECT_EQ(file.PresetColor(0), 0xFFFF0000u);
        EXPECT_EQ(file.PresetColor(1), 0xFF00FF00u);
        EXPECT_EQ(file.PresetSelection(), 1);
        EXPECT_EQ(file.UserColor(0), 0xFF123456u);
        EXPECT_EQ(file.UserData(0), "1");
        EXPECT_EQ(file.UserSelection(), 0);
    }
}

TEST_F(ColorOptionFileTest, WithNeitherFileThereIsNothingToShow) {
    std::filesystem::remove(Path("default.config"));
    EXPECT_EQ(Load(), 0);
    EXPECT_EQ(file.PresetColor(0), std::nullopt);
    EXPECT_EQ(file.PresetSelection(), -1);
    EXPECT_EQ(file.UserData(0), "");
}

TEST_F(ColorOptionFileTest, SwatchesAreSavedToTheUserFileAndReadBack) {
    ASSERT_EQ(Load(), 1);
    std::array<std::optional<std::uint32_t>, kColorSwatchCount> presets;
    presets[0] = 0xFF0000FFu;
    presets[19] = 0xFFABCDEFu;
    ASSERT_EQ(file.SavePresets(presets, 19), 1);
    std::array<std::optional<ColorSwatch>, kColorSwatchCount> user;
    user[3] = ColorSwatch{0xFF00FF00u, "1"};
    ASSERT_EQ(file.SaveUserSwatches(user, 3), 1);

    const Json::Value saved = config::ReadJsonFile(Path("user.config"));
    const Json::Value& info = saved["coloroptioninfo"];
    EXPECT_EQ(info["palletDialogcoloroption"][0]["color"], "FF0000FF");
    EXPECT_EQ(info["palletDialogcoloroption"][1]["color"], "FF00FF00"); // not given: kept
    EXPECT_EQ(info["palletDialogcoloroption"][19]["color"], "FFABCDEF");
    EXPECT_EQ(info["palletDialogcoloroption_selectitem"], 19);
    EXPECT_EQ(info["palletDialogcollectcoloroption"][3]["color"], "FF00FF00");
    EXPECT_EQ(info["palletDialogcollectcoloroption"][3]["UserData"], "1");
    EXPECT_EQ(info["palletDialogcollectcoloroption_selectitem"], 3);
    EXPECT_EQ(info["palletDialogcollectcoloroption"].size(), 20u);

    CColorOptionFile again;
    ASSERT_EQ(again.Load(Path("user.config"), Path("none.config")), 1);
    EXPECT_EQ(again.PresetColor(19), 0xFFABCDEFu);
    EXPECT_EQ(again.UserColor(3), 0xFF00FF00u);
    EXPECT_EQ(again.UserSelection(), 3);
    EXPECT_EQ(again.PresetSelection(), 19);
    // The default copy is only read, never written.
    EXPECT_EQ(test::Parse(ReadText("default.config")), test::Parse(kDefault));
}

TEST_F(ColorOptionFileTest, BadValuesAreSkippedAndAWriteRepairsTheirShape) {
    WriteText("user.config", R"({ "coloroptioninfo" : {
        "palletDialogcoloroption" : [ { "color" : "nothex" }, { "color" : 16711680 }, 7,
                                      { "color" : "00ff00" } ],
        "palletDialogcoloroption_selectitem" : 25,
        "palletDialogcollectcoloroption" : { "color" : "FF000000" },
        "palletDialogcollectcoloroption_selectitem" : "2" } })");
    ASSERT_EQ(Load(), 1);
    EXPECT_EQ(file.PresetColor(0), std::nullopt);
    EXPECT_EQ(file.PresetColor(1), std::nullopt);
    EXPECT_EQ(file.PresetColor(2), std::nullopt);
    EXPECT_EQ(file.PresetColor(3), 0xFF00FF00u);
    EXPECT_EQ(file.PresetColor(-1), std::nullopt);
    EXPECT_EQ(file.PresetColor(20), std::nullopt);
    EXPECT_EQ(file.PresetSelection(), -1);
    EXPECT_EQ(file.UserColor(0), std::nullopt);
    EXPECT_EQ(file.UserSelection(), -1);

    std::array<std::optional<ColorSwatch>, kColorSwatchCount> user;
    user[0] = ColorSwatch{0xFF112233u, "1"};
    ASSERT_EQ(file.SaveUserSwatches(user, 0), 1);
    CColorOptionFile again;
    ASSERT_EQ(again.Load(Path("user.config"), Path("none.config")), 1);
    EXPECT_EQ(again.UserColor(0), 0xFF112233u);
    EXPECT_EQ(again.PresetColor(3), 0xFF00FF00u);
}

TEST_F(ColorOptionFileTest, ADamagedUserFileIsKeptAsideBeforeItIsReplaced) {
    WriteText("user.config", "{ not json");
    ASSERT_EQ(Load(), 1);
    ASSERT_EQ(file.SavePresets({}, 0), 1);
    int broken = 0;
    for (const std::string& name : Entries()) {
        if (name.rfind("user.config.broken-", 0) == 0) {
            ++broken;
            EXPECT_EQ(ReadText(name), "{ not json");
        }
    }
    EXPECT_EQ(broken, 1);
    EXPECT_TRUE(config::ReadJsonFile(Path("user.config")).isObject());
}

TEST_F(ColorOptionFileTest, AUserFileThatCannotBeReadIsNeverReplaced) {
    // Something the reader refuses to look into: a folder where the file should be.
    std::filesystem::create_directory(Path("user.config"));
    ASSERT_EQ(Load(), 1); // the default copy shows
    EXPECT_EQ(file.PresetColor(0), 0xFFFF0000u);
    EXPECT_EQ(file.SavePresets({}, 0), 0);
    EXPECT_TRUE(std::filesystem::is_directory(Path("user.config")));
    EXPECT_EQ(Entries(), (std::set<std::string>{"default.config", "user.config"}));
}

TEST_F(ColorOptionFileTest, WithoutAUserFolderNothingIsWritten) {
    ASSERT_EQ(file.Load("", Path("default.config")), 1);
    EXPECT_EQ(file.SavePresets({}, 0), 0);
    EXPECT_EQ(Entries(), (std::set<std::string>{"default.config"}));
}

} // namespace
