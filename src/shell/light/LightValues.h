#pragma once
// Small conversions the lighting routes share.

#include "lighting/ColorComponents.h"

#include <QString>
#include <cstdint>

namespace shell::light {

inline std::uint8_t ByteOf(std::uint32_t word, int byte) {
    return static_cast<std::uint8_t>(word >> (8 * byte));
}

// A colour edit's number: above 255 counts as 255, an empty edit as 0.
inline int ClampedComponent(const QString& text) {
    return lighting::ComponentFromText(text.trimmed().toStdString());
}

} // namespace shell::light
