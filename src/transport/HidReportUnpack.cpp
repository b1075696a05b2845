// UnpackInputReport: the fields of an input report become pressed usages and values.

#include "transport/HidDescriptor.h"

#include <algorithm>

namespace transport {

namespace {

// `size` bits (the low 32 of them) at bit `offset`, least significant bit first as HID lays
// them out. The caller has checked that the bits lie inside the data.
std::uint32_t ReadBits(const std::uint8_t* data, std::uint64_t offset, std::uint32_t size) {
    const std::uint32_t kept = std::min<std::uint32_t>(size, 32);
    const std::uint64_t first = offset / 8;
    const std::uint32_t shift = offset % 8;
    const std::uint32_t bytes = (shift + kept + 7) / 8;
    std::uint64_t value = 0;
    for (std::uint32_t i = 0; i < bytes; ++i)
        value |= std::uint64_t{data[first + i]} << (8 * i);
    value >>= shift;
    return kept == 32 ? static_cast<std::uint32_t>(value)
                      : static_cast<std::uint32_t>(value & ((std::uint64_t{1} << kept) - 1));
}

// The field read as a number: signed when its logical range reaches below zero.
std::int64_t FieldValue(std::uint32_t raw, const HidField& field) {
    const std::uint32_t bits = std::min<std::uint32_t>(field.bitSize, 32);
    if (field.logicalMin >= 0 || bits == 0)
        return raw;
    if (bits == 32)
        return static_cast<std::int32_t>(raw);
    const std::uint32_t sign = std::uint32_t{1} << (bits - 1);
    return static_cast<std::int64_t>(raw ^ sign) - sign;
}

bool FieldFits(const HidField& field, std::uint64_t dataBits) {
    return field.bitOffset + std::uint64_t{field.bitSize} * field.count <= dataBits;
}

// Pressed usages, packed to the front; the rest of the list is zeroed.
class UsageWriter {
public:
    explicit UsageWriter(std::vector<std::uint16_t>& usages) : m_usages(usages) {}
    ~UsageWriter() { std::fill(m_usages.begin() + m_count, m_usages.end(), 0); }
    void Add(std::uint32_t usage) {
        if (m_count < m_usages.size())
            m_usages[m_count++] = static_cast<std::uint16_t>(usage);
    }
    std::uint32_t Last() const { return m_count ? m_usages[m_count - 1] : 0; }

private:
    std::vector<std::uint16_t>& m_usages;
    std::size_t m_count = 0;
};

void UnpackVariableButtons(HidReportItem& item, const std::uint8_t* data) {
    UsageWriter writer(item.usages);
    for (std::uint32_t bit = 0; bit < item.field.count; ++bit) {
        if (!ReadBits(data, std::uint64_t{item.field.bitOffset} + bit, 1))
            continue;
        // Bits past the usage range repeat the last usage; report it once.
        const std::uint32_t usage = std::min(item.usageMin + bit, item.usageMax);
        if (usage != writer.Last())
            writer.Add(usage);
    }
}

void UnpackArrayButtons(HidReportItem& item, const std::uint8_t* data) {
    UsageWriter writer(item.usages);
    const HidField& field = item.field;
    for (std::uint32_t i = 0; i < field.count; ++i) {
        const std::int64_t value = FieldValue(
            ReadBits(data, field.bitOffset + std::uint64_t{i} * field.bitSize, field.bitSize),
            field);
        if (value > field.logicalMax)
            continue;
        const std::int64_t index = value - field.logicalMin;
        if (index < 0 || index > std::int64_t{item.usageMax} - item.usageMin)
            continue;
        const auto usage = static_cast<std::uint32_t>(item.usageMin + index);
        if (usage != 0) // usage 0 of every page means "no control"
            writer.Add(usage);
    }
}

std::int32_t UnpackValue(HidReportItem& item, const std::uint8_t* data) {
    const HidField& field = item.field;
    item.rawValue = ReadBits(data, field.bitOffset, field.bitSize);
    item.scaledValue = 0;
    if (field.logicalMin >= field.logicalMax)
        return kHidStatusBadLogPhyValues;
    const std::int64_t value = FieldValue(item.rawValue, field);
    if (value < field.logicalMin || value > field.logicalMax)
        return kHidStatusNullValue;
    if (field.physicalMin >= field.physicalMax)
        return kHidStatusBadLogPhyValues;
    // Both spans reach 2^32, so their product needs more than 64 bits.
    const __int128 physicalSpan = std::int64_t{field.physicalMax} - field.physicalMin;
    const __int128 logicalSpan = std::int64_t{field.logicalMax} - field.logicalMin;
    item.scaledValue = static_cast<std::int32_t>(
        (value - field.logicalMin) * physicalSpan / logicalSpan + field.physicalMin);
    return kHidStatusSuccess;
}

} // namespace

std::int32_t UnpackInputReport(HidCollection& collection, const std::uint8_t* report,
                               std::size_t length) {
    std::vector<HidReportItem>& items = collection.items[static_cast<int>(HidReportType::Input)];
    if (!report || length == 0) {
        for (HidReportItem& item : items)
            item.isSet = false;
        return kHidStatusReportDoesNotExist;
    }
    // The first byte is always the report ID: 0 for a collection that uses none.
    const std::uint32_t reportId = report[0];
    const std::uint8_t* data = report + 1;
    const std::uint64_t dataBits = std::uint64_t{length - 1} * 8;
    std::int32_t result = kHidStatusSuccess;
    for (HidReportItem& item : items) {
        item.isSet = false;
        if (item.reportId != reportId)
            continue;
        if (!FieldFits(item.field, dataBits)) {
            item.status = kHidStatusReportDoesNotExist;
        } else if (!item.isButton) {
            item.status = UnpackValue(item, data);
            item.isSet = true;
        } else {
            if (item.field.isArray)
                UnpackArrayButtons(item, data);
            else
                UnpackVariableButtons(item, data);
            item.status = kHidStatusSuccess;
            item.isSet = true;
        }
        if (!item.isButton && item.status != kHidStatusSuccess && result == kHidStatusSuccess)
            result = item.status;
    }
    return result;
}

} // namespace transport
