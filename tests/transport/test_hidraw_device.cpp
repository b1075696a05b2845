// Reading and writing a collection through HidrawDevice, with a SOCK_SEQPACKET socket pair
// standing in for the node (it keeps report boundaries as hidraw does): time-outs, cancelling
// from another thread, removal.

#include "transport/HidrawBackend.h"
#include "transport/HidrawDevice.h"

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace {

using transport::HidCollection;
using transport::HidrawDevice;

using Bytes = std::vector<std::uint8_t>;

HidCollection CollectionWithIds(std::vector<std::uint8_t> ids) {
    HidCollection collection;
    collection.reportIds = std::move(ids);
    collection.caps.inputReportByteLength = 64;
    return collection;
}

class HidrawDeviceTest : public ::testing::Test {
protected:
    void Open(std::vector<std::uint8_t> reportIds) {
        int fds[2];
        ASSERT_EQ(::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, fds), 0);
        transport::HidAttributes attributes;
        attributes.vendorId = 0x320F;
        attributes.productId = 0x5001;
        device = std::make_unique<HidrawDevice>(fds[0], CollectionWithIds(std::move(reportIds)),
                                                attributes);
        peer = fds[1];
    }
    void TearDown() override {
        if (peer >= 0)
            ::close(peer);
    }
    // The device side sends a report.
    void Send(const Bytes& report) {
        ASSERT_EQ(::send(peer, report.data(), report.size(), 0), ssize_t(report.size()));
    }
    Bytes Receive() {
        std::array<std::uint8_t, 128> buffer{};
        const ssize_t got = ::recv(peer, buffer.data(), buffer.size(), MSG_DONTWAIT);
        return got < 0 ? Bytes{} : Bytes(buffer.begin(), buffer.begin() + got);
    }
    // Reads one report; the bytes read, or {} with the result in `result`.
    Bytes Read(int timeoutMs, std::size_t capacity = 64) {
        Bytes buffer(capacity);
        result = device->Read(buffer.data(), buffer.size(), timeoutMs);
        buffer.resize(result > 0 ? result : 0);
        return buffer;
    }
    std::unique_ptr<HidrawDevice> device;
    int peer = -1;
    int result = 0;
};

TEST_F(HidrawDeviceTest, DeliversEveryReportOfTheInterfaceAsTheNodeGivesIt) {
    Open({3});
    Send({4, 0xAA, 0xBB}); // the vendor collection's report, on the same interface
    Send({3, 0xE9, 0x00});
    EXPECT_EQ(Read(-1), (Bytes{4, 0xAA, 0xBB}));
    EXPECT_EQ(Read(-1), (Bytes{3, 0xE9, 0x00}));
    EXPECT_EQ(result, 3);
}

TEST_F(HidrawDeviceTest, CollectionsWithoutIdsGetAZeroIdByteInFront) {
    Open({});
    Send({0x11, 0x22});
    EXPECT_EQ(Read(-1), (Bytes{0, 0x11, 0x22}));
    // A buffer shorter than the report cuts it; a one-byte buffer still takes the report.
    Send({0x11, 0x22, 0x33});
    EXPECT_EQ(Read(-1, 3), (Bytes{0, 0x11, 0x22}));
    Send({0x44});
    EXPECT_EQ(Read(-1, 1), (Bytes{0}));
    EXPECT_EQ(Read(0), Bytes{}); // nothing left over
    EXPECT_EQ(result, 0);
}

TEST_F(HidrawDeviceTest, ReadTimesOutWithZero) {
    Open({3});
    EXPECT_EQ(Read(10), Bytes{});
    EXPECT_EQ(result, 0);
    EXPECT_EQ(Read(0), Bytes{});
    EXPECT_EQ(result, 0);
}

TEST_F(HidrawDeviceTest, CancelEndsAReadWithoutLimitFromAnotherThread) {
    Open({3});
    int threadResult = -2;
    std::thread reader([&] {
        std::uint8_t buffer[64];
        threadResult = device->Read(buffer, sizeof buffer, -1);
    });
    // Whether the reader is already waiting or not yet, the cancel ends its read.
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    device->Cancel();
    reader.join();
    EXPECT_EQ(threadResult, 0);
    // The cancel was used up: the next read gets the next report.
    Send({3, 1});
    EXPECT_EQ(Read(-1), (Bytes{3, 1}));
}

TEST_F(HidrawDeviceTest, ACancelWithNothingPendingEndsTheNextTransferOnly) {
    Open({3});
    Send({3, 1});
    device->Cancel();
    EXPECT_EQ(Read(-1), Bytes{}); // cancelled, although a report was waiting
    EXPECT_EQ(result, 0);
    EXPECT_EQ(Read(-1), (Bytes{3, 1}));
    device->Cancel();
    const Bytes report = {3, 2};
    EXPECT_EQ(device->Write(report.data(), report.size(), -1), 0);
    EXPECT_EQ(Receive(), Bytes{});
}

