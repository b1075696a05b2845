// Feeds a HID report descriptor and input reports to the descriptor parser and the report
// unpacker. Input: the descriptor's length (two bytes, low first, taken modulo what is left),
// the descriptor, then reports, each a length byte and that many bytes.
//
// Beyond not crashing (nothing is read outside the descriptor or a report): a parse that
// succeeds declares report lengths that hold its own items, a report of the declared length
// holds every item of its ID, pressed usages stay in their item's range and are packed to the
// front, and a scaled value stays in its physical range.

#include "FuzzSupport.h"

#include "transport/HidDescriptor.h"

#include <algorithm>
#include <vector>

using namespace transport;
using fuzz::Require;

namespace {

std::uint64_t FieldEnd(const HidField& field) {
    return field.bitOffset + std::uint64_t{field.bitSize} * field.count;
}

void CheckDeclaredLengths(const HidCollection& collection) {
    const std::uint16_t lengths[3] = {collection.caps.inputReportByteLength,
                                      collection.caps.outputReportByteLength,
                                      collection.caps.featureReportByteLength};
    for (int type = 0; type < 3; ++type)
        for (const HidReportItem& item : collection.items[type]) {
            // The length counts the report ID byte; a length of 0xFFFF is one held there.
            if (lengths[type] != 0xFFFF)
                Require(lengths[type] > 0 && FieldEnd(item.field) <= (lengths[type] - 1) * 8ull,
                        "an item lies past its report's declared length");
            if (!collection.reportIds.empty())
                Require(std::find(collection.reportIds.begin(), collection.reportIds.end(),
                                  item.reportId) != collection.reportIds.end(),
                        "an item's report ID is not one of the collection's");
            if (item.isButton)
                Require(item.usages.size() == item.maxUsageListLength,
                        "a button item's usage list is not its declared length");
        }
}

void CheckUnpacked(const HidCollection& collection, std::uint8_t reportId, bool fullLength) {
    for (const HidReportItem& item : collection.items[static_cast<int>(HidReportType::Input)]) {
        if (item.reportId != reportId) {
            Require(!item.isSet, "an item of another report was filled");
            continue;
        }
        if (fullLength)
            Require(item.status != kHidStatusReportDoesNotExist,
                    "a report of the declared length misses an item");
        if (!item.isSet)
            continue;
        if (item.isButton) {
            const auto end = std::find(item.usages.begin(), item.usages.end(), 0);
            Require(std::all_of(end, item.usages.end(), [](std::uint16_t u) { return u == 0; }),
                    "pressed usages are not packed to the front");
            Require(std::all_of(item.usages.begin(), end,
                                [&](std::uint16_t u) {
                                    return u >= (item.usageMin & 0xFFFF) &&
                                           u <= std::min<std::uint32_t>(item.usageMax, 0xFFFF);
                                }),
                    "a pressed usage is outside its item's range");
        } else if (item.status == kHidStatusSuccess) {
            Require(item.scaledValue >= item.field.physicalMin &&
                        item.scaledValue <= item.field.physicalMax,
                    "a scaled value is outside its physical range");
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Bytes in(data, size);
    const std::size_t length = in.Word() % (in.Left() + 1);
    // A copy of exactly the descriptor's size, so that a read past it is seen.
    const std::span<const std::uint8_t> piece = in.Take(length);
    const std::vector<std::uint8_t> descriptor(piece.begin(), piece.end());
    ParsedDescriptor parsed = ParseReportDescriptor(descriptor.data(), descriptor.size());
    if (!parsed.ok) {
        Require(!parsed.error.empty(), "a failed parse gives no reason");
        return 0;
    }
    for (const HidCollection& collection : parsed.collections)
        CheckDeclaredLengths(collection);
    if (parsed.collections.empty())
        return 0;

    int reports = 0;
    while (!in.Empty() && reports++ < 64) {
        const std::span<const std::uint8_t> bytes = in.Take(in.Byte());
        const std::vector<std::uint8_t> report(bytes.begin(), bytes.end());
        for (HidCollection& collection : parsed.collections) {
            UnpackInputReport(collection, report.data(), report.size());
            if (report.empty())
                continue;
            const std::uint16_t declared = collection.caps.inputReportByteLength;
            CheckUnpacked(collection, report[0], declared != 0xFFFF && report.size() >= declared);
            // The same report at the declared length: every item of its ID is there.
            std::vector<std::uint8_t> full = report;
            full.resize(std::max<std::size_t>(full.size(), collection.caps.inputReportByteLength));
            UnpackInputReport(collection, full.data(), full.size());
            CheckUnpacked(collection, full[0], declared != 0xFFFF);
        }
    }
    return 0;
}
