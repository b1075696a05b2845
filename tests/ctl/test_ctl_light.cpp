// "quarin-z17ctl light" against the virtual keyboard: the light block in the keyboard's
// memory and the fields in the profile file after a change, packet by packet; refusals and
// printing change neither.

#include "config/AtomicFile.h"
#include "config/JsonFile.h"
#include "config/ProfileList.h"
#include "ctl/LightCommands.h"
#include "sim/VirtualDevice.h"
#include "sim/VirtualHidBackend.h"
#include "sim/VirtualProducts.h"
#include "support/DataFolders.h"

#include "CtlRun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// The mode list's device codes are 40 + the effect index here, so that a block carrying the
// index instead of the code shows.
constexpr int kCodeBase = 40;
constexpr int kHiddenMode = 19;

using test::CtlRun;

class CtlLight : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        folders.CopyDefaultDocument("keyboard.Json");
        std::string modes;
        for (int i = 0; i < 31; ++i)
            modes += std::string(i ? "," : "") + "{\"LightName\":\"effect_" + std::to_string(i) +
                     "\",\"visible\":" + (i == 0 || i == kHiddenMode ? "0" : "1") +
                     ",\"value\":" + std::to_string(kCodeBase + i) + "}";
        std::ofstream(folders.ProgramData() / "DefaultData" / "default_light.json")
            << "{\"DefaultLightName\":[[" << modes << "]]}";
        board->SetReplyDelay(std::chrono::microseconds(0));
        receiver->SetReplyDelay(std::chrono::microseconds(0));
    }

    bool ThroughReceiver() const { return GetParam(); }
    sim::VirtualDevice& Wire() { return ThroughReceiver() ? *receiver : *board; }
    void PlugKeyboard() { ASSERT_TRUE(backend.Plug(ThroughReceiver() ? receiver : board)); }

    CtlRun Light(const std::vector<std::string>& args) {
        return test::RunCaptured(
            [&](const ctl::Output& output) { return ctl::RunLightCommand(backend, args, output); });
    }
    fs::path Folder() const { return folders.UserData() / "QUARIN Z17 Keyboard" / "keyboard"; }
    Json::Value SelectedLightInfo() const {
        config::CProfileList list(
            Folder().string() + "/",
            (folders.ProgramData() / "DefaultData" / "keyboard.Json").string());
        EXPECT_EQ(list.Read(), config::kProfileDone);
        return config::ReadJsonFile(list.ProfilePath(list.SelectedId()))["Device"][0]["LightInfo"];
    }
    // Every file of the keyboard's folder with its content.
    std::map<std::string, std::string> Snapshot() const {
        std::map<std::string, std::string> files;
        if (fs::exists(Folder()))
            for (const auto& entry : fs::directory_iterator(Folder()))
                files[entry.path().filename()] = config::readjsonFile(entry.path().string());
        return files;
    }
    // The command bytes of the requests that reached the keyboard.
    std::vector<std::uint8_t> Commands() {
        std::vector<std::uint8_t> commands;
        for (const sim::WirePacket& p : Wire().WireLog())
            if (p.direction == sim::WireDirection::Request)
                commands.push_back(p.bytes[3]);
        return commands;
    }
    std::vector<std::uint8_t> ProfileZeroBlock() const {
        const std::vector<std::uint8_t> memory = board->MemoryImage();
        return {memory.begin(), memory.begin() + 26};
    }

    test::DataFolders folders{test::DataFolders::Program::Own};
    sim::VirtualHidBackend backend;
    std::shared_ptr<sim::VirtualDevice> board =
        sim::MakeVirtualDevice(sim::VirtualProduct::Keyboard);
    std::shared_ptr<sim::VirtualDevice> receiver = sim::MakeVirtualReceiver(*board);
};

