// quarin-z17ctl's keyboard commands against the virtual keyboard: the key table printed, and
// the selected profile applied.

#include "config/JsonFile.h"
#include "config/ProfileList.h"
#include "ctl/KeyboardCommands.h"
#include "sim/VirtualDevice.h"
#include "sim/VirtualHidBackend.h"
#include "sim/VirtualProducts.h"
#include "support/DataFolders.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace {

std::string ReadAll(std::FILE* file) {
    std::string text;
    std::rewind(file);
    char buffer[4096];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, file))
        text.append(buffer, n);
    return text;
}

class CtlKeyboard : public ::testing::Test {
protected:
    void SetUp() override {
        folders.CopyDefaultDocument("keyboard.Json");
        board->SetReplyDelay(std::chrono::microseconds(0));
        receiver->SetReplyDelay(std::chrono::microseconds(0));
    }
    void TearDown() override {
        std::fclose(out);
        std::fclose(err);
    }
    ctl::Output Streams() const { return {out, err}; }
    std::string UserFolder() const {
        return (folders.UserData() / "QUARIN Z17 Keyboard" / "keyboard").string() + "/";
    }

    test::DataFolders folders{test::DataFolders::Program::Own};
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    sim::VirtualHidBackend backend;
    std::shared_ptr<sim::VirtualDevice> board =
        sim::MakeVirtualDevice(sim::VirtualProduct::Keyboard);
    std::shared_ptr<sim::VirtualDevice> receiver = sim::MakeVirtualReceiver(*board);
};

TEST_F(CtlKeyboard, PrintsOneLinePerDeviceKeyByCableOrThroughTheReceiver) {
    ASSERT_TRUE(backend.Plug(receiver));
    ASSERT_EQ(ctl::PrintKeyTable(backend, "keyboard", Streams()), ctl::kExitOk) << ReadAll(err);
    const std::string text = ReadAll(out);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 124); // with the two spare positions
    EXPECT_EQ(text.rfind("0\t200029\t0\n", 0), 0u);
    EXPECT_NE(text.find("\n71\tA00100\t255\n"), std::string::npos);
    EXPECT_EQ(ctl::PrintKeyTable(backend, "keyboard-receiver", Streams()), ctl::kExitOk);
    EXPECT_FALSE(std::filesystem::exists(UserFolder() + "ProfileList.ini")) << "it writes nothing";
}

TEST_F(CtlKeyboard, SaysWhyWhenThereIsNoKeyboardOrTheKindIsWrong) {
    EXPECT_EQ(ctl::PrintKeyTable(backend, "mouse", Streams()), ctl::kExitUsage);
    EXPECT_EQ(ctl::PrintKeyTable(backend, "keyboard", Streams()), ctl::kExitFailed);
    EXPECT_NE(ReadAll(err).find("no keyboard is connected"), std::string::npos);
    ASSERT_TRUE(backend.Plug(receiver));
    receiver->SetDeviceAsleep(true);
    EXPECT_EQ(ctl::ApplyKeyboardProfile(backend, "keyboard-receiver", Streams()), ctl::kExitFailed);
    EXPECT_EQ(ReadAll(out), "");
}

TEST_F(CtlKeyboard, AppliesTheSelectedProfilesKeysAndLighting) {
    ASSERT_TRUE(backend.Plug(board));
    ASSERT_EQ(ctl::ApplyKeyboardProfile(backend, "keyboard", Streams()), ctl::kExitOk)
        << ReadAll(err);

    config::CProfileList profiles(
        UserFolder(), (folders.ProgramData() / "DefaultData" / "keyboard.Json").string());
    ASSERT_EQ(profiles.Load(), config::kProfileDone);
    const std::string path = profiles.ProfilePath(profiles.SelectedId());
    Json::Value document = config::ReadJsonFile(path);
    ASSERT_TRUE(document.isObject());
    document["Device"][0]["KeyList"][64]["Assignment"] = 0x200205; // A becomes Shift+B
    document["Device"][0]["LightInfo"]["Red"] = 17;
    ASSERT_TRUE(config::WriteJsonFile(path, document));

    ASSERT_EQ(ctl::ApplyKeyboardProfile(backend, "keyboard", Streams()), ctl::kExitOk);
    const std::vector<std::uint8_t> table = board->KeyTable();
    // On-screen key 64 ('A', 20 00 04) is device key 61 of the factory layout.
    EXPECT_EQ(table[3 * 61], 0x20);
    EXPECT_EQ(table[3 * 61 + 1], 0x02);
    EXPECT_EQ(table[3 * 61 + 2], 0x05);
    EXPECT_EQ(board->MemoryImage()[6], 17) << "profile 0's red";
    EXPECT_NE(ReadAll(out).find("applied profile " + profiles.SelectedId()), std::string::npos);
}

