// The faults a device can be told to show, and the wire log that records what it answered.

#include "SimHarness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>

using namespace simtest;
using sim::VirtualProduct;
using sim::WireDirection;

namespace {

// Nothing readable right now (the harness delivers replies without delay).
bool NothingPending(transport::HidDevice& channel) {
    Report reply{};
    return channel.Read(reply.data(), reply.size(), 0) == 0;
}

TEST(ReceiverAsleep, AnswersAaToEveryCommandUntilTheDeviceWakes) {
    Harness h(VirtualProduct::KeyboardReceiver);
    h.device->SetDeviceAsleep(true);
    for (std::uint8_t code : {0x01, 0x03, 0x07, 0xAA}) {
        const Report reply = h.Transact(MakeReadRequest(code, 8, 0));
        EXPECT_EQ(reply[3], 0xAA) << "command " << int(code);
        EXPECT_NE(reply[8], 0xFF);
    }
    h.device->SetDeviceAsleep(false);
    const Report reply = h.Transact(MakeRequest(0xAA));
    EXPECT_EQ(reply[3], 0xAA);
    EXPECT_EQ(reply[8], 0xFF);
}

TEST(ReceiverAsleep, WritesDoNotReachTheSleepingDevice) {
    Harness h(VirtualProduct::MouseReceiver);
    const auto before = h.device->MemoryImage();
    h.device->SetDeviceAsleep(true);
    h.Transact(MakeRequest(0x06, {1, 2, 3}, 0));
    EXPECT_EQ(h.device->MemoryImage(), before);
}

TEST(ReceiverAsleep, CableDeviceIgnoresIt) {
    Harness h(VirtualProduct::Keyboard);
    h.device->SetDeviceAsleep(true);
    EXPECT_EQ(h.Transact(MakeRequest(0x01))[3], 0x01);
}

TEST(ReplyFaults, WrongEchoLastsForTheGivenCount) {
    Harness h(VirtualProduct::Keyboard);
    h.device->WrongEchoReplies(2);
    for (std::uint8_t code : {0x01, 0x02}) {
        const Report reply = h.Transact(MakeRequest(code));
        EXPECT_NE(reply[3], code);
        EXPECT_NE(reply[3], 0xAA);
    }
    EXPECT_EQ(h.Transact(MakeRequest(0x01))[3], 0x01);
}

TEST(ReplyFaults, DroppedReplyStillCarriesOutTheCommand) {
    Harness h(VirtualProduct::Keyboard);
    h.device->DropReplies(1);
    const Report write = MakeRequest(0x06, {0x5A}, 7);
    ASSERT_EQ(h.command->Write(write.data(), write.size(), 1000), 64);
    EXPECT_TRUE(NothingPending(*h.command));
    EXPECT_EQ(h.device->MemoryImage()[7], 0x5A);

    EXPECT_EQ(h.Transact(MakeRequest(0x02))[3], 0x02);
    const auto log = h.device->WireLog();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0].direction, WireDirection::Request);
    EXPECT_EQ(log[1].direction, WireDirection::Request);
    EXPECT_EQ(log[2].direction, WireDirection::Reply);
}

TEST(ReplyFaults, ForcedStatusRefusesTheCommand) {
    Harness h(VirtualProduct::Mouse);
    const auto before = h.device->MemoryImage();
    h.device->ForceStatus(0xFE, 1);
    Report reply = h.Transact(MakeRequest(0x06, {9, 9}, 0));
    EXPECT_EQ(reply[3], 0x06);
    EXPECT_EQ(reply[7], 0xFE);
    EXPECT_EQ(h.device->MemoryImage(), before);
    EXPECT_EQ(h.Transact(MakeRequest(0x01))[7], 0);

    h.device->ForceStatus(0xFF, -1);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(h.Transact(MakeRequest(0x01))[7], 0xFF);
    h.device->ClearFaults();
    h.device->SetReplyDelay(std::chrono::microseconds(0));
    EXPECT_EQ(h.Transact(MakeRequest(0x01))[7], 0);
}

TEST(ReplyFaults, RequestAndReplyEachTakeOneReportInterval) {
    Harness h(VirtualProduct::Keyboard);
    h.device->SetReplyDelay(std::chrono::milliseconds(300));
    const Report request = MakeRequest(0x01);
    // The write returns once the request has crossed the endpoint; one that may not wait that
    // long is not sent at all.
    EXPECT_EQ(h.command->Write(request.data(), request.size(), 10), 0);
    EXPECT_TRUE(h.device->WireLog().empty());
    ASSERT_EQ(h.command->Write(request.data(), request.size(), 5000), 64);
    EXPECT_TRUE(NothingPending(*h.command));
    EXPECT_EQ(h.device->WireLog().size(), 2u); // answered, still on its way
}

