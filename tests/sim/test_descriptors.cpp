// The devices' report descriptors, parsed as the hidraw backend parses a real device's.

#include "SimHarness.h"
#include "transport/HidDescriptor.h"

#include <gtest/gtest.h>

using namespace simtest;
using sim::VirtualProduct;

namespace {

struct Expected {
    std::uint16_t usagePage;
    std::uint16_t usage;
};

void ExpectTableMatchesDescriptor(const sim::VirtualDevice& device,
                                  const transport::ParsedDescriptor& parsed);

void ExpectCollections(VirtualProduct product, const std::vector<Expected>& expected) {
    const auto device = sim::MakeVirtualDevice(product);
    const auto& bytes = device->ReportDescriptor();
    const transport::ParsedDescriptor parsed =
        transport::ParseReportDescriptor(bytes.data(), bytes.size());
    ASSERT_TRUE(parsed.ok) << parsed.error;
    ASSERT_EQ(parsed.collections.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(parsed.collections[i].usagePage, expected[i].usagePage) << "collection " << i;
        EXPECT_EQ(parsed.collections[i].usage, expected[i].usage) << "collection " << i;
    }
    ExpectTableMatchesDescriptor(*device, parsed);
}

std::uint16_t Longest(const std::vector<sim::ReportLayout>& reports) {
    std::uint16_t longest = 0;
    for (const auto& report : reports)
        longest = std::max(longest, report.length);
    return longest;
}

// The device answers by its own table of collections; the host knows only the descriptor.
// Both must say the same.
void ExpectTableMatchesDescriptor(const sim::VirtualDevice& device,
                                  const transport::ParsedDescriptor& parsed) {
    const auto& table = device.Collections();
    ASSERT_EQ(table.size(), parsed.collections.size());
    for (std::size_t i = 0; i < table.size(); ++i) {
        const transport::HidCollection& host = parsed.collections[i];
        EXPECT_EQ(table[i].usagePage, host.usagePage) << "collection " << i;
        EXPECT_EQ(table[i].usage, host.usage) << "collection " << i;
        std::vector<std::uint8_t> ids;
        for (const auto& report : table[i].inputs)
            ids.push_back(report.id);
        EXPECT_EQ(ids, host.reportIds) << "collection " << i;
        EXPECT_EQ(Longest(table[i].inputs), host.caps.inputReportByteLength) << "collection " << i;
        EXPECT_EQ(Longest(table[i].outputs), host.caps.outputReportByteLength)
            << "collection " << i;
    }
}

TEST(Descriptors, InterfaceOneHasFourCollectionsEndingInConsumerAndVendor) {
    ExpectCollections(VirtualProduct::Keyboard,
                      {{0x01, 0x06}, {0x01, 0x80}, {0x0C, 0x01}, {0xFF1C, 0x92}});
    ExpectCollections(VirtualProduct::KeyboardReceiver,
                      {{0x01, 0x06}, {0x01, 0x80}, {0x0C, 0x01}, {0xFF1C, 0x92}});
    ExpectCollections(VirtualProduct::Mouse,
                      {{0x01, 0x02}, {0x01, 0x06}, {0x0C, 0x01}, {0xFF1C, 0x92}});
    ExpectCollections(VirtualProduct::MouseReceiver,
                      {{0x01, 0x02}, {0x01, 0x06}, {0x0C, 0x01}, {0xFF1C, 0x92}});
    ExpectCollections(VirtualProduct::MousePad,
                      {{0x01, 0x06}, {0x01, 0x80}, {0x0C, 0x01}, {0xFF1C, 0x92}});
    ExpectCollections(VirtualProduct::Headset, {{0x0C, 0x01}});
}

TEST(Descriptors, CommandCollectionTakesSixtyFourByteReportsWithIdFour) {
    Harness h(VirtualProduct::Keyboard);
    const transport::HidCollection& command = h.command->Collection();
    EXPECT_EQ(command.usagePage, 0xFF1C);
    EXPECT_EQ(command.usage, 0x92);
    EXPECT_EQ(command.reportIds, std::vector<std::uint8_t>{4});
    EXPECT_EQ(command.caps.inputReportByteLength, 64);
    EXPECT_EQ(command.caps.outputReportByteLength, 64);
}

TEST(Descriptors, HeadsetCollectionCarriesKeysAndCommands) {
    Harness h(VirtualProduct::Headset);
    const transport::HidCollection& only = h.command->Collection();
    EXPECT_EQ(only.usagePage, 0x0C);
    EXPECT_EQ(only.reportIds, (std::vector<std::uint8_t>{1, 4}));
    EXPECT_EQ(only.caps.inputReportByteLength, 64);
    EXPECT_EQ(only.caps.outputReportByteLength, 64);
    EXPECT_EQ(h.Transact(MakeRequest(0x01))[7], 0);

    ASSERT_TRUE(h.device->SendUsage(0x00E9));
    std::array<std::uint8_t, 64> report{};
    ASSERT_EQ(h.command->Read(report.data(), report.size(), 1000), 3);
    EXPECT_EQ(report[0], 0x01);
    EXPECT_EQ(report[1], 0xE9);
}

TEST(Descriptors, NotificationUnpacksToItsUsage) {
    for (std::uint16_t usage : {0x0401, 0x1123, 0x0403}) {
        Harness h(VirtualProduct::Mouse);
        auto events = h.backend.Open(h.device->NotificationPath(), {});
        ASSERT_NE(events, nullptr);
        transport::HidCollection collection = events->Collection();
        EXPECT_EQ(collection.reportIds, std::vector<std::uint8_t>{3});
        EXPECT_EQ(collection.caps.inputReportByteLength, 3);

        ASSERT_TRUE(h.device->SendUsage(usage));
        std::array<std::uint8_t, 64> report{};
        const int length = events->Read(report.data(), report.size(), 1000);
        ASSERT_EQ(length, 3);
        transport::UnpackInputReport(collection, report.data(), static_cast<std::size_t>(length));
        const auto& inputs = collection.items[static_cast<int>(transport::HidReportType::Input)];
        const auto button = std::find_if(inputs.begin(), inputs.end(),
                                         [](const auto& item) { return item.isButton; });
        ASSERT_NE(button, inputs.end());
        ASSERT_FALSE(button->usages.empty());
        EXPECT_EQ(button->usages[0], usage);
    }
}

} // namespace
