// Discovery: the scan thread binds plugged virtual interfaces to their slots and loses them
// when they go; the channel's limits and its close from another thread.

#include "sim/VirtualDevice.h"
#include "sim/VirtualHidBackend.h"
#include "sim/VirtualProducts.h"
#include "transport/DeviceScanThread.h"
#include "transport/NodeLock.h"

#include <gtest/gtest.h>
#include <poll.h>

#include <atomic>
#include <cerrno>
#include <map>

#include <condition_variable>
#include <mutex>
#include <thread>

namespace {

using namespace transport;
using sim::VirtualProduct;

// Records what the scan thread reports; lets a test wait for it.
class RecordingReceiver : public ISlotReceiver {
public:
    explicit RecordingReceiver(const std::vector<DeviceSlot>& slots) : m_slots(slots) {}
    void OnSlotBound(int slot) override { Add("bound " + std::to_string(slot), slot, true); }
    void OnSlotLost(int slot) override { Add("lost " + std::to_string(slot), slot, false); }
    void OnFirstScanDone() override { Add("first", -1, false); }
    void OnOpenDenied(const std::string& path, int error) override {
        Add("denied " + path + " " + std::to_string(error), -1, false);
    }

    std::vector<std::string> Events() {
        const std::lock_guard lock(m_mutex);
        return m_events;
    }
    bool WaitFor(std::size_t count) {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, std::chrono::seconds(5),
                                  [&] { return m_events.size() >= count; });
    }
    // The events from `from` on, each pass's own sorted (the order of a device's interfaces
    // within a pass is the enumeration's), with `from` events in the first group.
    std::vector<std::string> EventsSortedFrom(std::size_t from, std::size_t group) {
        std::vector<std::string> events = Events();
        events.erase(events.begin(), events.begin() + static_cast<std::ptrdiff_t>(from));
        for (std::size_t at = 0; at + group <= events.size(); at += group)
            std::sort(events.begin() + static_cast<std::ptrdiff_t>(at),
                      events.begin() + static_cast<std::ptrdiff_t>(at + group));
        return events;
    }
    // The slot's state as the receiver saw it during the call.
    std::vector<std::pair<bool, std::string>> seen;

private:
    void Add(std::string event, int slot, bool expectBound) {
        {
            const std::lock_guard lock(m_mutex);
            m_events.push_back(std::move(event));
            if (slot >= 0) {
                const DeviceSlot& s = m_slots[static_cast<std::size_t>(slot)];
                EXPECT_EQ(static_cast<bool>(s.bound), expectBound);
                EXPECT_EQ(s.path.empty(), !expectBound);
            }
        }
        m_changed.notify_all();
    }
    const std::vector<DeviceSlot>& m_slots;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<std::string> m_events;
};

class ScanTest : public ::testing::Test {
protected:
    std::shared_ptr<sim::VirtualDevice> Plug(VirtualProduct product) {
        auto device = sim::MakeVirtualDevice(product);
        EXPECT_TRUE(backend.Plug(device));
        return device;
    }
    sim::VirtualHidBackend backend;
    std::vector<DeviceSlot> slots = MakeSlotList();
    RecordingReceiver receiver{slots};
    DeviceScanThread scan{slots, receiver, &backend};
};

// A thread whose safety pass never comes within a test: whatever it reports came from a
// change event.
class EventScanTest : public ScanTest {
protected:
    static constexpr int kHourMs = 3600 * 1000;
    DeviceScanThread scan{slots, receiver, &backend, kHourMs};
};

bool Readable(int fd) {
    pollfd entry{fd, POLLIN, 0};
    return ::poll(&entry, 1, 0) == 1;
}

TEST(ScanWaitEvents, AStopEventsDescriptorIsReadableExactlyWhileItIsSet) {
    Event early;
    early.Set();
    EXPECT_TRUE(Readable(early.WaitFd())) << "made after the event was set";
    early.Reset();
    EXPECT_FALSE(Readable(early.WaitFd()));
    early.Set();
    early.Set();
    early.Reset();
    EXPECT_FALSE(Readable(early.WaitFd())) << "two sets are undone by one reset";

    Event autoReset(false);
    const int fd = autoReset.WaitFd();
    autoReset.Set();
    EXPECT_TRUE(Readable(fd));
    EXPECT_TRUE(autoReset.Wait(0));
    EXPECT_FALSE(Readable(fd)) << "the wait that sees it clears it";
}

