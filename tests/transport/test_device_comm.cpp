// The command channel against the virtual keyboard, by cable and through the receiver:
// the bytes on the wire, the device's memory afterwards, and every result code.

#include "comm_fixture.h"

#include <future>
#include <numeric>
#include <thread>

namespace {

using namespace transport;
using test::CommFixture;

struct ChunkExpectation {
    std::uint16_t offset;
    std::uint8_t length;
};

// Checks that the requests are one command's chunks, in order, with valid checksums.
void ExpectChunks(const std::vector<Packet>& requests, std::uint8_t command,
                  const std::vector<ChunkExpectation>& chunks) {
    ASSERT_EQ(requests.size(), chunks.size());
    for (std::size_t i = 0; i < chunks.size(); ++i) {
        const Packet& p = requests[i];
        EXPECT_EQ(p[0], 0x04);
        EXPECT_EQ(p[3], command) << i;
        EXPECT_EQ(p[4], chunks[i].length) << i;
        EXPECT_EQ(p[5] | (p[6] << 8), chunks[i].offset) << i;
        EXPECT_EQ(p[7], 0) << i;
        const std::uint32_t sum = std::accumulate(p.begin() + 3, p.end(), 0u);
        EXPECT_EQ(p[1], sum & 0xFF) << i;
        EXPECT_EQ(p[2], (sum >> 8) & 0xFF) << i;
    }
}

std::vector<ChunkExpectation> Chunks(std::size_t total, std::size_t chunk, std::size_t base = 0) {
    std::vector<ChunkExpectation> out;
    for (std::size_t at = 0; at < total; at += chunk)
        out.push_back({static_cast<std::uint16_t>(base + at),
                       static_cast<std::uint8_t>(std::min(chunk, total - at))});
    return out;
}

TEST(CommandPacket, PadsWithZerosAndSumsBytesThreeToSixtyThree) {
    const std::uint8_t data[3] = {0xFF, 0xFF, 0x10};
    const Packet p = MakeRequest(0x06, data, 0x0123, 3);
    EXPECT_EQ(p[0], 0x04);
    EXPECT_EQ(p[3], 0x06);
    EXPECT_EQ(p[4], 3);
    EXPECT_EQ(p[5], 0x23);
    EXPECT_EQ(p[6], 0x01);
    EXPECT_EQ(p[8], 0xFF);
    EXPECT_EQ(p[10], 0x10);
    EXPECT_TRUE(std::all_of(p.begin() + 11, p.end(), [](std::uint8_t b) { return b == 0; }));
    // 6 + 3 + 0x23 + 1 + 0xFF + 0xFF + 0x10 = 0x23B
    EXPECT_EQ(p[1], 0x3B);
    EXPECT_EQ(p[2], 0x02);
    // At most 56 data bytes are taken.
    std::vector<std::uint8_t> big(100, 1);
    const Packet full = MakeRequest(0x06, big, 0, 56);
    EXPECT_EQ(PacketChecksum(full), 6u + 56u + 56u);
}

TEST(CommandPacket, LogsTwoLinesOfThirtyTwoBytesInGroupsOfFour) {
    Packet p{};
    for (std::size_t i = 0; i < p.size(); ++i)
        p[i] = static_cast<std::uint8_t>(i);
    const auto lines = FormatPacketLines(p);
    EXPECT_EQ(lines[0], "00 01 02 03   04 05 06 07   08 09 0a 0b   0c 0d 0e 0f  10 11 12 13  "
                        "14 15 16 17  18 19 1a 1b  1c 1d 1e 1f");
    EXPECT_EQ(lines[1].substr(0, 14), "20 21 22 23   ");
    EXPECT_EQ(lines[1].size(), lines[0].size());
}

class DeviceCommBothModes : public CommFixture, public ::testing::WithParamInterface<int> {
protected:
    void SetUp() override { Open(GetParam()); }
    std::size_t Chunk() const { return GetParam() == CDeviceComm::kModeReceiver ? 24 : 56; }
};

TEST_P(DeviceCommBothModes, ReadsTheInformationBlockInChunks) {
    std::array<std::uint8_t, kDeviceInfoSize> info{};
    ASSERT_EQ(comm.ReadDeviceInfo(info), kCommSuccess);
    const std::vector<std::uint8_t> expected = keyboard->InfoBlock();
    EXPECT_TRUE(std::equal(info.begin(), info.end(), expected.begin()));
    // One packet of 34 by cable; 24 then 10 at offset 24 through the receiver.
    ExpectChunks(Requests(), kCmdReadInfo, Chunks(kDeviceInfoSize, Chunk()));
}

TEST_P(DeviceCommBothModes, WritesAndReadsTheKeyTableWithBeginAndEnd) {
    std::vector<std::uint8_t> table(512);
    for (std::size_t i = 0; i < table.size(); ++i)
        table[i] = static_cast<std::uint8_t>(i * 7);
    ASSERT_EQ(comm.Begin(), kCommSuccess);
    ASSERT_EQ(comm.WriteKeyTable(table, 0), kCommSuccess);
    ASSERT_EQ(comm.End(), kCommSuccess);
    std::vector<Packet> requests = Requests();
    ASSERT_EQ(requests.front()[3], kCmdBegin);
    ASSERT_EQ(requests.back()[3], kCmdEnd);
    // 512 bytes: ten packets by cable (nine of 56, one of 8), 22 through the receiver.
    const auto chunks = Chunks(512, Chunk());
    EXPECT_EQ(chunks.size(), GetParam() == CDeviceComm::kModeReceiver ? 22u : 10u);
    ExpectChunks({requests.begin() + 1, requests.end() - 1}, kCmdWriteKeyTable, chunks);
    const std::vector<std::uint8_t> stored = keyboard->KeyTable();
    ASSERT_GE(stored.size(), table.size());
    EXPECT_TRUE(std::equal(table.begin(), table.end(), stored.begin()));

    keyboard->ClearWireLog();
    receiver->ClearWireLog();
    // A read gives the keys' native codes, not what was written.
    std::vector<std::uint8_t> back(512);
    ASSERT_EQ(comm.ReadKeyTable(back), kCommSuccess);
    const std::vector<std::uint8_t> native =
        keyboard->DeviceFirmware().Area(sim::FirmwareArea::KeyTable);
    EXPECT_TRUE(std::equal(native.begin(), native.end(), back.begin()));
    ExpectChunks(Requests(), kCmdReadKeyTable, chunks);
}

TEST_P(DeviceCommBothModes, MemoryBlocksMacrosAndLargeDataLandWhereTheyAreSent) {
    std::vector<std::uint8_t> bytes(100);
    std::iota(bytes.begin(), bytes.end(), 1);
    ASSERT_EQ(comm.WriteMemory(bytes, 0x40), kCommSuccess);
    ExpectChunks(Requests(), kCmdWriteMemory, Chunks(100, Chunk(), 0x40));
    std::vector<std::uint8_t> back(100);
    ASSERT_EQ(comm.ReadMemory(back, 0x40), kCommSuccess);
    EXPECT_EQ(back, bytes);
    const auto image = keyboard->MemoryImage();
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), image.begin() + 0x40));

    // A block's packets carry block index × block size + running offset.
    keyboard->ClearWireLog();
    receiver->ClearWireLog();
    ASSERT_EQ(comm.WriteBlock({bytes.data(), 30}, 2, 26), kCommSuccess);
    ExpectChunks(Requests(), kCmdWriteBlock, Chunks(30, Chunk(), 52));

    keyboard->ClearWireLog();
    receiver->ClearWireLog();
    ASSERT_EQ(comm.WriteMacroData(bytes), kCommSuccess);
    ExpectChunks(Requests(), kCmdWriteMacro, Chunks(100, Chunk()));
    const auto macros = keyboard->MacroMemory();
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), macros.begin()));
}

