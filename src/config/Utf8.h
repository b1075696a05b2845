#pragma once
// Conversions between the panels' wide strings and the UTF-8 text of the stored files.
// Invalid input never fails: a malformed UTF-8 sequence, a lone surrogate or a value past
// U+10FFFF becomes U+FFFD.

#include <string>
#include <string_view>

namespace config {

std::string WideToUtf8(std::wstring_view text);
std::wstring Utf8ToWide(std::string_view text);

} // namespace config
