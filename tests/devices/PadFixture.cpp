#include "PadFixture.h"

#include "devices/DeviceModels.h"

#include <fstream>
#include <string>

namespace padtest {

namespace {
constexpr int kPadModelRow = 2;

// "default_light.json" with the pad's section (index 2) coded 0x20 + index.
std::string ModeListDocument() {
    std::string pad;
    for (int i = 0; i < kModeCount; ++i)
        pad += std::string(i ? "," : "") + "{\"LightName\":\"m" + std::to_string(i) +
               "\",\"visible\":true,\"value\":" + std::to_string(ModeCode(i)) + "}";
    return "{\"DefaultLightName\":[[],[],[" + pad + "],[]],\"AreaLightName\":[[],[],[],[]]}";
}
} // namespace

void PadTest::SetUp() {
    folders = std::make_unique<test::DataFolders>(test::DataFolders::Program::Own);
    folders->CopyDefaultDocument("MousePad.Json");
    std::ofstream(folders->ProgramData() / "DefaultData" / "default_light.json")
        << ModeListDocument();

    virtualPad->SetReplyDelay(std::chrono::microseconds(0));
    ASSERT_TRUE(backend.Plug(virtualPad));
    auto device = devices::CreateDeviceForModel(kPadModelRow, &backend);
    ASSERT_EQ(device->GetDeviceKind(), transport::kKindMousePad);
    pad.reset(static_cast<devices::CKelvaneMousePadDevice*>(device.release()));
    pad->SetCurrentProfileId("2024_01_02_03_04_05_006");
    pad->LoadLists();
    transport::CDeviceComm& comm = pad->CommandChannel();
    ASSERT_EQ(comm.CableChannel().Open(virtualPad->CommandPath(), true, true, true, false), 1);
    comm.SelectMode(transport::CDeviceComm::kModeCable);
    comm.open = true;
}

void PadTest::TearDown() {
    pad.reset();
    folders.reset();
}

std::vector<Request> PadTest::Requests() {
    std::vector<Request> out;
    for (const sim::WirePacket& p : virtualPad->WireLog()) {
        if (p.direction != sim::WireDirection::Request)
            continue;
        out.push_back({p.bytes[3], p.bytes[4],
                       static_cast<std::uint16_t>(p.bytes[5] | p.bytes[6] << 8),
                       Bytes(p.bytes.begin() + 8, p.bytes.begin() + 8 + p.bytes[4])});
    }
    return out;
}

Bytes PadTest::Commands() {
    Bytes out;
    for (const Request& r : Requests())
        out.push_back(r.command);
    return out;
}

Bytes PadTest::Memory(std::size_t offset, std::size_t size) {
    const Bytes memory = virtualPad->MemoryImage();
    return Bytes(memory.begin() + static_cast<std::ptrdiff_t>(offset),
                 memory.begin() + static_cast<std::ptrdiff_t>(offset + size));
}

void PadTest::PresetMemory(std::size_t offset, const Bytes& bytes) {
    ASSERT_TRUE(virtualPad->DeviceFirmware().WriteArea(sim::FirmwareArea::Memory, offset, bytes));
}

} // namespace padtest
