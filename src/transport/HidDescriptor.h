#pragma once
// The HID report descriptor parser: a descriptor becomes its top-level collections, each with
// its usage, report IDs, capabilities and report items; an input report becomes values.

#include "transport/HidTypes.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace transport {

struct ParsedDescriptor {
    bool ok = false;
    std::string error; // why parsing failed
    std::vector<HidCollection> collections;
};

// Parses a report descriptor. A truncated item, collections nested deeper than 32 levels, an
// End Collection or Pop without its opening item, or more than 4096 items fail the parse with
// a reason; nothing is read outside `data`.
ParsedDescriptor ParseReportDescriptor(const std::uint8_t* data, std::size_t size);

// Fills the input items of `collection` that belong to the report's ID from one input report
// (its first byte is the report ID, 0 when the collection uses none). Items whose field lies
// beyond the report's end get kHidStatusReportDoesNotExist. Returns the first status of a value
// item that is not success, else kHidStatusSuccess.
std::int32_t UnpackInputReport(HidCollection& collection, const std::uint8_t* report,
                               std::size_t length);

} // namespace transport
