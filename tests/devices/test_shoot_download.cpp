// The recoil image sent to the mouse with command 0x17: its bytes written out by hand, the
// packets that carry it, and what the virtual mouse holds after they were sent.

#include "devices/ShootDownload.h"
#include "sim/VirtualDevice.h"
#include "sim/VirtualHidBackend.h"
#include "sim/VirtualProducts.h"
#include "transport/DeviceComm.h"

#include <gtest/gtest.h>

using config::MacroEvent;
using devices::BuildShootImage;
using devices::ShootDownloadPackets;

namespace {

// One bullet as the editor writes it: press, release, X move, Y move, two stops.
std::vector<MacroEvent> Bullet(bool left, std::uint8_t x, bool up, std::uint8_t y,
                               std::uint16_t delay) {
    return {{1, true, 1, 10},  {1, false, 1, 0}, {4, left, x, 5},
            {5, up, y, delay}, {4, left, 0, 0},  {5, up, 0, 0}};
}

std::vector<MacroEvent> Slot(std::vector<MacroEvent> first) {
    first.resize(180, MacroEvent{0, false, 0, 0});
    return first;
}

TEST(ShootImage, HoldsTheFourSlotsAsMacroBlocks) {
    const devices::ShootSlots slots{Slot(Bullet(true, 12, false, 7, 300)), Slot({}), Slot({}),
                                    Slot(Bullet(false, 2, true, 255, 0x1234))};
    const std::vector<std::uint8_t> image = BuildShootImage(slots);
    ASSERT_EQ(image.size(), 2920u); // 16 + 4 × 2 + 4 × (4 + 180 × 4)

    const std::vector<std::uint8_t> header{0xAA, 0x55, 0x68, 0x0B, 0x04, 0x00, 0, 0, 0, 0, 0, 0, 0,
                                           0, 0, 0,
                                           // block offsets 24, 748, 1472, 2196
                                           0x18, 0x00, 0xEC, 0x02, 0xC0, 0x05, 0x94, 0x08};
    EXPECT_EQ(std::vector<std::uint8_t>(image.begin(), image.begin() + 24), header);

    const std::vector<std::uint8_t> slot0{
        0xB4, 0x00, 0x00, 0x00,              // 180 events
        0x0A, 0x00, 0x81, 0x01,              // left press, 10 ms
        0x00, 0x00, 0x01, 0x01,              // its release
        0x05, 0x00, 0x84, 0x0C,              // 12 to the left, 5 ms
        0x2C, 0x01, 0x05, 0x07,              // 7 down, then the bullet's 300 ms
        0x00, 0x00, 0x84, 0x00,              // stops
        0x00, 0x00, 0x05, 0x00, 0, 0, 0, 0}; // and the first unused event
    EXPECT_EQ(std::vector<std::uint8_t>(image.begin() + 24, image.begin() + 56), slot0);

    const std::vector<std::uint8_t> slot3{0xB4, 0x00, 0x00, 0x00, 0x0A, 0x00, 0x81,
                                          0x01, 0x00, 0x00, 0x01, 0x01, 0x05, 0x00,
                                          0x04, 0x02, 0x34, 0x12, 0x85, 0xFF};
    EXPECT_EQ(std::vector<std::uint8_t>(image.begin() + 2196, image.begin() + 2216), slot3);
    EXPECT_EQ(image[748], 0xB4);
    EXPECT_EQ(image.back(), 0x00);
}

TEST(ShootDownloadPackets, CarryFiftySixBytesEachWithTheRunningOffset) {
    std::vector<std::uint8_t> data(120);
    for (std::size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<std::uint8_t>(i + 1);
    const std::vector<transport::Packet> packets = ShootDownloadPackets(data);
    ASSERT_EQ(packets.size(), 3u);

    transport::Packet last{};
    last[0] = 0x04;
    last[3] = 0x17;
    last[4] = 8;    // 120 − 112 bytes
    last[5] = 0x70; // offset 112
    last[6] = 0x00;
    unsigned sum = 0x17 + 8 + 0x70;
    for (int i = 0; i < 8; ++i) {
        last[8 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(113 + i);
        sum += 113u + static_cast<unsigned>(i);
    }
    last[1] = static_cast<std::uint8_t>(sum & 0xFF);
    last[2] = static_cast<std::uint8_t>(sum >> 8);
    EXPECT_EQ(packets[2], last);

    EXPECT_EQ(packets[0][4], 56);
    EXPECT_EQ(packets[1][4], 56);
    EXPECT_EQ(packets[1][5], 56);
    EXPECT_EQ(packets[1][8], 57);
    EXPECT_EQ(packets[1][63], 112);
    EXPECT_TRUE(ShootDownloadPackets({}).empty());
}

TEST(ShootDownload, TheVirtualMouseHoldsTheImageSentThroughTheReceiver) {
    sim::VirtualHidBackend backend;
    auto mouse = sim::MakeVirtualDevice(sim::VirtualProduct::Mouse);
    auto receiver = sim::MakeVirtualReceiver(*mouse);
    ASSERT_TRUE(backend.Plug(receiver));
    transport::CDeviceComm comm(&backend);
    ASSERT_EQ(comm.ReceiverChannel().Open(receiver->CommandPath(), true, true, true, false), 1);
    comm.SelectMode(transport::CDeviceComm::kModeReceiver);
    comm.open = true;

    const devices::ShootSlots slots(4, Slot(Bullet(false, 3, false, 9, 85)));
    const std::vector<std::uint8_t> image = BuildShootImage(slots);
    ASSERT_EQ(comm.WriteLargeData(image), transport::kCommSuccess);

    std::vector<transport::Packet> sent;
    for (const sim::WirePacket& p : receiver->WireLog())
        if (p.direction == sim::WireDirection::Request)
            sent.push_back(p.bytes);
    EXPECT_EQ(sent, ShootDownloadPackets(image)) << "53 packets, not the receiver's 24-byte chunks";
    const std::vector<std::uint8_t> stored = mouse->LargeData();
    ASSERT_GE(stored.size(), image.size());
    EXPECT_TRUE(std::equal(image.begin(), image.end(), stored.begin()));
}

} // namespace