TEST_P(CtlLight, AChangeIsStoredInTheProfileAndWrittenAsTheLightBlock) {
    PlugKeyboard();
    Wire().ClearWireLog();
    const CtlRun run =
        Light({ThroughReceiver() ? "keyboard-receiver" : "keyboard", "--mode", "22", "--brightness",
               "1", "--speed", "3", "--direction", "1", "--colour", "12A0fe"});
    ASSERT_EQ(run.exitCode, ctl::kExitOk) << run.err;
    EXPECT_EQ(run.out, "mode\t22\teffect_22\nbrightness\t1\nspeed\t3\ndirection\t1\n"
                       "colour\t12A0FE\nmulticolour\t0\n");

    // Profile 0's block at offset 0: profile byte, code, brightness, 3 - speed, direction,
    // multi-colour, red, green, blue.
    const std::vector<std::uint8_t> block = ProfileZeroBlock();
    const std::vector<std::uint8_t> head(block.begin(), block.begin() + 9);
    EXPECT_EQ(head, (std::vector<std::uint8_t>{0, kCodeBase + 22, 1, 0, 1, 0, 0x12, 0xA0, 0xFE}));
    EXPECT_EQ(block[25], 0) << "custom group";
    // On the wire: 0x01, the 26 bytes with 0x06 (in 24-byte pieces through the receiver), 0x02.
    std::vector<std::uint8_t> commands;
    std::vector<std::uint8_t> written;
    for (const sim::WirePacket& p : Wire().WireLog()) {
        if (p.direction != sim::WireDirection::Request)
            continue;
        commands.push_back(p.bytes[3]);
        if (p.bytes[3] != 0x06)
            continue;
        EXPECT_EQ(p.bytes[5] | p.bytes[6] << 8, written.size()) << "offset 25 x 0, then on";
        written.insert(written.end(), p.bytes.begin() + 8, p.bytes.begin() + 8 + p.bytes[4]);
    }
    EXPECT_EQ(written, block);
    const std::vector<std::uint8_t> tail(ThroughReceiver() ? 4 : 3, 0x06);
    ASSERT_GE(commands.size(), tail.size());
    std::vector<std::uint8_t> expected = tail;
    expected.front() = 0x01;
    expected.back() = 0x02;
    EXPECT_EQ(std::vector<std::uint8_t>(commands.end() - static_cast<long>(expected.size()),
                                        commands.end()),
              expected)
        << "the block is the last transaction";

    const Json::Value info = SelectedLightInfo();
    EXPECT_EQ(info["SelectItem"].asInt(), 22);
    EXPECT_EQ(info["Light"].asInt(), 1);
    EXPECT_EQ(info["Speed"].asInt(), 3);
    EXPECT_EQ(info["Fx"].asInt(), 1);
    EXPECT_EQ(info["MultiColor"].asInt(), 0) << "the shipped profile has it on";
    EXPECT_EQ(info["Red"].asInt(), 0x12);
    EXPECT_EQ(info["Green"].asInt(), 0xA0);
    EXPECT_EQ(info["Blue"].asInt(), 0xFE);
    EXPECT_EQ(info["OldLedmode"].asInt(), 1) << "kept";

    // A later change starts from the stored fields.
    ASSERT_EQ(Light({"keyboard", "--multicolour", "1"}).exitCode, ctl::kExitOk);
    EXPECT_EQ(ProfileZeroBlock()[5], 1);
    EXPECT_EQ(ProfileZeroBlock()[1], kCodeBase + 22);
    EXPECT_EQ(ProfileZeroBlock()[6], 0x12);
    EXPECT_EQ(SelectedLightInfo()["MultiColor"].asInt(), 1);
    EXPECT_EQ(SelectedLightInfo()["Red"].asInt(), 0x12);
}

