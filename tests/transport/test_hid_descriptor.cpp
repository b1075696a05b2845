// Parsing report descriptors: the collections, capabilities and items of a four-collection
// interface, the layout rules, and descriptors that are broken or hostile.

#include "transport/HidDescriptor.h"
#include "transport/SampleDescriptors.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using transport::HidCollection;
using transport::HidReportItem;
using transport::HidReportType;
using transport::ParsedDescriptor;
using transport::ParseReportDescriptor;

ParsedDescriptor Parse(const std::vector<std::uint8_t>& bytes) {
    return ParseReportDescriptor(bytes.data(), bytes.size());
}

const std::vector<HidReportItem>& Items(const HidCollection& collection, HidReportType type) {
    return collection.items[static_cast<int>(type)];
}

class InterfaceDescriptor : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(parsed.ok) << parsed.error;
        ASSERT_EQ(parsed.collections.size(), 4u);
    }
    const HidCollection& Keyboard() const { return parsed.collections[0]; }
    const HidCollection& Mouse() const { return parsed.collections[1]; }
    const HidCollection& Consumer() const { return parsed.collections[2]; }
    const HidCollection& Vendor() const { return parsed.collections[3]; }

    ParsedDescriptor parsed =
        ParseReportDescriptor(test::kInterfaceDescriptor, sizeof test::kInterfaceDescriptor);
};

TEST_F(InterfaceDescriptor, NamesEachTopLevelCollectionWithItsUsageAndReportIds) {
    const std::pair<std::uint16_t, std::uint16_t> usages[] = {
        {0x0001, 0x06}, {0x0001, 0x02}, {0x000C, 0x01}, {0xFF1C, 0x92}};
    for (std::size_t i = 0; i < 4; ++i) {
        const HidCollection& collection = parsed.collections[i];
        EXPECT_EQ(collection.usagePage, usages[i].first) << i;
        EXPECT_EQ(collection.usage, usages[i].second) << i;
        EXPECT_EQ(collection.caps.usagePage, usages[i].first) << i;
        EXPECT_EQ(collection.caps.usage, usages[i].second) << i;
        EXPECT_EQ(collection.reportIds, std::vector<std::uint8_t>{std::uint8_t(i + 1)}) << i;
    }
}

TEST_F(InterfaceDescriptor, ReportLengthsCountTheIdByteAndOnlyTheCollectionsOwnReports) {
    EXPECT_EQ(Vendor().caps.inputReportByteLength, 64);
    EXPECT_EQ(Vendor().caps.outputReportByteLength, 64);
    EXPECT_EQ(Vendor().caps.featureReportByteLength, 0);
    EXPECT_EQ(Keyboard().caps.inputReportByteLength, 9);  // modifiers, reserved, 6 keys
    EXPECT_EQ(Keyboard().caps.outputReportByteLength, 2); // 5 LEDs and padding
    EXPECT_EQ(Mouse().caps.inputReportByteLength, 7);
    EXPECT_EQ(Mouse().caps.outputReportByteLength, 0);
    EXPECT_EQ(Consumer().caps.inputReportByteLength, 3);
}

TEST_F(InterfaceDescriptor, CountsCapsDataIndicesAndLinkCollections) {
    const auto& keyboard = Keyboard().caps;
    EXPECT_EQ(keyboard.numberInputButtonCaps, 2);
    EXPECT_EQ(keyboard.numberInputValueCaps, 0);
    EXPECT_EQ(keyboard.numberInputDataIndices, 8 + 256);
    EXPECT_EQ(keyboard.numberOutputButtonCaps, 1);
    EXPECT_EQ(keyboard.numberOutputDataIndices, 5);
    EXPECT_EQ(keyboard.numberLinkCollectionNodes, 1);

    const auto& mouse = Mouse().caps;
    EXPECT_EQ(mouse.numberInputButtonCaps, 1);
    EXPECT_EQ(mouse.numberInputValueCaps, 3);
    EXPECT_EQ(mouse.numberInputDataIndices, 5 + 3);
    EXPECT_EQ(mouse.numberLinkCollectionNodes, 2); // itself and the physical collection

    EXPECT_EQ(Consumer().caps.numberInputDataIndices, 0x400);
    EXPECT_EQ(Vendor().caps.numberInputValueCaps, 1);
    EXPECT_EQ(Vendor().caps.numberOutputValueCaps, 1);
}