TEST(ScanWaitEvents, TheVirtualBackendWakesOnPlugAndUnplugAndStop) {
    sim::VirtualHidBackend backend;
    Event stop;
    EXPECT_EQ(backend.WaitForChange(stop, 0), HidBackend::kWaitTimedOut);
    auto pad = sim::MakeVirtualDevice(VirtualProduct::MousePad);
    ASSERT_TRUE(backend.Plug(pad));
    // A change before the wait ends it at once, and is reported once.
    EXPECT_EQ(backend.WaitForChange(stop, -1), HidBackend::kWaitChanged);
    EXPECT_EQ(backend.WaitForChange(stop, 0), HidBackend::kWaitTimedOut);

    std::thread unplug([&] { backend.Unplug(pad); });
    EXPECT_EQ(backend.WaitForChange(stop, -1), HidBackend::kWaitChanged);
    unplug.join();

    ASSERT_TRUE(backend.Plug(pad));
    stop.Set();
    EXPECT_EQ(backend.WaitForChange(stop, -1), HidBackend::kWaitStopped) << "stop wins";
    stop.Reset();
    EXPECT_EQ(backend.WaitForChange(stop, 0), HidBackend::kWaitChanged) << "and keeps the plug";
}

TEST(DeviceSlotTable, RowsAndEqualityIgnorePathAndBound) {
    const auto& rows = SupportedInterfaces();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].hasPartner) {
            const DeviceSlot& partner = rows[rows[i].partnerIndex];
            EXPECT_EQ(partner.partnerIndex, i) << "partners point at each other";
            EXPECT_EQ(partner.role, rows[i].role);
            EXPECT_EQ(partner.collectionNumber, rows[i].collectionNumber);
        }
    }
    EXPECT_EQ(rows[10].collectionNumber, 0) << "the headset path has no collection";
    DeviceSlot a = rows[0];
    DeviceSlot b = rows[0];
    b.bound = 1;
    b.path = "/dev/hidraw9?vid_0c45&pid_7698&mi_01&col04";
    EXPECT_EQ(a, b);
    b.usagePage = 0xFF00;
    EXPECT_FALSE(a == b);
    EXPECT_FALSE(rows[0] == rows[1]);
}

TEST_F(ScanTest, BindsEveryInterfaceOfPluggedProductsToItsSlot) {
    Plug(VirtualProduct::Keyboard);
    Plug(VirtualProduct::MousePad);
    Plug(VirtualProduct::Headset);
    ASSERT_TRUE(scan.ScanOnce());
    std::vector<std::string> events = receiver.Events();
    std::sort(events.begin(), events.end());
    EXPECT_EQ(events, (std::vector<std::string>{"bound 0", "bound 1", "bound 10", "bound 8",
                                                "bound 9", "first"}));
    EXPECT_EQ(PathCollectionNumber(slots[0].path), 4);
    EXPECT_EQ(PathCollectionNumber(slots[1].path), 3);
    EXPECT_EQ(PathInterfaceNumber(slots[10].path), 3);

    // Nothing new: a second pass reports nothing, and the first pass is reported once.
    ASSERT_TRUE(scan.ScanOnce());
    EXPECT_EQ(receiver.Events().size(), 6u);
}

TEST_F(ScanTest, ASecondIdenticalInterfaceWaitsUntilTheFirstGoes) {
    auto first = Plug(VirtualProduct::Mouse);
    ASSERT_TRUE(scan.ScanOnce());
    auto second = Plug(VirtualProduct::Mouse);
    ASSERT_TRUE(scan.ScanOnce());
    EXPECT_EQ(receiver.Events().size(), 3u) << "first pass, slots 4 and 5";
    const std::string firstPath = slots[4].path;

    backend.Unplug(first);
    ASSERT_TRUE(scan.ScanOnce());
    // The pass binds before it checks removals: the lost slots are bound again next pass.
    std::vector<std::string> events = receiver.Events();
    EXPECT_EQ(std::vector<std::string>(events.begin() + 3, events.end()),
              (std::vector<std::string>{"lost 4", "lost 5"}));
    ASSERT_TRUE(scan.ScanOnce());
    EXPECT_EQ(receiver.Events().size(), 7u);
    EXPECT_EQ(slots[4].path, second->CommandPath());
    EXPECT_NE(slots[4].path, firstPath);
}

