// The device base: model lookup, panel binding, LED frames on the wire, lighting control,
// function pages, folders and effect lists.

#include "FakeKeyButton.h"
#include "devices/DeviceModels.h"
#include "devices/ModelTables.h"
#include "sim/VirtualDevice.h"
#include "sim/VirtualHidBackend.h"
#include "sim/VirtualProducts.h"

#include "support/DataFolders.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

using namespace devices;
using transport::DeviceSlot;

using FakeButton = devicetest::FakeKeyButton;

class FakePanel : public IDevicePanel {
public:
    void SelectPage(const std::string& layout, int index) override {
        pages.push_back(layout + "=" + std::to_string(index));
    }
    std::vector<std::string> pages;
};

// The test's own user and program data folders, and files written into them.
class ScopedFolders : public test::DataFolders {
public:
    ScopedFolders() : DataFolders(Program::Own) {}
    void Write(const std::filesystem::path& file, const std::string& text) {
        std::filesystem::create_directories((Root() / file).parent_path());
        std::ofstream(Root() / file) << text;
    }
};

TEST(ModelTables, FindsEachProductsRowAndAReceiversUnderItsCablePartner) {
    const std::vector<DeviceSlot> slots = transport::MakeSlotList();
    EXPECT_EQ(FindModelRow(slots, 0), 1) << "keyboard by cable";
    EXPECT_EQ(FindModelRow(slots, 2), 1) << "keyboard receiver: under the cable keyboard";
    EXPECT_EQ(FindModelRow(slots, 4), 0) << "mouse";
    EXPECT_EQ(FindModelRow(slots, 6), 0) << "mouse receiver: under the cable mouse";
    EXPECT_EQ(FindModelRow(slots, 8), 2);
    EXPECT_EQ(FindModelRow(slots, 10), 3);
    EXPECT_EQ(FindModelRow(slots, 99), -1);
    EXPECT_EQ(UpdateModelRows()[3].versionString, "V0100");
}

TEST(DeviceFactory, MakesTheModelOfTheSlotWithItsTableValues) {
    const std::vector<DeviceSlot> slots = transport::MakeSlotList();
    auto wireless = CreateDeviceForSlot(slots, 2, "p");
    ASSERT_NE(wireless, nullptr);
    EXPECT_EQ(wireless->GetClass(), "KelvaneKeyboardDevice");
    EXPECT_EQ(wireless->GetIdentity(), slots[0]) << "the cable identity";

    auto keyboard = CreateDeviceForSlot(slots, 0, "2026_12_09_07_00_00_000");
    ASSERT_NE(keyboard, nullptr);
    EXPECT_EQ(keyboard->GetClass(), "KelvaneKeyboardDevice");
    EXPECT_EQ(keyboard->GetDeviceKind(), 1);
    EXPECT_EQ(keyboard->GetDeviceName(), "keyboard");
    EXPECT_EQ(keyboard->GetLedCount(), 170);
    EXPECT_EQ(keyboard->GetKeyButtonCount(), 170);
    EXPECT_FALSE(keyboard->IsReceiverCapable());
    EXPECT_EQ(keyboard->GetCurrentProfileId(), "2026_12_09_07_00_00_000");
    EXPECT_EQ(keyboard->GetPanelXml(), "XML/DeviceXml/keyboarddevice.xml");
    EXPECT_EQ(keyboard->GetLightFilePrefix(), "orbek_light");

    auto mouse = CreateDeviceForSlot(slots, 6, "p");
    ASSERT_NE(mouse, nullptr);
    EXPECT_EQ(mouse->GetClass(), "KelvaneMouseDevice");
    EXPECT_EQ(mouse->GetIdentity(), slots[4]) << "a mouse receiver takes the cable identity";
    EXPECT_TRUE(mouse->IsReceiverCapable());
    EXPECT_EQ(mouse->GetLedCount(), 15);
    EXPECT_EQ(mouse->GetDataFileModelIndex(), 1);
    EXPECT_EQ(CreateDeviceForSlot(slots, 8, "p")->GetClass(), "KelvaneMousePadDevice");
    EXPECT_EQ(CreateDeviceForSlot(slots, 10, "p")->GetDeviceName(), "HD");
}

TEST(DeviceBase, TheAudioRecordTravelsInThreeWordsFromTheLowByteUp) {
    const config::AudioLightRecord record{3, 10, 20, 30, 40, 50, 60, 1, 0xFF};
    const devices::AudioLighting lighting = devices::PackAudioLighting(record);
    EXPECT_EQ(lighting.words[0], 0x1E140A03u);
    EXPECT_EQ(lighting.words[1], 0x013C3228u);
    EXPECT_EQ(lighting.words[2], 0xFFu);
    EXPECT_EQ(devices::UnpackAudioLighting(lighting), record);
}

