// Two command channels of one process on one node (the configurator's own and the one a ctl
// command opens in it): every open of the node gets every reply, so neither may take a reply
// to the other's request, whether it runs commands or streams light frames.

#include "sim/VirtualDevice.h"
#include "sim/VirtualHidBackend.h"
#include "sim/VirtualProducts.h"
#include "transport/DeviceComm.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <numeric>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace transport;

constexpr int kRounds = 60;

class SharedNode : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(backend.Plug(keyboard));
        std::vector<std::uint8_t> memory(keyboard->MemoryImage().size());
        std::iota(memory.begin(), memory.end(), 0);
        ASSERT_TRUE(keyboard->DeviceFirmware().WriteArea(sim::FirmwareArea::Memory, 0, memory));
        // Replies that name only their command: an echo check cannot tell whose they are.
        keyboard->EchoCommandOnly(true);
        for (CDeviceComm* comm : {&program, &command}) {
            ASSERT_EQ(comm->CableChannel().Open(keyboard->CommandPath(), true, true, true, false),
                      1);
            comm->SelectMode(CDeviceComm::kModeCable);
            comm->open = true;
        }
    }
    // Reads 8 bytes at `offset` kRounds times; the rounds whose result or bytes were wrong.
    static int WrongReads(CDeviceComm& comm, std::uint16_t offset) {
        int wrong = 0;
        for (int round = 0; round < kRounds; ++round) {
            std::vector<std::uint8_t> bytes(8);
            const int result = comm.ReadMemory(bytes, offset);
            std::vector<std::uint8_t> expected(8);
            std::iota(expected.begin(), expected.end(), static_cast<std::uint8_t>(offset));
            if (result != kCommSuccess || bytes != expected)
                ++wrong;
        }
        return wrong;
    }

    sim::VirtualHidBackend backend;
    std::shared_ptr<sim::VirtualDevice> keyboard =
        sim::MakeVirtualDevice(sim::VirtualProduct::Keyboard);
    CDeviceComm program{&backend};
    CDeviceComm command{&backend};
};

TEST_F(SharedNode, ChannelsShareTheNodesExchangeLockAndOpensOfOtherNodesDoNot) {
    EXPECT_EQ(program.CableChannel().ExchangeLock(), command.CableChannel().ExchangeLock());
    auto mouse = sim::MakeVirtualDevice(sim::VirtualProduct::Mouse);
    ASSERT_TRUE(backend.Plug(mouse));
    CHidChannel other(&backend);
    ASSERT_EQ(other.Open(mouse->CommandPath(), true, true, true, false), 1);
    EXPECT_NE(other.ExchangeLock(), program.CableChannel().ExchangeLock());
    other.Close();
    EXPECT_EQ(other.ExchangeLock(), nullptr);
}

TEST_F(SharedNode, CommandsOfTwoChannelsAtOnceEachGetTheirOwnReplies) {
    int programWrong = 0;
    std::thread programThread([&] { programWrong = WrongReads(program, 0); });
    const int commandWrong = WrongReads(command, 100);
    programThread.join();
    EXPECT_EQ(programWrong, 0);
    EXPECT_EQ(commandWrong, 0);
}

TEST_F(SharedNode, AnotherChannelsLightFramesNeverAnswerACommand) {
    // Slow replies: a frame's last ones are still on their way when the other channel's
    // request goes out.
    keyboard->SetReplyDelay(std::chrono::milliseconds(3));
    std::atomic<bool> done{false};
    int frameFailures = 0;
    std::thread lighting([&] {
        std::vector<std::uint8_t> frame(3 * CDeviceComm::kCableChunk, 0x11);
        while (!done)
            frameFailures += program.WriteLightFrame(frame) != kCommSuccess;
    });
    const int commandWrong = WrongReads(command, 40);
    done = true;
    lighting.join();
    EXPECT_EQ(commandWrong, 0);
    EXPECT_EQ(frameFailures, 0) << "no light reply is lost to the other channel";
}

TEST_F(SharedNode, AFrameDropsItsPacketsWhileAnotherChannelsExchangeHoldsTheNode) {
    const std::shared_ptr<std::mutex> node = command.CableChannel().ExchangeLock();
    std::unique_lock held(*node);
    keyboard->ClearWireLog();
    EXPECT_EQ(program.WriteLightFrame(std::vector<std::uint8_t>(56, 1)), kCommSuccess);
    EXPECT_TRUE(keyboard->WireLog().empty());
    held.unlock();
    EXPECT_EQ(program.WriteLightFrame(std::vector<std::uint8_t>(56, 1)), kCommSuccess);
    EXPECT_FALSE(keyboard->WireLog().empty());
}

} // namespace
