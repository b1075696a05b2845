#pragma once
// The four named colour styles of music lighting, kept in "AudioFile.json": the object
// "Device" holds "AudioLightInfo" with the current style ("nAudioStyle"), the names
// ("nStyleName1" … "nStyleName4") and each style's colour ("nStyleR0", "nStyleG0",
// "nStyleB0" … "nStyleB3"). The user's copy lives in the user folder; the shipped default in
// the default-data folder replaces it when it is missing or unreadable.

#include <json/json.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace config {

struct AudioStyleSet {
    std::uint8_t current = 0; // 0 … 3
    std::array<std::wstring, 4> names;
    // Red, green and blue of style 0, then of style 1 … 3.
    std::array<std::uint8_t, 12> colours{};

    std::uint8_t Red(int style) const { return colours[static_cast<std::size_t>(style) * 3]; }
    std::uint8_t Green(int style) const { return colours[static_cast<std::size_t>(style) * 3 + 1]; }
    std::uint8_t Blue(int style) const { return colours[static_cast<std::size_t>(style) * 3 + 2]; }
};

// A missing key reads as 0 or an empty name; a value outside 0 … 255 (0 … 3 for the style)
// is held at the nearest end.
AudioStyleSet ReadAudioStyle(const Json::Value& audioLightInfo);
void WriteAudioStyle(const AudioStyleSet& set, Json::Value& audioLightInfo);

// The style document (the "Device" member) of the user's file, always an object; when that is
// missing or its "Device" is no object, the default file is copied over the user's and its
// "Device" taken (an empty object when the default file has none either).
Json::Value LoadAudioStyleDocument(const std::string& userFile, const std::string& defaultFile);
// The defaults back: the default file written over the user's, its "Device" returned (an
// empty object when it has none).
Json::Value ResetAudioStyleDocument(const std::string& userFile, const std::string& defaultFile);
// Saves `device` under "Device" in the user's file.
bool SaveAudioStyleDocument(const std::string& userFile, const Json::Value& device);

// What the recorder is sent for the current style: its red, green and blue as little-endian
// 32-bit values (a green of 0 sent as 1), then 28 zero bytes.
std::vector<std::uint8_t> StyleColourPayload(const AudioStyleSet& set);

} // namespace config
