// quarin-z17ctl's commands run inside the program write the user files behind the window: once
// the window has read them again, its own saves keep the command's changes, and its profile
// drop-down and device follow a profile the command added and selected. A command sent while
// the window connects a device waits until the window's first read of it has ended.

#include "MainWindowFixture.h"
#include "ctl/CommandLine.h"
#include "ctl/CommandWorker.h"
#include "devices/KelvaneUSBDevice.h"
#include "shell/profile/DeviceProfileUI.h"
#include "ui/ComboUI.h"

#include <atomic>
#include <optional>

namespace {

class FilesChangedByCommands : public test::MainWindowTest {
protected:
    ctl::CapturedRun Command(const std::vector<std::string>& args) {
        return ctl::RunForwardedCommand(devices, args, false, {});
    }
    devices::CKelvaneUSBDevice& Keyboard() { return *wnd->Registry()->Devices().at(0); }
    ui::CComboUI* ProfileCombo() { return wnd->Find<ui::CComboUI>("device_profile_combo"); }
};

TEST_F(FilesChangedByCommands, TheWindowsSavesKeepTheCommandsChangesOnceItReadTheFiles) {
    ASSERT_TRUE(devices.Plug(sim::MakeVirtualDevice(sim::VirtualProduct::Keyboard)));
    ASSERT_TRUE(test::WaitUntil([&] { return wnd->ConnectedCount() == 1; }, 10000));
    QTest::qWait(800); // the device's first read and its page

    ASSERT_FALSE(Command({"light", "keyboard"}).out.starts_with("mode\t3\t"));
    const ctl::CapturedRun light = Command({"light", "keyboard", "--mode", "3"});
    ASSERT_EQ(light.exitCode, 0) << light.err;
    wnd->ReadProfilesAgain();
    Keyboard().StoreProfile(); // as any change made in the window saves it
    EXPECT_TRUE(Command({"light", "keyboard"}).out.starts_with("mode\t3\t"))
        << "the window wrote its older light settings back";

    ui::CComboUI* combo = ProfileCombo();
    ASSERT_NE(combo, nullptr);
    const int profiles = combo->GetCount();
    ASSERT_EQ(Command({"profile", "add", "keyboard"}).exitCode, 0);
    ASSERT_EQ(Command({"profile", "select", "keyboard", std::to_string(profiles)}).exitCode, 0);
    const std::string before = Keyboard().GetCurrentProfileId();
    wnd->ReadProfilesAgain();
    EXPECT_EQ(combo->GetCount(), profiles + 1);
    EXPECT_EQ(combo->GetCurSel(), profiles);
    auto* panel = wnd->Find<shell::CDeviceProfileUI>("DeviceProfileItem");
    ASSERT_NE(panel, nullptr);
    EXPECT_NE(Keyboard().GetCurrentProfileId(), before);
    EXPECT_EQ(Keyboard().GetCurrentProfileId(), panel->GetProfileIdAt(profiles));
}

// The window's first read of a keyboard takes the keyboard's state into the profile file and
// saves it: a command that changed the file meanwhile would lose its change, or find the file
// not as it wrote it and fail.
TEST_F(FilesChangedByCommands, ACommandSentWhileAKeyboardConnectsRunsAfterTheWindowsFirstRead) {
    std::atomic<bool> firstReadEnded = false;
    std::atomic<bool> ranAfterTheRead = false;
    ctl::CommandWorker commands([&](const std::vector<std::string>& args, bool json) {
        ranAfterTheRead = firstReadEnded.load();
        return ctl::RunForwardedCommand(devices, args, json, {});
    });
    wnd->SetConnectWatch([&](const void* what, bool connecting) {
        if (!connecting && what != wnd.get())
            firstReadEnded = true;
        connecting ? commands.Hold(what) : commands.Release(what);
    });
    struct ForgetTheWatch {
        shell::CMainWnd& window;
        ~ForgetTheWatch() { window.SetConnectWatch({}); } // before the worker goes
    } forget{*wnd};
    ASSERT_TRUE(devices.Plug(sim::MakeVirtualDevice(sim::VirtualProduct::Keyboard)));
    ASSERT_TRUE(test::WaitUntil([&] { return wnd->ConnectedCount() == 1; }, 10000));

    std::optional<ctl::CapturedRun> light;
    std::atomic<bool> answered = false;
    commands.Post({"light", "keyboard", "--mode", "3"}, false,
                  [&](std::optional<ctl::CapturedRun> run) {
                      light = std::move(run);
                      answered = true;
                  });
    ASSERT_TRUE(test::WaitUntil([&] { return answered.load(); }, 15000));
    ASSERT_TRUE(light);
    EXPECT_EQ(light->exitCode, 0) << light->err;
    EXPECT_TRUE(firstReadEnded);
    EXPECT_TRUE(ranAfterTheRead) << "the command ran while the window read the keyboard";
    EXPECT_TRUE(Command({"light", "keyboard"}).out.starts_with("mode\t3\t"));
}

} // namespace
