// Writing the configuration block into the virtual mouse, by cable and through the receiver:
// the packets on the wire and the mouse's memory afterwards; a mouse asleep behind its
// receiver gets nothing past the failed link check.

#include "MouseFixture.h"

#include <fstream>
#include <iterator>

namespace mousetest {
namespace {

using MouseApplyTest = MouseTest;

// The packets of the 66-byte write: 56 bytes by cable, 24 through the receiver.
Bytes WritePackets(bool throughReceiver) {
    return throughReceiver ? Bytes{0x06, 0x06, 0x06} : Bytes{0x06, 0x06};
}

Bytes ApplyCommands(bool throughReceiver) {
    const Bytes writes = WritePackets(throughReceiver);
    Bytes out;
    if (throughReceiver)
        out.push_back(0xAA);
    out.push_back(0x01);
    if (throughReceiver)
        out.push_back(0xAA);
    out.insert(out.end(), writes.begin(), writes.end());
    if (throughReceiver)
        out.push_back(0xAA);
    out.push_back(0x02);
    return out;
}

TEST_P(MouseApplyTest, TheBlockOfTheProfileReachesTheMouseMemory) {
    std::vector<devices::DpiStageRecord> stages = device->GetStageList();
    ASSERT_EQ(stages.size(), 5u);
    stages[3].SetDpiX(60);
    stages[3].red = 0x12;
    device->SetStageList(stages);
    device->SetCurrentDpiStage(3);
    config::SystemStageWords system = device->GetSystemRecord();
    system.SetValue(5, 2);
    device->SetSystemRecord(system);
    ClearWireLogs();

    EXPECT_EQ(device->Apply(0, 0, 1, 1920, 1200), 1);
    EXPECT_EQ(Commands(), ApplyCommands(ThroughReceiver()));
    const std::vector<Request> requests = Requests();
    const Bytes written = Gathered(requests, 0x06, 0);
    ASSERT_EQ(written.size(), 66u);
    // The shipped profile: wave (code 1 at position... index 0 is the reserved mode), level
    // 3, speed 2, red.
    EXPECT_EQ(Bytes(written.begin(), written.begin() + 14),
              (Bytes{0, 0, 3, 1, 0, 1, 0xFF, 0, 0, 0, 0, 2, 3, 0}));
    EXPECT_EQ(Bytes(written.begin() + 14 + 27, written.begin() + 14 + 36),
              (Bytes{1, 0, 60, 0, 30, 0, 0x12, 0xFF, 0x00}))
        << "stage 3 with its new DPI X and red, DPI Y as it was";
    EXPECT_EQ(Bytes(written.begin() + 59, written.end()), (Bytes{1, 0x80, 0x07, 0xB0, 0x04, 0, 0}))
        << "no correction selected in the shipped profile";
    EXPECT_EQ(Memory(0, 66), written);
}

TEST_P(MouseApplyTest, APageFurtherOnAndTheSelectedCorrection) {
    // The medium and high corrections selected: the first of them goes.
    const std::string path = device->UserDataFolder() + device->GetCurrentProfileId() + ".Json";
    std::string text;
    {
        std::ifstream in(path);
        text.assign(std::istreambuf_iterator<char>(in), {});
    }
    const std::string off = "\"CorrectSelect\" : 0";
    const std::size_t low = text.find(off);
    const std::size_t medium = text.find(off, low + 1);
    const std::size_t high = text.find(off, medium + 1);
    ASSERT_NE(high, std::string::npos);
    text[medium + off.size() - 1] = '1';
    text[high + off.size() - 1] = '1';
    std::ofstream(path) << text;
    device->ReloadProfile();

    const Bytes before = Memory(0, 128);
    ClearWireLogs();
    EXPECT_EQ(device->Apply(2, 0, 1, 800, 600), 1);
    const Bytes written = Gathered(Requests(), 0x06, 256);
    ASSERT_EQ(written.size(), 66u);
    EXPECT_EQ(written[64], 64) << "CorrectMinSq of the medium entry";
    EXPECT_EQ(written[65], 8) << "CorrectPixThresh of the medium entry";
    EXPECT_EQ(Memory(256, 66), written);
    EXPECT_EQ(Memory(0, 128), before) << "page 0 untouched";
}

TEST_P(MouseApplyTest, WriteLightBlockIsPageZeroWithTheWindowsScreenSize) {
    device->SetScreenSize(3840, 2160);
    ClearWireLogs();
    EXPECT_EQ(device->WriteLightBlock(), 1);
    const Bytes memory = Memory(0, 66);
    EXPECT_EQ(memory[0], 0);
    EXPECT_EQ(memory[59], 1);
    EXPECT_EQ(Bytes(memory.begin() + 60, memory.begin() + 64), (Bytes{0x00, 0x0F, 0x70, 0x08}));
}

TEST_P(MouseApplyTest, NothingGoesToAMouseAsleepOrAClosedChannel) {
    const Bytes before = Memory(0, 128);
    if (ThroughReceiver()) {
        receiver->SetDeviceAsleep(true);
        ClearWireLogs();
        EXPECT_EQ(device->Apply(0, 0, 1, 1920, 1080), 0);
        EXPECT_EQ(Commands(), Bytes{0xAA}) << "nothing after the failed check";
        EXPECT_EQ(Memory(0, 128), before);
        receiver->SetDeviceAsleep(false);
    }
    device->CommandChannel().open = false;
    ClearWireLogs();
    EXPECT_EQ(device->Apply(0, 0, 1, 1920, 1080), 0);
    EXPECT_TRUE(Requests().empty());
    EXPECT_EQ(Memory(0, 128), before);
}

INSTANTIATE_TEST_SUITE_P(Mouse, MouseApplyTest, ::testing::Bool(), KindName);

} // namespace
} // namespace mousetest
