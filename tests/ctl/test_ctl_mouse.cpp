// "quarin-z17ctl dpi", "rate" and "light mouse|mousepad" against the virtual mouse (by cable
// and through its receiver) and pad: the configuration block or light block in device memory
// and the profile file afterwards; refusals change neither.

#include "config/AtomicFile.h"
#include "config/JsonFile.h"
#include "config/MouseProfiledata.h"
#include "config/ProfileList.h"
#include "config/Utf8.h"
#include "ctl/LightCommands.h"
#include "ctl/MouseCommands.h"
#include "devices/DeviceModels.h"
#include "sim/VirtualDevice.h"
#include "sim/VirtualHidBackend.h"
#include "sim/VirtualProducts.h"
#include "support/DataFolders.h"

#include "CtlRun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using test::CtlRun;

// The configuration block of page 0 in the mouse's memory.
constexpr std::size_t kRateAt = 11;
constexpr std::size_t kCurrentStageAt = 12;
constexpr std::size_t kStagesAt = 14;
constexpr std::size_t kScreenAt = 60;

class CtlMouse : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        mouse->SetReplyDelay(std::chrono::microseconds(0));
        receiver->SetReplyDelay(std::chrono::microseconds(0));
    }

    bool ThroughReceiver() const { return GetParam(); }
    const char* Kind() const { return ThroughReceiver() ? "mouse-receiver" : "mouse"; }
    sim::VirtualDevice& Wire() { return ThroughReceiver() ? *receiver : *mouse; }
    void PlugMouse() { ASSERT_TRUE(backend.Plug(ThroughReceiver() ? receiver : mouse)); }

    CtlRun Dpi(const std::vector<std::string>& args) {
        return test::RunCaptured(
            [&](const ctl::Output& output) { return ctl::RunDpiCommand(backend, args, output); });
    }
    CtlRun Rate(const std::vector<std::string>& args) {
        return test::RunCaptured(
            [&](const ctl::Output& output) { return ctl::RunRateCommand(backend, args, output); });
    }
    CtlRun Light(const std::vector<std::string>& args) {
        return test::RunCaptured(
            [&](const ctl::Output& output) { return ctl::RunLightCommand(backend, args, output); });
    }

    static std::string SelectedProfilePath(int modelRow) {
        const auto device = devices::CreateDeviceForModel(modelRow);
        config::CProfileList list(device->UserDataFolder(), device->DefaultProfilePath());
        EXPECT_EQ(list.Read(), config::kProfileDone);
        return list.ProfilePath(list.SelectedId());
    }
    static config::CMouseProfiledata MouseProfile() {
        config::CMouseProfiledata profile;
        profile.SetProfilePath(config::Utf8ToWide(SelectedProfilePath(0)));
        profile.ReadProfile(config::Utf8ToWide(SelectedProfilePath(0)));
        return profile;
    }
    // Every file of the user data with its content.
    std::map<std::string, std::string> Snapshot() const {
        std::map<std::string, std::string> files;
        for (const auto& entry : fs::recursive_directory_iterator(folders.UserData()))
            if (entry.is_regular_file())
                files[entry.path().string()] = config::readjsonFile(entry.path().string());
        return files;
    }
    std::size_t Writes() {
        std::size_t writes = 0;
        for (const sim::WirePacket& p : Wire().WireLog())
            writes += p.direction == sim::WireDirection::Request && p.bytes[3] == 0x06;
        return writes;
    }
    std::vector<std::uint8_t> Stage(int i) const {
        const std::vector<std::uint8_t> memory = mouse->MemoryImage();
        const auto at = memory.begin() + static_cast<std::ptrdiff_t>(kStagesAt + 9 * i);
        return {at, at + 9};
    }

    test::DataFolders folders;
    sim::VirtualHidBackend backend;
    std::shared_ptr<sim::VirtualDevice> mouse = sim::MakeVirtualDevice(sim::VirtualProduct::Mouse);
    std::shared_ptr<sim::VirtualDevice> receiver = sim::MakeVirtualReceiver(*mouse);
};