TEST(ReplyFaults, AWriteWaitingForTheEndpointIsCancelled) {
    Harness h(VirtualProduct::Keyboard);
    h.device->SetReplyDelay(std::chrono::hours(1));
    int result = 1;
    std::thread writer([&] {
        const Report request = MakeRequest(0x01);
        result = h.command->Write(request.data(), request.size(), -1);
    });
    // Whether the writer waits already or not yet, the cancel ends its write.
    h.command->Cancel();
    writer.join();
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(h.device->WireLog().empty());
}

TEST(WireLog, KeepsRequestsAndRepliesInOrderUntilCleared) {
    Harness h(VirtualProduct::Keyboard);
    const Report begin = MakeRequest(0x01);
    const Report reply = h.Transact(begin);
    h.Transact(MakeReadRequest(0x03, 34, 0));

    auto log = h.device->WireLog();
    ASSERT_EQ(log.size(), 4u);
    EXPECT_EQ(log[0].bytes, begin);
    EXPECT_EQ(log[1].bytes, reply);
    EXPECT_EQ(log[2].direction, WireDirection::Request);
    EXPECT_EQ(log[3].bytes[3], 0x03);

    h.device->ClearWireLog();
    EXPECT_TRUE(h.device->WireLog().empty());
    h.device->SetWireLogCapacity(2);
    for (int i = 0; i < 3; ++i)
        h.Transact(MakeRequest(0x02));
    EXPECT_EQ(h.device->WireLog().size(), 2u);
}

} // namespace

namespace {

// The command bytes of `count` replies to plain requests, 0 where none came within 50 ms.
std::vector<int> ReplyEchoes(Harness& h, int count) {
    std::vector<int> echoes;
    for (int i = 0; i < count; ++i) {
        const Report request = MakeRequest(0x01);
        EXPECT_EQ(h.command->Write(request.data(), request.size(), 1000), 64);
        Report reply{};
        echoes.push_back(
            h.command->Read(reply.data(), reply.size(), 50) == 64 ? reply[3] | (reply[7] << 8) : 0);
    }
    return echoes;
}

TEST(RandomFaults, TheSameSeedGivesTheSameFaultsAndEachIsCounted) {
    sim::RandomFaults faults;
    faults.rate = 0.5;
    faults.seed = 99;
    faults.late = false; // a late reply would pass for a lost one here
    std::vector<int> first, second;
    sim::FaultTally tally;
    for (std::vector<int>* run : {&first, &second}) {
        Harness h(VirtualProduct::Keyboard);
        h.device->SetRandomFaults(faults);
        *run = ReplyEchoes(h, 60);
        tally = h.device->RandomFaultTally();
    }
    EXPECT_EQ(first, second);
    EXPECT_EQ(tally.replies, 60);
    const auto count = [&](auto match) { return std::count_if(first.begin(), first.end(), match); };
    EXPECT_EQ(count([](int e) { return e == 0; }), tally.dropped);
    EXPECT_EQ(count([](int e) { return (e & 0xFF) != 0x01 && e != 0; }), tally.wrongEcho);
    EXPECT_EQ(count([](int e) { return e == (0x01 | 0xFF << 8); }), tally.rejected);
    EXPECT_EQ(tally.late, 0);
    const long long faulty = tally.dropped + tally.wrongEcho + tally.rejected;
    EXPECT_GT(faulty, 15) << "about half of 60";
    EXPECT_LT(faulty, 45);
}

TEST(RandomFaults, ALateReplyHoldsTheRepliesBehindIt) {
    Harness h(VirtualProduct::Keyboard);
    sim::RandomFaults faults;
    faults.rate = 1.0;
    faults.drop = faults.wrongEcho = faults.rejected = false;
    faults.maxLate = std::chrono::milliseconds(200);
    h.device->SetRandomFaults(faults);
    const Report first = MakeReadRequest(0x05, 8, 0);
    ASSERT_EQ(h.command->Write(first.data(), first.size(), 1000), 64);
    h.device->SetRandomFaults({}); // the next reply is on time, but comes after the late one
    const Report second = MakeReadRequest(0x05, 8, 8);
    ASSERT_EQ(h.command->Write(second.data(), second.size(), 1000), 64);
    Report reply{};
    ASSERT_EQ(h.command->Read(reply.data(), reply.size(), 1000), 64);
    EXPECT_EQ(reply[5], 0) << "the first request's reply comes first";
    ASSERT_EQ(h.command->Read(reply.data(), reply.size(), 1000), 64);
    EXPECT_EQ(reply[5], 8);
}

} // namespace
