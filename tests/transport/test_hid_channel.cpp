// A channel reads its own collection's reports out of everything the interface sends to every
// open handle (the virtual devices hand input out as hidraw does).

#include "sim/VirtualDevice.h"
#include "sim/VirtualHidBackend.h"
#include "sim/VirtualProducts.h"
#include "transport/CommandPacket.h"
#include "transport/HidChannel.h"

#include <gtest/gtest.h>

namespace {

using transport::CHidChannel;

class ChannelFilter : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(backend.Plug(keyboard));
        ASSERT_EQ(command.Open(keyboard->CommandPath(), true, true, true, false), 1);
        ASSERT_EQ(events.Open(keyboard->NotificationPath(), true, true, true, false), 1);
    }
    // A report that the channel reads now, or {} when it has none of its own.
    std::vector<std::uint8_t> ReadNow(CHidChannel& channel, int timeoutMs = 0) {
        std::vector<std::uint8_t> report(64);
        std::uint32_t got = 0;
        if (channel.Read(report.data(), report.size(), &got, timeoutMs) != 1)
            return {};
        report.resize(got);
        return report;
    }

    sim::VirtualHidBackend backend;
    std::shared_ptr<sim::VirtualDevice> keyboard =
        sim::MakeVirtualDevice(sim::VirtualProduct::Keyboard);
    CHidChannel command{&backend};
    CHidChannel events{&backend};
};

TEST_F(ChannelFilter, EachChannelPassesOverTheOtherCollectionsReports) {
    const transport::Packet begin = transport::MakeRequest(transport::kCmdBegin);
    std::uint32_t written = 0;
    ASSERT_TRUE(keyboard->SendUsage(0x0401));
    ASSERT_EQ(command.Write(begin.data(), begin.size(), &written, 1000), 1);

    // The notification came first on both handles; each channel takes only its own.
    const auto reply = ReadNow(command, 1000);
    ASSERT_EQ(reply.size(), 64u);
    EXPECT_EQ(reply[3], transport::kCmdBegin);
    EXPECT_EQ(ReadNow(events, 1000), (std::vector<std::uint8_t>{0x03, 0x01, 0x04}));
    EXPECT_EQ(ReadNow(command), std::vector<std::uint8_t>{});
    EXPECT_EQ(ReadNow(events), std::vector<std::uint8_t>{});
}

TEST_F(ChannelFilter, OtherReportsDoNotStretchTheTimeLimit) {
    // A stream of other reports still ends the read at its time limit, with nothing read.
    for (std::uint16_t usage = 0x1000; usage < 0x1010; ++usage)
        ASSERT_TRUE(keyboard->SendUsage(usage));
    EXPECT_EQ(ReadNow(command, 20), std::vector<std::uint8_t>{});
    std::uint8_t report[64];
    std::uint32_t got = 0;
    EXPECT_EQ(command.ReadQueued(report, sizeof report, &got), 0) << "all passed over";
}

} // namespace
