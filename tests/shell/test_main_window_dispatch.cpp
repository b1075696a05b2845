// The main window's dispatch with virtual devices: the lighting-control switch and peers'
// wishes, the profile drop-down's delayed switch, game lighting, the recorder's data, cable
// and receiver switching, the skin choice, and shutdown with a worker blocked in a read.

#include "MainWindowFixture.h"
#include "platform/InstanceBus.h"
#include "shell/ScreenRules.h"
#include "shell/profile/DeviceProfileUI.h"
#include "shell/windows/SkinNotifier.h"
#include "transport/CommandPacket.h"
#include "transport/HidChannel.h"
#include "ui/ComboUI.h"
#include "ui/MenuWnd.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <filesystem>
#include <set>

namespace {

using namespace ui;
using devices::CKelvaneUSBDevice;
using test::MainWindowTest;

class DispatchTest : public MainWindowTest {
protected:
    void SetUp() override {
        wnd->SetInstanceBus(&bus);
        MainWindowTest::SetUp();
    }
    // Plugs the product and waits for its item.
    CKelvaneUSBDevice* PlugAndWait(const std::shared_ptr<sim::VirtualDevice>& product) {
        const std::size_t before = wnd->ConnectedCount();
        devices.Plug(product);
        if (!test::WaitUntil([&] { return wnd->ConnectedCount() == before + 1; }))
            return nullptr;
        return wnd->CurrentDevice();
    }

