// "default_light.json": the built-in effect and lighting-area lists of the four device models,
// and the language files that give their text ids a text.

#include "data_files/shipped_data.h"

#include <array>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <string>
#include <vector>

using namespace datafiles;

namespace {

constexpr int kKeyboard = 0;
constexpr int kMouse = 1;
constexpr int kMousePad = 2;
constexpr int kHeadset = 3;

const Json::Value& Names() {
    return Shipped("default_light.json").document;
}

const Json::Value& Modes(int model) {
    return Names()["DefaultLightName"][model];
}

std::string ModeName(int model, int index) {
    const Json::Value& modes = Modes(model);
    if (!modes.isArray() || index < 0 || index >= static_cast<int>(modes.size()))
        return {};
    return modes[index]["LightName"].asString();
}

// Every text id the shipped documents show: effect and area names, correction names.
std::vector<std::string> ShippedTextIds() {
    std::vector<std::string> ids;
    for (const char* list : {"DefaultLightName", "AreaLightName"}) {
        for (const Json::Value& model : Names()[list]) {
            for (const Json::Value& entry : model)
                ids.push_back(entry["LightName"].asString());
        }
    }
    for (const Json::Value& entry : DeviceRecord("mouse.Json")["CorrectInfo"])
        ids.push_back(entry["CorrectName"].asString());
    return ids;
}

TEST(DefaultLightNames, HoldsTheModeAndAreaListsOfTheFourModels) {
    const ShippedFile& file = Shipped("default_light.json");
    ASSERT_TRUE(file.errors.empty()) << file.errors;
    ExpectMembers(file.document, {"DefaultLightName", "AreaLightName"});
    for (const char* list : {"DefaultLightName", "AreaLightName"}) {
        SCOPED_TRACE(list);
        ASSERT_TRUE(file.document[list].isArray());
        ASSERT_EQ(file.document[list].size(), 4u);
        for (const Json::Value& model : file.document[list]) {
            ASSERT_TRUE(model.isArray());
            EXPECT_FALSE(model.empty());
        }
    }
}

TEST(DefaultLightNames, ListsAsManyModesAsEachModelHas) {
    // The keyboard's effect indexes run 0-30; the mouse's built-in modes 0-9 (10 and above
    // are recorded effects); the pad and the headset switch their light off with mode 8.
    EXPECT_EQ(Modes(kKeyboard).size(), 31u);
    EXPECT_EQ(Modes(kMouse).size(), 10u);
    EXPECT_GE(Modes(kMousePad).size(), 9u);
    EXPECT_GE(Modes(kHeadset).size(), 9u);
}

TEST(DefaultLightNames, ModeEntriesCarryANameAVisibilityAndAUniqueByteCode) {
    for (int model = kKeyboard; model <= kHeadset; ++model) {
        SCOPED_TRACE("model " + std::to_string(model));
        std::set<long long> codes;
        for (const Json::Value& entry : Modes(model)) {
            ExpectMembers(entry, {"LightName", "visible", "value"});
            EXPECT_TRUE(entry["LightName"].isString());
            EXPECT_FALSE(entry["LightName"].asString().empty());
            ExpectFlag(entry, "visible");
            // The code travels in one byte of the light block; a code read back from the
            // device must name exactly one effect.
            ExpectByte(entry, "value");
            EXPECT_TRUE(codes.insert(IntOf(entry, "value")).second)
                << "code " << IntOf(entry, "value") << " names two effects";
        }
    }
}

TEST(DefaultLightNames, SharedEffectsSitWhereTheLightingPanelCopiesThemBetweenDevices) {
    struct Shared {
        const char* name;
        std::array<int, 4> index; // keyboard, mouse, mouse pad, headset
    };
    const std::array<Shared, 5> shared = {{
        {"light_mode_breathing", {5, 2, 2, 2}},
        {"light_mode_static", {6, 3, 3, 3}},
        {"light_mode_flash", {22, 4, 4, 4}},
        {"light_mode_spectrum", {4, 1, 1, 1}},
        {"light_mode_off", {21, 9, 8, 8}},
    }};
    for (const Shared& effect : shared) {
        for (int model = kKeyboard; model <= kHeadset; ++model) {
            const int index = effect.index[model];
            EXPECT_EQ(ModeName(model, index), effect.name) << "model " << model;
            EXPECT_EQ(IntOf(Modes(model)[index], "visible"), 1) << "model " << model;
        }
    }
}

TEST(DefaultLightNames, KeyboardHidesOnlyTheIndexesThePanelOffersNoControlsFor) {
    // Index 0 and 19 show no control in the lighting panel and the keyboard streams no frame
    // for them; every other index is a usable effect.
    const Json::Value& modes = Modes(kKeyboard);
    ASSERT_EQ(modes.size(), 31u);
    for (int index = 0; index < 31; ++index) {
        const long long expected = (index == 0 || index == 19) ? 0 : 1;
        EXPECT_EQ(IntOf(modes[index], "visible"), expected) << "effect " << index;
    }
}

TEST(DefaultLightNames, AreaEntriesCarryAName) {
    for (const Json::Value& model : Names()["AreaLightName"]) {
        for (const Json::Value& entry : model) {
            ExpectMembers(entry, {"LightName"});
            EXPECT_TRUE(entry["LightName"].isString());
            EXPECT_FALSE(entry["LightName"].asString().empty());
        }
    }
}

TEST(LanguageFiles, EnglishAndSimplifiedChineseDefineEveryShippedTextId) {
    const std::vector<std::string> ids = ShippedTextIds();
    ASSERT_FALSE(ids.empty());
    for (const char* language : {"lan_en.xml", "lan_cn.xml"}) {
        SCOPED_TRACE(language);
        bool wellFormed = false;
        const std::set<std::string> defined = TextIds(language, &wellFormed);
        ASSERT_TRUE(wellFormed);
        for (const std::string& id : ids)
            EXPECT_TRUE(defined.count(id)) << "no text for \"" << id << '"';
    }
}

TEST(LanguageFiles, EveryListedLanguageIsWellFormedAndTranslatesOnlyEnglishIds) {
    const Json::Value& languages = Shipped("Language.config").document["Language"];
    ASSERT_TRUE(languages.isArray());
    ASSERT_FALSE(languages.empty());
    bool englishWellFormed = false;
    const std::set<std::string> english = TextIds("lan_en.xml", &englishWellFormed);
    ASSERT_TRUE(englishWellFormed);
    for (const Json::Value& language : languages) {
        const std::string file = language["Language_file"].asString();
        SCOPED_TRACE(file);
        bool wellFormed = false;
        const std::set<std::string> ids = TextIds(file, &wellFormed);
        EXPECT_TRUE(wellFormed);
        // lan_en.xml is the base of the other languages, so it holds every id.
        for (const std::string& id : ids)
            EXPECT_TRUE(english.count(id)) << "\"" << id << "\" is missing from lan_en.xml";
    }
}

// The two messages of saving macros to a keyboard: the download failed, or the macros did not
// fit and the text takes the number of events too many through one %d.
TEST(LanguageFiles, EveryLanguageTellsWhyTheMacrosWereNotSaved) {
    const Json::Value& languages = Shipped("Language.config").document["Language"];
    ASSERT_EQ(languages.size(), 16u);
    for (const Json::Value& language : languages) {
        const std::string file = language["Language_file"].asString();
        SCOPED_TRACE(file);
        const std::map<std::string, std::string> texts = Texts(file);
        for (const char* id : {"message_text_7", "message_text_16"}) {
            const auto text = texts.find(id);
            ASSERT_NE(text, texts.end()) << id;
            EXPECT_FALSE(text->second.empty()) << id;
        }
        const std::string& failed = texts.at("message_text_7");
        const std::string& overflow = texts.at("message_text_16");
        EXPECT_EQ(failed.find('%'), std::string::npos);
        const std::size_t count = overflow.find("%d");
        ASSERT_NE(count, std::string::npos);
        EXPECT_EQ(overflow.find('%', count + 1), std::string::npos) << "one number only";
    }
    const std::map<std::string, std::string> english = Texts("lan_en.xml");
    EXPECT_NE(english.at("message_text_7").find("macros"), std::string::npos);
    EXPECT_NE(english.at("message_text_16").find("macro memory"), std::string::npos);
}

} // namespace