TEST_F(ScanTest, CableAndReceiverBindTheirOwnSlots) {
    auto keyboard = Plug(VirtualProduct::Keyboard);
    auto keyboardReceiver = sim::MakeVirtualReceiver(*keyboard);
    ASSERT_TRUE(backend.Plug(keyboardReceiver));
    Plug(VirtualProduct::MouseReceiver);
    ASSERT_TRUE(scan.ScanOnce());
    for (int slot : {0, 1, 2, 3, 6, 7})
        EXPECT_TRUE(slots[static_cast<std::size_t>(slot)].bound) << slot;
    EXPECT_FALSE(slots[4].bound);
    EXPECT_EQ(slots[2].path, keyboardReceiver->CommandPath());
}

// Counts the opens of each path, to see what the scan leaves alone.
class CountingBackend : public sim::VirtualHidBackend {
public:
    std::unique_ptr<HidDevice> Open(const std::string& path, const OpenFlags& flags,
                                    int* error) override {
        ++opens[path];
        return sim::VirtualHidBackend::Open(path, flags, error);
    }
    std::map<std::string, int> opens;
};

TEST(ScanRefusedOpens, AreToldOncePerPathAndLeftAloneUntilUnplugged) {
    CountingBackend backend;
    std::vector<DeviceSlot> slots = MakeSlotList();
    RecordingReceiver receiver{slots};
    DeviceScanThread scan{slots, receiver, &backend};
    auto keyboard = sim::MakeVirtualDevice(VirtualProduct::Keyboard);
    keyboard->RefuseOpens(true);
    ASSERT_TRUE(backend.Plug(keyboard));
    const std::string command = keyboard->CommandPath();
    const std::string events = keyboard->NotificationPath();

    for (int pass = 0; pass < 3; ++pass)
        ASSERT_TRUE(scan.ScanOnce());
    const std::string eacces = " " + std::to_string(EACCES);
    EXPECT_EQ(receiver.Events(), (std::vector<std::string>{"denied " + events + eacces,
                                                           "denied " + command + eacces, "first"}));
    EXPECT_EQ(backend.opens[command], 1);
    EXPECT_EQ(backend.opens[events], 1);
    EXPECT_TRUE(std::none_of(slots.begin(), slots.end(), [](const auto& s) { return s.bound; }));

    // Unplugged and plugged in with the rights it lacked: bound as usual.
    ASSERT_TRUE(backend.Unplug(keyboard));
    ASSERT_TRUE(scan.ScanOnce());
    keyboard->RefuseOpens(false);
    ASSERT_TRUE(backend.Plug(keyboard));
    ASSERT_TRUE(scan.ScanOnce());
    EXPECT_TRUE(slots[0].bound);
    EXPECT_TRUE(slots[1].bound);
}

TEST(ScanNodesInUse, AreToldOnceAndBoundWhenTheOtherProgramLetsGo) {
    CountingBackend backend;
    std::vector<DeviceSlot> slots = MakeSlotList();
    RecordingReceiver receiver{slots};
    DeviceScanThread scan{slots, receiver, &backend};
    auto keyboard = sim::MakeVirtualDevice(VirtualProduct::Keyboard);
    keyboard->SetOwnedElsewhere(true);
    ASSERT_TRUE(backend.Plug(keyboard));
    const std::string command = keyboard->CommandPath();
    const std::string events = keyboard->NotificationPath();

    for (int pass = 0; pass < 3; ++pass)
        ASSERT_TRUE(scan.ScanOnce());
    const std::string inUse = " " + std::to_string(kNodeInUse);
    EXPECT_EQ(receiver.Events(), (std::vector<std::string>{"denied " + events + inUse,
                                                           "denied " + command + inUse, "first"}));
    EXPECT_EQ(backend.opens[command], 3) << "tried on every pass, unlike a refused node";
    EXPECT_FALSE(slots[0].bound);

    // The other program quits: bound on the next pass, without a replug.
    keyboard->SetOwnedElsewhere(false);
    ASSERT_TRUE(scan.ScanOnce());
    EXPECT_TRUE(slots[0].bound);
    EXPECT_TRUE(slots[1].bound);
    EXPECT_EQ(receiver.Events().size(), 5u);
}

