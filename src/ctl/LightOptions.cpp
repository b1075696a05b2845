#include "ctl/LightOptions.h"

#include "ctl/CtlCommands.h"

#include <array>
#include <charconv>
#include <cstdio>

namespace ctl {

namespace {

enum class Field { Mode, Brightness, Speed, Direction, Colour, MultiColour };

struct OptionName {
    const char* name;
    Field field;
};

constexpr std::array<OptionName, 6> kOptions = {{
    {"--mode", Field::Mode},
    {"--brightness", Field::Brightness},
    {"--speed", Field::Speed},
    {"--direction", Field::Direction},
    {"--colour", Field::Colour},
    {"--multicolour", Field::MultiColour},
}};

// The number of `option` within 0 to `maximum`, or the complaint about it.
std::string TakeNumber(const std::string& option, const std::string& text, int maximum,
                       std::optional<int>& into) {
    const std::optional<int> value = ParseDecimal(text);
    if (!value || *value > maximum)
        return option + " takes a number from 0 to " + std::to_string(maximum) + ", not '" + text +
               "'";
    into = *value;
    return {};
}

// The mode's range depends on the device's mode list; only its form is checked here.
std::string TakeMode(const std::string& text, std::optional<int>& into) {
    const std::optional<int> value = ParseDecimal(text);
    if (!value)
        return "--mode takes an effect number, not '" + text + "'";
    into = *value;
    return {};
}

std::string TakeValue(Field field, const std::string& option, const std::string& text,
                      const LightLimits& limits, LightChanges& changes) {
    switch (field) {
    case Field::Mode:
        return TakeMode(text, changes.mode);
    case Field::Brightness:
        return TakeNumber(option, text, limits.brightness, changes.brightness);
    case Field::Speed:
        return TakeNumber(option, text, limits.speed, changes.speed);
    case Field::Direction:
        return TakeNumber(option, text, 1, changes.direction);
    case Field::MultiColour:
        return TakeNumber(option, text, 1, changes.multiColour);
    case Field::Colour:
        changes.colour = ParseColourText(text);
        if (!changes.colour)
            return "--colour takes six hexadecimal digits RRGGBB, such as FF8000, not '" + text +
                   "'";
        return {};
    }
    return {};
}

bool IsGiven(Field field, const LightChanges& changes) {
    switch (field) {
    case Field::Mode:
        return changes.mode.has_value();
    case Field::Brightness:
        return changes.brightness.has_value();
    case Field::Speed:
        return changes.speed.has_value();
    case Field::Direction:
        return changes.direction.has_value();
    case Field::Colour:
        return changes.colour.has_value();
    case Field::MultiColour:
        return changes.multiColour.has_value();
    }
    return false;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

ParsedLightOptions ParseLightOptions(const std::vector<std::string>& words,
                                     const LightLimits& limits) {
    ParsedLightOptions parsed;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        const std::size_t equals = word.find('=');
        const std::string option = word.substr(0, equals);
        const OptionName* known = nullptr;
        for (const OptionName& o : kOptions)
            if (option == o.name)
                known = &o;
        if (!known) {
            parsed.error = "unknown light option '" + word + "'";
            return parsed;
        }
        if (IsGiven(known->field, parsed.changes)) {
            parsed.error = option + " is given twice";
            return parsed;
        }
        std::string value;
        if (equals != std::string::npos) {
            value = word.substr(equals + 1);
        } else if (i + 1 < words.size()) {
            value = words[++i];
        } else {
            parsed.error = option + " needs a value";
            return parsed;
        }
        parsed.error = TakeValue(known->field, option, value, limits, parsed.changes);
        if (!parsed.error.empty())
            return parsed;
    }
    return parsed;
}

config::LightInfoRecord ApplyLightChanges(config::LightInfoRecord fields,
                                          const LightChanges& changes) {
    if (changes.mode)
        fields.selectItem = static_cast<std::uint8_t>(*changes.mode);
    if (changes.brightness)
        fields.light = static_cast<std::uint8_t>(*changes.brightness);
    if (changes.speed)
        fields.speed = static_cast<std::uint8_t>(*changes.speed);
    if (changes.direction)
        fields.fx = static_cast<std::uint8_t>(*changes.direction);
    if (changes.colour) {
        fields.red = changes.colour->red;
        fields.green = changes.colour->green;
        fields.blue = changes.colour->blue;
        fields.multiColor = 0;
    }
    if (changes.multiColour)
        fields.multiColor = static_cast<std::uint8_t>(*changes.multiColour);
    return fields;
}

std::optional<Rgb> ParseColourText(const std::string& text) {
    if (text.size() != 6)
        return std::nullopt;
    std::array<std::uint8_t, 3> bytes{};
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const int high = HexDigit(text[2 * i]);
        const int low = HexDigit(text[2 * i + 1]);
        if (high < 0 || low < 0)
            return std::nullopt;
        bytes[i] = static_cast<std::uint8_t>(high << 4 | low);
    }
    return Rgb{bytes[0], bytes[1], bytes[2]};
}

std::string ColourText(const Rgb& colour) {
    char text[7];
    std::snprintf(text, sizeof text, "%02X%02X%02X", colour.red, colour.green, colour.blue);
    return text;
}

} // namespace ctl