TEST_P(CtlLight, RefusedValuesChangeNeitherTheKeyboardNorTheProfile) {
    PlugKeyboard();
    ASSERT_EQ(Light({"keyboard", "--speed", "1"}).exitCode, ctl::kExitOk);
    const auto files = Snapshot();
    const std::vector<std::uint8_t> memory = board->MemoryImage();
    Wire().ClearWireLog();

    const std::vector<std::vector<std::string>> refused = {
        {"keyboard", "--mode", std::to_string(kHiddenMode)},
        {"keyboard", "--mode", "0"},
        {"keyboard", "--mode", "31"},
        {"keyboard", "--brightness", "4"},
        {"keyboard", "--speed", "fast"},
        {"keyboard", "--colour", "red"},
        {"keyboard", "--colour", "00FF00", "--wobble", "1"},
        {"keyboard", "--direction"},
        {"keyboard", "--multicolour", "2"},
        {"mouse", "--brightness", "5"},
        {"mousepad", "--speed", "5"},
        {"headset", "--colour", "00FF00"},
        {"trackball"},
        {},
    };
    for (const std::vector<std::string>& args : refused) {
        const CtlRun run = Light(args);
        EXPECT_EQ(run.exitCode, ctl::kExitUsage) << (args.empty() ? "" : args.back());
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err, "");
    }
    EXPECT_EQ(Light({"keyboard", "--mode", "19"}).err,
              "quarin-z17ctl: --mode takes one of the keyboard's effects: 1-18, 20-30\n");
    EXPECT_EQ(Light({"headset"}).err,
              "quarin-z17ctl: the lighting of the headset cannot be set here yet\n");
    EXPECT_TRUE(Commands().empty()) << "nothing reached the keyboard";
    EXPECT_EQ(board->MemoryImage(), memory);
    EXPECT_EQ(Snapshot(), files);
}

TEST_P(CtlLight, PrintingReadsTheProfileAndChangesNothing) {
    PlugKeyboard();
    const CtlRun first = Light({"keyboard"});
    ASSERT_EQ(first.exitCode, ctl::kExitOk) << first.err;
    EXPECT_EQ(first.out, "mode\t1\teffect_1\nbrightness\t3\nspeed\t2\ndirection\t0\n"
                         "colour\tFFFFFF\nmulticolour\t1\n")
        << "the shipped defaults, before any profile is made";
    EXPECT_FALSE(fs::exists(Folder() / "ProfileList.ini"));

    ASSERT_EQ(Light({"keyboard", "--mode", "6", "--colour", "010203"}).exitCode, ctl::kExitOk);
    const auto files = Snapshot();
    const std::vector<std::uint8_t> memory = board->MemoryImage();
    Wire().ClearWireLog();
    const CtlRun printed = Light({"keyboard"});
    EXPECT_EQ(printed.out, "mode\t6\teffect_6\nbrightness\t3\nspeed\t2\ndirection\t0\n"
                           "colour\t010203\nmulticolour\t0\n");
    EXPECT_TRUE(Commands().empty());
    EXPECT_EQ(board->MemoryImage(), memory);
    EXPECT_EQ(Snapshot(), files);

    backend.UnplugAll();
    EXPECT_EQ(Light({"keyboard"}).out, printed.out) << "no keyboard is needed to print";
}

TEST_P(CtlLight, WithoutTheKeyboardOrWithAFullDiskNothingIsChanged) {
    const CtlRun absent = Light({"keyboard", "--brightness", "0"});
    EXPECT_EQ(absent.exitCode, ctl::kExitFailed);
    EXPECT_EQ(absent.err, "quarin-z17ctl: no keyboard is connected\n");
    EXPECT_TRUE(Snapshot().empty()) << "no profile made for a change that was not made";

    PlugKeyboard();
    ASSERT_EQ(Light({"keyboard", "--brightness", "2"}).exitCode, ctl::kExitOk);
    const auto files = Snapshot();
    const std::vector<std::uint8_t> memory = board->MemoryImage();
    Wire().ClearWireLog();
    {
        config::FileCalls calls = config::FileCalls::System();
        calls.rename = [](const char*, const char*) { return errno = ENOSPC, -1; };
        const config::ScopedFileCalls full(calls);
        const CtlRun run = Light({"keyboard", "--brightness", "0"});
        EXPECT_EQ(run.exitCode, ctl::kExitFailed);
        EXPECT_NE(run.err.find("cannot be written; nothing was sent to the keyboard"),
                  std::string::npos)
            << run.err;
        EXPECT_EQ(run.out, "");
    }
    const std::vector<std::uint8_t> commands = Commands();
    EXPECT_EQ(std::count(commands.begin(), commands.end(), 0x06), 0);
    EXPECT_EQ(board->MemoryImage(), memory);
    EXPECT_EQ(Snapshot(), files);
}

INSTANTIATE_TEST_SUITE_P(Connections, CtlLight, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return std::string(info.param ? "ThroughTheReceiver" : "ByCable");
                         });

} // namespace