TEST_F(InterfaceDescriptor, ButtonItemsComeFirstWithTheirUsageRangesAndPlaces) {
    const auto& input = Items(Keyboard(), HidReportType::Input);
    ASSERT_EQ(input.size(), 2u);
    const HidReportItem& modifiers = input[0];
    EXPECT_TRUE(modifiers.isButton);
    EXPECT_EQ(modifiers.usagePage, 0x07);
    EXPECT_EQ(modifiers.reportId, 1u);
    EXPECT_EQ(modifiers.usageMin, 0xE0u);
    EXPECT_EQ(modifiers.usageMax, 0xE7u);
    EXPECT_EQ(modifiers.maxUsageListLength, 8u);
    EXPECT_EQ(modifiers.usages.size(), 8u);
    EXPECT_FALSE(modifiers.field.isArray);
    EXPECT_EQ(modifiers.field.bitOffset, 0u);
    EXPECT_EQ(modifiers.field.bitSize, 1u);
    EXPECT_EQ(modifiers.field.count, 8u);

    const HidReportItem& keys = input[1];
    EXPECT_TRUE(keys.isButton);
    EXPECT_TRUE(keys.field.isArray);
    EXPECT_EQ(keys.usageMin, 0u);
    EXPECT_EQ(keys.usageMax, 0xFFu);
    EXPECT_EQ(keys.field.bitOffset, 16u); // after the constant reserved byte
    EXPECT_EQ(keys.field.count, 6u);
    EXPECT_EQ(keys.maxUsageListLength, 6u);

    const auto& leds = Items(Keyboard(), HidReportType::Output);
    ASSERT_EQ(leds.size(), 1u);
    EXPECT_EQ(leds[0].usagePage, 0x08);
    EXPECT_EQ(leds[0].usageMax, 5u);

    const auto& consumer = Items(Consumer(), HidReportType::Input);
    ASSERT_EQ(consumer.size(), 1u);
    EXPECT_EQ(consumer[0].usagePage, 0x0C);
    EXPECT_EQ(consumer[0].usageMax, 0x3FFu);
    EXPECT_EQ(consumer[0].field.bitSize, 16u);
}

TEST_F(InterfaceDescriptor, ValueItemsHaveOneUsageEachWithSignedAndPhysicalRanges) {
    const auto& input = Items(Mouse(), HidReportType::Input);
    ASSERT_EQ(input.size(), 4u);
    EXPECT_TRUE(input[0].isButton);
    const HidReportItem& x = input[1];
    const HidReportItem& y = input[2];
    const HidReportItem& wheel = input[3];
    EXPECT_FALSE(x.isButton);
    EXPECT_EQ(x.usagePage, 0x01);
    EXPECT_EQ(x.usage, 0x30);
    EXPECT_EQ(y.usage, 0x31);
    EXPECT_EQ(wheel.usage, 0x38);
    EXPECT_EQ(x.field.bitOffset, 8u);
    EXPECT_EQ(y.field.bitOffset, 24u);
    EXPECT_EQ(wheel.field.bitOffset, 40u);
    EXPECT_EQ(x.field.logicalMin, -32767);
    EXPECT_EQ(x.field.logicalMax, 32767);
    EXPECT_EQ(wheel.field.logicalMin, -127);
    EXPECT_EQ(wheel.field.physicalMin, -1270);
    EXPECT_EQ(wheel.field.physicalMax, 1270);
    // Pop restored the globals pushed before the wheel: nothing leaks into later collections.
    const HidReportItem& vendorIn = Items(Vendor(), HidReportType::Input)[0];
    EXPECT_EQ(vendorIn.field.physicalMin, 0);
    EXPECT_EQ(vendorIn.field.physicalMax, 0);
}

TEST_F(InterfaceDescriptor, TheLastValueUsageTakesTheRemainingFields) {
    const HidReportItem& in = Items(Vendor(), HidReportType::Input)[0];
    EXPECT_EQ(in.usagePage, 0xFF1C);
    EXPECT_EQ(in.usage, 0x01);
    EXPECT_EQ(in.field.count, 63u);
    EXPECT_EQ(in.field.logicalMax, 255); // one-byte 0xFF after a minimum of 0
    EXPECT_EQ(Items(Vendor(), HidReportType::Output)[0].usage, 0x02);
}

