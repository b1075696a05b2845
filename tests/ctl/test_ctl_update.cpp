// "quarin-z17ctl update" against virtual devices and a local HTTPS service: the entries asked
// about, the lines printed, and where the service address comes from.

#include "ctl/UpdateCommands.h"
#include "sim/VirtualDevice.h"
#include "sim/VirtualHidBackend.h"
#include "sim/VirtualProducts.h"
#include "support/HttpsTestServer.h"

#include "CtlRun.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

class CtlUpdate : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"http_proxy", "https_proxy", "all_proxy", "HTTPS_PROXY",
                                 "ALL_PROXY", update::kServiceRootVariable})
            unsetenv(name);
        ASSERT_TRUE(server.Error().empty()) << server.Error();
        server.SetReplyBody(R"({"name": "x", "version": "0105", "version_name": "1.05"})");
    }
    void TearDown() override { unsetenv(update::kServiceRootVariable); }
    void Plug(sim::VirtualProduct product) {
        plugged.push_back(sim::MakeVirtualDevice(product));
        backend.Plug(plugged.back());
    }
    test::CtlRun Run(std::vector<std::string> args) {
        return test::RunCaptured([&](const ctl::Output& output) {
            return ctl::RunUpdateCommand(backend, args, "1.0.5", output, {server.CaFile(), {}});
        });
    }

    test::HttpsTestServer server;
    sim::VirtualHidBackend backend;
    std::vector<std::shared_ptr<sim::VirtualDevice>> plugged;
};

TEST_F(CtlUpdate, EachConnectedCableDeviceAndTheProgramGetALine) {
    Plug(sim::VirtualProduct::Keyboard);
    Plug(sim::VirtualProduct::MousePad);
    // A receiver is no cable device, and the headset has no update entry.
    Plug(sim::VirtualProduct::MouseReceiver);
    Plug(sim::VirtualProduct::Headset);
    const test::CtlRun run = Run({"--url", server.Root()});
    ASSERT_EQ(run.exitCode, ctl::kExitOk) << run.err;
    EXPECT_EQ(run.out, "QUARIN Z17 Keyboard\tV0105\tV0105\tcurrent\n"
                       "RT23\tV0101\tV0105\tnewer\n"
                       "AP\tV105\t1.05\tcurrent\n");
    const std::vector<std::string> requests = server.Requests();
    ASSERT_EQ(requests.size(), 3u);
    const std::string body("app_key=ORBEK_1_RT21K_QUARIN Z17 Keyboard_1&version=105\0", 56);
    EXPECT_EQ(requests[0].substr(requests[0].size() - body.size()), body);
}

TEST_F(CtlUpdate, TheServiceComesFromTheEnvironmentWithoutUrl) {
    const test::CtlRun none = Run({});
    EXPECT_EQ(none.exitCode, ctl::kExitFailed);
    EXPECT_EQ(none.err,
              "quarin-z17ctl: no update service configured (--url or QUARIN_Z17_UPDATE_URL)\n");

    setenv(update::kServiceRootVariable, server.Root().c_str(), 1);
    const test::CtlRun fromEnvironment = Run({});
    ASSERT_EQ(fromEnvironment.exitCode, ctl::kExitOk) << fromEnvironment.err;
    EXPECT_EQ(fromEnvironment.out, "AP\tV105\t1.05\tcurrent\n");

    // --url wins over the environment.
    const int port = test::UnusedLoopbackPort();
    const test::CtlRun unreachable = Run({"--url=https://127.0.0.1:" + std::to_string(port)});
    EXPECT_EQ(unreachable.exitCode, ctl::kExitFailed);
    EXPECT_EQ(unreachable.out, "AP\tV105\t-\tno-link\n");

    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--url"}, {"--url", ""}, {"--url=", "x"}, {"now"}})
        EXPECT_EQ(Run(args).exitCode, ctl::kExitUsage) << args[0];
}

} // namespace