TEST(ScanNodesInUse, AreToldAgainOnlyAfterTheyOpened) {
    CountingBackend backend;
    std::vector<DeviceSlot> slots = MakeSlotList();
    RecordingReceiver receiver{slots};
    DeviceScanThread scan{slots, receiver, &backend};
    auto pad = sim::MakeVirtualDevice(VirtualProduct::MousePad);
    pad->SetOwnedElsewhere(true);
    ASSERT_TRUE(backend.Plug(pad));
    ASSERT_TRUE(scan.ScanOnce());
    const std::size_t told = receiver.Events().size();
    ASSERT_GE(told, 2u);

    // Unplugged while owned elsewhere and back: told again, its earlier owner may be gone.
    ASSERT_TRUE(backend.Unplug(pad));
    ASSERT_TRUE(scan.ScanOnce());
    ASSERT_TRUE(backend.Plug(pad));
    ASSERT_TRUE(scan.ScanOnce());
    EXPECT_EQ(receiver.Events().size(), 2 * told - 1) << "every path told again, not 'first'";
}

TEST(HidChannel, AMissingNodeIsNoRefusal) {
    CHidChannel channel;
    EXPECT_EQ(channel.Open("virtual/none?vid_0c45&pid_7698&mi_01&col04", true, false, true, false),
              0);
    EXPECT_EQ(channel.GetOpenError(), 0);
}

TEST_F(ScanTest, TheThreadBindsAndLosesDevicesAsTheyComeAndGo) {
    scan.Start();
    ASSERT_TRUE(receiver.WaitFor(1));
    EXPECT_EQ(receiver.Events().front(), "first");
    auto pad = Plug(VirtualProduct::MousePad);
    ASSERT_TRUE(receiver.WaitFor(3));
    backend.Unplug(pad);
    ASSERT_TRUE(receiver.WaitFor(5));
    backend.Plug(pad);
    ASSERT_TRUE(receiver.WaitFor(7));
    scan.Stop();
    EXPECT_FALSE(scan.IsRunning());
    std::vector<std::string> events = receiver.Events();
    // Within one pass the order of a device's two interfaces is the enumeration's.
    ASSERT_EQ(events.size(), 7u);
    for (auto pass = events.begin() + 1; pass != events.end(); pass += 2)
        std::sort(pass, pass + 2);
    EXPECT_EQ(events, (std::vector<std::string>{"first", "bound 8", "bound 9", "lost 8", "lost 9",
                                                "bound 8", "bound 9"}));
}

TEST_F(EventScanTest, PlugAndUnplugAreReportedWithoutWaitingForTheSafetyPass) {
    scan.Start();
    ASSERT_TRUE(receiver.WaitFor(1));
    auto pad = Plug(VirtualProduct::MousePad);
    ASSERT_TRUE(receiver.WaitFor(3));
    backend.Unplug(pad);
    ASSERT_TRUE(receiver.WaitFor(5));
    EXPECT_EQ(receiver.EventsSortedFrom(1, 2),
              (std::vector<std::string>{"bound 8", "bound 9", "lost 8", "lost 9"}));
    scan.Stop();
}

TEST_F(EventScanTest, ASlotFreedByAnUnplugGoesAtOnceToTheInterfaceWaitingForIt) {
    auto first = Plug(VirtualProduct::Mouse);
    auto second = Plug(VirtualProduct::Mouse);
    scan.Start();
    ASSERT_TRUE(receiver.WaitFor(3));
    EXPECT_EQ(slots[4].path, first->CommandPath());
    backend.Unplug(first);
    // One change: the pass that loses the first mouse's slots is followed by one that binds
    // them to the second.
    ASSERT_TRUE(receiver.WaitFor(7));
    EXPECT_EQ(receiver.EventsSortedFrom(3, 2),
              (std::vector<std::string>{"lost 4", "lost 5", "bound 4", "bound 5"}));
    EXPECT_EQ(slots[4].path, second->CommandPath());
    scan.Stop();
}

