// Light frames streamed with their replies read behind the writes: every packet reaches the
// keyboard's LED table, every reply is read and checked (by the frame, by the next frame or by
// the next command exchange), and a command exchange never takes a light reply for its own.

#include "comm_fixture.h"

#include <numeric>
#include <thread>

namespace {

using namespace transport;

class LightStream : public test::CommFixture {
protected:
    void SetUp() override { Open(CDeviceComm::kModeCable); }
    // A frame of `packets` full chunks whose bytes count up from `first`.
    static std::vector<std::uint8_t> Frame(std::size_t packets, std::uint8_t first = 1) {
        std::vector<std::uint8_t> frame(packets * CDeviceComm::kCableChunk);
        std::iota(frame.begin(), frame.end(), first);
        return frame;
    }
    std::vector<std::uint16_t> LightOffsets() {
        std::vector<std::uint16_t> offsets;
        for (const Packet& p : Requests())
            if (p[packet::kCommandAt] == kCmdWriteLightFrame)
                offsets.push_back(static_cast<std::uint16_t>(p[5] | (p[6] << 8)));
        return offsets;
    }
    std::vector<std::uint8_t> LedTableStart(std::size_t length) {
        const std::vector<std::uint8_t> table = keyboard->LedTable();
        return {table.begin(), table.begin() + static_cast<long>(length)};
    }
    bool HandleEmpty() {
        std::uint8_t report[64];
        std::uint32_t got = 0;
        return comm.CableChannel().ReadQueued(report, sizeof report, &got) == 0;
    }
};

TEST_F(LightStream, EveryPacketReachesTheLedTableInOrderAndEveryReplyIsRead) {
    const std::vector<std::uint8_t> first = Frame(7);
    ASSERT_EQ(comm.WriteLightFrame(first), kCommSuccess);
    EXPECT_EQ(LightOffsets(), (std::vector<std::uint16_t>{0, 56, 112, 168, 224, 280, 336}));
    EXPECT_EQ(LedTableStart(first.size()), first);

    // The next frame reads the last replies of this one on its way and overwrites the table.
    const std::vector<std::uint8_t> second = Frame(7, 0x80);
    ASSERT_EQ(comm.WriteLightFrame(second), kCommSuccess);
    EXPECT_EQ(LedTableStart(second.size()), second);
    EXPECT_EQ(LightOffsets().size(), 14u);

    // The exchange reads the replies still owed before its own; nothing is left behind.
    EXPECT_EQ(comm.Begin(), kCommSuccess);
    EXPECT_TRUE(HandleEmpty());
}

TEST_F(LightStream, AStatusErrorFailsTheFrameThatReadsItAndStopsIt) {
    keyboard->ForceStatus(0xFF, 1);
    // The first packet's reply is read before the fourth goes out.
    EXPECT_EQ(comm.WriteLightFrame(Frame(7)), kCommStatusError);
    EXPECT_EQ(LightOffsets(), (std::vector<std::uint16_t>{0, 56, 112}));
    keyboard->ClearWireLog();
    EXPECT_EQ(comm.WriteLightFrame(Frame(7)), kCommSuccess);
    EXPECT_EQ(LightOffsets().size(), 7u);
}

TEST_F(LightStream, ALostReplyFailsTheFrameWhenTheNextReplyNamesALaterPacket) {
    keyboard->DropReplies(1);
    EXPECT_EQ(comm.WriteLightFrame(Frame(7)), kCommNothing);
    EXPECT_EQ(LightOffsets(), (std::vector<std::uint16_t>{0, 56, 112}));
    EXPECT_EQ(comm.WriteLightFrame(Frame(7)), kCommSuccess);
}

TEST_F(LightStream, AFailureReadByACommandExchangeFailsTheNextFrame) {
    // Both replies are refused and still owed when the frame's writes are done.
    keyboard->ForceStatus(0xFE, 2);
    ASSERT_EQ(comm.WriteLightFrame(Frame(2)), kCommSuccess);
    EXPECT_EQ(comm.Begin(), kCommSuccess) << "the exchange has its own reply";
    keyboard->ClearWireLog();
    EXPECT_EQ(comm.WriteLightFrame(Frame(2)), kCommStatusRefused);
    EXPECT_TRUE(LightOffsets().empty()) << "the failed frame stops before its first packet";
    EXPECT_EQ(comm.WriteLightFrame(Frame(2)), kCommSuccess);
}

TEST_F(LightStream, ACommandRightAfterAFrameGetsItsOwnReplyNotALightOne) {
    std::vector<std::uint8_t> memory(12);
    std::iota(memory.begin(), memory.end(), 0xA0);
    ASSERT_TRUE(keyboard->DeviceFirmware().WriteArea(sim::FirmwareArea::Memory, 0, memory));
    // Slow replies: all three are still on their way when the read's request goes out.
    keyboard->SetReplyDelay(std::chrono::milliseconds(30));
    ASSERT_EQ(comm.WriteLightFrame(Frame(3)), kCommSuccess);
    std::vector<std::uint8_t> bytes(6);
    ASSERT_EQ(comm.ReadMemory(bytes, 6), kCommSuccess);
    EXPECT_EQ(bytes, std::vector<std::uint8_t>(memory.begin() + 6, memory.end()));
    EXPECT_TRUE(HandleEmpty());
}

TEST_F(LightStream, FromFirmwareThatEchoesOnlyTheCommandALostReplyShowsWhenItsTimeIsUp) {
    keyboard->SetReplyDelay(std::chrono::microseconds(0));
    keyboard->EchoCommandOnly(true);
    keyboard->DropReplies(1);
    ASSERT_EQ(comm.WriteLightFrame(Frame(3)), kCommSuccess);
    // The exchange waits out the third owed reply, which never comes.
    EXPECT_EQ(comm.Begin(), kCommSuccess);
    EXPECT_EQ(comm.WriteLightFrame(Frame(3)), kCommNothing);
    EXPECT_EQ(comm.WriteLightFrame(Frame(3)), kCommSuccess);
}

TEST_F(LightStream, RepliesOwedByAnEarlierHandleAreNotWaitedFor) {
    keyboard->SetReplyDelay(std::chrono::milliseconds(30));
    ASSERT_EQ(comm.WriteLightFrame(Frame(3)), kCommSuccess);
    // A rebinding: the replies go to the handle that asked for them.
    {
        const std::lock_guard lock(comm.IoLock());
        ASSERT_EQ(comm.CableChannel().Reopen(), 1);
    }
    EXPECT_EQ(comm.Begin(), kCommSuccess);
    EXPECT_EQ(comm.WriteLightFrame(Frame(3)), kCommSuccess);
}

TEST_F(LightStream, PacketsAreDroppedWhileACommandExchangeRuns) {
    // The exchange has set busy and waits for the I/O lock, which this thread holds; the lock
    // is recursive, so only busy keeps the frame out.
    std::unique_lock io(comm.IoLock());
    std::thread command([&] { EXPECT_EQ(comm.Begin(), kCommSuccess); });
    while (!comm.IsBusy())
        std::this_thread::yield();
    EXPECT_EQ(comm.WriteLightFrame(Frame(3)), kCommSuccess) << "a dropped packet counts as sent";
    io.unlock();
    command.join();
    EXPECT_TRUE(LightOffsets().empty());
}

} // namespace