TEST_P(DeviceCommBothModes, StatusAttributesAndLightingControlAreSinglePackets) {
    std::array<std::uint8_t, 8> status{};
    ASSERT_EQ(comm.ReadStatus(status, 3), kCommSuccess);
    ExpectChunks(Requests(), kCmdReadStatus, {{3, 8}});

    keyboard->ClearWireLog();
    receiver->ClearWireLog();
    std::vector<std::uint8_t> attributes(512 / 3);
    ASSERT_EQ(comm.ReadKeyAttributeTable(attributes), kCommSuccess);
    ExpectChunks(Requests(), kCmdReadKeyAttributes, Chunks(170, Chunk()));
    const auto expected = keyboard->KeyAttributeTable();
    EXPECT_TRUE(std::equal(attributes.begin(), attributes.end(), expected.begin()));

    keyboard->ClearWireLog();
    receiver->ClearWireLog();
    ASSERT_EQ(comm.TakeLightingControl(), kCommSuccess);
    ExpectChunks(Requests(), kCmdTakeLightControl, {{0, 0}});
}

TEST_P(DeviceCommBothModes, DeviceStatusErrorsBecomeResultCodesAndStopTheTransfer) {
    std::vector<std::uint8_t> bytes(200, 0x5A);
    keyboard->ForceStatus(0xFF, 1);
    receiver->ForceStatus(0xFF, 1);
    EXPECT_EQ(comm.WriteMemory(bytes, 0), kCommStatusError);
    EXPECT_EQ(Requests().size(), 1u) << "the first failure ends the transfer";
    keyboard->ForceStatus(0xFE, 1);
    receiver->ForceStatus(0xFE, 1);
    EXPECT_EQ(comm.Begin(), kCommStatusRefused);
    EXPECT_EQ(comm.Begin(), kCommSuccess);
}

