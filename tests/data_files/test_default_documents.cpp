// The default profile documents shipped for the four device models: the groups each model
// reads, their key types and value ranges, and a layout that the styled writer reproduces.

#include "data_files/shipped_data.h"

#include <array>
#include <cstdint>
#include <gtest/gtest.h>
#include <json/writer.h>
#include <regex>
#include <stdexcept>
#include <string>
#include <vector>

using namespace datafiles;

namespace {

struct Model {
    const char* file;
    int lightTable; // the data-file model index: this model's lists in default_light.json
    int brightnessMax;
    int speedMax;
    std::set<std::string> groups;
};

const std::array<Model, 4> kModels = {{
    {"keyboard.Json",
     0,
     3,
     3,
     {"LightInfo", "LightList", "AudioLightInfo", "KeyList", "SystemStages", "CustomLightMode"}},
    {"mouse.Json",
     1,
     4,
     4,
     {"LightInfo", "LightList", "KeyList", "DPIStages", "SystemStages", "ReportStages",
      "CorrectInfo"}},
    {"MousePad.Json", 2, 4, 4, {"LightInfo", "LightList"}},
    {"HD.Json",
     3,
     4,
     4,
     {"LightInfo", "LightList", "SystemSetStages", "EQHzValueInfo", "CustomEQNameInfo",
      "CustomEQHzValueInfo"}},
}};

constexpr int kKeyboardLeds = 170;

// The native code of every on-screen key, code0 << 16 | code1 << 8 | code2; 0x200000 marks an
// empty position.
constexpr std::array<std::uint32_t, 170> kKeyboardNativeCodes = {
    0x200029, 0x20003A, 0x20003B, 0x20003C, 0x20003D, 0x20003E, 0x20003F, 0x200040, 0x200041,
    0x200042, 0x200043, 0x200044, 0x200045, 0x200046, 0x200047, 0x200048, 0xA01B00, 0xA02400,
    0x200000, 0x200000, 0x200000, 0x200035, 0x20001E, 0x20001F, 0x200020, 0x200021, 0x200022,
    0x200023, 0x200024, 0x200025, 0x200026, 0x200027, 0x20002D, 0x20002E, 0x20002A, 0x200049,
    0x20004A, 0x20004B, 0x200053, 0x200054, 0x200055, 0x200056, 0x20002B, 0x200014, 0x20001A,
    0x200008, 0x200015, 0x200017, 0x20001C, 0x200018, 0x20000C, 0x200012, 0x200013, 0x20002F,
    0x200030, 0x200031, 0x20004C, 0x20004D, 0x20004E, 0x20005F, 0x200060, 0x200061, 0x200032,
    0x200039, 0x200004, 0x200016, 0x200007, 0x200009, 0x20000A, 0x20000B, 0x20000D, 0x20000E,
    0x20000F, 0x200033, 0x200034, 0x200028, 0x20005C, 0x20005D, 0x20005E, 0x20008A, 0x20008B,
    0x200090, 0x200091, 0x200088, 0x200200, 0x20001D, 0x20001B, 0x200006, 0x200019, 0x200005,
    0x200011, 0x200010, 0x200036, 0x200037, 0x200038, 0x202000, 0x200052, 0x200059, 0x20005A,
    0x20005B, 0x200087, 0x200089, 0x200064, 0x200085, 0x200000, 0x200100, 0x200800, 0x200400,
    0x20002C, 0x204000, 0xA00100, 0x200065, 0x201000, 0x200050, 0x200051, 0x20004F, 0x200062,
    0x200063, 0x200058, 0x200057, 0xD0A201, 0xD0A202, 0xD0A203, 0xD0A204, 0xD0A205, 0x208000,
    0x200000, 0x200000, 0x200000, 0x200000, 0x200000, 0x200000, 0x200000, 0x200000, 0x200000,
    0x200000, 0x200000, 0x200000, 0x200000, 0x200000, 0x200000, 0x200000, 0x200000, 0x200000,
    0x200000, 0x200000, 0x200000, 0x200000, 0x200000, 0x200000, 0x200000, 0x200000, 0x200000,
    0x200000, 0x200000, 0x200000, 0x200000, 0x200000, 0x200000, 0x200000, 0x200000, 0x200000,
    0x200000, 0x200000, 0x200000, 0x200000, 0x200000, 0x200000, 0x200000, 0x200000,
};

// The mouse's on-screen buttons 0-10 and the code each holds when it leaves the factory.
constexpr std::array<std::uint32_t, 11> kMouseFactoryCodes = {
    0x100100, 0x100200, 0x100400, 0x101000, 0x100800, 0x130100,
    0x130200, 0x130300, 0xA01B00, 0x169001, 0x147802,
};

const Json::Value& ModeList(const Model& model) {
    return Shipped("default_light.json").document["DefaultLightName"][model.lightTable];
}

const Json::Value& Group(const Model& model, const char* key) {
    return DeviceRecord(model.file)[key];
}

const Model& ModelOf(const char* file) {
    for (const Model& model : kModels) {
        if (std::string(model.file) == file)
            return model;
    }
    throw std::logic_error(file);
}

// Counts per inch that a DPI slider position shows on the mouse whose information block
// reports model 0x3325, a step of 100 and a minimum of 200: one slope up to position 48, then
// 200 per position.
int ShownDpi(long long position) {
    if (position <= 48)
        return static_cast<int>(200 + position * 100);
    return static_cast<int>(200 + 48 * 100 + (position - 48) * 200);
}

void ExpectLightEntry(const Json::Value& entry, const Model& model) {
    ExpectMembers(entry, {"LEDREGMode", "LEDBrightness", "LEDSpeed", "LEDDirection",
                          "LEDMultiColor", "red", "green", "blue"});
    ExpectByte(entry, "LEDREGMode");
    ExpectInt(entry, "LEDBrightness", 0, model.brightnessMax);
    ExpectInt(entry, "LEDSpeed", 0, model.speedMax);
    ExpectFlag(entry, "LEDDirection");
    ExpectFlag(entry, "LEDMultiColor");
    for (const char* key : {"red", "green", "blue"})
        ExpectByte(entry, key);
}

std::vector<long long> Bands(const Json::Value& preset) {
    std::vector<long long> bands;
    for (const Json::Value& band : preset)
        bands.push_back(IntOf(band, "value", 1000));
    return bands;
}

void ExpectTenBands(const Json::Value& preset) {
    ASSERT_TRUE(preset.isArray());
    ASSERT_EQ(preset.size(), 10u);
    for (const Json::Value& band : preset) {
        ExpectMembers(band, {"value"});
        // Gains in dB; the equaliser takes small signed whole numbers.
        ExpectInt(band, "value", -12, 12);
    }
}

TEST(ShippedDocuments, StyledRewriteReproducesEveryByte) {
    for (const char* name :
         {"keyboard.Json", "mouse.Json", "MousePad.Json", "HD.Json", "default_light.json"}) {
        SCOPED_TRACE(name);
        const ShippedFile& file = Shipped(name);
        ASSERT_FALSE(file.bytes.empty());
        ASSERT_TRUE(file.errors.empty()) << file.errors;
        ASSERT_TRUE(file.document.isObject());
        const std::string rewritten = Json::StyledWriter().write(file.document);
        if (rewritten == file.bytes)
            continue;
        std::size_t at = 0;
        while (at < rewritten.size() && at < file.bytes.size() && rewritten[at] == file.bytes[at])
            ++at;
        ADD_FAILURE() << "first difference at byte " << at << " of " << file.bytes.size()
                      << ": shipped \"" << file.bytes.substr(at, 40) << "\", rewritten \""
                      << rewritten.substr(at, 40) << '"';
    }
}

TEST(DefaultProfiles, AreProfileDocumentsWithOneDeviceRecord) {
    const std::regex timestampId(R"(\d{4}_\d{2}_\d{2}_\d{2}_\d{2}_\d{2}_\d{3})");
    for (const Model& model : kModels) {
        SCOPED_TRACE(model.file);
        const Json::Value& document = Shipped(model.file).document;
        ExpectMembers(document, {"profilename", "profileUUID", "Device"});
        ASSERT_TRUE(document["profilename"].isString());
        EXPECT_FALSE(document["profilename"].asString().empty());
        ASSERT_TRUE(document["profileUUID"].isString());
        EXPECT_TRUE(std::regex_match(document["profileUUID"].asString(), timestampId));
        ASSERT_TRUE(document["Device"].isArray());
        ASSERT_EQ(document["Device"].size(), 1u);
        EXPECT_TRUE(document["Device"][0].isObject());
    }
}

TEST(DefaultProfiles, RecordHoldsExactlyTheGroupsItsModelReads) {
    for (const Model& model : kModels) {
        SCOPED_TRACE(model.file);
        ExpectMembers(DeviceRecord(model.file), model.groups);
    }
}

TEST(DefaultProfiles, LightInfoSelectsAVisibleBuiltInEffect) {
    for (const Model& model : kModels) {
        SCOPED_TRACE(model.file);
        const Json::Value& info = Group(model, "LightInfo");
        ExpectMembers(info, {"SelectItem", "Light", "Speed", "Fx", "MultiColor", "Red", "Green",
                             "Blue", "ZZCCLedMode", "CustomGroup", "OldLedmode"});
        const Json::Value& modes = ModeList(model);
        ASSERT_TRUE(modes.isArray());
        const long long last = static_cast<long long>(modes.size()) - 1;
        ExpectInt(info, "SelectItem", 0, last);
        ExpectInt(info, "OldLedmode", 0, last);
        ExpectInt(info, "Light", 0, model.brightnessMax);
        ExpectInt(info, "Speed", 0, model.speedMax);
        ExpectFlag(info, "Fx");
        ExpectFlag(info, "MultiColor");
        for (const char* key : {"Red", "Green", "Blue", "ZZCCLedMode", "CustomGroup"})
            ExpectByte(info, key);
        const long long selected = IntOf(info, "SelectItem");
        if (selected >= 0 && selected <= last) {
            EXPECT_EQ(IntOf(modes[static_cast<int>(selected)], "visible"), 1);
        }
    }
}

TEST(DefaultProfiles, LightInfoStartsFromTheSelectedEffectsOwnSettings) {
    for (const Model& model : kModels) {
        SCOPED_TRACE(model.file);
        const Json::Value& info = Group(model, "LightInfo");
        const Json::Value& list = Group(model, "LightList");
        const long long selected = IntOf(info, "SelectItem");
        ASSERT_TRUE(list.isArray());
        ASSERT_GE(selected, 0);
        ASSERT_LT(selected, static_cast<long long>(list.size()));
        const Json::Value& entry = list[static_cast<int>(selected)];
        EXPECT_EQ(IntOf(info, "Light"), IntOf(entry, "LEDBrightness"));
        EXPECT_EQ(IntOf(info, "Speed"), IntOf(entry, "LEDSpeed"));
        EXPECT_EQ(IntOf(info, "Fx"), IntOf(entry, "LEDDirection"));
        EXPECT_EQ(IntOf(info, "MultiColor"), IntOf(entry, "LEDMultiColor"));
        EXPECT_EQ(IntOf(info, "Red"), IntOf(entry, "red"));
        EXPECT_EQ(IntOf(info, "Green"), IntOf(entry, "green"));
        EXPECT_EQ(IntOf(info, "Blue"), IntOf(entry, "blue"));
    }
}

TEST(DefaultProfiles, LightListHoldsOneEntryPerBuiltInEffect) {
    for (const Model& model : kModels) {
        SCOPED_TRACE(model.file);
        const Json::Value& list = Group(model, "LightList");
        const Json::Value& modes = ModeList(model);
        ASSERT_TRUE(list.isArray());
        ASSERT_EQ(list.size(), modes.size());
        for (Json::ArrayIndex i = 0; i < list.size(); ++i) {
            SCOPED_TRACE("effect " + std::to_string(i));
            ExpectLightEntry(list[i], model);
            EXPECT_EQ(IntOf(list[i], "LEDREGMode"), static_cast<long long>(i));
            if (modes[i]["LightName"].asString() == "light_mode_off") {
                EXPECT_EQ(IntOf(list[i], "LEDBrightness"), 0);
            }
        }
    }
}

TEST(KeyboardDefaults, LightListCoversTheEffectIndexes0To30) {
    EXPECT_EQ(Group(ModelOf("keyboard.Json"), "LightList").size(), 31u);
}

TEST(KeyboardDefaults, KeyListGivesEveryOnScreenKeyItsNativeCode) {
    const Json::Value& keys = Group(ModelOf("keyboard.Json"), "KeyList");
    ASSERT_TRUE(keys.isArray());
    ASSERT_EQ(keys.size(), kKeyboardNativeCodes.size());
    for (Json::ArrayIndex i = 0; i < keys.size(); ++i) {
        SCOPED_TRACE("key_" + std::to_string(i));
        ExpectMembers(keys[i], {"Assignment", "DefaultAssignment"});
        EXPECT_EQ(IntOf(keys[i], "Assignment"), kKeyboardNativeCodes[i]);
        EXPECT_EQ(IntOf(keys[i], "DefaultAssignment"), kKeyboardNativeCodes[i]);
    }
}

TEST(KeyboardDefaults, MusicLightingRecordHoldsAModeTwoColoursAndTwoFlags) {
    const Json::Value& audio = Group(ModelOf("keyboard.Json"), "AudioLightInfo");
    ExpectMembers(audio, {"AudioMode", "BkColorR", "BkColorG", "BkColorB", "FgColorR", "FgColorG",
                          "FgColorB", "7ColorFlags", "ColorTypeFlags"});
    ExpectInt(audio, "AudioMode", 0, 6);
    for (const char* key : {"BkColorR", "BkColorG", "BkColorB", "FgColorR", "FgColorG", "FgColorB"})
        ExpectByte(audio, key);
    ExpectFlag(audio, "7ColorFlags");
    ExpectFlag(audio, "ColorTypeFlags");
}

TEST(KeyboardDefaults, SystemStagesHoldTheKeyboardSettingsInTheirRanges) {
    const Json::Value& system = Group(ModelOf("keyboard.Json"), "SystemStages");
    ExpectMembers(system, {"Repeat", "RepeatDelay", "Key6Flag", "PollingRate", "WFlag", "WinFlag"});
    ExpectWord(system, "Repeat");
    ExpectInt(system, "RepeatDelay", 0, 3);
    ExpectInt(system, "PollingRate", 0, 3);
    for (const char* key : {"Key6Flag", "WFlag", "WinFlag"})
        ExpectFlag(system, key);
}

TEST(KeyboardDefaults, CustomSchemesColourEveryOnScreenKey) {
    const Model& keyboard = ModelOf("keyboard.Json");
    const Json::Value& custom = Group(keyboard, "CustomLightMode");
    ExpectMembers(custom, {"CustomLightModeGroupIndex", "LightColorInfo"});
    const Json::Value& schemes = custom["LightColorInfo"];
    ASSERT_TRUE(schemes.isArray());
    ASSERT_GE(schemes.size(), 1u);
    // The scheme number travels as one byte of the light block.
    ASSERT_LE(schemes.size(), 256u);
    const long long last = static_cast<long long>(schemes.size()) - 1;
    ExpectInt(custom, "CustomLightModeGroupIndex", 0, last);
    ExpectInt(Group(keyboard, "LightInfo"), "CustomGroup", 0, last);
    for (Json::ArrayIndex s = 0; s < schemes.size(); ++s) {
        SCOPED_TRACE("scheme " + std::to_string(s));
        ASSERT_TRUE(schemes[s].isArray());
        ASSERT_EQ(schemes[s].size(), static_cast<Json::ArrayIndex>(kKeyboardLeds));
        for (const Json::Value& colour : schemes[s]) {
            ExpectMembers(colour, {"Red", "Green", "Blue", "Alpha"});
            for (const char* key : {"Red", "Green", "Blue", "Alpha"})
                ExpectByte(colour, key);
        }
        for (Json::ArrayIndex t = 0; t < s; ++t)
            EXPECT_NE(schemes[s], schemes[t]) << "scheme " << s << " repeats scheme " << t;
    }
}

TEST(MouseDefaults, KeyListGivesEveryButtonItsFactoryCode) {
    const Json::Value& keys = Group(ModelOf("mouse.Json"), "KeyList");
    ASSERT_TRUE(keys.isArray());
    ASSERT_EQ(keys.size(), kMouseFactoryCodes.size());
    for (Json::ArrayIndex i = 0; i < keys.size(); ++i) {
        SCOPED_TRACE("button " + std::to_string(i));
        ExpectMembers(keys[i], {"Assignment", "DefaultAssignment"});
        EXPECT_EQ(IntOf(keys[i], "Assignment"), kMouseFactoryCodes[i]);
        EXPECT_EQ(IntOf(keys[i], "DefaultAssignment"), kMouseFactoryCodes[i]);
    }
}

TEST(MouseDefaults, LightListCoversTheTenModes) {
    EXPECT_EQ(Group(ModelOf("mouse.Json"), "LightList").size(), 10u);
}

TEST(MouseDefaults, FiveDpiStagesStepFrom400To6400) {
    const Json::Value& dpi = Group(ModelOf("mouse.Json"), "DPIStages");
    ExpectMembers(dpi, {"StageActive", "StageDPIs"});
    ExpectInt(dpi, "StageActive", 0, 4);
    const Json::Value& stages = dpi["StageDPIs"];
    ASSERT_TRUE(stages.isArray());
    ASSERT_EQ(stages.size(), 5u);
    const std::array<int, 5> shown = {400, 800, 1600, 3200, 6400};
    for (Json::ArrayIndex i = 0; i < stages.size(); ++i) {
        SCOPED_TRACE("stage " + std::to_string(i));
        const Json::Value& stage = stages[i];
        ExpectMembers(stage, {"StageActive", "StageXY", "StageDPIX", "StageDPIY", "StageColorR",
                              "StageColorG", "StageColorB"});
        ExpectFlag(stage, "StageActive");
        ExpectFlag(stage, "StageXY");
        // Slider positions, not counts per inch: the device takes 16-bit positions.
        ExpectWord(stage, "StageDPIX");
        ExpectWord(stage, "StageDPIY");
        for (const char* key : {"StageColorR", "StageColorG", "StageColorB"})
            ExpectByte(stage, key);
        EXPECT_EQ(IntOf(stage, "StageDPIY"), IntOf(stage, "StageDPIX"));
        EXPECT_EQ(ShownDpi(IntOf(stage, "StageDPIX")), shown[i]);
    }
    const long long current = IntOf(dpi, "StageActive");
    if (current >= 0 && current < 5) {
        EXPECT_EQ(IntOf(stages[static_cast<int>(current)], "StageActive"), 1)
            << "the current stage must be in the cycle";
    }
}

TEST(MouseDefaults, SystemAndReportStagesHoldTheMouseSettingsInTheirRanges) {
    const Model& mouse = ModelOf("mouse.Json");
    const Json::Value& system = Group(mouse, "SystemStages");
    ExpectMembers(system, {"DoubleClickTime", "MouseSpeed", "PointerPrecision", "ScorllPage",
                           "WheelScorlllinse"});
    ExpectWord(system, "DoubleClickTime");
    ExpectWord(system, "MouseSpeed");
    ExpectWord(system, "WheelScorlllinse");
    ExpectFlag(system, "PointerPrecision");
    ExpectFlag(system, "ScorllPage");
    const Json::Value& report = Group(mouse, "ReportStages");
    ExpectMembers(report, {"StageActive"});
    ExpectInt(report, "StageActive", 0, 4);
}

TEST(MouseDefaults, CorrectionEntriesFitTheConfigurationBlock) {
    const Json::Value& entries = Group(ModelOf("mouse.Json"), "CorrectInfo");
    ASSERT_TRUE(entries.isArray());
    ASSERT_FALSE(entries.empty());
    int selected = 0;
    for (const Json::Value& entry : entries) {
        ExpectMembers(entry, {"CorrectPixThresh", "CorrectMinSq", "CorrectSelect", "CorrectName"});
        ExpectByte(entry, "CorrectPixThresh");
        ExpectByte(entry, "CorrectMinSq");
        ExpectFlag(entry, "CorrectSelect");
        selected += IntOf(entry, "CorrectSelect") == 1;
        EXPECT_TRUE(entry["CorrectName"].isString());
        EXPECT_FALSE(entry["CorrectName"].asString().empty());
    }
    EXPECT_LE(selected, 1);
}

TEST(HeadsetDefaults, SettingsAreInTheirRanges) {
    const Model& headset = ModelOf("HD.Json");
    const Json::Value& settings = Group(headset, "SystemSetStages");
    ExpectMembers(settings, {"MagicEnable", "MagicType", "EqType", "CustomEqSeletIndex",
                             "MicInSelect", "MicInValue", "MicMoniterSelect", "MicMoniterValue"});
    ExpectFlag(settings, "MagicEnable");
    ExpectInt(settings, "MagicType", 1, 4);
    ExpectInt(settings, "EqType", 1, 13);
    ExpectFlag(settings, "MicInSelect");
    ExpectInt(settings, "MicInValue", 0, 100);
    ExpectFlag(settings, "MicMoniterSelect");
    ExpectInt(settings, "MicMoniterValue", 0, 100);
    const long long customs = static_cast<long long>(Group(headset, "CustomEQNameInfo").size());
    ExpectInt(settings, "CustomEqSeletIndex", 0, customs == 0 ? 0 : customs - 1);
    if (IntOf(settings, "EqType") == 13) {
        EXPECT_GT(customs, 0) << "the custom equaliser is chosen but none exists";
    }
}

TEST(HeadsetDefaults, PresetsOneToTwelveHoldTenDistinctBandGains) {
    const Json::Value& presets = Group(ModelOf("HD.Json"), "EQHzValueInfo");
    ASSERT_TRUE(presets.isArray());
    ASSERT_EQ(presets.size(), 13u);
    for (Json::ArrayIndex p = 0; p < presets.size(); ++p) {
        SCOPED_TRACE("preset " + std::to_string(p));
        ExpectTenBands(presets[p]);
    }
    EXPECT_EQ(Bands(presets[0]), std::vector<long long>(10, 0)) << "index 0 stays flat";
    for (Json::ArrayIndex p = 1; p < presets.size(); ++p) {
        for (Json::ArrayIndex q = 1; q < p; ++q)
            EXPECT_NE(Bands(presets[p]), Bands(presets[q]))
                << "preset " << p << " repeats preset " << q;
    }
}

TEST(HeadsetDefaults, CustomEqualisersPairANameWithTenBands) {
    const Model& headset = ModelOf("HD.Json");
    const Json::Value& names = Group(headset, "CustomEQNameInfo");
    const Json::Value& bands = Group(headset, "CustomEQHzValueInfo");
    ASSERT_TRUE(names.isArray());
    ASSERT_TRUE(bands.isArray());
    EXPECT_EQ(names.size(), bands.size());
    EXPECT_LE(names.size(), 20u);
    for (const Json::Value& name : names) {
        ExpectMembers(name, {"Name"});
        EXPECT_TRUE(name["Name"].isString());
        EXPECT_FALSE(name["Name"].asString().empty());
    }
    for (const Json::Value& preset : bands)
        ExpectTenBands(preset);
}

} // namespace