TEST(DeviceBase, BindsKeyAndLightButtonsByNameAndUserData) {
    auto device = CreateDeviceForModel(0); // mouse: 11 keys, 15 LEDs
    FakeButton key3, light2, tooFar, bad;
    device->BindPanelControls({{"key_3", "", &key3},
                               {"other", "light_2", &light2},
                               {"key_11", "light_15", &tooFar},
                               {"key_x", "light_", &bad}});
    EXPECT_EQ(device->GetKeyButton(3), &key3);
    EXPECT_EQ(device->GetLightButton(2), &light2);
    EXPECT_EQ(light2.colour, (LedColour{0xFF, 0xFF, 0xFF, 0xFF})) << "light buttons start white";
    EXPECT_FALSE(tooFar.hasColour);
    EXPECT_FALSE(bad.hasColour);
    EXPECT_EQ(device->GetKeyButton(11), nullptr);

    device->SetPanelXml("");
    device->BindPanelControls({{"key_3", "", &key3}});
    EXPECT_EQ(device->GetKeyButtonCount(), 0);
    EXPECT_EQ(device->GetLedCount(), 0);
}

class LightFrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        board->SetReplyDelay(std::chrono::microseconds(0));
        ASSERT_TRUE(backend.Plug(board));
        ASSERT_TRUE(backend.Plug(receiver));
    }
    void OpenCable() {
        ASSERT_EQ(device->CommandChannel().CableChannel().Open(board->CommandPath(), true, true,
                                                               true, false),
                  1);
        device->CommandChannel().SelectMode(transport::CDeviceComm::kModeCable);
        device->CommandChannel().open = true;
    }
    std::vector<sim::WirePacket> Requests(sim::VirtualDevice& d) {
        std::vector<sim::WirePacket> out;
        for (const auto& p : d.WireLog())
            if (p.direction == sim::WireDirection::Request)
                out.push_back(p);
        return out;
    }
    sim::VirtualHidBackend backend;
    std::shared_ptr<sim::VirtualDevice> board =
        sim::MakeVirtualDevice(sim::VirtualProduct::Keyboard);
    std::shared_ptr<sim::VirtualDevice> receiver = sim::MakeVirtualReceiver(*board);
    // The base behaviour, with as many LEDs as the keyboard.
    std::unique_ptr<CKelvaneUSBDevice> device = [this] {
        auto base = std::make_unique<CKelvaneUSBDevice>(&backend);
        base->SetPanelXml("panel.xml");
        base->SetLedCount(170);
        return base;
    }();
};

TEST_F(LightFrameTest, FrameScalesByAlphaAndStopsAtLed170) {
    device->SetLedColour(0, {200, 100, 50, 128});
    device->SetLedColour(169, {255, 255, 255, 255});
    device->SetLedColour(170, {1, 2, 3, 4}); // out of range: ignored
    EXPECT_EQ(device->GetLedColour(170), (LedColour{0, 0, 0, 0}));
    auto frame = device->BuildLightFrame();
    EXPECT_EQ(frame[0], 100); // 200 × 128 >> 8
    EXPECT_EQ(frame[1], 50);
    EXPECT_EQ(frame[2], 25);
    EXPECT_EQ(frame[507], 254); // 255 × 255 >> 8
    EXPECT_EQ(frame[510], 0);
    EXPECT_EQ(frame[511], 0);

    // With a 171st LED, LED 170 still never reaches the frame.
    device->SetLedCount(171);
    device->SetLedColour(170, {255, 255, 255, 255});
    frame = device->BuildLightFrame();
    EXPECT_TRUE(std::all_of(frame.begin() + 3, frame.end(), [](std::uint8_t b) { return b == 0; }));

    // A light button's colour goes into its LED first.
    FakeButton light;
    device->SetLedCount(170);
    device->BindPanelControls({{"", "light_5", &light}});
    light.SetColour({10, 20, 30, 255});
    frame = device->BuildLightFrame();
    EXPECT_EQ(device->GetLedColour(5), (LedColour{10, 20, 30, 255}));
    EXPECT_EQ(frame[15], 9); // 10 × 255 >> 8
}

