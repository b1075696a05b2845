// Replies the command channel must not take for its request's: late replies to earlier
// requests, and a request whose reply would find the handle's queue full of the interface's
// other input.

#include "comm_fixture.h"

#include <numeric>

namespace {

using namespace transport;

class StaleReplies : public test::CommFixture {
protected:
    void SetUp() override {
        Open(CDeviceComm::kModeCable);
        keyboard->SetReplyDelay(std::chrono::microseconds(0));
        std::vector<std::uint8_t> memory(12);
        std::iota(memory.begin(), memory.end(), 0xA0);
        ASSERT_TRUE(keyboard->DeviceFirmware().WriteArea(sim::FirmwareArea::Memory, 0, memory));
        other = backend.Open(keyboard->CommandPath(), {});
        ASSERT_NE(other, nullptr);
    }
    // Another reader of the command collection asks for memory at offset 0: its reply reaches
    // the channel's handle too, as a late reply would.
    void AskForOffsetZero() {
        const Packet request = MakeRequest(kCmdReadMemory, {}, 0, 6);
        ASSERT_EQ(other->Write(request.data(), request.size(), 5000), 64);
    }
    std::vector<std::uint8_t> ReadAtSix() {
        std::vector<std::uint8_t> bytes(6);
        EXPECT_EQ(comm.ReadMemory(bytes, 6), kCommSuccess);
        return bytes;
    }
    const std::vector<std::uint8_t> atSix{0xA6, 0xA7, 0xA8, 0xA9, 0xAA, 0xAB};
    std::unique_ptr<HidDevice> other;
};

TEST_F(StaleReplies, AReplyQueuedBeforeTheRequestIsDropped) {
    AskForOffsetZero();
    Packet late{};
    ASSERT_EQ(other->Read(late.data(), late.size(), 1000), 64); // so it is queued everywhere
    EXPECT_EQ(ReadAtSix(), atSix);
}

TEST_F(StaleReplies, AReplyArrivingDuringTheRequestForAnotherOffsetIsPassedOver) {
    // The earlier reply is still on its way when the request goes out, and comes first.
    keyboard->SetReplyDelay(std::chrono::milliseconds(200));
    AskForOffsetZero();
    keyboard->SetReplyDelay(std::chrono::microseconds(0));
    EXPECT_EQ(ReadAtSix(), atSix);
}

TEST_F(StaleReplies, TwoLateRepliesInARowGiveNothingRatherThanTheirData) {
    // Both are still on their way when the request goes out: the second, quicker one queues
    // behind the first.
    keyboard->SetReplyDelay(std::chrono::milliseconds(200));
    AskForOffsetZero();
    keyboard->SetReplyDelay(std::chrono::milliseconds(10));
    AskForOffsetZero();
    keyboard->SetReplyDelay(std::chrono::microseconds(0));
    std::vector<std::uint8_t> bytes(6, 0x11);
    EXPECT_EQ(comm.ReadMemory(bytes, 6), kCommNothing);
    EXPECT_EQ(bytes, std::vector<std::uint8_t>(6, 0x11));
}

TEST_F(StaleReplies, FirmwareThatEchoesOnlyTheCommandIsAnsweredAsUsual) {
    keyboard->EchoCommandOnly(true);
    EXPECT_EQ(ReadAtSix(), atSix);
    EXPECT_EQ(comm.Begin(), kCommSuccess);
}

TEST_F(StaleReplies, AFloodOfNotificationsDoesNotCostTheReply) {
    CHidChannel events(&backend);
    ASSERT_EQ(events.Open(keyboard->NotificationPath(), true, true, true, false), 1);
    // More than the 64 reports a handle holds, none of them read by the command channel.
    for (std::uint16_t usage = 0x1000; usage < 0x1000 + 80; ++usage)
        ASSERT_TRUE(keyboard->SendUsage(usage));
    AskForOffsetZero();

    EXPECT_EQ(ReadAtSix(), atSix);
    // The command handle was emptied before the request; the event handle keeps its reports.
    std::uint8_t report[64];
    std::uint32_t got = 0;
    EXPECT_EQ(comm.CableChannel().ReadQueued(report, sizeof report, &got), 0);
    int notifications = 0;
    while (events.Read(report, sizeof report, &got, 0) == 1)
        ++notifications;
    EXPECT_EQ(notifications, 64);
}

} // namespace