TEST_F(EventScanTest, StopEndsAScanThatWaitsForAChange) {
    scan.Start();
    ASSERT_TRUE(receiver.WaitFor(1));
    scan.Stop(); // would hang for an hour if the wait did not wake on the stop event
    EXPECT_FALSE(scan.IsRunning());

    // Run on a thread of the caller's, stopped through the caller's event.
    Event stop;
    std::thread worker([&] { scan.Run(stop); });
    stop.Set();
    worker.join();
}

// Counts passes (one listing each) and makes every wait time out at once, so a run of waits
// stands for a long idle period; the last wait sets the stop event.
class IdleClockBackend : public sim::VirtualHidBackend {
public:
    explicit IdleClockBackend(int waits) : m_waitsLeft(waits) {}
    bool Enumerate(std::vector<std::string>& paths) override {
        ++passes;
        return sim::VirtualHidBackend::Enumerate(paths);
    }
    int WaitForChange(Event& stop, int timeoutMs) override {
        timeouts.push_back(timeoutMs);
        if (--m_waitsLeft == 0) {
            stop.Set();
            done.Set();
        }
        return stop.IsSet() ? kWaitStopped : kWaitTimedOut;
    }
    std::atomic<int> passes{0};
    std::vector<int> timeouts;
    Event done;

private:
    int m_waitsLeft;
};

TEST(ScanWhileIdle, PassesOnlyAtStartAndAtEachSafetyInterval) {
    IdleClockBackend backend(10);
    auto pad = sim::MakeVirtualDevice(VirtualProduct::MousePad);
    ASSERT_TRUE(backend.Plug(pad));
    std::vector<DeviceSlot> slots = MakeSlotList();
    RecordingReceiver receiver{slots};
    DeviceScanThread scan{slots, receiver, &backend, 1234};
    scan.Start();
    ASSERT_TRUE(backend.done.Wait(5000));
    scan.Stop();
    EXPECT_EQ(backend.passes, 10) << "the first pass and one per timed-out wait";
    EXPECT_EQ(backend.timeouts, std::vector<int>(10, 1234));
    EXPECT_EQ(receiver.Events().size(), 3u) << "the pad is bound once";
}

TEST(HidChannel, RefusesOverlongPathsAndUnknownOnes) {
    sim::VirtualHidBackend backend;
    CHidChannel channel(&backend);
    EXPECT_EQ(channel.Open(std::string(CHidChannel::kMaxPath, 'x'), true, true, true, false), 0);
    EXPECT_EQ(channel.Open("virtual/none?vid_320f&pid_1004&mi_01&col04", true, true, true, false),
              0);
    EXPECT_FALSE(channel.IsOpen());
    std::uint8_t buffer[64];
    std::uint32_t bytes = 7;
    EXPECT_EQ(channel.Read(buffer, sizeof buffer, &bytes, 10), 0);
    EXPECT_EQ(bytes, 0u);
}

TEST(HidChannel, OpensWithCapabilitiesAndAClosedChannelEndsABlockedRead) {
    sim::VirtualHidBackend backend;
    auto pad = sim::MakeVirtualDevice(VirtualProduct::MousePad);
    ASSERT_TRUE(backend.Plug(pad));
    CHidChannel channel(&backend);
    ASSERT_EQ(channel.Open(pad->NotificationPath(), true, true, true, false), 1);
    EXPECT_EQ(channel.GetVendorId(), 0x320F);
    EXPECT_EQ(channel.GetProductId(), 0x1004);
    EXPECT_EQ(channel.GetUsagePage(), 0x000C);
    EXPECT_EQ(channel.GetInterfaceNumber(), 1u);
    EXPECT_EQ(channel.GetCollectionNumber(), 3u);

    int result = -1;
    std::thread reader([&] {
        std::uint8_t buffer[64];
        std::uint32_t bytes = 0;
        result = channel.Read(buffer, sizeof buffer, &bytes, CHidChannel::kInfinite);
    });
    // Let the reader block, then close from this thread: the read ends with 0.
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    channel.Close();
    reader.join();
    EXPECT_EQ(result, 0);
    EXPECT_FALSE(channel.IsOpen());
    EXPECT_EQ(channel.Reopen(), 1) << "the stored path opens again";
}

} // namespace
