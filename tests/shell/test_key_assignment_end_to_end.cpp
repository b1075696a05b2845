// A user's first remap in the real main window over the demo's virtual keyboard: open the key
// page, click an on-screen key, give it another function and save it to the keyboard; the new
// code is in the keyboard's key table and in the profile file. The same with the keyboard
// present only through its receiver, beside a mouse (the README's demo).

#include "MainWindowFixture.h"
#include "config/JsonFile.h"
#include "devices/KelvaneKeyboardDevice.h"
#include "shell/keyset/KeySetControlUI.h"
#include "shell/keyset/KeySetRoutes.h"
#include "shell/selector/DeviceOptionUI.h"
#include "ui/ComboUI.h"
#include "ui/ContainerUI.h"

namespace {

using test::MainWindowTest;

constexpr int kKeyA = 64;

// The keyboard by its cable, or through its receiver with a mouse beside it.
class KeyboardRemapTest : public MainWindowTest, public ::testing::WithParamInterface<bool> {
protected:
    bool ThroughReceiver() const { return GetParam(); }
    // The item of the keyboard in "device_select_layout".
    shell::CDeviceOptionUI* KeyboardItem() const {
        for (QWidget* w : Host()->findChildren<QWidget*>()) {
            auto* item = dynamic_cast<shell::CDeviceOptionUI*>(w);
            if (item && item->GetDevice() && item->GetDevice()->GetDeviceKind() == 1)
                return item;
        }
        return nullptr;
    }
    // A control of the keyboard's page: the mouse's page has controls of the same names.
    template <class T = ui::CControlUI> T* OnKeyboardPage(const char* name) const {
        auto* pages = wnd->Find<ui::CTabLayoutUI>("device_switch");
        ui::CControlUI* page = pages->GetItemAt(KeyboardItem()->GetBindTabIndex());
        auto* control = dynamic_cast<T*>(
            wnd->GetPaintManager().FindSubControlByName(page, QString::fromLatin1(name)));
        EXPECT_NE(control, nullptr) << name;
        return control;
    }
    void ClickOnKeyboardPage(const char* name) {
        auto* button = OnKeyboardPage<ui::CButtonUI>(name);
        ASSERT_NE(button, nullptr);
        QTest::mouseClick(button, Qt::LeftButton);
    }
};

TEST_P(KeyboardRemapTest, ARemapChosenOnTheKeyboardPageReachesTheKeyboardAndTheProfile) {
    auto board = sim::MakeVirtualDevice(sim::VirtualProduct::Keyboard);
    // The device whose wire carries the commands; both share the keyboard's memory.
    std::shared_ptr<sim::VirtualDevice> wire = board;
    if (ThroughReceiver()) {
        wire = sim::MakeVirtualReceiver(*board);
        devices.Plug(sim::MakeVirtualDevice(sim::VirtualProduct::Mouse));
    }
    devices.Plug(wire);
    const std::size_t expected = ThroughReceiver() ? 2 : 1;
    ASSERT_TRUE(test::WaitUntil([&] { return wnd->ConnectedCount() == expected; }));
    shell::CDeviceOptionUI* item = KeyboardItem();
    ASSERT_NE(item, nullptr);
    ASSERT_TRUE(item->IsVisible());
    auto* select = ui::control_cast<ui::COptionUI>(
        wnd->GetPaintManager().FindSubControlByName(item, "device_select"));
    ASSERT_NE(select, nullptr);
    QTest::mouseClick(select, Qt::LeftButton);
    auto* keyboard = dynamic_cast<devices::CKelvaneKeyboardDevice*>(wnd->CurrentDevice());
    ASSERT_NE(keyboard, nullptr);
    EXPECT_EQ(keyboard->CommandChannel().IsReceiverMode(), ThroughReceiver());
    auto* pages = wnd->Find<ui::CTabLayoutUI>("device_switch");
    ASSERT_NE(pages, nullptr);
    EXPECT_EQ(pages->GetCurSel(), item->GetBindTabIndex()) << "the keyboard's page shows";
    // The item reads the keyboard's tables once it is shown.
    ASSERT_TRUE(test::WaitUntil(
        [&] { return keyboard->Maps().keys[kKeyA] != devices::kNoDeviceKey; }, 3000));

    ClickOnKeyboardPage("key_Op_tab");
    EXPECT_EQ(keyboard->GetFunctionPage(), 2);
    ClickOnKeyboardPage("key_64");
    EXPECT_EQ(keyboard->GetSelectedKey(), kKeyA);
    auto* panel = wnd->KeySet()->PanelOf(keyboard);
    ASSERT_NE(panel, nullptr);
    ASSERT_TRUE(OnKeyboardPage("keyset_layout")->IsVisible());

    auto* function = OnKeyboardPage<ui::CComboUI>("keyset_function_combo");
    ASSERT_NE(function, nullptr);
    ASSERT_TRUE(function->SelectItem(panel->FunctionItem(shell::keyset::kFunctionMedia)));
    ASSERT_TRUE(OnKeyboardPage<ui::CComboUI>("keyset_media_combo")->SelectItem(6)); // volume up
    wire->ClearWireLog();
    ClickOnKeyboardPage("key_butt_prosave");

    const int deviceKey = keyboard->Maps().keys[kKeyA];
    const std::vector<std::uint8_t> table = board->KeyTable();
    const auto at = static_cast<std::size_t>(3 * deviceKey);
    ASSERT_LT(at + 2, table.size());
    EXPECT_EQ(table[at], 0x30);
    EXPECT_EQ(table[at + 1], 0xE9);
    EXPECT_EQ(table[at + 2], 0x00);
    bool keyTableWritten = false;
    for (const sim::WirePacket& p : wire->WireLog())
        keyTableWritten |= p.direction == sim::WireDirection::Request && p.bytes[3] == 0x09;
    EXPECT_TRUE(keyTableWritten);

    const Json::Value profile = config::ReadJsonFile(keyboard->UserDataFolder() +
                                                     keyboard->GetCurrentProfileId() + ".Json");
    EXPECT_EQ(profile["Device"][0]["KeyList"][kKeyA]["Assignment"].asInt(), 0x30E900);
}

INSTANTIATE_TEST_SUITE_P(Connections, KeyboardRemapTest, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Receiver" : "Cable"; });

} // namespace
