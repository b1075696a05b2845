// A user's first remap in the real main window over the demo's virtual keyboard: open the key
// page, click an on-screen key, give it another function and save it to the keyboard; the new
// code is in the keyboard's key table and in the profile file.

#include "MainWindowFixture.h"
#include "config/JsonFile.h"
#include "devices/KelvaneKeyboardDevice.h"
#include "shell/keyset/KeySetControlUI.h"
#include "shell/keyset/KeySetRoutes.h"
#include "ui/ComboUI.h"

#include <QApplication>
#include <QDir>
#include <QFile>

namespace {

using test::MainWindowTest;

constexpr int kKeyA = 64;

TEST_F(MainWindowTest, ARemapChosenOnTheKeyboardPageReachesTheKeyboardAndTheProfile) {
    auto board = sim::MakeVirtualDevice(sim::VirtualProduct::Keyboard);
    devices.Plug(board);
    ASSERT_TRUE(test::WaitUntil([&] { return wnd->ConnectedCount() == 1; }, 300));
    auto* keyboard = dynamic_cast<devices::CKelvaneKeyboardDevice*>(wnd->CurrentDevice());
    ASSERT_NE(keyboard, nullptr);
    // The item reads the keyboard's tables once it is shown.
    ASSERT_TRUE(test::WaitUntil(
        [&] { return keyboard->Maps().keys[kKeyA] != devices::kNoDeviceKey; }, 1500));

    Click("key_Op_tab");
    EXPECT_EQ(keyboard->GetFunctionPage(), 2);
    Click("key_64");
    EXPECT_EQ(keyboard->GetSelectedKey(), kKeyA);
    auto* panel = wnd->KeySet()->PanelOf(keyboard);
    ASSERT_NE(panel, nullptr);
    ASSERT_TRUE(wnd->Find("keyset_layout")->IsVisible());

    auto* function = wnd->Find<ui::CComboUI>("keyset_function_combo");
    ASSERT_NE(function, nullptr);
    ASSERT_TRUE(function->SelectItem(panel->FunctionItem(shell::keyset::kFunctionMedia)));
    ASSERT_TRUE(wnd->Find<ui::CComboUI>("keyset_media_combo")->SelectItem(6)); // volume up
    // The picture of the README: QUARIN_SCREENSHOT_DIR=docs/screenshots.
    if (const QString folder = qEnvironmentVariable("QUARIN_SCREENSHOT_DIR"); !folder.isEmpty()) {
        QDir::setSearchPaths("skin", {env.SkinFolder()});
        QFile style(env.SkinFolder() + "style.qss");
        if (style.open(QIODevice::ReadOnly))
            qApp->setStyleSheet(QString::fromUtf8(style.readAll()));
        QTest::qWait(50);
        Host()->grab().save(folder + "/keyassign.png");
        qApp->setStyleSheet({});
    }
    board->ClearWireLog();
    Click("key_butt_prosave");

    const int deviceKey = keyboard->Maps().keys[kKeyA];
    const std::vector<std::uint8_t> table = board->KeyTable();
    const auto at = static_cast<std::size_t>(3 * deviceKey);
    ASSERT_LT(at + 2, table.size());
    EXPECT_EQ(table[at], 0x30);
    EXPECT_EQ(table[at + 1], 0xE9);
    EXPECT_EQ(table[at + 2], 0x00);
    bool keyTableWritten = false;
    for (const sim::WirePacket& p : board->WireLog())
        keyTableWritten |= p.direction == sim::WireDirection::Request && p.bytes[3] == 0x09;
    EXPECT_TRUE(keyTableWritten);

    const Json::Value profile = config::ReadJsonFile(keyboard->UserDataFolder() +
                                                     keyboard->GetCurrentProfileId() + ".Json");
    EXPECT_EQ(profile["Device"][0]["KeyList"][kKeyA]["Assignment"].asInt(), 0x30E900);
}

} // namespace
