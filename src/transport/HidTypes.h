#pragma once
// What the HID layer knows of one top-level collection of an interface: its attributes, its
// capabilities and its report items, as parsed from the report descriptor.

#include <cstdint>
#include <string>
#include <vector>

namespace transport {

struct HidAttributes {
    std::uint32_t size = sizeof(HidAttributes);
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::uint16_t versionNumber = 0;
};

// The capabilities of one top-level collection. Report byte lengths count the report ID byte
// (one more than the longest report of that type), 0 when the collection has no such report.
struct HidCaps {
    std::uint16_t usage = 0;
    std::uint16_t usagePage = 0;
    std::uint16_t inputReportByteLength = 0;
    std::uint16_t outputReportByteLength = 0;
    std::uint16_t featureReportByteLength = 0;
    std::uint16_t numberLinkCollectionNodes = 0;
    std::uint16_t numberInputButtonCaps = 0;
    std::uint16_t numberInputValueCaps = 0;
    std::uint16_t numberInputDataIndices = 0;
    std::uint16_t numberOutputButtonCaps = 0;
    std::uint16_t numberOutputValueCaps = 0;
    std::uint16_t numberOutputDataIndices = 0;
    std::uint16_t numberFeatureButtonCaps = 0;
    std::uint16_t numberFeatureValueCaps = 0;
    std::uint16_t numberFeatureDataIndices = 0;
};

enum class HidReportType { Input = 0, Output = 1, Feature = 2 };

// Where a field sits in its report: the bit offset counts from the first byte after the
// report ID (or from the first byte when the collection has no report IDs).
struct HidField {
    std::uint32_t bitOffset = 0;
    std::uint32_t bitSize = 0;
    std::uint32_t count = 0; // number of fields of bitSize
    bool isArray = false;    // array items hold usage indexes; variable items hold values
    std::int32_t logicalMin = 0;
    std::int32_t logicalMax = 0;
    std::int32_t physicalMin = 0;
    std::int32_t physicalMax = 0;
};

// One button capability or one value usage of a report type.
struct HidReportItem {
    bool isButton = false;
    std::uint16_t usagePage = 0;
    std::int32_t status = 0; // 0 = success of the last unpack, else a HidStatus value
    std::uint32_t reportId = 0;
    bool isSet = false; // filled from the last unpacked report

    // Button items.
    std::uint32_t usageMin = 0;
    std::uint32_t usageMax = 0;
    std::uint32_t maxUsageListLength = 0;
    std::vector<std::uint16_t> usages; // pressed usages, packed to the front, 0 after the last

    // Value items.
    std::uint16_t usage = 0;
    std::uint32_t rawValue = 0;
    std::int32_t scaledValue = 0;

    HidField field; // where the item's data sits in its report
};

// Status values of unpacking (kept in HidReportItem::status).
enum HidStatus : std::int32_t {
    kHidStatusSuccess = 0,
    kHidStatusReportDoesNotExist = -1, // the report is shorter than the field
    kHidStatusNullValue = -2,          // the value is outside its logical range
    kHidStatusBadLogPhyValues = -3,    // no physical range to scale into
};

// One top-level collection of a report descriptor.
struct HidCollection {
    std::uint16_t usagePage = 0;
    std::uint16_t usage = 0;
    std::vector<std::uint8_t> reportIds; // empty when the descriptor uses no report IDs
    HidCaps caps;
    std::vector<HidReportItem> items[3]; // by HidReportType
};

} // namespace transport
