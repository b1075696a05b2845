// The trace a virtual device keeps when QUARIN_Z17_SIM_TRACE names a file.

#include "SimHarness.h"
#include "sim/SimTrace.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

using namespace simtest;
using sim::VirtualProduct;

namespace {

std::string Hex(const Bytes& bytes) {
    std::string text;
    char byte[4];
    for (std::uint8_t b : bytes) {
        std::snprintf(byte, sizeof byte, " %02x", b);
        text += byte;
    }
    return text;
}

std::vector<std::string> Lines(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

class Trace : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::remove(file);
        ASSERT_EQ(::setenv(sim::SimTrace::kVariable, file.c_str(), 1), 0);
    }
    void TearDown() override {
        ::unsetenv(sim::SimTrace::kVariable);
        std::filesystem::remove(file);
    }
    const std::filesystem::path file = std::filesystem::temp_directory_path() /
                                       ("sim-trace-" + std::to_string(::getpid()) + ".txt");
};

TEST_F(Trace, EveryReportInAndOutIsOneLineWithTheDeviceAndDirection) {
    Harness keyboard(VirtualProduct::Keyboard);
    Harness receiver(sim::MakeVirtualReceiver(*keyboard.device));
    ::unsetenv(sim::SimTrace::kVariable); // devices made from now on keep no trace
    Harness untraced(VirtualProduct::Mouse);

    const Report begin = MakeRequest(0x01);
    const Report reply = keyboard.Transact(begin);
    // A light frame packet, which the host's debug log leaves out, is traced like any other.
    const Report frame = MakeRequest(0x12, {0x10, 0x20, 0x30});
    const Report frameReply = keyboard.Transact(frame);
    ASSERT_TRUE(keyboard.device->SendUsage(0x0401));
    const Report status = MakeReadRequest(0x1A, 6, 0);
    const Report statusReply = receiver.Transact(status);
    untraced.Transact(begin);

    const std::vector<std::string> expected = {
        "keyboard <" + Hex({begin.begin(), begin.end()}),
        "keyboard >" + Hex({reply.begin(), reply.end()}),
        "keyboard <" + Hex({frame.begin(), frame.end()}),
        "keyboard >" + Hex({frameReply.begin(), frameReply.end()}),
        "keyboard >" + Hex({0x03, 0x01, 0x04}),
        "keyboard-receiver <" + Hex({status.begin(), status.end()}),
        "keyboard-receiver >" + Hex({statusReply.begin(), statusReply.end()}),
    };
    EXPECT_EQ(Lines(file), expected);
    EXPECT_EQ(expected[0].size(), std::string("keyboard <").size() + 3 * 64);
}

TEST_F(Trace, AFileThatCannotBeOpenedLeavesTheDeviceWorking) {
    ::setenv(sim::SimTrace::kVariable, "/nonexistent/folder/trace.txt", 1);
    Harness keyboard(VirtualProduct::Keyboard);
    EXPECT_EQ(keyboard.Transact(MakeRequest(0x01))[3], 0x01);
}

} // namespace
