#pragma once
// "color_option_info.config" in the user folder: the colour picker's twenty preset swatches,
// its twenty user swatches (collected colours) and which of each was selected last. A default
// copy ships in the default-data folder and stands in while the user's file is missing or
// damaged. Colours are kept as eight upper-case hexadecimal digits, alpha first.

#include "config/JsonFile.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace config {

inline constexpr int kColorSwatchCount = 20;
inline constexpr const char* kColorOptionFileName = "color_option_info.config";

// 0xFFFF0000 → "FFFF0000".
std::string ColorText(std::uint32_t argb);
// Base-16 text (an optional "0x" is allowed) → colour; nothing for any other text. A text of
// at most six digits carries no alpha and is taken as opaque ("ff0000" is 0xFFFF0000).
std::optional<std::uint32_t> ParseColorText(const std::string& text);

struct ColorSwatch {
    std::uint32_t colour = 0;
    std::string userData; // "1" marks a filled user swatch
};

class CColorOptionFile {
public:
    // Reads the user's file; when it is missing or damaged, the default copy instead.
    // 1: a document was read; 0: none (the swatches keep the skin's colours).
    int Load(const std::string& userPath, const std::string& defaultPath);

    // The colour of preset swatch i; nothing when the file has none or an unreadable one.
    std::optional<std::uint32_t> PresetColor(int index) const;
    // The selected preset swatch; -1 when the file names none in range.
    int PresetSelection() const;
    // User swatch i; its colour is nothing when the file has none or an unreadable one.
    std::optional<std::uint32_t> UserColor(int index) const;
    std::string UserData(int index) const;
    int UserSelection() const;

    // Stores the swatches (an empty entry leaves that element as it is) and the selection and
    // writes the whole document to the user's file. 1 written; 0 not: the write failed, there
    // is no user file, or the user's file could not be read and is left alone.
    int SavePresets(const std::array<std::optional<std::uint32_t>, kColorSwatchCount>& colours,
                    int selected);
    int SaveUserSwatches(const std::array<std::optional<ColorSwatch>, kColorSwatchCount>& swatches,
                         int selected);

private:
    const Json::Value* Element(const char* list, int index) const;
    std::optional<std::uint32_t> ColorOf(const char* list, int index) const;
    int Selection(const char* key) const;
    Json::Value& Section(const char* list);
    int Save();

    Json::Value m_document;
    std::string m_userPath;
    JsonRead m_userRead;
};

} // namespace config