TEST_F(LightFrameTest, CableSendsTheFrameReceiverSendsNothingAndSucceeds) {
    OpenCable();
    device->GetLightSettings() = LightSettings{0, 3, 0, 0, 0, 0x40, 0x80, 0xC0};
    device->StepStatic();
    board->ClearWireLog();
    ASSERT_EQ(device->SendLightFrame(), transport::kCommSuccess);
    const auto requests = Requests(*board);
    ASSERT_EQ(requests.size(), 10u) << "510 bytes in 56-byte packets";
    EXPECT_EQ(requests[0].bytes[3], 0x12);
    const auto leds = board->LedTable();
    ASSERT_GE(leds.size(), 510u);
    EXPECT_EQ(leds[0], 0x3F); // 0x40 × 255 >> 8
    EXPECT_EQ(leds[509], 0xBF);

    board->ClearWireLog();
    device->CommandChannel().SelectMode(transport::CDeviceComm::kModeReceiver);
    EXPECT_EQ(device->SendLightFrame(), transport::kCommSuccess);
    EXPECT_TRUE(board->WireLog().empty());
    EXPECT_TRUE(receiver->WireLog().empty());

    device->CommandChannel().SelectMode(transport::CDeviceComm::kModeCable);
    device->TakeLightingControl(false);
    EXPECT_EQ(device->SendLightFrame(), 0) << "without lighting control nothing is sent";
    EXPECT_TRUE(board->WireLog().empty());
}

TEST_F(LightFrameTest, AFrameTheDeviceHasIsSentAgainOnlyAfterTheRepeatInterval) {
    OpenCable();
    std::chrono::steady_clock::time_point now{};
    device->SetFrameClock([&] { return now; });
    device->GetLightSettings() = LightSettings{0, 3, 0, 0, 0, 0x40, 0x80, 0xC0};
    device->StepStatic();
    auto framesSent = [&] {
        const std::size_t packets = Requests(*board).size();
        board->ClearWireLog();
        return packets / 10; // 510 bytes in 56-byte packets
    };
    board->ClearWireLog();

    ASSERT_EQ(device->SendLightFrame(), transport::kCommSuccess);
    EXPECT_EQ(framesSent(), 1u);
    now += CKelvaneUSBDevice::kFrameRepeatInterval - std::chrono::milliseconds(1);
    EXPECT_EQ(device->SendLightFrame(), transport::kCommSuccess) << "a held frame counts as sent";
    EXPECT_EQ(framesSent(), 0u);
    now += std::chrono::milliseconds(1);
    device->SendLightFrame();
    EXPECT_EQ(framesSent(), 1u) << "devices that fall back to their own lighting are held";

    // A change goes out at once, and so does the same frame after the device had its own
    // lighting or a new connection.
    device->SetLedColour(3, {1, 2, 3, 255});
    device->SendLightFrame();
    EXPECT_EQ(framesSent(), 1u);
    device->TakeLightingControl(false);
    device->TakeLightingControl(true);
    device->SendLightFrame();
    EXPECT_EQ(framesSent(), 1u);
    device->SetUsingReceiver(false);
    device->SendLightFrame();
    EXPECT_EQ(framesSent(), 1u);

    // A frame the device refused is not taken as held. For a while no frame goes out and the
    // refusal is answered at once; a new connection ends the pause.
    device->SetLedColour(4, {1, 2, 3, 255});
    board->ForceStatus(0xFF, 1);
    const int refused = device->SendLightFrame();
    EXPECT_NE(refused, transport::kCommSuccess);
    board->ClearWireLog();
    now += CKelvaneUSBDevice::kFramePauseAfterFailure - std::chrono::milliseconds(1);
    EXPECT_EQ(device->SendLightFrame(), refused);
    EXPECT_EQ(framesSent(), 0u);
    now += std::chrono::milliseconds(1);
    EXPECT_EQ(device->SendLightFrame(), transport::kCommSuccess);
    EXPECT_EQ(framesSent(), 1u);

    device->SetLedColour(4, {4, 5, 6, 255});
    board->ForceStatus(0xFF, 1);
    EXPECT_NE(device->SendLightFrame(), transport::kCommSuccess);
    board->ClearWireLog();
    device->SetUsingReceiver(false);
    EXPECT_EQ(device->SendLightFrame(), transport::kCommSuccess);
    EXPECT_EQ(framesSent(), 1u);
}

