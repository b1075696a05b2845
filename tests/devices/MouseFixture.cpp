#include "MouseFixture.h"

#include "devices/DeviceModels.h"

#include <filesystem>

namespace mousetest {

void MouseTest::SetUp() {
    folders = std::make_unique<test::DataFolders>(test::DataFolders::Program::Own);
    folders->CopyDefaultDocument("mouse.Json");
    folders->CopyDefaultDocument("default_light.json");

    mouse->SetReplyDelay(std::chrono::microseconds(0));
    receiver->SetReplyDelay(std::chrono::microseconds(0));
    ASSERT_TRUE(backend.Plug(mouse));
    ASSERT_TRUE(backend.Plug(receiver));

    auto created = devices::CreateDeviceForModel(0, &backend);
    device.reset(static_cast<devices::CKelvaneMouseDevice*>(created.release()));
    ASSERT_NE(device, nullptr);
    device->SetCurrentProfileId("2024_01_02_03_04_05_006");
    const std::string folder = device->UserDataFolder();
    ASSERT_FALSE(folder.empty());
    std::filesystem::copy_file(folders->ProgramData() / "DefaultData" / "mouse.Json",
                               folder + device->GetCurrentProfileId() + ".Json");
    transport::CDeviceComm& comm = device->CommandChannel();
    transport::CHidChannel& channel =
        ThroughReceiver() ? comm.ReceiverChannel() : comm.CableChannel();
    ASSERT_EQ(channel.Open(Wire().CommandPath(), true, true, true, false), 1);
    comm.SelectMode(ThroughReceiver() ? transport::CDeviceComm::kModeReceiver
                                      : transport::CDeviceComm::kModeCable);
    comm.open = true;
    device->LoadLists();
    device->ReloadProfile();
}

void MouseTest::TearDown() {
    device.reset();
    folders.reset();
}

void MouseTest::ClearWireLogs() {
    mouse->ClearWireLog();
    receiver->ClearWireLog();
}

std::vector<Request> MouseTest::Requests() {
    std::vector<Request> out;
    for (const sim::WirePacket& p : Wire().WireLog()) {
        if (p.direction != sim::WireDirection::Request)
            continue;
        out.push_back({p.bytes[3], p.bytes[4],
                       static_cast<std::uint16_t>(p.bytes[5] | p.bytes[6] << 8),
                       Bytes(p.bytes.begin() + 8, p.bytes.begin() + 8 + p.bytes[4])});
    }
    return out;
}

Bytes MouseTest::Commands() {
    Bytes out;
    for (const Request& r : Requests())
        out.push_back(r.command);
    return out;
}

Bytes MouseTest::Checked(const Bytes& commands) const {
    Bytes out;
    for (std::uint8_t command : commands) {
        if (ThroughReceiver())
            out.push_back(0xAA);
        out.push_back(command);
    }
    return out;
}

Bytes MouseTest::Memory(std::size_t offset, std::size_t length) const {
    const Bytes memory = mouse->MemoryImage();
    return Bytes(memory.begin() + static_cast<std::ptrdiff_t>(offset),
                 memory.begin() + static_cast<std::ptrdiff_t>(offset + length));
}

Bytes Gathered(const std::vector<Request>& requests, std::uint8_t command, std::uint16_t offset) {
    Bytes data;
    for (const Request& r : requests) {
        if (r.command != command)
            continue;
        EXPECT_EQ(r.offset, offset + data.size());
        data.insert(data.end(), r.data.begin(), r.data.end());
    }
    return data;
}

std::string KindName(const ::testing::TestParamInfo<bool>& info) {
    return info.param ? "Receiver" : "Cable";
}

} // namespace mousetest
