#include "config/AudioStyleFile.h"

#include "config/JsonFile.h"
#include "config/Utf8.h"

#include <algorithm>

namespace config {

namespace {

constexpr const char* kColourKeys = "RGB";

std::uint8_t Byte(const Json::Value& value, int top) {
    const std::int64_t number = value.isNumeric() ? value.asInt64() : 0;
    return static_cast<std::uint8_t>(std::clamp<std::int64_t>(number, 0, top));
}

std::string ColourKey(int component, int style) {
    return std::string("nStyle") + kColourKeys[component] + std::to_string(style);
}

std::string NameKey(int style) {
    return "nStyleName" + std::to_string(style + 1);
}

Json::Value DeviceOf(const Json::Value& file) {
    return file.isObject() ? file["Device"] : Json::Value();
}

} // namespace

AudioStyleSet ReadAudioStyle(const Json::Value& info) {
    AudioStyleSet set;
    if (!info.isObject())
        return set;
    set.current = Byte(info["nAudioStyle"], 3);
    for (int style = 0; style < 4; ++style) {
        const Json::Value& name = info[NameKey(style)];
        set.names[static_cast<std::size_t>(style)] =
            name.isString() ? Utf8ToWide(name.asString()) : std::wstring();
        for (int component = 0; component < 3; ++component)
            set.colours[static_cast<std::size_t>(style * 3 + component)] =
                Byte(info[ColourKey(component, style)], 255);
    }
    return set;
}

void WriteAudioStyle(const AudioStyleSet& set, Json::Value& info) {
    info["nAudioStyle"] = set.current;
    for (int style = 0; style < 4; ++style) {
        info[NameKey(style)] = WideToUtf8(set.names[static_cast<std::size_t>(style)]);
        for (int component = 0; component < 3; ++component)
            info[ColourKey(component, style)] =
                set.colours[static_cast<std::size_t>(style * 3 + component)];
    }
}

Json::Value LoadAudioStyleDocument(const std::string& userFile, const std::string& defaultFile) {
    Json::Value device = DeviceOf(ReadJsonFile(userFile));
    if (device.isObject())
        return device;
    return ResetAudioStyleDocument(userFile, defaultFile);
}

Json::Value ResetAudioStyleDocument(const std::string& userFile, const std::string& defaultFile) {
    const Json::Value defaults = ReadJsonFile(defaultFile);
    WriteJsonFile(userFile, defaults);
    // The panel looks up its members: a "Device" that is no object (in a damaged default
    // file) counts as an empty one.
    Json::Value device = DeviceOf(defaults);
    return device.isObject() ? device : Json::Value(Json::objectValue);
}

bool SaveAudioStyleDocument(const std::string& userFile, const Json::Value& device) {
    Json::Value file = ReadJsonFile(userFile);
    if (!file.isObject())
        file = Json::Value(Json::objectValue);
    file["Device"] = device;
    return WriteJsonFile(userFile, file);
}

std::vector<std::uint8_t> StyleColourPayload(const AudioStyleSet& set) {
    std::vector<std::uint8_t> payload(40, 0);
    const int style = std::min<int>(set.current, 3);
    const std::uint32_t values[] = {set.Red(style), set.Green(style) == 0 ? 1u : set.Green(style),
                                    set.Blue(style)};
    for (std::size_t i = 0; i < 3; ++i)
        for (std::size_t b = 0; b < 4; ++b)
            payload[i * 4 + b] = static_cast<std::uint8_t>(values[i] >> (8 * b));
    return payload;
}

} // namespace config
