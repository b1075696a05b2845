#include "headset/PropertyBuffers.h"

#include "headset/AudioConfigLibrary.h"
#include "headset/HeadsetProperties.h"

#include <algorithm>
#include <cstring>

namespace headset {

bool PutReplyText(void** primary, std::string_view text) {
    if (!primary || !*primary)
        return false;
    auto* out = static_cast<char*>(*primary);
    const std::size_t length = std::min(text.size(), kPropertyBufferSize - 1);
    std::memcpy(out, text.data(), length);
    out[length] = '\0';
    return true;
}

std::optional<std::int32_t> TakeInt(void** buffer) {
    if (!buffer || !*buffer)
        return std::nullopt;
    std::int32_t value = 0;
    std::memcpy(&value, *buffer, sizeof value);
    return value;
}

std::optional<float> TakeFloat(void** buffer) {
    if (!buffer || !*buffer)
        return std::nullopt;
    float value = 0;
    std::memcpy(&value, *buffer, sizeof value);
    return value;
}

bool IsScalarProperty(std::wstring_view property) {
    return property == property::kMicScalar || property == property::kMonitorScalar;
}

} // namespace headset