TEST(HidDescriptorLayout, WithoutReportIdsLengthsStillCountAnIdByte) {
    const auto parsed =
        Parse({0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x15, 0x00, 0x26, 0xFF, 0x00, 0x75,
               0x08, 0x95, 0x20, 0x09, 0x01, 0x81, 0x02, 0x09, 0x01, 0x91, 0x02, 0xC0});
    ASSERT_TRUE(parsed.ok) << parsed.error;
    ASSERT_EQ(parsed.collections.size(), 1u);
    const HidCollection& collection = parsed.collections[0];
    EXPECT_TRUE(collection.reportIds.empty());
    EXPECT_EQ(collection.caps.inputReportByteLength, 33);
    EXPECT_EQ(collection.caps.outputReportByteLength, 33);
    EXPECT_EQ(Items(collection, HidReportType::Input)[0].reportId, 0u);
}

TEST(HidDescriptorLayout, UsagesAndRangesMapFieldByField) {
    // Usages 0x30, then the range 0x40..0x41, over four 8-bit value fields: the last usage
    // takes the rest. A four-byte usage carries its own page.
    const auto parsed = Parse({0x05, 0x01, 0x09, 0x00, 0xA1, 0x01, 0x09, 0x30, 0x19, 0x40, 0x29,
                               0x41, 0x15, 0x00, 0x26, 0xFF, 0x00, 0x75, 0x08, 0x95, 0x04, 0x81,
                               0x02, 0x0B, 0xE9, 0x00, 0x0C, 0x00, 0x95, 0x01, 0x81, 0x02, 0xC0});
    ASSERT_TRUE(parsed.ok) << parsed.error;
    const auto& input = Items(parsed.collections[0], HidReportType::Input);
    ASSERT_EQ(input.size(), 4u);
    EXPECT_EQ(input[0].usage, 0x30);
    EXPECT_EQ(input[1].usage, 0x40);
    EXPECT_EQ(input[2].usage, 0x41);
    EXPECT_EQ(input[2].field.count, 2u);
    EXPECT_EQ(input[2].field.bitOffset, 16u);
    EXPECT_EQ(input[3].usagePage, 0x0C);
    EXPECT_EQ(input[3].usage, 0xE9);
    EXPECT_EQ(input[3].field.bitOffset, 32u);
}

TEST(HidDescriptorLayout, ReportIdsKeepTheirOwnOffsetsAndLongItemsAreSkipped) {
    const auto parsed = Parse({0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x15, 0x00, 0x25, 0x01,
                               0x75, 0x01, 0x85, 0x05, 0x95, 0x03, 0x19, 0x01, 0x29, 0x03, 0x81,
                               0x02, 0xFE, 0x02, 0x10, 0xAA, 0xBB, // a long item
                               0x85, 0x06, 0x95, 0x10, 0x19, 0x01, 0x29, 0x10, 0x81, 0x02, 0x85,
                               0x05, 0x95, 0x02, 0x19, 0x04, 0x29, 0x05, 0x81, 0x02, 0xC0});
    ASSERT_TRUE(parsed.ok) << parsed.error;
    const HidCollection& collection = parsed.collections[0];
    EXPECT_EQ(collection.reportIds, (std::vector<std::uint8_t>{5, 6}));
    const auto& input = Items(collection, HidReportType::Input);
    ASSERT_EQ(input.size(), 3u);
    EXPECT_EQ(input[1].reportId, 6u);
    EXPECT_EQ(input[1].field.bitOffset, 0u);
    EXPECT_EQ(input[2].reportId, 5u);
    EXPECT_EQ(input[2].field.bitOffset, 3u); // continues report 5 after its first three bits
    EXPECT_EQ(collection.caps.inputReportByteLength, 3); // report 6: 16 bits
}

