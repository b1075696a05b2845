#include "config/ProfileNames.h"

#include "config/Utf8.h"

#include <algorithm>

namespace config {

namespace {

// The lower-case form of the capital letters of the Latin, Greek and Cyrillic blocks.
char32_t FoldCase(char32_t c) {
    if (c >= U'A' && c <= U'Z')
        return c + 0x20;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7)
        return c + 0x20;
    if (c == 0x178) // Ÿ pairs with ÿ of Latin-1
        return 0xFF;
    if (c >= 0x100 && c <= 0x17F && c != 0x130 && c != 0x131 && c != 0x138 && c != 0x149 &&
        c != 0x17F) {
        // Latin Extended-A pairs capitals and small letters side by side; the run from U+0139
        // to U+0148 and from U+0179 on puts the capital on the odd code point.
        const bool oddCapitals = (c >= 0x139 && c <= 0x148) || c >= 0x179;
        if (oddCapitals ? (c % 2 == 1) : (c % 2 == 0))
            return c + 1;
        return c;
    }
    if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2)
        return c + 0x20;
    if (c >= 0x400 && c <= 0x40F)
        return c + 0x50;
    if (c >= 0x410 && c <= 0x42F)
        return c + 0x20;
    return c;
}

std::u32string Folded(std::string_view text) {
    const std::wstring wide = Utf8ToWide(text);
    std::u32string folded;
    folded.reserve(wide.size());
    for (wchar_t c : wide)
        folded.push_back(FoldCase(static_cast<char32_t>(c)));
    return folded;
}

bool IsSpace(char32_t c) {
    return c == U' ' || (c >= U'\t' && c <= U'\r') || c == 0xA0 || c == 0x3000;
}

} // namespace

bool SameProfileName(std::string_view a, std::string_view b) {
    return a == b || Folded(a) == Folded(b);
}

bool IsBlankProfileName(std::string_view name) {
    const std::wstring wide = Utf8ToWide(name);
    return std::all_of(wide.begin(), wide.end(),
                       [](wchar_t c) { return IsSpace(static_cast<char32_t>(c)); });
}

bool NameTaken(std::string_view name, const std::vector<std::string>& names) {
    return std::any_of(names.begin(), names.end(),
                       [&](const std::string& other) { return SameProfileName(name, other); });
}

std::string NewProfileName(const std::vector<std::string>& names) {
    // At most names.size() numbers can be taken, so this ends.
    for (std::size_t n = 1;; ++n) {
        std::string candidate = "profile" + std::to_string(n);
        if (!NameTaken(candidate, names))
            return candidate;
    }
}

std::string CopyProfileName(const std::string& source, const std::vector<std::string>& names) {
    std::string candidate = source + " copy";
    while (NameTaken(candidate, names))
        candidate += " copy";
    return candidate;
}

std::string ImportProfileName(const std::string& base, const std::vector<std::string>& names) {
    std::string candidate = base;
    for (int n = 1; NameTaken(candidate, names); ++n)
        candidate += "(" + std::to_string(n) + ")";
    return candidate;
}

} // namespace config
