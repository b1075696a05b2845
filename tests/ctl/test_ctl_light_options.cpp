// The light command's options: what each asks for, the order the lighting page's rules apply
// them in, and every malformed value refused with a reason.

#include "ctl/LightOptions.h"

#include <gtest/gtest.h>

namespace {

using ctl::LightChanges;
using ctl::ParseLightOptions;

ctl::ParsedLightOptions Parse(const std::vector<std::string>& words) {
    return ParseLightOptions(words, ctl::LightLimits{3, 3});
}

TEST(LightOptions, EachOptionTakesItsValueInEitherForm) {
    const ctl::ParsedLightOptions parsed =
        Parse({"--mode", "29", "--brightness=2", "--speed", "0", "--direction=1", "--colour",
               "0aFf80", "--multicolour", "1"});
    ASSERT_EQ(parsed.error, "");
    EXPECT_EQ(parsed.changes.mode, 29);
    EXPECT_EQ(parsed.changes.brightness, 2);
    EXPECT_EQ(parsed.changes.speed, 0);
    EXPECT_EQ(parsed.changes.direction, 1);
    ASSERT_TRUE(parsed.changes.colour);
    EXPECT_EQ(ctl::ColourText(*parsed.changes.colour), "0AFF80");
    EXPECT_EQ(parsed.changes.multiColour, 1);
    EXPECT_TRUE(Parse({}).changes.Empty());
}

TEST(LightOptions, AColourTurnsMultiColourOffUnlessItIsAskedForToo) {
    config::LightInfoRecord fields;
    fields.selectItem = 5;
    fields.multiColor = 1;
    fields.zzccLedMode = 7;
    fields.customGroup = 2;
    fields.oldLedMode = 6;

    const config::LightInfoRecord coloured =
        ctl::ApplyLightChanges(fields, Parse({"--colour", "102030"}).changes);
    EXPECT_EQ(coloured.multiColor, 0);
    EXPECT_EQ(coloured.red, 0x10);
    EXPECT_EQ(coloured.green, 0x20);
    EXPECT_EQ(coloured.blue, 0x30);
    EXPECT_EQ(coloured.selectItem, 5) << "fields not given stay";

    // The rules' order, not the command line's, decides.
    const config::LightInfoRecord both =
        ctl::ApplyLightChanges(fields, Parse({"--multicolour", "1", "--colour", "102030"}).changes);
    EXPECT_EQ(both.multiColor, 1);
    EXPECT_EQ(both.red, 0x10);

    const config::LightInfoRecord other =
        ctl::ApplyLightChanges(fields, Parse({"--direction", "0", "--speed", "3"}).changes);
    EXPECT_EQ(other.multiColor, 1) << "only a colour clears it";
    EXPECT_EQ(other.zzccLedMode, 7);
    EXPECT_EQ(other.customGroup, 2);
    EXPECT_EQ(other.oldLedMode, 6) << "the mode a game event interrupted is kept";
}

TEST(LightOptions, MalformedValuesAreRefusedWithTheReason) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"--brightness", "4"}, "--brightness takes a number from 0 to 3, not '4'"},
        {{"--speed", "-1"}, "--speed takes a number from 0 to 3, not '-1'"},
        {{"--speed", "+1"}, "--speed takes a number from 0 to 3, not '+1'"},
        {{"--direction", "2"}, "--direction takes a number from 0 to 1, not '2'"},
        {{"--multicolour", "yes"}, "--multicolour takes a number from 0 to 1, not 'yes'"},
        {{"--mode", "5x"}, "--mode takes an effect number, not '5x'"},
        {{"--mode", "99999999999"}, "--mode takes an effect number, not '99999999999'"},
        {{"--brightness="}, "--brightness takes a number from 0 to 3, not ''"},
        {{"--colour", "#FF0000"},
         "--colour takes six hexadecimal digits RRGGBB, such as FF8000, not '#FF0000'"},
        {{"--colour", "FF00"},
         "--colour takes six hexadecimal digits RRGGBB, such as FF8000, not 'FF00'"},
        {{"--colour", "FF00G0"},
         "--colour takes six hexadecimal digits RRGGBB, such as FF8000, not 'FF00G0'"},
        {{"--color", "FF0000"}, "unknown light option '--color'"},
        {{"5"}, "unknown light option '5'"},
        {{"--speed", "1", "--speed=2"}, "--speed is given twice"},
        {{"--mode"}, "--mode needs a value"},
    };
    for (const auto& [words, error] : cases)
        EXPECT_EQ(Parse(words).error, error) << words[0];
    EXPECT_EQ(ParseLightOptions({"--speed", "4"}, ctl::LightLimits{4, 4}).error, "")
        << "the limits are the kind's";
}

} // namespace