TEST(HidDescriptorLayout, OnlyApplicationCollectionsAtTheTopCount) {
    // A logical collection at the top holds nothing anyone can open.
    const auto parsed = Parse(
        {0x05, 0x01, 0x09, 0x01, 0xA1, 0x02, 0xC0, 0x09, 0x02, 0xA1, 0x01, 0xA1, 0x01, 0xC0, 0xC0});
    ASSERT_TRUE(parsed.ok) << parsed.error;
    ASSERT_EQ(parsed.collections.size(), 1u);
    EXPECT_EQ(parsed.collections[0].usage, 0x02);
    EXPECT_EQ(parsed.collections[0].caps.numberLinkCollectionNodes, 2);
}

TEST(HidDescriptorFailure, EveryTruncationFailsCleanlyOrKeepsTheWholeCollections) {
    const std::vector<std::uint8_t> full(std::begin(test::kInterfaceDescriptor),
                                         std::end(test::kInterfaceDescriptor));
    for (std::size_t length = 0; length <= full.size(); ++length) {
        const std::vector<std::uint8_t> prefix(full.begin(), full.begin() + length);
        const auto parsed = Parse(prefix);
        if (!parsed.ok) {
            EXPECT_FALSE(parsed.error.empty()) << length;
            continue;
        }
        std::size_t complete = 0;
        for (std::size_t end : test::kInterfaceCollectionEnds)
            complete += end <= length;
        EXPECT_EQ(parsed.collections.size(), complete) << length;
    }
}

std::vector<std::uint8_t> Nested(int depth) {
    std::vector<std::uint8_t> bytes = {0x05, 0x01, 0x09, 0x02};
    for (int i = 0; i < depth; ++i)
        bytes.insert(bytes.end(), {0xA1, std::uint8_t(i == 0 ? 0x01 : 0x00)});
    bytes.insert(bytes.end(), depth, 0xC0);
    return bytes;
}

TEST(HidDescriptorFailure, RefusesBrokenStructure) {
    EXPECT_TRUE(Parse(Nested(32)).ok);
    const struct {
        const char* what;
        std::vector<std::uint8_t> bytes;
    } broken[] = {
        {"33 levels", Nested(33)},
        {"pop without push", {0x05, 0x01, 0xB4}},
        {"end without collection", {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0xC0, 0xC0}},
        {"unclosed collection", {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01}},
        {"report ID 0", {0x85, 0x00}},
        {"truncated long item", {0xFE, 0x05, 0x00, 0x01}},
        {"truncated four-byte item", {0x07, 0x01, 0x00}},
        // 2^32 - 1 fields of 8 bits: refused by size, not walked.
        {"huge report",
         {0x09, 0x01, 0xA1, 0x01, 0x75, 0x08, 0x97, 0xFF, 0xFF, 0xFF, 0xFF, 0x81, 0x02, 0xC0}},
        // 5000 value usages of 8 bits each: too many items.
        {"too many items",
         {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x19, 0x01, 0x2A, 0x88, 0x13, 0x15,
          0x00, 0x26, 0xFF, 0x00, 0x75, 0x08, 0x96, 0x88, 0x13, 0x81, 0x02, 0xC0}},
    };
    for (const auto& [what, bytes] : broken) {
        const auto parsed = Parse(bytes);
        EXPECT_FALSE(parsed.ok) << what;
        EXPECT_FALSE(parsed.error.empty()) << what;
        EXPECT_TRUE(parsed.collections.empty()) << what;
    }
}

TEST(HidDescriptorFailure, AHugeButtonFieldIsDescribedWithoutWalkingIt) {
    // 60000 one-bit buttons under a single usage range: one item, not 60000.
    const auto parsed =
        Parse({0x05, 0x09, 0x09, 0x01, 0xA1, 0x01, 0x19, 0x01, 0x2A, 0x60, 0xEA, 0x15,
               0x00, 0x25, 0x01, 0x75, 0x01, 0x96, 0x60, 0xEA, 0x81, 0x02, 0xC0});
    ASSERT_TRUE(parsed.ok) << parsed.error;
    const auto& input = Items(parsed.collections[0], HidReportType::Input);
    ASSERT_EQ(input.size(), 1u);
    EXPECT_EQ(input[0].usageMax, 60000u);
    EXPECT_EQ(parsed.collections[0].caps.inputReportByteLength, 1 + 7500);
}

} // namespace