TEST_P(DeviceCommBothModes, TransferLengthLimitsTheKeyTable) {
    EXPECT_EQ(comm.SetTransferLength(513), 0);
    EXPECT_EQ(comm.GetTransferLength(), 512);
    ASSERT_EQ(comm.SetTransferLength(0), 1);
    std::vector<std::uint8_t> table(512, 1);
    EXPECT_EQ(comm.ReadKeyTable(table), kCommSuccess);
    EXPECT_EQ(comm.WriteKeyTable(table, 0), kCommSuccess);
    std::vector<std::uint8_t> attributes(170);
    EXPECT_EQ(comm.ReadKeyAttributeTable(attributes), kCommSuccess);
    EXPECT_TRUE(Requests().empty()) << "length 0 sends nothing";
    EXPECT_EQ(comm.WriteKeyTable(table, 1), kCommBadPage);
    EXPECT_TRUE(Requests().empty()) << "a bad page sends nothing";
}

TEST_P(DeviceCommBothModes, NothingIsSentWhileTheChannelIsNotOpen) {
    comm.open = false;
    std::array<std::uint8_t, kDeviceInfoSize> info{};
    EXPECT_EQ(comm.ReadDeviceInfo(info), kCommNothing);
    EXPECT_EQ(comm.Begin(), kCommNothing);
    EXPECT_TRUE(Requests().empty());
}

INSTANTIATE_TEST_SUITE_P(CableAndReceiver, DeviceCommBothModes,
                         ::testing::Values(CDeviceComm::kModeCable, CDeviceComm::kModeReceiver),
                         [](const auto& info) {
                             return info.param == CDeviceComm::kModeReceiver ? "Receiver" : "Cable";
                         });

class DeviceCommTest : public CommFixture {};

TEST_F(DeviceCommTest, ReceiverReportsASleepingDeviceAtOnce) {
    Open(CDeviceComm::kModeReceiver);
    EXPECT_TRUE(comm.CheckReceiverLink());
    receiver->SetDeviceAsleep(true);
    EXPECT_FALSE(comm.CheckReceiverLink());
    std::array<std::uint8_t, kDeviceInfoSize> info{};
    EXPECT_EQ(comm.ReadDeviceInfo(info), kCommNoDevice);
    EXPECT_EQ(Requests().size(), 3u) << "two link checks and one info packet, no more";
}

