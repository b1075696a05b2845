// The command channel as every device answers it: echo, status, checksum, and the areas each
// command reads or writes, packet by packet.

#include "SimHarness.h"

#include <gtest/gtest.h>

#include <numeric>

using namespace simtest;
using sim::VirtualProduct;

namespace {

Bytes Counting(std::size_t size, std::uint8_t first = 1) {
    Bytes bytes(size);
    std::iota(bytes.begin(), bytes.end(), first);
    return bytes;
}

Bytes Slice(const Bytes& bytes, std::size_t offset, std::size_t length) {
    return Bytes(bytes.begin() + offset, bytes.begin() + offset + length);
}

class EveryProduct : public testing::TestWithParam<VirtualProduct> {};

TEST_P(EveryProduct, AnswersBeginEndAndInfoWithEchoAndStatus) {
    Harness h(GetParam());
    for (std::uint8_t code : {0x01, 0x02}) {
        const Report reply = h.Transact(MakeRequest(code));
        EXPECT_EQ(reply[0], 0x04);
        EXPECT_EQ(reply[3], code);
        EXPECT_EQ(reply[7], 0);
    }
    const Report info = h.Transact(MakeReadRequest(0x03, 34, 0));
    EXPECT_EQ(info[3], 0x03);
    EXPECT_EQ(info[7], 0);
    EXPECT_EQ(Bytes(info.begin() + 8, info.begin() + 42), h.device->InfoBlock());
}

TEST_P(EveryProduct, RejectsBadChecksumUnknownCommandAndOverlongData) {
    Harness h(GetParam());
    Report corrupt = MakeReadRequest(0x03, 34, 0);
    corrupt[1] ^= 0x01;
    Report reply = h.Transact(corrupt);
    EXPECT_EQ(reply[3], 0x03);
    EXPECT_EQ(reply[7], 0xFF);

    for (std::uint8_t unknown : {0x00, 0x04, 0x50, 0xFE}) {
        reply = h.Transact(MakeRequest(unknown));
        EXPECT_EQ(reply[3], unknown);
        EXPECT_EQ(reply[7], 0xFF) << "command " << int(unknown);
    }

    reply = h.Transact(MakeReadRequest(0x05, 57, 0));
    EXPECT_EQ(reply[7], 0xFF);
}

TEST_P(EveryProduct, CableOrAwakeReceiverConfirmsTheLink) {
    Harness h(GetParam());
    const Report reply = h.Transact(MakeRequest(0xAA));
    EXPECT_EQ(reply[3], 0xAA);
    EXPECT_EQ(reply[7], 0);
    EXPECT_EQ(reply[8], 0xFF);
}

TEST_P(EveryProduct, MemoryWriteReadsBackAndLeavesTheRestAlone) {
    Harness h(GetParam());
    const Bytes before = h.device->MemoryImage();
    const Bytes block = Counting(26, 0x40);
    h.WriteChunked(0x06, block, 56, 25);

    EXPECT_EQ(h.ReadChunked(0x05, 26, 24, 25), block);
    Bytes expected = before;
    std::copy(block.begin(), block.end(), expected.begin() + 25);
    EXPECT_EQ(h.device->MemoryImage(), expected);
}

INSTANTIATE_TEST_SUITE_P(Products, EveryProduct,
                         testing::Values(VirtualProduct::Keyboard, VirtualProduct::KeyboardReceiver,
                                         VirtualProduct::Mouse, VirtualProduct::MouseReceiver,
                                         VirtualProduct::MousePad, VirtualProduct::Headset));

TEST(KeyboardCommands, InfoBlockInOnePacketEqualsTwoChunks) {
    Harness h(VirtualProduct::Keyboard);
    const Bytes whole = h.ReadChunked(0x03, 34, 56);
    const Bytes chunked = h.ReadChunked(0x03, 34, 24);
    EXPECT_EQ(whole, chunked);
    EXPECT_EQ(whole.size(), 34u);

    const auto log = h.device->WireLog();
    ASSERT_EQ(log.size(), 6u);
    EXPECT_EQ(log[2].bytes[4], 24);
    EXPECT_EQ(log[4].bytes[4], 10);
    EXPECT_EQ(log[4].bytes[5], 24);
}

TEST(KeyboardCommands, ReadsBeyondAnAreaAreOutOfRange) {
    Harness h(VirtualProduct::Keyboard);
    EXPECT_EQ(h.Transact(MakeReadRequest(0x03, 10, 30))[7], 0xFE);
    EXPECT_EQ(h.Transact(MakeReadRequest(0x07, 8, 510))[7], 0xFE);
    EXPECT_EQ(h.Transact(MakeReadRequest(0x03, 4, 30))[7], 0);
}

TEST(KeyboardCommands, AWrittenKeyTableIsKeptButReadsStillGiveTheNativeCodes) {
    Harness h(VirtualProduct::Keyboard);
    const std::size_t keys = h.device->InfoBlock()[5];
    const Bytes native = h.ReadChunked(0x07, 3 * keys, 56);
    EXPECT_EQ(Slice(h.device->KeyTable(), 0, 3 * keys), native) << "unassigned keys do their own";
    Bytes table = native;
    std::swap_ranges(table.begin(), table.begin() + 3, table.begin() + 3); // swap keys 0 and 1
    table[3 * keys - 1] = 0x77;

    h.WriteChunked(0x09, table, 56);
    EXPECT_EQ(Slice(h.device->KeyTable(), 0, 3 * keys), table);
    EXPECT_EQ(h.ReadChunked(0x07, 3 * keys, 24), native) << "the keys are found again";
}

TEST(KeyboardCommands, ChecksumCoversThePaddingAndAFailedOneChangesNothing) {
    Harness h(VirtualProduct::Keyboard);
    const Bytes before = h.device->MemoryImage();

    // A data length of 2 with a stray byte further on: the device sums all 56 data bytes.
    Report request = MakeRequest(0x06, {0x11, 0x22}, 3);
    request[40] = 0x05;
    Report reply = h.Transact(request);
    EXPECT_EQ(reply[7], 0xFF);
    EXPECT_EQ(h.device->MemoryImage(), before);

    Sign(request);
    reply = h.Transact(request);
    EXPECT_EQ(reply[7], 0);
    EXPECT_EQ(Slice(h.device->MemoryImage(), 3, 2), (Bytes{0x11, 0x22}));
}

TEST(KeyboardCommands, ShortReportIsPaddedWithZeros) {
    Harness h(VirtualProduct::Keyboard);
    const Report full = MakeRequest(0x01);
    ASSERT_EQ(h.command->Write(full.data(), 8, 1000), 8);
    Report reply{};
    ASSERT_EQ(h.command->Read(reply.data(), reply.size(), 1000), 64);
    EXPECT_EQ(reply[7], 0);
    EXPECT_EQ(h.device->WireLog().front().bytes, full);
}

TEST(KeyboardCommands, LightingCommandsLandInTheirTables) {
    Harness h(VirtualProduct::Keyboard);
    const Bytes frame = Counting(366);
    h.WriteChunked(0x12, frame, 56);
    EXPECT_EQ(Slice(h.device->LedTable(), 0, frame.size()), frame);

    const Bytes scheme = Counting(100, 0x80);
    h.WriteChunked(0x0B, scheme, 56, 512 * 3);
    EXPECT_EQ(Slice(h.device->LightSchemes(), 512 * 3, scheme.size()), scheme);
    EXPECT_EQ(h.device->LightSchemes()[512 * 3 - 1], 0);

    EXPECT_FALSE(h.device->DeviceFirmware().HostLightControl());
    EXPECT_EQ(h.Transact(MakeRequest(0x1C))[7], 0);
    EXPECT_TRUE(h.device->DeviceFirmware().HostLightControl());
}

TEST(KeyboardCommands, MacroImageFillsMacroMemoryUpToItsSize) {
    Harness h(VirtualProduct::Keyboard);
    const std::size_t capacity = h.device->InfoBlock()[6] * 128u;
    ASSERT_EQ(h.device->MacroMemory().size(), capacity);

    const Bytes image = Counting(62);
    h.WriteChunked(0x15, image, 56);
    EXPECT_EQ(Slice(h.device->MacroMemory(), 0, image.size()), image);

    const Report pastEnd = MakeRequest(0x15, Bytes(8, 0), static_cast<std::uint16_t>(capacity - 4));
    EXPECT_EQ(h.Transact(pastEnd)[7], 0xFE);
}

TEST(MouseCommands, LargeDataIsTheMouseOnly) {
    Harness mouse(VirtualProduct::Mouse);
    const Bytes shoot = Counting(120);
    mouse.WriteChunked(0x17, shoot, 56);
    EXPECT_EQ(Slice(mouse.device->LargeData(), 0, shoot.size()), shoot);

    Harness keyboard(VirtualProduct::Keyboard);
    EXPECT_EQ(keyboard.Transact(MakeRequest(0x17, Slice(shoot, 0, 56)))[7], 0xFF);
}

} // namespace
