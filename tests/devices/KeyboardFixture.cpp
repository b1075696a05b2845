#include "KeyboardFixture.h"

#include "devices/DeviceModels.h"

#include <fstream>

namespace keyboardtest {

void KeyboardTest::SetUp() {
    folders = std::make_unique<test::DataFolders>(test::DataFolders::Program::Own);
    folders->CopyDefaultDocument("keyboard.Json");

    board->SetReplyDelay(std::chrono::microseconds(0));
    receiver->SetReplyDelay(std::chrono::microseconds(0));
    ASSERT_TRUE(backend.Plug(board));
    ASSERT_TRUE(backend.Plug(receiver));

    auto device = devices::CreateDeviceForModel(1, &backend);
    keyboard.reset(static_cast<devices::CKelvaneKeyboardDevice*>(device.release()));
    keyboard->SetCurrentProfileId("2024_01_02_03_04_05_006");
    transport::CDeviceComm& comm = keyboard->CommandChannel();
    transport::CHidChannel& channel =
        ThroughReceiver() ? comm.ReceiverChannel() : comm.CableChannel();
    ASSERT_EQ(channel.Open(Wire().CommandPath(), true, true, true, false), 1);
    comm.SelectMode(ThroughReceiver() ? transport::CDeviceComm::kModeReceiver
                                      : transport::CDeviceComm::kModeCable);
    comm.open = true;
}

void KeyboardTest::TearDown() {
    keyboard.reset();
    folders.reset();
}

std::vector<Request> KeyboardTest::Requests() {
    std::vector<Request> out;
    for (const sim::WirePacket& p : Wire().WireLog()) {
        if (p.direction != sim::WireDirection::Request)
            continue;
        Request r{p.bytes[3], p.bytes[4], static_cast<std::uint16_t>(p.bytes[5] | p.bytes[6] << 8),
                  Bytes(p.bytes.begin() + 8, p.bytes.begin() + 8 + p.bytes[4])};
        out.push_back(r);
    }
    return out;
}

Bytes KeyboardTest::Commands() {
    Bytes out;
    for (const Request& r : Requests())
        out.push_back(r.command);
    return out;
}

std::string KeyboardTest::UserFolder() const {
    return (folders->UserData() / "QUARIN Z17 Keyboard" / "keyboard").string() + "/";
}

void KeyboardTest::WriteUserFile(const std::string& name, const std::string& text) {
    std::filesystem::create_directories(UserFolder());
    std::ofstream(UserFolder() + name) << text;
}

void KeyboardTest::WriteProgramFile(const std::string& name, const std::string& text) {
    std::ofstream(folders->ProgramData() / "DefaultData" / name) << text;
}

void KeyboardTest::WriteMacroLibrary(int count) {
    std::string text = "{\"MacroInfo\":[";
    for (int i = 0; i < count; ++i)
        text += std::string(i ? "," : "") + "{\"MacroName\":\"m" + std::to_string(i) +
                "\",\"Guid\":\"g" + std::to_string(i) + "\"}";
    WriteUserFile("macro.config", text + "]}");
}

devices::KeyCode KeyboardTest::DeviceCode(int k) {
    const Bytes table = board->KeyTable();
    const auto at = static_cast<std::size_t>(3 * k);
    return {table[at], table[at + 1], table[at + 2]};
}

Bytes Gathered(const std::vector<Request>& requests, std::uint8_t command) {
    Bytes data;
    for (const Request& r : requests) {
        if (r.command != command)
            continue;
        EXPECT_EQ(r.offset, data.size());
        data.insert(data.end(), r.data.begin(), r.data.end());
    }
    return data;
}

std::string KindName(const ::testing::TestParamInfo<bool>& info) {
    return info.param ? "Receiver" : "Cable";
}

} // namespace keyboardtest