TEST_F(CtlKeyboard, AppliesTheMacrosTheKeysUseOrSaysByHowMuchTheyDoNotFit) {
    ASSERT_TRUE(backend.Plug(board));
    ASSERT_EQ(ctl::ApplyKeyboardProfile(backend, "keyboard", Streams()), ctl::kExitOk);
    config::CProfileList profiles(
        UserFolder(), (folders.ProgramData() / "DefaultData" / "keyboard.Json").string());
    ASSERT_EQ(profiles.Load(), config::kProfileDone);
    const std::string path = profiles.ProfilePath(profiles.SelectedId());
    Json::Value document = config::ReadJsonFile(path);
    document["Device"][0]["KeyList"][64]["Assignment"] = 0x700000; // A plays macro 0 once
    ASSERT_TRUE(config::WriteJsonFile(path, document));
    auto writeMacro = [&](int events) {
        Json::Value macro;
        macro["MacroName"] = "m";
        macro["Guid"] = "g0";
        macro["Version"] = 64;
        for (int i = 0; i < events; ++i) {
            Json::Value event;
            event["Type"] = 10;
            event["Action"] = i % 2 ? "up" : "down";
            event["Button"] = 4;
            event["Delay"] = "5";
            macro["Events"].append(event);
        }
        ASSERT_TRUE(config::WriteJsonFile(UserFolder() + "g0.mac", macro));
    };
    Json::Value library;
    library["MacroInfo"][0]["MacroName"] = "m";
    library["MacroInfo"][0]["Guid"] = "g0";
    ASSERT_TRUE(config::WriteJsonFile(UserFolder() + "macro.config", library));
    writeMacro(2);

    ASSERT_EQ(ctl::ApplyKeyboardProfile(backend, "keyboard", Streams()), ctl::kExitOk)
        << ReadAll(err);
    EXPECT_NE(ReadAll(out).find("(macros written: 1)"), std::string::npos);
    const std::vector<std::uint8_t> memory = board->MacroMemory();
    // The table's header, one macro of 16 + 2 + 4 + 2 × 4 bytes, then A's press: 5 ms, 0x8A, 4.
    EXPECT_EQ(std::vector<std::uint8_t>(memory.begin(), memory.begin() + 5),
              (std::vector<std::uint8_t>{0xAA, 0x55, 30, 0, 1}));
    EXPECT_EQ(std::vector<std::uint8_t>(memory.begin() + 22, memory.begin() + 30),
              (std::vector<std::uint8_t>{5, 0, 0x8A, 4, 5, 0, 0x0A, 4}));
    EXPECT_EQ(board->KeyTable()[3 * 61], 0x70);

    // 16 + 2 + 4 + 4 × 1020 = 4102 bytes of a 4096-byte memory: 2 events too many.
    writeMacro(1020);
    EXPECT_EQ(ctl::ApplyKeyboardProfile(backend, "keyboard", Streams()), ctl::kExitFailed);
    EXPECT_NE(ReadAll(err).find("(2 events too many) and were not written"), std::string::npos);
    EXPECT_EQ(board->MacroMemory(), memory);
}

TEST_F(CtlKeyboard, AProfileThatCannotBeReadIsNotSent) {
    ASSERT_TRUE(backend.Plug(board));
    std::filesystem::create_directories(UserFolder());
    config::CProfileList profiles(
        UserFolder(), (folders.ProgramData() / "DefaultData" / "keyboard.Json").string());
    ASSERT_EQ(profiles.Load(), config::kProfileDone);
    const std::string path = profiles.ProfilePath(profiles.SelectedId());
    std::filesystem::remove(path);
    std::filesystem::create_directory(path);
    const std::vector<std::uint8_t> table = board->KeyTable();
    const std::vector<std::uint8_t> memory = board->MemoryImage();

    EXPECT_EQ(ctl::ApplyKeyboardProfile(backend, "keyboard", Streams()), ctl::kExitFailed);
    EXPECT_NE(ReadAll(err).find("cannot be read; nothing was sent"), std::string::npos);
    EXPECT_EQ(board->KeyTable(), table);
    EXPECT_EQ(board->MemoryImage(), memory);
    EXPECT_TRUE(std::filesystem::is_directory(path));
}

} // namespace
