#include "devices/IdentityRecord.h"

#include "devices/ModelTables.h"

namespace devices {

namespace {
void PutWord(std::array<std::uint8_t, kIdentityRecordSize>& record, std::size_t at,
             std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i)
        record[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}
} // namespace

std::array<std::uint8_t, kIdentityRecordSize> BuildIdentityRecord() {
    std::array<std::uint8_t, kIdentityRecordSize> record{};
    PutWord(record, 0, 2);
    PutWord(record, 4, 3);
    PutWord(record, 8, 0);
    PutWord(record, 12, 2);
    const auto& rows = DeviceOptionRows();
    PutWord(record, 16, static_cast<std::uint32_t>(rows.size()));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        PutWord(record, 20 + 12 * i, rows[i].vendorId);
        PutWord(record, 24 + 12 * i, rows[i].productId);
        PutWord(record, 28 + 12 * i, rows[i].kind);
    }
    return record;
}

} // namespace devices
