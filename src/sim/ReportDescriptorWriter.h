#pragma once
// Writes a HID report descriptor item by item, each short item in its shortest encoding.

#include <cstdint>
#include <vector>

namespace sim {

// Main item flags (HID 1.11, 6.2.2.5).
inline constexpr std::uint8_t kDataArrayAbs = 0x00;
inline constexpr std::uint8_t kConstant = 0x01;
inline constexpr std::uint8_t kDataVarAbs = 0x02;
inline constexpr std::uint8_t kDataVarRel = 0x06;

inline constexpr std::uint8_t kPhysicalCollection = 0x00;
inline constexpr std::uint8_t kApplicationCollection = 0x01;

class ReportDescriptorWriter {
public:
    ReportDescriptorWriter& UsagePage(std::uint16_t page) { return Unsigned(0x04, page); }
    ReportDescriptorWriter& Usage(std::uint16_t usage) { return Unsigned(0x08, usage); }
    ReportDescriptorWriter& UsageMinimum(std::uint16_t usage) { return Unsigned(0x18, usage); }
    ReportDescriptorWriter& UsageMaximum(std::uint16_t usage) { return Unsigned(0x28, usage); }
    ReportDescriptorWriter& LogicalMinimum(std::int32_t value) { return Signed(0x14, value); }
    ReportDescriptorWriter& LogicalMaximum(std::int32_t value) { return Signed(0x24, value); }
    ReportDescriptorWriter& ReportSize(std::uint32_t bits) { return Unsigned(0x74, bits); }
    ReportDescriptorWriter& ReportId(std::uint8_t id) { return Unsigned(0x84, id); }
    ReportDescriptorWriter& ReportCount(std::uint32_t count) { return Unsigned(0x94, count); }
    ReportDescriptorWriter& Input(std::uint8_t flags) { return Unsigned(0x80, flags); }
    ReportDescriptorWriter& Output(std::uint8_t flags) { return Unsigned(0x90, flags); }
    ReportDescriptorWriter& Collection(std::uint8_t kind) { return Unsigned(0xA0, kind); }
    ReportDescriptorWriter& EndCollection();

    const std::vector<std::uint8_t>& Bytes() const { return m_bytes; }

private:
    ReportDescriptorWriter& Unsigned(std::uint8_t prefix, std::uint32_t value);
    // Logical limits are read as signed numbers: 255 takes two bytes (FF 00), not one.
    ReportDescriptorWriter& Signed(std::uint8_t prefix, std::int32_t value);
    ReportDescriptorWriter& Item(std::uint8_t prefix, std::uint32_t value, int size);

    std::vector<std::uint8_t> m_bytes;
};

} // namespace sim