TEST_F(LightFrameTest, OnlyAKeyboardTellsTheDeviceItTakesTheLighting) {
    device = CreateDeviceForModel(1, &backend);
    OpenCable();
    board->ClearWireLog();
    device->TakeLightingControl(true);
    ASSERT_EQ(Requests(*board).size(), 1u);
    EXPECT_EQ(Requests(*board)[0].bytes[3], 0x1C);
    EXPECT_TRUE(device->HasLightingControl());

    auto pad = CreateDeviceForModel(2, &backend);
    ASSERT_EQ(
        pad->CommandChannel().CableChannel().Open(board->CommandPath(), true, true, true, false),
        1);
    pad->CommandChannel().open = true;
    board->ClearWireLog();
    pad->TakeLightingControl(true);
    EXPECT_TRUE(board->WireLog().empty());
}

TEST(DeviceBase, FunctionPagesSelectTheirTabs) {
    struct Case {
        int model;
        int type;
        std::vector<std::string> pages;
    } cases[] = {
        {1, 2, {"device_function_switch=0", "device_key_function_switch=1"}},
        {1, 6, {"device_function_switch=0", "device_key_function_switch=1"}},
        {1, 3, {"device_function_switch=1"}},
        {1, 8, {"device_function_switch=1"}},
        {1, 4, {"device_function_switch=3"}},
        {0, 4, {"device_function_switch=3"}},
        {2, 4, {"device_function_switch=0", "device_key_function_switch=2"}},
        {1, 5, {"device_function_switch=2"}},
        {1, 7, {"device_function_switch=0", "device_key_function_switch=2"}},
        {1, 1, {"device_function_switch=0", "device_key_function_switch=0"}},
    };
    for (const Case& c : cases) {
        auto device = CreateDeviceForModel(c.model);
        FakePanel panel;
        device->SetPanel(&panel);
        device->SetFunctionPage(c.type);
        EXPECT_EQ(panel.pages, c.pages) << "model " << c.model << " type " << c.type;
        EXPECT_EQ(device->GetFunctionPage(), c.type);
    }
}

TEST(DeviceBase, UserFolderIsCreatedOnceAndListsComeFromTheDataFiles) {
    ScopedFolders folders;
    auto device = CreateDeviceForModel(1);
    const std::string folder = device->UserDataFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    EXPECT_EQ(folder, (folders.UserData() / "QUARIN Z17 Keyboard" / "keyboard").string() + "/");
    std::ofstream(folder + "keep.txt") << "x";
    EXPECT_EQ(device->UserDataFolder(), folder);
    EXPECT_TRUE(std::filesystem::exists(folder + "keep.txt")) << "an existing folder stays";

    folders.Write("program/DefaultData/default_light.json", R"({
        "DefaultLightName": [[{"LightName": "light_a", "visible": true, "value": 7},
                              {"LightName": "light_b", "visible": 0, "value": 9}, 5]],
        "AreaLightName": [[{"LightName": "area_a"}]]})");
    folders.Write("data/QUARIN Z17 Keyboard/keyboard/orbek_light.config",
                  R"({"LightInfo": [[{"LightName": "mine", "Guid": "g1"}]]})");
    device->LoadLists();
    ASSERT_EQ(device->GetModeList().size(), 2u) << "non-objects are skipped";
    EXPECT_EQ(device->GetModeList()[0].name, "light_a");
    EXPECT_TRUE(device->GetModeList()[0].visible);
    EXPECT_EQ(device->GetModeList()[1].value, 9);
    EXPECT_FALSE(device->GetModeList()[1].visible);
    EXPECT_EQ(device->GetAreaList(), std::vector<std::string>{"area_a"});
    EXPECT_EQ(device->GetCustomList(), std::vector<std::string>{"mine"});

    // Another model index finds no entries; broken files give empty lists.
    auto mouse = CreateDeviceForModel(0);
    mouse->LoadLists();
    EXPECT_TRUE(mouse->GetModeList().empty());
    folders.Write("program/DefaultData/default_light.json", "{ broken");
    device->LoadLists();
    EXPECT_TRUE(device->GetModeList().empty());
    EXPECT_EQ(device->GetCustomList().size(), 1u);
}

TEST(DeviceBase, KeyDecayWorksOnTheKeysIntensity) {
    auto device = CreateDeviceForModel(1);
    device->GetEffectState().intensity[7] = 144;
    EXPECT_EQ(device->DecayKey(7, 29), 99);
    EXPECT_EQ(device->GetEffectState().intensity[7], 99);
    EXPECT_EQ(device->DecayKey(170, 0), 0) << "out of range";
    device->ClearEffectBuffers();
    EXPECT_EQ(device->GetEffectState().intensity[7], 0);
}

} // namespace
