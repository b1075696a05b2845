#include "sim/Descriptors.h"

#include "sim/ReportDescriptorWriter.h"

namespace sim {
namespace {

constexpr std::uint16_t kGenericDesktop = 0x01;
constexpr std::uint16_t kKeyboardPage = 0x07;
constexpr std::uint16_t kLedPage = 0x08;
constexpr std::uint16_t kButtonPage = 0x09;
constexpr std::uint16_t kConsumerPage = 0x0C;
constexpr std::uint16_t kVendorPage = 0xFF1C;
constexpr std::uint16_t kVendorUsage = 0x92;
// Notifications such as 0x0401 or 0x1123 are sent as consumer usages, so the array reaches
// beyond the usages the consumer page names.
constexpr std::uint16_t kHighestNotificationUsage = 0x1FFF;

void AddKeyboard(ReportDescriptorWriter& d, std::uint8_t reportId) {
    d.UsagePage(kGenericDesktop).Usage(0x06).Collection(kApplicationCollection);
    d.ReportId(reportId);
    d.UsagePage(kKeyboardPage).UsageMinimum(0xE0).UsageMaximum(0xE7);
    d.LogicalMinimum(0).LogicalMaximum(1).ReportSize(1).ReportCount(8).Input(kDataVarAbs);
    d.ReportSize(8).ReportCount(1).Input(kConstant);
    d.UsagePage(kLedPage).UsageMinimum(1).UsageMaximum(5);
    d.ReportSize(1).ReportCount(5).Output(kDataVarAbs);
    d.ReportSize(3).ReportCount(1).Output(kConstant);
    d.UsagePage(kKeyboardPage).UsageMinimum(0).UsageMaximum(0xFF);
    d.LogicalMinimum(0).LogicalMaximum(0xFF).ReportSize(8).ReportCount(6).Input(kDataArrayAbs);
    d.EndCollection();
}

void AddSystemControl(ReportDescriptorWriter& d, std::uint8_t reportId) {
    d.UsagePage(kGenericDesktop).Usage(0x80).Collection(kApplicationCollection);
    d.ReportId(reportId).UsageMinimum(0x81).UsageMaximum(0x83);
    d.LogicalMinimum(0).LogicalMaximum(1).ReportSize(1).ReportCount(3).Input(kDataVarAbs);
    d.ReportCount(5).Input(kConstant);
    d.EndCollection();
}

void AddMouse(ReportDescriptorWriter& d, std::uint8_t reportId) {
    d.UsagePage(kGenericDesktop).Usage(0x02).Collection(kApplicationCollection);
    d.ReportId(reportId).Usage(0x01).Collection(kPhysicalCollection);
    d.UsagePage(kButtonPage).UsageMinimum(1).UsageMaximum(5);
    d.LogicalMinimum(0).LogicalMaximum(1).ReportSize(1).ReportCount(5).Input(kDataVarAbs);
    d.ReportSize(3).ReportCount(1).Input(kConstant);
    d.UsagePage(kGenericDesktop).Usage(0x30).Usage(0x31);
    d.LogicalMinimum(-32767).LogicalMaximum(32767).ReportSize(16).ReportCount(2);
    d.Input(kDataVarRel);
    d.Usage(0x38).LogicalMinimum(-127).LogicalMaximum(127).ReportSize(8).ReportCount(1);
    d.Input(kDataVarRel);
    d.EndCollection().EndCollection();
}

void AddConsumerKeys(ReportDescriptorWriter& d, std::uint8_t reportId) {
    d.ReportId(reportId).UsagePage(kConsumerPage);
    d.UsageMinimum(0).UsageMaximum(kHighestNotificationUsage);
    d.LogicalMinimum(0).LogicalMaximum(kHighestNotificationUsage);
    d.ReportSize(16).ReportCount(1).Input(kDataArrayAbs);
}

// 63 bytes each way behind report ID 4: the 64-byte command report.
void AddCommandReports(ReportDescriptorWriter& d) {
    d.ReportId(kCommandReportId).UsagePage(kVendorPage);
    d.LogicalMinimum(0).LogicalMaximum(0xFF).ReportSize(8).ReportCount(63);
    d.Usage(0x01).Input(kDataVarAbs);
    d.Usage(0x02).Output(kDataVarAbs);
}

void AddConsumerCollection(ReportDescriptorWriter& d) {
    d.UsagePage(kConsumerPage).Usage(0x01).Collection(kApplicationCollection);
    AddConsumerKeys(d, kNotificationReportId);
    d.EndCollection();
}

void AddCommandCollection(ReportDescriptorWriter& d) {
    d.UsagePage(kVendorPage).Usage(kVendorUsage).Collection(kApplicationCollection);
    AddCommandReports(d);
    d.EndCollection();
}

// The collections each descriptor below declares.
const CollectionLayout kKeyboardCollection{kGenericDesktop, 0x06, {{1, 9}}, {{1, 2}}};
const CollectionLayout kSystemControlCollection{kGenericDesktop, 0x80, {{2, 2}}, {}};
const CollectionLayout kMouseCollection{kGenericDesktop, 0x02, {{1, 7}}, {}};
const CollectionLayout kMouseKeysCollection{kGenericDesktop, 0x06, {{2, 9}}, {{2, 2}}};
const CollectionLayout kNotificationCollection{
    kConsumerPage, 0x01, {{kNotificationReportId, 3}}, {}};
const CollectionLayout kCommandCollection{
    kVendorPage, kVendorUsage, {{kCommandReportId, 64}}, {{kCommandReportId, 64}}};
const CollectionLayout kHeadsetCollection{kConsumerPage,
                                          0x01,
                                          {{kHeadsetKeysReportId, 3}, {kCommandReportId, 64}},
                                          {{kCommandReportId, 64}}};

} // namespace

InterfaceLayout KeyboardInterface() {
    ReportDescriptorWriter d;
    AddKeyboard(d, 1);
    AddSystemControl(d, 2);
    AddConsumerCollection(d);
    AddCommandCollection(d);
    return {d.Bytes(),
            {kKeyboardCollection, kSystemControlCollection, kNotificationCollection,
             kCommandCollection}};
}

InterfaceLayout MouseInterface() {
    ReportDescriptorWriter d;
    AddMouse(d, 1);
    AddKeyboard(d, 2);
    AddConsumerCollection(d);
    AddCommandCollection(d);
    return {d.Bytes(),
            {kMouseCollection, kMouseKeysCollection, kNotificationCollection, kCommandCollection}};
}

InterfaceLayout HeadsetInterface() {
    ReportDescriptorWriter d;
    d.UsagePage(kConsumerPage).Usage(0x01).Collection(kApplicationCollection);
    AddConsumerKeys(d, kHeadsetKeysReportId);
    AddCommandReports(d);
    d.EndCollection();
    return {d.Bytes(), {kHeadsetCollection}};
}

} // namespace sim