    platform::InstanceBus bus;
};

TEST_F(DispatchTest, LightControlSwitchTellsDevicesAndPeersButAPeersWishIsNotEchoed) {
    auto keyboard = sim::MakeVirtualDevice(sim::VirtualProduct::Keyboard);
    CKelvaneUSBDevice* device = PlugAndWait(keyboard);
    ASSERT_NE(device, nullptr);
    QSignalSpy announced(&bus, &platform::InstanceBus::LightControlChanged);
    CControlUI* status = wnd->Find("control_light_status");
    ASSERT_NE(status, nullptr);

    Click("control_light_status");
    EXPECT_EQ(status->GetText(), QString::fromUtf8("不控制灯光"));
    EXPECT_FALSE(device->HasLightingControl());
    ASSERT_EQ(announced.count(), 1);
    EXPECT_EQ(announced.at(0), (QVariantList{1u, 0u}));

    keyboard->ClearWireLog();
    Click("control_light_status");
    EXPECT_EQ(status->GetText(), QString::fromUtf8("控制灯光"));
    EXPECT_TRUE(device->HasLightingControl());
    ASSERT_EQ(announced.count(), 2);
    EXPECT_EQ(announced.at(1), (QVariantList{1u, 1u}));
    const auto wire = keyboard->WireLog();
    EXPECT_TRUE(std::any_of(wire.begin(), wire.end(), [](const sim::WirePacket& p) {
        return p.direction == sim::WireDirection::Request &&
               p.bytes[transport::packet::kCommandAt] == 0x1C;
    })) << "the keyboard is told that the host drives its lighting";
    EXPECT_TRUE(keyboard->DeviceFirmware().HostLightControl());

    // A peer turns it off: followed, not announced; other wParams are ignored.
    wnd->SendMessage(shell::g_messages.setLightControl, 1, 0);
    EXPECT_FALSE(wnd->HasLightControl());
    EXPECT_EQ(status->GetText(), QString::fromUtf8("不控制灯光"));
    wnd->SendMessage(shell::g_messages.setLightControl, 2, 1);
    EXPECT_FALSE(wnd->HasLightControl());
    EXPECT_EQ(announced.count(), 2);
}

// The light frames (0x12 requests) the device received.
std::size_t LightFrames(const sim::VirtualDevice& device) {
    const auto wire = device.WireLog();
    return static_cast<std::size_t>(std::count_if(wire.begin(), wire.end(), [](const auto& p) {
        return p.direction == sim::WireDirection::Request &&
               p.bytes[transport::packet::kCommandAt] == 0x12;
    }));
}

TEST_F(DispatchTest, HandingTheLightingBackAndSuspendStopTheHeadsetsFrames) {
    auto headset = sim::MakeVirtualDevice(sim::VirtualProduct::Headset);
    CKelvaneUSBDevice* device = PlugAndWait(headset);
    ASSERT_NE(device, nullptr);
    ASSERT_TRUE(test::WaitUntil([&] { return LightFrames(*headset) > 0; }));
    // Frames are sent on this thread, so none is under way between the steps below; the
    // waits give the 5 ms frame timer twenty turns.
    auto expectNoFrames = [&](const char* what) {
        headset->ClearWireLog();
        QTest::qWait(100);
        EXPECT_EQ(LightFrames(*headset), 0u) << what;
    };

    Click("control_light_status");
    EXPECT_FALSE(device->HasLightingControl());
    expectNoFrames("after the switch hands the lighting back");

    wnd->SendMessage(shell::g_messages.setLightControl, 1, 1);
    EXPECT_TRUE(device->HasLightingControl());
    EXPECT_TRUE(test::WaitUntil([&] { return LightFrames(*headset) > 0; })) << "a peer's wish";
    wnd->SendMessage(shell::g_messages.setLightControl, 1, 0);
    expectNoFrames("after a peer hands the lighting back");
    wnd->SendMessage(shell::g_messages.setLightControl, 1, 1);

    wnd->SendMessage(ui::WM_POWERBROADCAST, 4 /* suspend */, 0);
    EXPECT_FALSE(device->HasLightingControl());
    expectNoFrames("while the system sleeps");
    wnd->SendMessage(ui::WM_POWERBROADCAST, 0x12 /* resume */, 0);
    EXPECT_TRUE(device->HasLightingControl());
    EXPECT_TRUE(test::WaitUntil([&] { return LightFrames(*headset) > 0; })) << "after resume";
}

TEST_F(DispatchTest, QuickProfileChoicesSwitchOnceAfterTheLastAndSendIt) {
    auto keyboard = sim::MakeVirtualDevice(sim::VirtualProduct::Keyboard);
    CKelvaneUSBDevice* device = PlugAndWait(keyboard);
    ASSERT_NE(device, nullptr);
    shell::CDeviceProfileUI* panel = wnd->CurrentProfilePanel();
    ASSERT_NE(panel, nullptr) << "the keyboard page has its profile panel";
    ASSERT_EQ(panel->AddProfile(), 1);
    ASSERT_EQ(panel->AddProfile(), 1);
    const std::string first = device->GetCurrentProfileId();
    const std::string last = panel->GetProfileIdAt(2);
    ASSERT_FALSE(last.empty());

    // Every profile the device takes on the way.
    std::set<std::string> taken;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout,
                     [&] { taken.insert(device->GetCurrentProfileId()); });
    watch.start(5);
    auto* combo = wnd->Find<CComboUI>("device_profile_combo");
    ASSERT_NE(combo, nullptr);
    // Let the item's first read of the keyboard pass.
    QTest::qWait(600);
    keyboard->ClearWireLog();
    combo->SelectItem(1);
    QTest::qWait(150);
    combo->SelectItem(2);
    QTest::qWait(300);
    EXPECT_EQ(device->GetCurrentProfileId(), first) << "400 ms after the last choice";
    ASSERT_TRUE(test::WaitUntil([&] { return device->GetCurrentProfileId() == last; }, 500));
    QTest::qWait(20);
    EXPECT_EQ(taken, (std::set<std::string>{first, last})) << "the middle choice never ran";

