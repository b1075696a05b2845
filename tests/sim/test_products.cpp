// What each product holds when it leaves the factory, read over the wire as the host reads
// it, and the device list of --demo.

#include "SimHarness.h"

#include <gtest/gtest.h>

#include <set>

using namespace simtest;
using sim::VirtualProduct;

namespace {

using Code = std::array<std::uint8_t, 3>;

std::vector<Code> Codes(const Bytes& table, std::size_t count) {
    std::vector<Code> codes(count);
    for (std::size_t k = 0; k < count; ++k)
        codes[k] = {table[3 * k], table[3 * k + 1], table[3 * k + 2]};
    return codes;
}

TEST(KeyboardFactory, KeyTableEndsInAnEmptyPositionAndASecondEscWithoutLeds) {
    Harness h(VirtualProduct::Keyboard);
    const Bytes info = h.ReadChunked(0x03, 34, 56);
    const std::size_t keys = info[5];
    ASSERT_EQ(keys, 124u);
    EXPECT_EQ(info[4], 121); // LEDs: every real key but Fn
    EXPECT_EQ(info[6], 32);  // 4 KiB of macro memory

    const auto codes = Codes(h.ReadChunked(0x07, 3 * keys, 56), keys);
    EXPECT_EQ(std::set<Code>(codes.begin(), codes.end()).size(), keys - 1);
    EXPECT_EQ(codes.front(), (Code{0x20, 0x00, 0x29})); // Esc
    EXPECT_EQ(codes[71], (Code{0xA0, 0x01, 0x00}));     // Fn
    EXPECT_EQ(codes[122], (Code{0x20, 0x00, 0x00}));    // no key fitted
    EXPECT_EQ(codes[123], codes.front());               // wired as a second Esc
    EXPECT_EQ(std::count(codes.begin(), codes.end(), Code{0x20, 0x00, 0x00}), 1);
    for (std::uint8_t media = 1; media <= 5; ++media)
        EXPECT_EQ(std::count(codes.begin(), codes.end(), Code{0xD0, 0xA2, media}), 1);

    const Bytes leds = h.ReadChunked(0x1B, keys, 56);
    EXPECT_EQ(leds[71], 0xFF);
    EXPECT_EQ(leds[122], 0xFF);
    EXPECT_EQ(leds[123], 0xFF);
    std::set<std::uint8_t> numbers;
    for (std::size_t k = 0; k < 122; ++k) {
        if (k != 71) {
            EXPECT_LT(leds[k], 122);
            numbers.insert(leds[k]);
        }
    }
    EXPECT_EQ(numbers.size(), info[4]);
}

TEST(MouseFactory, ButtonsHoldFactoryCodesAndStagesFitTheDpiScale) {
    Harness h(VirtualProduct::Mouse);
    const Bytes info = h.ReadChunked(0x03, 34, 24);
    const std::size_t buttons = info[5];
    const auto codes = Codes(h.ReadChunked(0x07, 3 * buttons, 56), buttons);
    for (const Code& factory : std::vector<Code>{{0x10, 0x01, 0x00},
                                                 {0x10, 0x02, 0x00},
                                                 {0x10, 0x04, 0x00},
                                                 {0x10, 0x10, 0x00},
                                                 {0x10, 0x08, 0x00},
                                                 {0x13, 0x01, 0x00},
                                                 {0x13, 0x02, 0x00},
                                                 {0x13, 0x03, 0x00}}) {
        EXPECT_EQ(std::count(codes.begin(), codes.end(), factory), 1);
    }

    const unsigned sliderMaximum = info[12] | info[13] << 8;
    const Bytes block = h.ReadChunked(0x05, 71, 56, 0);
    for (int stage = 0; stage < 5; ++stage) {
        const unsigned x = block[14 + 9 * stage + 2] | block[14 + 9 * stage + 3] << 8;
        EXPECT_LE(x, sliderMaximum) << "stage " << stage;
    }
}

TEST(DemoList, ParsesEveryProductWordInOrder) {
    const auto result =
        sim::ParseProductList("keyboard,keyboard-receiver, mouse ,mouse-receiver,mousepad,headset");
    EXPECT_TRUE(result.error.empty());
    EXPECT_EQ(result.products, (std::vector<VirtualProduct>{
                                   VirtualProduct::Keyboard, VirtualProduct::KeyboardReceiver,
                                   VirtualProduct::Mouse, VirtualProduct::MouseReceiver,
                                   VirtualProduct::MousePad, VirtualProduct::Headset}));
    for (VirtualProduct product : result.products)
        EXPECT_EQ(sim::ParseProductList(sim::ProductWord(product)).products.front(), product);
}

TEST(DemoList, NamesTheWordItDoesNotKnow) {
    auto result = sim::ParseProductList("keyboard,trackball,mouse");
    EXPECT_TRUE(result.products.empty());
    EXPECT_NE(result.error.find("\"trackball\""), std::string::npos) << result.error;

    result = sim::ParseProductList("keyboard,,mouse");
    EXPECT_TRUE(result.products.empty());
    EXPECT_FALSE(result.error.empty());
    EXPECT_FALSE(sim::ParseProductList("").error.empty());
}

TEST(DemoList, PlainDemoIsTheFourCableDevices) {
    EXPECT_EQ(sim::DefaultDemoProducts(),
              (std::vector<VirtualProduct>{VirtualProduct::Keyboard, VirtualProduct::Mouse,
                                           VirtualProduct::MousePad, VirtualProduct::Headset}));
}

} // namespace
