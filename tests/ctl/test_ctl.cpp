// quarin-z17ctl's commands against virtual devices: what they print and their exit codes.

#include "ctl/CtlCommands.h"
#include "sim/VirtualDevice.h"
#include "sim/VirtualHidBackend.h"
#include "sim/VirtualProducts.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

// Captures what a command writes to its two streams.
struct Captured {
    Captured() : out(open_memstream(&outText, &outSize)), err(open_memstream(&errText, &errSize)) {}
    ~Captured() {
        std::fclose(out);
        std::fclose(err);
        std::free(outText);
        std::free(errText);
    }
    ctl::Output Streams() const { return {out, err}; }
    std::string Out() {
        std::fflush(out);
        return std::string(outText, outSize);
    }
    std::string Err() {
        std::fflush(err);
        return std::string(errText, errSize);
    }
    char* outText = nullptr;
    char* errText = nullptr;
    std::size_t outSize = 0;
    std::size_t errSize = 0;
    std::FILE* out;
    std::FILE* err;
};

TEST(CtlDevices, ListsEveryBoundInterfaceOnALine) {
    sim::VirtualHidBackend backend;
    auto pad = sim::MakeVirtualDevice(sim::VirtualProduct::MousePad);
    backend.Plug(pad);
    Captured c;
    EXPECT_EQ(ctl::ListDevices(backend, c.Streams()), ctl::kExitOk);
    EXPECT_EQ(c.Out(), "8\tmousepad\tcommand\t320f:1004\t" + pad->CommandPath() +
                           "\n9\tmousepad\tevent\t320f:1004\t" + pad->NotificationPath() + "\n");
}

TEST(CtlInfo, PrintsTheInformationBlockOrSaysWhyNot) {
    sim::VirtualHidBackend backend;
    auto mouse = sim::MakeVirtualDevice(sim::VirtualProduct::Mouse);
    auto receiver = sim::MakeVirtualReceiver(*mouse);
    backend.Plug(receiver);

    Captured ok;
    ASSERT_EQ(ctl::PrintInfo(backend, "mouse", ok.Streams()), ctl::kExitOk);
    std::string expected;
    for (std::uint8_t b : mouse->InfoBlock()) {
        char hex[4];
        std::snprintf(hex, sizeof hex, "%02x ", b);
        expected += hex;
    }
    expected.back() = '\n';
    EXPECT_EQ(ok.Out(), expected) << "read through the receiver";

    receiver->SetDeviceAsleep(true);
    Captured asleep;
    EXPECT_EQ(ctl::PrintInfo(backend, "mouse", asleep.Streams()), ctl::kExitFailed);
    EXPECT_NE(asleep.Err().find("does not answer"), std::string::npos);

    Captured missing;
    EXPECT_EQ(ctl::PrintInfo(backend, "keyboard", missing.Streams()), ctl::kExitFailed);
    EXPECT_EQ(missing.Err(), "quarin-z17ctl: no keyboard is connected\n");

    Captured bad;
    EXPECT_EQ(ctl::PrintInfo(backend, "toaster", bad.Streams()), ctl::kExitUsage);
    EXPECT_TRUE(bad.Out().empty());
}

TEST(CtlInfo, ANodeThatRefusesToOpenIsNamedOnceWithTheFix) {
    sim::VirtualHidBackend backend;
    auto keyboard = sim::MakeVirtualDevice(sim::VirtualProduct::Keyboard);
    keyboard->RefuseOpens(true);
    backend.Plug(keyboard);

    Captured c;
    EXPECT_EQ(ctl::PrintInfo(backend, "keyboard", c.Streams()), ctl::kExitFailed);
    const std::string node = keyboard->CommandPath().substr(0, keyboard->CommandPath().find('?'));
    EXPECT_EQ(c.Err(), "quarin-z17ctl: " + node +
                           ": Permission denied; install the udev rule: see README\n"
                           "quarin-z17ctl: no keyboard is connected\n");
}

TEST(CtlInfo, ANodeAnotherProgramOwnsIsNamedWithTheWayOut) {
    sim::VirtualHidBackend backend;
    auto keyboard = sim::MakeVirtualDevice(sim::VirtualProduct::Keyboard);
    keyboard->SetOwnedElsewhere(true);
    backend.Plug(keyboard);

    Captured c;
    EXPECT_EQ(ctl::PrintInfo(backend, "keyboard", c.Streams()), ctl::kExitFailed);
    const std::string node = keyboard->CommandPath().substr(0, keyboard->CommandPath().find('?'));
    EXPECT_EQ(c.Err().substr(0, c.Err().find('\n') + 1),
              "quarin-z17ctl: " + node +
                  " is in use by another program (the configurator owns its devices while it "
                  "runs; close it, or use the window)\n");
    EXPECT_TRUE(c.Out().empty());
    EXPECT_TRUE(keyboard->WireLog().empty()) << "nothing was sent to the device";
}

} // namespace