    // The new profile went to the keyboard: its light block, then its key table.
    std::vector<std::uint8_t> commands;
    for (const sim::WirePacket& p : keyboard->WireLog()) {
        if (p.direction == sim::WireDirection::Request)
            commands.push_back(p.bytes[transport::packet::kCommandAt]);
    }
    const auto lightBlock = std::find(commands.begin(), commands.end(), 0x06);
    const auto keyTable = std::find(commands.begin(), commands.end(), 0x09);
    EXPECT_NE(lightBlock, commands.end());
    EXPECT_NE(keyTable, commands.end());
    EXPECT_LT(lightBlock, keyTable);
    EXPECT_EQ(std::count(commands.begin(), commands.end(), 0x09), 7)
        << "one table, 366 bytes in 56s";
}

TEST_F(DispatchTest, AProfileThatCannotBeReadIsReportedAndNotSent) {
    auto keyboard = sim::MakeVirtualDevice(sim::VirtualProduct::Keyboard);
    CKelvaneUSBDevice* device = PlugAndWait(keyboard);
    ASSERT_NE(device, nullptr);
    shell::CDeviceProfileUI* panel = wnd->CurrentProfilePanel();
    ASSERT_NE(panel, nullptr);
    ASSERT_EQ(panel->AddProfile(), 1);
    const std::string unreadable = device->UserDataFolder() + panel->GetProfileIdAt(1) + ".Json";
    std::filesystem::remove(unreadable);
    std::filesystem::create_directory(unreadable);
    QTest::qWait(600); // the item's first read of the keyboard
    keyboard->ClearWireLog();

    // The message is modal: read it and close it once it is up.
    QString shown;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->objectName() != QLatin1String("MsgWnd") || !w->isVisible())
                continue;
            if (auto* label = w->findChild<QLabel*>("MessageText"))
                shown = label->text();
            if (auto* ok = w->findChild<QPushButton*>("confirm_btn"))
                QTest::mouseClick(ok, Qt::LeftButton);
        }
    });
    watch.start(20);
    wnd->Find<CComboUI>("device_profile_combo")->SelectItem(1);
    ASSERT_TRUE(test::WaitUntil([&] { return !shown.isEmpty(); }, 1500));
    EXPECT_EQ(shown.toStdString(),
              "A profile file cannot be read, so it was left as it is. Check its permissions.");
    for (const sim::WirePacket& p : keyboard->WireLog()) {
        if (p.direction == sim::WireDirection::Request) {
            EXPECT_NE(p.bytes[transport::packet::kCommandAt], 0x09) << "no key table is sent";
        }
    }
    EXPECT_TRUE(std::filesystem::is_directory(unreadable));
}

TEST_F(DispatchTest, GameLightingShowsTheEventsModeAndRestoresFiveSecondsAfterTheLast) {
    auto keyboard = sim::MakeVirtualDevice(sim::VirtualProduct::Keyboard);
    CKelvaneUSBDevice* device = PlugAndWait(keyboard);
    ASSERT_NE(device, nullptr);
    QTest::qWait(600); // the item's first read of the keyboard
    config::LightInfoRecord fields = device->GetLightFields();
    fields.selectItem = 4;
    fields.light = 2;
    device->SetLightFields(fields);
    // The effect byte of the keyboard's first light block (effect codes are the effect indexes).
    auto effectOnDevice = [&] { return keyboard->MemoryImage().at(1); };

    wnd->SendMessage(shell::g_messages.gameStart, 0, 9);
    EXPECT_EQ(device->GetLightFields().selectItem, 9);
    EXPECT_EQ(effectOnDevice(), 9);
    QTest::qWait(1000);
    // A second event within the 5 s restarts the wait; form 1 keeps nothing new.
    wnd->SendMessage(shell::g_messages.gameKill, 1, 12);
    QElapsedTimer sinceLast;
    sinceLast.start();
    EXPECT_EQ(effectOnDevice(), 12);
    ASSERT_TRUE(test::WaitUntil([&] { return device->GetLightFields().selectItem == 4; }, 8000));
    EXPECT_GE(sinceLast.elapsed(), 5000) << "counted from the last event";
    EXPECT_EQ(effectOnDevice(), 4) << "the restored lighting is written to the keyboard";
    EXPECT_EQ(device->GetLightFields().light, 2) << "only the mode changed";
}

