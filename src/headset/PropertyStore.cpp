#include "headset/PropertyStore.h"

#include "headset/HeadsetProperties.h"
#include "headset/PropertyBuffers.h"

#include <cstdio>

namespace headset {

void PropertyStore::SetInitial(const std::wstring& property, std::string text) {
    m_values[property] = std::move(text);
}

void PropertyStore::KeepEffectsOff() {
    namespace p = property;
    SetInitial(p::kSupportFeature, "1,0,0,0,1,0,1");
    for (const wchar_t* name :
         {p::kMagicVoice, p::kMagicVoiceSelection, p::kMicEcho, p::kNoiseCancellation, p::kEqEnable,
          p::kRoomEffect, p::kRoomEnvironment, p::kRoomSize, p::kSurround})
        SetInitial(name, "0");
    for (const wchar_t* band : p::kEqBands)
        SetInitial(band, "0");
}

bool PropertyStore::Has(const std::wstring& property) const {
    return m_values.count(property) != 0;
}

int PropertyStore::Read(const std::wstring& property, void** primary) const {
    const auto it = m_values.find(property);
    if (it == m_values.end())
        return -1;
    return PutReplyText(primary, it->second) ? 0 : -1;
}

int PropertyStore::Write(const std::wstring& property, void** primary) {
    char text[32];
    if (IsScalarProperty(property)) {
        const std::optional<float> value = TakeFloat(primary);
        if (!value)
            return -1;
        std::snprintf(text, sizeof text, "%.2f", static_cast<double>(*value));
    } else {
        const std::optional<std::int32_t> value = TakeInt(primary);
        if (!value)
            return -1;
        std::snprintf(text, sizeof text, "%d", *value);
    }
    m_values[property] = text;
    return 0;
}

std::string PropertyStore::Text(const std::wstring& property) const {
    const auto it = m_values.find(property);
    return it == m_values.end() ? std::string() : it->second;
}

} // namespace headset
