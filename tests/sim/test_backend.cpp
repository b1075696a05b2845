// The virtual backend as the transport sees it: enumeration, paths and their identity, open,
// removal, cancel, and where input reports arrive.

#include "SimHarness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

using namespace simtest;
using sim::VirtualProduct;

namespace {

std::vector<std::string> Enumerate(sim::VirtualHidBackend& backend) {
    std::vector<std::string> paths;
    EXPECT_TRUE(backend.Enumerate(paths));
    return paths;
}

TEST(Enumeration, OnePathPerCollectionWithTheInterfaceIdentity) {
    sim::VirtualHidBackend backend;
    backend.Plug(sim::MakeVirtualDevice(VirtualProduct::KeyboardReceiver));
    backend.Plug(sim::MakeVirtualDevice(VirtualProduct::Headset));

    const auto paths = Enumerate(backend);
    ASSERT_EQ(paths.size(), 5u);
    for (std::uint16_t col = 1; col <= 4; ++col)
        EXPECT_EQ(transport::PathCollectionNumber(paths[col - 1]), col);
    EXPECT_EQ(paths[3].rfind("virtual/keyboard-receiver-", 0), 0u) << paths[3];
    EXPECT_NE(paths[3].find("?vid_320f&pid_5001&mi_01&col04"), std::string::npos) << paths[3];
    const auto attributes = backend.Open(paths[3], {})->Attributes();
    EXPECT_EQ(attributes.vendorId, 0x320F);
    EXPECT_EQ(attributes.productId, 0x5001);

    const std::string& headset = paths[4];
    EXPECT_EQ(transport::PathVendorId(headset), 0x0C76);
    EXPECT_EQ(transport::PathProductId(headset), 0x1630);
    EXPECT_EQ(transport::PathInterfaceNumber(headset), 3);
    EXPECT_EQ(headset.find("&col"), std::string::npos);
}

TEST(Plugging, UnplugRemovesPathsAndReplugGivesNewOnes) {
    sim::VirtualHidBackend backend;
    auto mouse = sim::MakeVirtualDevice(VirtualProduct::Mouse);
    ASSERT_TRUE(backend.Plug(mouse));
    EXPECT_FALSE(backend.Plug(mouse));
    const std::string first = mouse->CommandPath();
    EXPECT_TRUE(backend.Exists(first));
    auto before = backend.Open(first, {});

    ASSERT_TRUE(backend.Unplug(mouse));
    EXPECT_FALSE(backend.Unplug(mouse));
    EXPECT_FALSE(backend.Exists(first));
    EXPECT_EQ(backend.Open(first, {}), nullptr);
    EXPECT_TRUE(Enumerate(backend).empty());
    EXPECT_TRUE(mouse->CommandPath().empty());

    ASSERT_TRUE(backend.Plug(mouse));
    EXPECT_NE(mouse->CommandPath(), first);
    EXPECT_FALSE(backend.Exists(first));
    EXPECT_NE(backend.Open(mouse->CommandPath(), {}), nullptr);
    // A handle from before the re-plug stays dead, like the file of a removed node.
    const Report request = MakeRequest(0x01);
    EXPECT_EQ(before->Write(request.data(), request.size(), 1000), -1);
}

TEST(Plugging, PlugAndUnplugFromOtherThreadsWhileEnumerating) {
    sim::VirtualHidBackend backend;
    std::vector<std::shared_ptr<sim::VirtualDevice>> devices;
    for (int i = 0; i < 4; ++i)
        devices.push_back(sim::MakeVirtualDevice(VirtualProduct::Keyboard));
    std::vector<std::thread> threads;
    for (const auto& device : devices) {
        threads.emplace_back([&backend, device] {
            for (int i = 0; i < 200; ++i) {
                backend.Plug(device);
                backend.Unplug(device);
            }
        });
    }
    for (int i = 0; i < 200; ++i) {
        for (const std::string& path : Enumerate(backend))
            backend.Open(path, {});
    }
    for (auto& thread : threads)
        thread.join();
    EXPECT_TRUE(Enumerate(backend).empty());
}

TEST(Removal, BlockingReadReturnsMinusOneWhenUnplugged) {
    Harness h(VirtualProduct::Keyboard);
    int result = 1;
    std::thread reader([&] {
        Report reply{};
        result = h.command->Read(reply.data(), reply.size(), -1);
    });
    h.backend.Unplug(h.device);
    reader.join();
    EXPECT_EQ(result, -1);
    const Report request = MakeRequest(0x01);
    EXPECT_EQ(h.command->Write(request.data(), request.size(), 1000), -1);
}

TEST(Cancel, BlockingReadReturnsZero) {
    Harness h(VirtualProduct::Keyboard);
    int result = 1;
    std::thread reader([&] {
        Report reply{};
        result = h.command->Read(reply.data(), reply.size(), -1);
    });
    h.command->Cancel();
    reader.join();
    EXPECT_EQ(result, 0);
    // Used up by that read: the channel works on.
    EXPECT_EQ(h.Transact(MakeRequest(0x01))[3], 0x01);
}

TEST(Cancel, PendingCancelStopsTheNextWrite) {
    Harness h(VirtualProduct::Keyboard);
    h.command->Cancel();
    const Report request = MakeRequest(0x01);
    EXPECT_EQ(h.command->Write(request.data(), request.size(), 1000), 0);
    EXPECT_TRUE(h.device->WireLog().empty());
    EXPECT_EQ(h.Transact(request)[3], 0x01);
}

// Reads what is readable now, report by report.
std::vector<Bytes> Queued(transport::HidDevice& handle) {
    std::vector<Bytes> reports;
    std::array<std::uint8_t, 64> report{};
    for (int n; (n = handle.Read(report.data(), report.size(), 0)) > 0;)
        reports.emplace_back(report.begin(), report.begin() + n);
    return reports;
}

TEST(Handles, EveryHandleOfTheInterfaceGetsEveryInputReportInOrder) {
    Harness h(VirtualProduct::Keyboard);
    auto second = h.backend.Open(h.device->CommandPath(), {});
    auto events = h.backend.Open(h.device->NotificationPath(), {});
    auto keys = h.backend.Open(h.device->PathOf(0), {});
    ASSERT_NE(second, nullptr);
    ASSERT_NE(events, nullptr);
    ASSERT_NE(keys, nullptr);

    const Report reply = h.Transact(MakeRequest(0x01));
    ASSERT_TRUE(h.device->SendUsage(0x0401));
    const std::vector<Bytes> expected = {Bytes(reply.begin(), reply.end()), {0x03, 0x01, 0x04}};
    EXPECT_EQ(Queued(*second), expected);
    EXPECT_EQ(Queued(*events), expected);
    EXPECT_EQ(Queued(*keys), expected);
    EXPECT_EQ(Queued(*h.command), std::vector<Bytes>{expected[1]});
}

TEST(Handles, EachHandleHoldsSixtyFourReportsAndLosesWhatComesWhileFull) {
    Harness h(VirtualProduct::Mouse);
    auto events = h.backend.Open(h.device->NotificationPath(), {});
    ASSERT_NE(events, nullptr);
    for (std::uint16_t usage = 0x1000; usage < 0x1000 + 70; ++usage)
        ASSERT_TRUE(h.device->SendUsage(usage));
    const std::vector<Bytes> first = Queued(*events);
    ASSERT_EQ(first.size(), 64u);
    EXPECT_EQ(first.front(), (Bytes{0x03, 0x00, 0x10}));
    EXPECT_EQ(first.back(), (Bytes{0x03, 0x3F, 0x10})); // the 65th and later were lost

    // The command handle, never read meanwhile, is still full: a reply sent now is lost to it
    // while the emptied handle gets it.
    const Report request = MakeRequest(0x01);
    ASSERT_EQ(h.command->Write(request.data(), request.size(), 1000), 64);
    const std::vector<Bytes> reply = Queued(*events);
    ASSERT_EQ(reply.size(), 1u);
    EXPECT_EQ(reply[0][3], 0x01);
    const std::vector<Bytes> full = Queued(*h.command);
    ASSERT_EQ(full.size(), 64u);
    EXPECT_EQ(full.back(), first.back());
}

TEST(Handles, ReadOnlyHandleCannotWriteAndWrongReportsAreRefused) {
    Harness h(VirtualProduct::Keyboard);
    transport::OpenFlags readOnly;
    readOnly.write = false;
    auto scan = h.backend.Open(h.device->CommandPath(), readOnly);
    ASSERT_NE(scan, nullptr);
    const Report request = MakeRequest(0x01);
    EXPECT_EQ(scan->Write(request.data(), request.size(), 1000), -1);

    Report other = request;
    other[0] = 0x03;
    EXPECT_EQ(h.command->Write(other.data(), other.size(), 1000), -1);
    std::array<std::uint8_t, 65> overlong{0x04};
    EXPECT_EQ(h.command->Write(overlong.data(), overlong.size(), 1000), -1);
    auto events = h.backend.Open(h.device->NotificationPath(), {});
    EXPECT_EQ(events->Write(request.data(), request.size(), 1000), -1);
    EXPECT_TRUE(h.device->WireLog().empty());
}

TEST(Notifications, GoOutOnlyWithTheNotificationCollectionsReportId) {
    Harness h(VirtualProduct::Keyboard);
    EXPECT_FALSE(h.device->SendNotification({0x04, 0x01}));
    EXPECT_TRUE(Queued(*h.command).empty());
    h.backend.Unplug(h.device);
    EXPECT_FALSE(h.device->SendUsage(0x1003));
}

TEST(Receivers, ReceiverOfACableDeviceSharesItsMemory) {
    Harness cable(VirtualProduct::Keyboard);
    Harness receiver(sim::MakeVirtualReceiver(*cable.device));
    EXPECT_EQ(receiver.device->ProductId(), 0x5001);
    receiver.Transact(MakeRequest(0x06, {0x33}, 1));
    EXPECT_EQ(cable.device->MemoryImage()[1], 0x33);
    EXPECT_EQ(sim::MakeVirtualReceiver(*sim::MakeVirtualDevice(VirtualProduct::Headset)), nullptr);
}

} // namespace