TEST_F(DispatchTest, RecorderDataLargerThanItsBufferIsRefusedWhole) {
    using platform::CopyDataResult;
    EXPECT_EQ(wnd->OnCopyData(1, QByteArray(4201, 'x')), CopyDataResult::TooLarge);
    EXPECT_EQ(wnd->OnCopyData(2, QByteArray(157, 'x')), CopyDataResult::TooLarge);
    EXPECT_EQ(wnd->OnCopyData(7, QByteArray(4, 'x')), CopyDataResult::UnknownId);
    EXPECT_EQ(wnd->OnCopyData(1, QByteArray(4200, 'x')), CopyDataResult::Taken);
    EXPECT_EQ(wnd->OnCopyData(2, QByteArray(156, 'x')), CopyDataResult::Taken);
    EXPECT_EQ(wnd->OnCopyData(2, QByteArray()), CopyDataResult::Taken);
}

class CableAndReceiverTest : public DispatchTest,
                             public ::testing::WithParamInterface<sim::VirtualProduct> {};

TEST_P(CableAndReceiverTest, TheItemStaysWhileTheDeviceMovesFromCableToReceiverAndBack) {
    auto product = sim::MakeVirtualDevice(GetParam());
    auto receiver = sim::MakeVirtualReceiver(*product);
    auto pad = sim::MakeVirtualDevice(sim::VirtualProduct::MousePad);
    CKelvaneUSBDevice* device = PlugAndWait(product);
    ASSERT_NE(device, nullptr);
    ASSERT_NE(PlugAndWait(pad), nullptr);
    devices.Plug(receiver);
    QTest::qWait(250);
    EXPECT_FALSE(device->IsUsingReceiver()) << "with both present the cable is used";

    devices.Unplug(product);
    ASSERT_TRUE(test::WaitUntil([&] { return device->IsUsingReceiver(); }, 300));
    EXPECT_EQ(wnd->ConnectedCount(), 2u) << "still there, wirelessly";
    EXPECT_TRUE(device->CommandChannel().IsReceiverMode());

    devices.Plug(product);
    ASSERT_TRUE(test::WaitUntil([&] { return !device->IsUsingReceiver(); }, 300));
    EXPECT_EQ(wnd->ConnectedCount(), 2u);
    EXPECT_EQ(wnd->Registry()->Devices().size(), 2u) << "no second object for the product";
}

INSTANTIATE_TEST_SUITE_P(KeyboardAndMouse, CableAndReceiverTest,
                         ::testing::Values(sim::VirtualProduct::Keyboard,
                                           sim::VirtualProduct::Mouse),
                         [](const auto& info) {
                             return info.param == sim::VirtualProduct::Keyboard ? "Keyboard"
                                                                                : "Mouse";
                         });

TEST_F(DispatchTest, SkinChoicesReachTheMainWindowsBackground) {
    CControlUI* root = wnd->Find("root");
    ASSERT_NE(root, nullptr);
    shell::SkinNotifier().DeliverAll({1, 0xFF224466u, {}});
    EXPECT_EQ(root->GetBkColor(), 0xFF224466u);
    shell::SkinNotifier().DeliverAll({0, 0, "common/background.png"});
    EXPECT_EQ(root->GetBkImage(), "common/background.png");

    // The window leaves the notifier when it ends.
    const std::size_t attached = shell::SkinNotifier().ReceiverCount();
    wnd.reset();
    EXPECT_EQ(shell::SkinNotifier().ReceiverCount(), attached - 1);
}