TEST_P(CtlMouse, TypedCountsPerInchBecomeTheStagePositionInTheProfileAndTheMouse) {
    PlugMouse();
    const auto screenOf = [](const std::vector<std::uint8_t>& memory) {
        return std::vector<std::uint8_t>(memory.begin() + kScreenAt,
                                         memory.begin() + kScreenAt + 4);
    };
    const std::vector<std::uint8_t> screen = screenOf(mouse->MemoryImage());
    // The mouse's scale: 200 at 0, 100 per position to 48 (5000), then 200 per position to 153.
    const CtlRun run = Dpi({Kind(), "3", "2050"});
    ASSERT_EQ(run.exitCode, ctl::kExitOk) << run.err;
    EXPECT_EQ(run.out, "0\t1\t2\t400\tFF0000\n1\t1\t6\t800\t00FF00\t*\n2\t1\t14\t1600\t0000FF\n"
                       "3\t1\t18\t2000\tFFFF00\n4\t1\t55\t6400\tFF00FF\n");
    EXPECT_EQ(Stage(3), (std::vector<std::uint8_t>{1, 0, 18, 0, 30, 0, 0xFF, 0xFF, 0x00}))
        << "enable, XY, DPI X (the new position), DPI Y as the profile had it, colour";
    EXPECT_EQ(MouseProfile().ReadDpiStages()[3].DpiX(), 18);
    EXPECT_EQ(screenOf(mouse->MemoryImage()), screen) << "the mouse keeps its screen size";

    const std::vector<std::pair<std::string, int>> typed = {
        {"7400", 60}, {"7500", 60}, {"5000", 48}, {"50", 0}, {"0", 0}, {"999999", 153}};
    for (const auto& [cpi, position] : typed) {
        ASSERT_EQ(Dpi({Kind(), "0", cpi}).exitCode, ctl::kExitOk) << cpi;
        EXPECT_EQ(Stage(0)[2] | Stage(0)[3] << 8, position) << cpi;
        EXPECT_EQ(MouseProfile().ReadDpiStages()[0].DpiX(), position) << cpi;
    }
}

TEST_P(CtlMouse, SelectingAStageAndTheReportRateReachTheBlock) {
    PlugMouse();
    const CtlRun selected = Dpi({Kind(), "--select", "4"});
    ASSERT_EQ(selected.exitCode, ctl::kExitOk) << selected.err;
    EXPECT_NE(selected.out.find("4\t1\t55\t6400\tFF00FF\t*\n"), std::string::npos);
    EXPECT_EQ(mouse->MemoryImage()[kCurrentStageAt], 4);
    EXPECT_EQ(MouseProfile().GetDpiStageActive(), 4);

    const CtlRun rate = Rate({Kind(), "3"});
    ASSERT_EQ(rate.exitCode, ctl::kExitOk) << rate.err;
    EXPECT_EQ(rate.out, "3\n");
    EXPECT_EQ(mouse->MemoryImage()[kRateAt], 3);
    EXPECT_EQ(MouseProfile().ReadMouseSystem().Value(5), 3);
    EXPECT_EQ(mouse->MemoryImage()[kCurrentStageAt], 4) << "the stage stays";
    EXPECT_EQ(Rate({Kind()}).out, "3\n");
}

TEST_P(CtlMouse, BadValuesAndASwitchedOffStageChangeNothing) {
    PlugMouse();
    ASSERT_EQ(Dpi({Kind(), "1", "900"}).exitCode, ctl::kExitOk);
    // Stage 2 switched off in the profile, as the panel's enable box leaves it.
    config::CMouseProfiledata profile = MouseProfile();
    std::vector<config::DpiStage> stages = profile.ReadDpiStages();
    stages[2].enable = 0;
    profile.WriteDpiStages(stages);
    ASSERT_TRUE(profile.SaveProfile());

    const auto files = Snapshot();
    const std::vector<std::uint8_t> memory = mouse->MemoryImage();
    Wire().ClearWireLog();
    const std::vector<std::vector<std::string>> refusedDpi = {
        {Kind(), "5", "800"},
        {Kind(), "-1", "800"},
        {Kind(), "1", "8k"},
        {Kind(), "1", "-400"},
        {Kind(), "1"},
        {Kind(), "--select"},
        {Kind(), "--select", "x"},
        {Kind(), "--select", "2"},
        {"keyboard"},
        {},
        {Kind(), "1", "800", "900"},
    };
    for (const std::vector<std::string>& args : refusedDpi) {
        const CtlRun run = Dpi(args);
        EXPECT_EQ(run.exitCode, ctl::kExitUsage) << (args.empty() ? "" : args.back());
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err, "");
    }
    EXPECT_EQ(Dpi({Kind(), "--select", "2"}).err,
              "quarin-z17ctl: stage 2 is switched off; nothing was changed\n");
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {Kind(), "5"}, {Kind(), "x"}, {Kind(), "1", "2"}, {"mousepad", "1"}}) {
        EXPECT_EQ(Rate(args).exitCode, ctl::kExitUsage) << args.back();
    }
    EXPECT_EQ(Light({Kind(), "--brightness", "5"}).exitCode, ctl::kExitUsage);
    EXPECT_EQ(Writes(), 0u);
    EXPECT_EQ(mouse->MemoryImage(), memory);
    EXPECT_EQ(Snapshot(), files);
}

