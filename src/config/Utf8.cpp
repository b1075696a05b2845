#include "config/Utf8.h"

#include <cstdint>

namespace config {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsSurrogate(char32_t c) {
    return c >= 0xD800 && c <= 0xDFFF;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (IsSurrogate(c) || c > 0x10FFFF)
        c = kReplacement;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Decodes the sequence at text[pos]; on return pos is past it. Anything that is not the
// shortest form of a scalar value yields U+FFFD and consumes one byte.
char32_t DecodeUtf8(std::string_view text, size_t& pos) {
    const auto lead = static_cast<std::uint8_t>(text[pos]);
    int length = 0;
    char32_t value = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        ++pos;
        return lead;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, value = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, value = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, value = lead & 0x07, minimum = 0x10000;
    } else {
        ++pos;
        return kReplacement;
    }
    if (text.size() - pos < static_cast<size_t>(length)) {
        ++pos;
        return kReplacement;
    }
    for (int i = 1; i < length; ++i) {
        const auto next = static_cast<std::uint8_t>(text[pos + i]);
        if ((next & 0xC0) != 0x80) {
            ++pos;
            return kReplacement;
        }
        value = (value << 6) | (next & 0x3F);
    }
    if (value < minimum || value > 0x10FFFF || IsSurrogate(value)) {
        ++pos;
        return kReplacement;
    }
    pos += length;
    return value;
}

} // namespace

std::string WideToUtf8(std::wstring_view text) {
    std::string out;
    out.reserve(text.size());
    for (wchar_t c : text)
        AppendUtf8(out, static_cast<char32_t>(c));
    return out;
}

std::wstring Utf8ToWide(std::string_view text) {
    std::wstring out;
    out.reserve(text.size());
    for (size_t pos = 0; pos < text.size();)
        out += static_cast<wchar_t>(DecodeUtf8(text, pos));
    return out;
}

} // namespace config
