// Unpacking input reports: pressed usages of bit and array buttons, raw and scaled values,
// reports of other IDs, and reports shorter than their fields.

#include "transport/HidDescriptor.h"
#include "transport/SampleDescriptors.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace transport;

class Unpack : public ::testing::Test {
protected:
    void SetUp() override {
        auto parsed =
            ParseReportDescriptor(test::kInterfaceDescriptor, sizeof test::kInterfaceDescriptor);
        ASSERT_TRUE(parsed.ok) << parsed.error;
        collections = std::move(parsed.collections);
    }
    std::int32_t Feed(int collection, const std::vector<std::uint8_t>& report) {
        return UnpackInputReport(collections[collection], report.data(), report.size());
    }
    HidReportItem& Input(int collection, int item) {
        return collections[collection].items[static_cast<int>(HidReportType::Input)][item];
    }
    static std::vector<std::uint16_t> U(std::initializer_list<std::uint16_t> usages) {
        return usages;
    }

    std::vector<HidCollection> collections;
};

constexpr int kKeyboard = 0, kMouse = 1, kConsumer = 2, kVendor = 3;

TEST_F(Unpack, BitButtonsGiveTheirUsagesPackedAndZeroFilled) {
    // Left Ctrl (E0) and Left Alt (E2); keys A (04) and B (05).
    EXPECT_EQ(Feed(kKeyboard, {1, 0x05, 0, 0x04, 0x05, 0, 0, 0, 0}), kHidStatusSuccess);
    EXPECT_EQ(Input(kKeyboard, 0).usages, U({0xE0, 0xE2, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(Input(kKeyboard, 1).usages, U({0x04, 0x05, 0, 0, 0, 0}));
    EXPECT_TRUE(Input(kKeyboard, 0).isSet);
    EXPECT_EQ(Input(kKeyboard, 0).status, kHidStatusSuccess);

    // Every bit set fills the list with no room for a 0; the next report clears it again.
    Feed(kKeyboard, {1, 0xFF, 0, 0, 0, 0, 0, 0, 0});
    EXPECT_EQ(Input(kKeyboard, 0).usages, U({0xE0, 0xE1, 0xE2, 0xE3, 0xE4, 0xE5, 0xE6, 0xE7}));
    Feed(kKeyboard, {1, 0x80, 0, 0, 0, 0, 0, 0, 0});
    EXPECT_EQ(Input(kKeyboard, 0).usages, U({0xE7, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(Input(kKeyboard, 1).usages, U({0, 0, 0, 0, 0, 0}));
}

TEST_F(Unpack, ArrayButtonsMapIndexesToUsages) {
    Feed(kConsumer, {3, 0xE9, 0x00}); // Volume Up
    EXPECT_EQ(Input(kConsumer, 0).usages, U({0xE9}));
    Feed(kConsumer, {3, 0x83, 0x01}); // 0x0183, past the first byte
    EXPECT_EQ(Input(kConsumer, 0).usages, U({0x0183}));
    Feed(kConsumer, {3, 0x00, 0x04}); // 0x0400: outside 0..0x3FF, no usage
    EXPECT_EQ(Input(kConsumer, 0).usages, U({0}));
    Feed(kConsumer, {3, 0x00, 0x00}); // released
    EXPECT_EQ(Input(kConsumer, 0).usages, U({0}));
}

TEST_F(Unpack, ArraysOverSeveralUsageRangesIndexTheWholeList) {
    // An array of 2 fields, logical 1..5, over usages 0x10..0x11 then 0x20..0x22.
    const std::uint8_t descriptor[] = {0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01, 0x19, 0x10, 0x29,
                                       0x11, 0x19, 0x20, 0x29, 0x22, 0x15, 0x01, 0x25, 0x05,
                                       0x75, 0x08, 0x95, 0x02, 0x81, 0x00, 0xC0};
    auto parsed = ParseReportDescriptor(descriptor, sizeof descriptor);
    ASSERT_TRUE(parsed.ok) << parsed.error;
    HidCollection& collection = parsed.collections[0];
    const std::uint8_t report[] = {0, 2, 4};
    EXPECT_EQ(UnpackInputReport(collection, report, sizeof report), kHidStatusSuccess);
    const auto& items = collection.items[0];
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].usages, U({0x11, 0}));
    EXPECT_EQ(items[1].usages, U({0x21, 0}));
}

TEST_F(Unpack, SignedValuesAndScaling) {
    // Buttons 1 and 3; X = -5, Y = 300, wheel = -3.
    const std::int32_t status = Feed(kMouse, {2, 0x05, 0xFB, 0xFF, 0x2C, 0x01, 0xFD});
    EXPECT_EQ(Input(kMouse, 0).usages, U({1, 3, 0, 0, 0}));
    const HidReportItem& x = Input(kMouse, 1);
    const HidReportItem& y = Input(kMouse, 2);
    const HidReportItem& wheel = Input(kMouse, 3);
    EXPECT_EQ(x.rawValue, 0xFFFBu); // raw bits, not sign-extended
    EXPECT_EQ(y.rawValue, 300u);
    EXPECT_EQ(wheel.rawValue, 0xFDu);
    // X and Y have no physical range: they keep their raw values but cannot be scaled.
    EXPECT_EQ(x.status, kHidStatusBadLogPhyValues);
    EXPECT_TRUE(x.isSet);
    EXPECT_EQ(wheel.status, kHidStatusSuccess);
    EXPECT_EQ(wheel.scaledValue, -30);
    EXPECT_EQ(status, kHidStatusBadLogPhyValues); // the first value that did not succeed

    Feed(kMouse, {2, 0, 0, 0, 0, 0, 0x7F});
    EXPECT_EQ(Input(kMouse, 3).scaledValue, 1270);
    Feed(kMouse, {2, 0, 0, 0, 0, 0, 0x81});
    EXPECT_EQ(Input(kMouse, 3).scaledValue, -1270);
}

TEST_F(Unpack, ValuesOutsideTheLogicalRangeAreNull) {
    // X = 0x8000 = -32768, one below the logical minimum; wheel = -128.
    EXPECT_EQ(Feed(kMouse, {2, 0, 0x00, 0x80, 0, 0, 0x80}), kHidStatusNullValue);
    EXPECT_EQ(Input(kMouse, 1).status, kHidStatusNullValue);
    EXPECT_EQ(Input(kMouse, 1).rawValue, 0x8000u);
    EXPECT_EQ(Input(kMouse, 3).status, kHidStatusNullValue);
}

TEST_F(Unpack, OnlyItemsOfTheReportsIdAreTouched) {
    Feed(kKeyboard, {1, 0x01, 0, 0x04, 0, 0, 0, 0, 0});
    ASSERT_TRUE(Input(kKeyboard, 0).isSet);
    // A report of ID 3 says nothing about the keyboard's items: they no longer count as set,
    // and their last usages stay as they were.
    EXPECT_EQ(Feed(kKeyboard, {3, 0xE9, 0x00}), kHidStatusSuccess);
    EXPECT_FALSE(Input(kKeyboard, 0).isSet);
    EXPECT_EQ(Input(kKeyboard, 0).usages[0], 0xE0);
}

TEST_F(Unpack, ShortReportsFillOnlyTheFieldsTheyHold) {
    // Modifiers and the reserved byte, but none of the six keys.
    EXPECT_EQ(Feed(kKeyboard, {1, 0x02, 0}), kHidStatusSuccess);
    EXPECT_TRUE(Input(kKeyboard, 0).isSet);
    EXPECT_EQ(Input(kKeyboard, 0).usages[0], 0xE1);
    EXPECT_FALSE(Input(kKeyboard, 1).isSet);
    EXPECT_EQ(Input(kKeyboard, 1).status, kHidStatusReportDoesNotExist);

    // Buttons and X, but Y lacks its second byte. X comes first and cannot be scaled, so that
    // is the status returned.
    EXPECT_EQ(Feed(kMouse, {2, 0x01, 0x01, 0x00, 0x02}), kHidStatusBadLogPhyValues);
    EXPECT_TRUE(Input(kMouse, 1).isSet);
    EXPECT_EQ(Input(kMouse, 1).rawValue, 1u);
    EXPECT_EQ(Input(kMouse, 2).status, kHidStatusReportDoesNotExist);

    EXPECT_EQ(UnpackInputReport(collections[kMouse], nullptr, 0), kHidStatusReportDoesNotExist);
    EXPECT_FALSE(Input(kMouse, 1).isSet);
}

TEST_F(Unpack, ValueArraysGiveTheirFirstFieldAndNoPhysicalRangeMeansNoScaling) {
    std::vector<std::uint8_t> report(64, 0);
    report[0] = 4;
    report[1] = 0xAA;
    report[63] = 0x55;
    EXPECT_EQ(Feed(kVendor, report), kHidStatusBadLogPhyValues);
    EXPECT_EQ(Input(kVendor, 0).rawValue, 0xAAu);
    EXPECT_TRUE(Input(kVendor, 0).isSet);
}

TEST(UnpackWithoutReportIds, TheFirstByteIsAZeroIdAndDataFollows) {
    const std::uint8_t descriptor[] = {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x09, 0x30, 0x15, 0x00,
                                       0x26, 0xFF, 0x0F, 0x75, 0x0C, 0x95, 0x01, 0x81, 0x02, 0xC0};
    auto parsed = transport::ParseReportDescriptor(descriptor, sizeof descriptor);
    ASSERT_TRUE(parsed.ok) << parsed.error;
    HidCollection& collection = parsed.collections[0];
    // A 12-bit value across a byte boundary: 0xABC.
    const std::uint8_t report[] = {0, 0xBC, 0x0A};
    UnpackInputReport(collection, report, sizeof report);
    EXPECT_EQ(collection.items[0][0].rawValue, 0xABCu);
    EXPECT_TRUE(collection.items[0][0].isSet);
    const std::uint8_t numbered[] = {7, 0xBC, 0x0A};
    UnpackInputReport(collection, numbered, sizeof numbered);
    EXPECT_FALSE(collection.items[0][0].isSet);
}

} // namespace