TEST_F(HidrawDeviceTest, WritesWholeReportsIdByteIncluded) {
    Open({});
    const Bytes report = {0, 0x10, 0x20, 0x30}; // collection without IDs: 0 first
    EXPECT_EQ(device->Write(report.data(), report.size(), 100), 4);
    EXPECT_EQ(Receive(), report);
    EXPECT_EQ(device->Write(report.data(), 0, 100), -1);
}

TEST_F(HidrawDeviceTest, AWriteThatCannotGoOutTimesOutOrIsCancelled) {
    Open({4});
    // Fill the path towards the device until it takes no more.
    const Bytes report(64, 0x04);
    int accepted = 0;
    while (device->Write(report.data(), report.size(), 0) > 0)
        ++accepted;
    ASSERT_GT(accepted, 0);
    EXPECT_EQ(device->Write(report.data(), report.size(), 10), 0);

    int threadResult = -2;
    std::thread writer([&] { threadResult = device->Write(report.data(), report.size(), -1); });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    device->Cancel();
    writer.join();
    EXPECT_EQ(threadResult, 0);
}

TEST_F(HidrawDeviceTest, AGoneDeviceGivesMinusOneAfterItsQueuedReports) {
    Open({3});
    Send({3, 7});
    ::close(peer);
    peer = -1;
    EXPECT_EQ(Read(100), (Bytes{3, 7}));
    EXPECT_EQ(Read(100), Bytes{});
    EXPECT_EQ(result, -1);
    const Bytes report = {3, 1};
    EXPECT_EQ(device->Write(report.data(), report.size(), 100), -1);
}

TEST_F(HidrawDeviceTest, KeepsItsAttributesAndCollection) {
    Open({3});
    EXPECT_EQ(device->Attributes().vendorId, 0x320F);
    EXPECT_EQ(device->Attributes().productId, 0x5001);
    EXPECT_EQ(device->Collection().reportIds, std::vector<std::uint8_t>{3});
    EXPECT_EQ(device->Collection().caps.inputReportByteLength, 64);
}

// Opens of one node share its lock's exchange lock, which outlives them; an open that holds
// no node lock (a read-only one) has one of its own.
TEST(HidrawDeviceExchanges, OpensOfOneNodeShareTheExchangeLockOfItsNodeLock) {
    char name[] = "/tmp/quarin-node-XXXXXX";
    const int node = ::mkstemp(name);
    ASSERT_GE(node, 0);
    ::unlink(name);
    int error = -1;
    std::shared_ptr<transport::NodeLock> lock = transport::AcquireNodeLock(node, &error);
    ASSERT_NE(lock, nullptr);
    auto open = [&](std::shared_ptr<transport::NodeLock> nodeLock) {
        return std::make_unique<HidrawDevice>(::dup(node), CollectionWithIds({4}),
                                              transport::HidAttributes{}, std::move(nodeLock));
    };
    auto command = open(lock);
    auto events = open(lock);
    auto readOnly = open(nullptr);
    std::shared_ptr<std::mutex> exchanges = command->ExchangeLock();
    EXPECT_EQ(events->ExchangeLock(), exchanges);
    EXPECT_NE(readOnly->ExchangeLock(), exchanges);
    EXPECT_NE(readOnly->ExchangeLock(), nullptr);
    command.reset();
    events.reset();
    lock.reset();
    exchanges->lock(); // still there
    exchanges->unlock();
    ::close(node);
}

TEST(HidrawBackend, RefusesNodesThatAreNotHidraw) {
    transport::HidrawBackend backend;
    EXPECT_FALSE(backend.Exists("/dev/null?vid_0000&pid_0000&mi_00"));
    EXPECT_FALSE(backend.Exists("/nonexistent/hidraw9?vid_320f&pid_5001&mi_01&col04"));
    EXPECT_EQ(backend.Open("/dev/null?vid_0000&pid_0000&mi_00", {}), nullptr);
    EXPECT_EQ(backend.Open("/nonexistent/hidraw9?vid_320f&pid_5001&mi_01", {}), nullptr);
}

TEST(HidrawBackend, EnumeratingAgainWithoutChangesGivesTheSameList) {
    transport::HidrawBackend backend;
    std::vector<std::string> first, second;
    if (!backend.Enumerate(first))
        GTEST_SKIP() << "udev cannot list devices here";
    ASSERT_TRUE(backend.Enumerate(second));
    EXPECT_EQ(first, second);
    for (const std::string& path : first)
        EXPECT_EQ(path.rfind("/dev/", 0), 0u) << path;
}

// A node coming or going cannot be staged here (no devices, no udevd); the stop side of the
// wait can: with or without a monitor, the stop event ends a wait without limit.
TEST(HidrawBackend, TheStopEventEndsAWaitForChange) {
    transport::HidrawBackend backend;
    transport::Event stop;
    stop.Set();
    EXPECT_EQ(backend.WaitForChange(stop, -1), transport::HidBackend::kWaitStopped);
    stop.Reset();
    std::thread stopper([&] { stop.Set(); });
    int result;
    do
        result = backend.WaitForChange(stop, -1);
    while (result == transport::HidBackend::kWaitChanged); // a node of this machine, or no monitor
    stopper.join();
    EXPECT_EQ(result, transport::HidBackend::kWaitStopped);
}

} // namespace
