#pragma once
// The library side of a property call's buffers: a read's reply as text in the primary
// buffer, a write's 32-bit value and channel taken from the two buffers.

#include <cstdint>
#include <optional>
#include <string_view>

namespace headset {

// Writes `text` NUL-terminated into *primary (cut to the buffer); false without a buffer.
bool PutReplyText(void** primary, std::string_view text);
std::optional<std::int32_t> TakeInt(void** buffer);
std::optional<float> TakeFloat(void** buffer);

// The scalar volumes travel as floats, every other property as an integer.
bool IsScalarProperty(std::wstring_view property);

} // namespace headset