TEST(DeviceCommMouse, LargeDataGoesInFiftySixBytePacketsEvenThroughTheReceiver) {
    sim::VirtualHidBackend backend;
    auto mouse = sim::MakeVirtualDevice(sim::VirtualProduct::Mouse);
    auto receiver = sim::MakeVirtualReceiver(*mouse);
    ASSERT_TRUE(backend.Plug(receiver));
    CDeviceComm comm(&backend);
    ASSERT_EQ(comm.ReceiverChannel().Open(receiver->CommandPath(), true, true, true, false), 1);
    comm.SelectMode(CDeviceComm::kModeReceiver);
    comm.open = true;
    std::vector<std::uint8_t> bytes(130);
    std::iota(bytes.begin(), bytes.end(), 0);
    ASSERT_EQ(comm.WriteLargeData(bytes), kCommSuccess);
    std::vector<Packet> requests;
    for (const sim::WirePacket& p : receiver->WireLog()) {
        if (p.direction == sim::WireDirection::Request)
            requests.push_back(p.bytes);
    }
    ExpectChunks(requests, kCmdWriteLargeData, Chunks(130, 56));
    const auto stored = mouse->LargeData();
    ASSERT_GE(stored.size(), bytes.size());
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), stored.begin()));
}

TEST_F(DeviceCommTest, LinkCheckByCableSendsNothing) {
    Open(CDeviceComm::kModeCable);
    EXPECT_TRUE(comm.CheckReceiverLink());
    EXPECT_TRUE(Requests().empty());
}

TEST_F(DeviceCommTest, WrongEchoIsReadAgainOnceAndAMissingReplyFails) {
    Open(CDeviceComm::kModeCable);
    keyboard->SetReplyDelay(std::chrono::microseconds(0));
    keyboard->WrongEchoReplies(1);
    // The device sends one reply that does not echo; the second read finds nothing.
    EXPECT_EQ(comm.Begin(), kCommNothing);
    keyboard->DropReplies(1);
    EXPECT_EQ(comm.Begin(), kCommNothing);
    EXPECT_EQ(comm.Begin(), kCommSuccess);
}

TEST_F(DeviceCommTest, LightFramesGoByCableOnlyAndNeverInsideATransaction) {
    Open(CDeviceComm::kModeCable);
    std::vector<std::uint8_t> frame(120, 0x33);
    ASSERT_EQ(comm.WriteLightFrame(frame), kCommSuccess);
    ExpectChunks(Requests(), kCmdWriteLightFrame, Chunks(120, 56));

    // Through the receiver frames are skipped, silently and successfully.
    keyboard->ClearWireLog();
    comm.SelectMode(CDeviceComm::kModeReceiver);
    EXPECT_EQ(comm.WriteLightFrame(frame), kCommSuccess);
    EXPECT_TRUE(keyboard->WireLog().empty());
    EXPECT_TRUE(receiver->WireLog().empty());
}

TEST_F(DeviceCommTest, ALightFrameIsDroppedRatherThanWaitingForTheHandle) {
    Open(CDeviceComm::kModeCable);
    // Another thread's exchange (or a rebinding) holds the handle until told to let go, or
    // for two seconds at the most so that a frame that waits cannot hang the test.
    std::promise<void> held;
    std::promise<void> release;
    std::thread owner([&] {
        const std::lock_guard lock(comm.IoLock());
        held.set_value();
        release.get_future().wait_for(std::chrono::seconds(2));
    });
    held.get_future().wait();
    const int result = comm.WriteLightFrame(std::vector<std::uint8_t>(120, 0x33));
    release.set_value();
    owner.join();
    EXPECT_EQ(result, kCommSuccess) << "a dropped frame counts as sent";
    EXPECT_TRUE(keyboard->WireLog().empty());
}

TEST_F(DeviceCommTest, ARequestThatCannotBeWrittenGivesMinusOne) {
    Open(CDeviceComm::kModeCable);
    backend.Unplug(keyboard);
    EXPECT_EQ(comm.Begin(), kCommWriteFailed);
    std::vector<std::uint8_t> bytes(100, 1);
    EXPECT_EQ(comm.WriteMemory(bytes, 0), kCommWriteFailed);
}

TEST_F(DeviceCommTest, UnpluggingDuringAChunkedTransferFailsWithoutHanging) {
    Open(CDeviceComm::kModeReceiver);
    std::vector<std::uint8_t> table(512, 9);
    std::thread unplug([&] {
        while (receiver->WireLog().size() < 6)
            std::this_thread::yield();
        backend.Unplug(receiver);
    });
    const int result = comm.WriteKeyTable(table, 0);
    unplug.join();
    EXPECT_NE(result, kCommSuccess);
    EXPECT_LT(Requests().size(), 22u);
}

} // namespace
