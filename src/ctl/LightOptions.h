#pragma once
// The options of "light KIND": parsed into the changes they ask for, and those changes made
// to a device's light fields by the rules of the window's lighting handlers.

#include "config/ProfileRecords.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ctl {

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
};

// What the options ask for; an option not given leaves its field as it is.
struct LightChanges {
    std::optional<int> mode; // an effect index; checked against the mode list later
    std::optional<int> brightness;
    std::optional<int> speed;
    std::optional<int> direction;
    std::optional<Rgb> colour;
    std::optional<int> multiColour;

    bool Empty() const {
        return !mode && !brightness && !speed && !direction && !colour && !multiColour;
    }
};

// The largest brightness and speed the lighting page offers for a device kind.
struct LightLimits {
    int brightness = 3;
    int speed = 3;
};

struct ParsedLightOptions {
    LightChanges changes;
    std::string error; // empty when every option was understood
};

// `--mode N`, `--brightness N`, `--speed N`, `--direction 0|1`, `--colour RRGGBB` and
// `--multicolour 0|1`, each also as `--name=value` and at most once. Numbers are decimal
// without a sign, brightness and speed within `limits`; the colour is six hexadecimal digits.
ParsedLightOptions ParseLightOptions(const std::vector<std::string>& words,
                                     const LightLimits& limits);

// The changes made to `fields` as the lighting handlers make them, in this order: mode,
// brightness, speed, direction, colour, multi-colour. Setting a colour turns multi-colour off,
// as the colour edits and the palette do; an explicit --multicolour comes last, so
// `--colour RRGGBB --multicolour 1` keeps both.
config::LightInfoRecord ApplyLightChanges(config::LightInfoRecord fields,
                                          const LightChanges& changes);

// Six hexadecimal digits, either case; nullopt for anything else.
std::optional<Rgb> ParseColourText(const std::string& text);
// Six upper-case hexadecimal digits.
std::string ColourText(const Rgb& colour);

} // namespace ctl
