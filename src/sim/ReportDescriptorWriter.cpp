#include "sim/ReportDescriptorWriter.h"

namespace sim {

ReportDescriptorWriter& ReportDescriptorWriter::EndCollection() {
    m_bytes.push_back(0xC0);
    return *this;
}

ReportDescriptorWriter& ReportDescriptorWriter::Unsigned(std::uint8_t prefix, std::uint32_t value) {
    const int size = value <= 0xFF ? 1 : value <= 0xFFFF ? 2 : 4;
    return Item(prefix, value, size);
}

ReportDescriptorWriter& ReportDescriptorWriter::Signed(std::uint8_t prefix, std::int32_t value) {
    const int size = (value >= -128 && value <= 127)       ? 1
                     : (value >= -32768 && value <= 32767) ? 2
                                                           : 4;
    return Item(prefix, static_cast<std::uint32_t>(value), size);
}

ReportDescriptorWriter& ReportDescriptorWriter::Item(std::uint8_t prefix, std::uint32_t value,
                                                     int size) {
    const std::uint8_t sizeCode = size == 4 ? 3 : static_cast<std::uint8_t>(size);
    m_bytes.push_back(static_cast<std::uint8_t>(prefix | sizeCode));
    for (int i = 0; i < size; ++i)
        m_bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    return *this;
}

} // namespace sim