TEST_F(DispatchTest, ExitEndsWithinASecondWhileAWorkerIsBlockedInADeviceRead) {
    auto keyboard = sim::MakeVirtualDevice(sim::VirtualProduct::Keyboard);
    ASSERT_NE(PlugAndWait(keyboard), nullptr);
    // A notification reader of its own on the keyboard's command collection: nothing comes.
    auto reader = std::make_shared<transport::CHidChannel>(&devices);
    ASSERT_EQ(reader->Open(wnd->Slots()[0].path, true, false, true, true), 1);
    std::atomic<bool> reading{false};
    std::atomic<int> result{-1};
    ASSERT_TRUE(wnd->Workers().Start(
        5,
        [reader, &reading, &result](transport::Event&) {
            std::uint8_t report[64];
            std::uint32_t got = 0;
            reading = true;
            result = reader->Read(report, sizeof report, &got, 60000);
        },
        [reader] { reader->Close(); }));
    ASSERT_TRUE(test::WaitUntil([&] { return reading.load(); }));

    QElapsedTimer timer;
    timer.start();
    MenuCmd exit;
    exit.szName = "exit";
    wnd->SendMessage(WM_MENUCLICK, reinterpret_cast<WPARAM>(&exit), 0);
    // The quit is posted while the window ends and may arrive an event-loop pass after it.
    ASSERT_TRUE(test::WaitUntil([&] { return wnd->GetHWND() == nullptr && quitSpy.quits > 0; }));
    EXPECT_LT(timer.elapsed(), 1000);
    EXPECT_FALSE(wnd->Workers().IsRunning(5));
    EXPECT_NE(result.load(), 1) << "the read was cancelled, not answered";
    EXPECT_EQ(quitSpy.quits, 1);
}

TEST(ScreenRules, DpiFollowsTheMonitorSize) {
    EXPECT_EQ(shell::DpiForMonitor({1920, 1080}), 144);
    EXPECT_EQ(shell::DpiForMonitor({1366, 768}), 96);
    EXPECT_EQ(shell::DpiForMonitor({1501, 960}), 96) << "both sides must be larger";
    EXPECT_EQ(shell::DpiForMonitor({1501, 961}), 144);
}

TEST(ScreenRules, TrayMenuMovesOffThePanel) {
    const QRect screen(0, 0, 1920, 1080);
    const QPoint cursor(1800, 1060);
    using namespace ui;
    // No panel: at the cursor, left-top.
    auto at = shell::PlaceTrayMenu(cursor, screen, screen);
    EXPECT_EQ(at.point, cursor);
    EXPECT_EQ(at.alignment, eMenuAlignment_Left | eMenuAlignment_Top);
    // At the bottom: 20 pixels above its top edge, right-bottom.
    at = shell::PlaceTrayMenu(cursor, screen, QRect(0, 0, 1920, 1040));
    EXPECT_EQ(at.point, QPoint(1800, 1040 - 20));
    EXPECT_EQ(at.alignment, 24);
    // At the top: below it.
    at = shell::PlaceTrayMenu({1800, 10}, screen, QRect(0, 32, 1920, 1048));
    EXPECT_EQ(at.point, QPoint(1800, 33));
    EXPECT_EQ(at.alignment, 12);
    // At the left: right of it.
    at = shell::PlaceTrayMenu({10, 1000}, screen, QRect(48, 0, 1872, 1080));
    EXPECT_EQ(at.point, QPoint(49, 1000));
    EXPECT_EQ(at.alignment, 18);
    // At the right: left of it.
    at = shell::PlaceTrayMenu({1900, 1000}, screen, QRect(0, 0, 1872, 1080));
    EXPECT_EQ(at.point, QPoint(1871, 1000));
    EXPECT_EQ(at.alignment, 24);
    // A second monitor to the right: positions stay in global coordinates.
    at = shell::PlaceTrayMenu({2900, 1060}, QRect(1920, 0, 1366, 768), QRect(1920, 0, 1366, 740));
    EXPECT_EQ(at.point, QPoint(2900, 720));
}

} // namespace
