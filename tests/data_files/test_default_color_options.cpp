// "color_option_info.config" of the default-data folder as the colour picker reads it, and the
// picker's texts in every language.

#include "config/ColorOptionFile.h"
#include "data_files/shipped_data.h"

#include <gtest/gtest.h>
#include <set>

using namespace datafiles;

namespace {

TEST(DefaultColorOptions, GiveTwentyDistinctPresetsAndTwentyEmptyUserSwatches) {
    const ShippedFile& shipped = Shipped(config::kColorOptionFileName);
    ASSERT_TRUE(shipped.document.isObject()) << shipped.errors;
    config::CColorOptionFile file;
    ASSERT_EQ(file.Load("", std::string(QUARIN_SOURCE_DATA_DIR) + "/DefaultData/" +
                                config::kColorOptionFileName),
              1);
    std::set<std::uint32_t> presets;
    const Json::Value& info = shipped.document["coloroptioninfo"];
    for (int i = 0; i < config::kColorSwatchCount; ++i) {
        SCOPED_TRACE(i);
        const auto preset = file.PresetColor(i);
        ASSERT_TRUE(preset);
        presets.insert(*preset);
        // Written as the program writes it, so a save changes only what the user changed.
        EXPECT_EQ(info["palletDialogcoloroption"][i]["color"].asString(),
                  config::ColorText(*preset));
        EXPECT_TRUE(file.UserColor(i));
        EXPECT_NE(file.UserData(i), "1");
    }
    EXPECT_EQ(presets.size(), 20u);
    EXPECT_NE(file.PresetSelection(), -1);
    EXPECT_NE(file.UserSelection(), -1);
}

TEST(DefaultColorOptions, EveryLanguageNamesThePickersParts) {
    const Json::Value& languages = Shipped("Language.config").document["Language"];
    ASSERT_EQ(languages.size(), 16u);
    for (const Json::Value& language : languages) {
        const std::string name = language["Language_file"].asString();
        SCOPED_TRACE(name);
        const std::map<std::string, std::string> texts = Texts(name);
        for (const char* id : {"color_select_title", "color_preset_text", "color_collect_text",
                               "color_multi_text"}) {
            const auto text = texts.find(id);
            ASSERT_NE(text, texts.end()) << id;
            EXPECT_FALSE(text->second.empty()) << id;
        }
    }
}

} // namespace