TEST_P(CtlMouse, WithoutTheMouseOrWithAFullDiskNothingIsChanged) {
    const CtlRun absent = Rate({Kind(), "2"});
    EXPECT_EQ(absent.exitCode, ctl::kExitFailed);
    EXPECT_EQ(absent.err, std::string("quarin-z17ctl: no ") + Kind() + " is connected\n");

    PlugMouse();
    ASSERT_EQ(Rate({Kind(), "1"}).exitCode, ctl::kExitOk);
    const auto files = Snapshot();
    const std::vector<std::uint8_t> memory = mouse->MemoryImage();
    Wire().ClearWireLog();
    {
        config::FileCalls calls = config::FileCalls::System();
        calls.rename = [](const char*, const char*) { return errno = ENOSPC, -1; };
        const config::ScopedFileCalls full(calls);
        for (const CtlRun& run :
             {Rate({Kind(), "4"}), Dpi({Kind(), "0", "3000"}), Light({Kind(), "--speed", "0"})}) {
            EXPECT_EQ(run.exitCode, ctl::kExitFailed);
            EXPECT_NE(run.err.find("cannot be written; nothing was sent to the mouse"),
                      std::string::npos)
                << run.err;
            EXPECT_EQ(run.out, "");
        }
    }
    EXPECT_EQ(Writes(), 0u);
    EXPECT_EQ(mouse->MemoryImage(), memory);
    EXPECT_EQ(Snapshot(), files);
}

TEST_P(CtlMouse, TheMouseLightGoesIntoItsConfigurationBlock) {
    PlugMouse();
    const CtlRun run = Light({Kind(), "--brightness", "4", "--speed", "1", "--colour", "123456"});
    ASSERT_EQ(run.exitCode, ctl::kExitOk) << run.err;
    EXPECT_NE(
        run.out.find("brightness\t4\nspeed\t1\ndirection\t0\ncolour\t123456\nmulticolour\t0\n"),
        std::string::npos)
        << run.out;
    const std::vector<std::uint8_t> memory = mouse->MemoryImage();
    // brightness, 3 - speed, direction, multi-colour, red, green, blue
    EXPECT_EQ(std::vector<std::uint8_t>(memory.begin() + 2, memory.begin() + 9),
              (std::vector<std::uint8_t>{4, 2, 0, 0, 0x12, 0x34, 0x56}));
    const config::LightInfoRecord stored = MouseProfile().ReadLightInfo();
    EXPECT_EQ(stored.light, 4);
    EXPECT_EQ(stored.red, 0x12);
    EXPECT_EQ(stored.blue, 0x56);
    EXPECT_EQ(Stage(4), (std::vector<std::uint8_t>{1, 0, 55, 0, 55, 0, 0xFF, 0x00, 0xFF}))
        << "the stages go with it unchanged";
}

INSTANTIATE_TEST_SUITE_P(Connections, CtlMouse, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return std::string(info.param ? "ThroughTheReceiver" : "ByCable");
                         });

TEST(CtlMousePad, TheLightGoesIntoThePadsBlockAndBadValuesChangeNothing) {
    test::DataFolders folders;
    sim::VirtualHidBackend backend;
    const auto pad = sim::MakeVirtualDevice(sim::VirtualProduct::MousePad);
    pad->SetReplyDelay(std::chrono::microseconds(0));
    const auto light = [&](const std::vector<std::string>& args) {
        return test::RunCaptured(
            [&](const ctl::Output& output) { return ctl::RunLightCommand(backend, args, output); });
    };
    EXPECT_EQ(light({"mousepad", "--speed", "1"}).err, "quarin-z17ctl: no mousepad is connected\n");
    ASSERT_TRUE(backend.Plug(pad));
    const std::vector<std::uint8_t> before = pad->MemoryImage();

    const CtlRun run =
        light({"mousepad", "--brightness", "2", "--speed", "1", "--colour", "00FF80"});
    ASSERT_EQ(run.exitCode, ctl::kExitOk) << run.err;
    const std::vector<std::uint8_t> memory = pad->MemoryImage();
    // Page, mode code, brightness, 3 - speed, direction, multi-colour, red, green, blue; the
    // rest as the pad had it.
    EXPECT_EQ(std::vector<std::uint8_t>(memory.begin() + 2, memory.begin() + 9),
              (std::vector<std::uint8_t>{2, 2, before[4], 0, 0x00, 0xFF, 0x80}));
    EXPECT_EQ(std::vector<std::uint8_t>(memory.begin() + 9, memory.begin() + 21),
              std::vector<std::uint8_t>(before.begin() + 9, before.begin() + 21));
    config::CBasicProfiledata profile;
    const auto model = devices::CreateDeviceForModel(2);
    config::CProfileList list(model->UserDataFolder(), model->DefaultProfilePath());
    ASSERT_EQ(list.Read(), config::kProfileDone);
    profile.ReadProfile(config::Utf8ToWide(list.ProfilePath(list.SelectedId())));
    EXPECT_EQ(profile.ReadLightInfo().green, 0xFF);
    EXPECT_EQ(profile.ReadLightInfo().speed, 1);

    const std::string file = config::readjsonFile(list.ProfilePath(list.SelectedId()));
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"mousepad", "--speed", "5"}, {"mousepad", "--colour", "12345"}, {"mousepad", "-x"}})
        EXPECT_EQ(light(args).exitCode, ctl::kExitUsage) << args.back();
    EXPECT_EQ(pad->MemoryImage(), memory);
    EXPECT_EQ(config::readjsonFile(list.ProfilePath(list.SelectedId())), file);
}

} // namespace
