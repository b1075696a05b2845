// Quitting while every reader of the device layer is blocked, a thousand times: the scan
// thread in its wait for a device change, each notification thread in its read without a
// time limit, the lighting and preview threads in their sleeps. The quit does what the
// program's does (the main window's shutdown and end): the scan's stop event set and the
// thread joined, every notification thread stopped, then the device objects destroyed with
// their lighting threads. In every twentieth round the keyboard streams music frames and has
// stopped answering, so that its lighting thread waits for the replies of a frame. Each quit
// is done within a second.

#include "StressFigures.h"
#include "devices/DeviceRegistry.h"
#include "devices/KelvaneKeyboardDevice.h"
#include "devices/KelvaneMouseDevice.h"
#include "devices/KelvaneMousePadDevice.h"
#include "devices/KeyboardEffectIds.h"
#include "devices/LightTick.h"
#include "sim/VirtualDevice.h"
#include "sim/VirtualHidBackend.h"
#include "sim/VirtualProducts.h"
#include "support/DataFolders.h"
#include "support/RegistryForwarder.h"
#include "transport/DeviceScanThread.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <random>
#include <thread>

namespace {

using namespace devices;
using stress::Clock;

constexpr int kQuits = 1000;
// Every this many rounds the keyboard streams to a silent device.
constexpr int kSilentEvery = 20;
constexpr double kQuitLimitMs = 1000;
constexpr std::chrono::seconds kBindLimit{20};

// The notification channels of the plugged devices: keyboard and mouse by cable and through
// their receivers, and the mouse pad.
constexpr int kEventChannels = 5;
constexpr std::uint16_t kEventKinds[] = {transport::kKindKeyboard, transport::kKindKeyboardReceiver,
                                         transport::kKindMouse, transport::kKindMouseReceiver,
                                         transport::kKindMousePad};

// The window's side of the registry: the notification threads run, nothing else is shown.
class ThreadedItems : public IDeviceItems {
public:
    void OnDeviceCreated(CKelvaneUSBDevice&) override {}
    void ShowItem(CKelvaneUSBDevice&) override {}
    void HideItem(CKelvaneUSBDevice&) override {}
    void StartRefresh(CKelvaneUSBDevice&, int) override {}
    void ReceiverState(CKelvaneUSBDevice&, int) override {}
    void StartNotifications(CKelvaneUSBDevice& device, std::uint16_t kind) override {
        device.StartNotificationThread(kind);
        {
            const std::lock_guard lock(m_mutex);
            ++m_started;
        }
        m_changed.notify_all();
    }
    void StopNotifications(CKelvaneUSBDevice& device, std::uint16_t kind) override {
        device.StopNotificationThread(kind);
    }
    bool WaitForStarted(int count) {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, kBindLimit, [&] { return m_started >= count; });
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    int m_started = 0;
};

// One run of the device layer, from the first scan to the quit.
class DeviceLayer {
public:
    explicit DeviceLayer(sim::VirtualHidBackend& backend)
        : m_registry(std::make_unique<DeviceRegistry>(m_slots, m_items, &backend)),
          m_forwarder(*m_registry), m_scan(m_slots, m_forwarder, &backend) {
        m_stop.Reset();
        m_scanThread = std::thread([this] { m_scan.Run(m_stop); });
    }
    ~DeviceLayer() {
        if (m_scanThread.joinable())
            Quit();
    }

    bool WaitUntilBound() { return m_items.WaitForStarted(kEventChannels); }

    // The lighting threads the device pages start once they have read their devices.
    void StartLighting() {
        for (CKelvaneUSBDevice* device : m_registry->Devices()) {
            if (auto* keyboard = dynamic_cast<CKelvaneKeyboardDevice*>(device))
                keyboard->StartLightingThread();
            else if (auto* mouse = dynamic_cast<CKelvaneMouseDevice*>(device))
                mouse->StartPreviewThread();
            else if (auto* pad = dynamic_cast<CKelvaneMousePadDevice*>(device))
                pad->StartPreviewThread();
        }
    }

    std::size_t DeviceCount() const { return m_registry->Devices().size(); }

    // The music effect, which the host streams frame by frame, as the keyboard's page sets it
    // up once it has read the keyboard.
    bool StreamMusicFrames() {
        for (CKelvaneUSBDevice* device : m_registry->Devices()) {
            auto* keyboard = dynamic_cast<CKelvaneKeyboardDevice*>(device);
            if (!keyboard)
                continue;
            if (keyboard->ReadDeviceTables() != transport::kCommSuccess)
                return false;
            config::LightInfoRecord info = keyboard->GetLightInfo();
            info.selectItem = effect::kMusic;
            info.light = 3;
            keyboard->SetLightInfo(info);
            keyboard->TakeLightingControl(true);
            MusicSpectrum bands{};
            bands.fill(1500);
            keyboard->SetMusicSpectrum(bands);
            return true;
        }
        return false;
    }

    void Quit() {
        m_stop.Set();
        m_scanThread.join();
        for (CKelvaneUSBDevice* device : m_registry->Devices()) {
            for (std::uint16_t kind : kEventKinds)
                device->StopNotificationThread(kind);
        }
        m_registry.reset();
    }

private:
    std::vector<transport::DeviceSlot> m_slots = transport::MakeSlotList();
    ThreadedItems m_items;
    std::unique_ptr<DeviceRegistry> m_registry;
    test::RegistryForwarder m_forwarder;
    transport::DeviceScanThread m_scan;
    transport::Event m_stop{true};
    std::thread m_scanThread;
};

TEST(QuitWhileBlocked, EveryQuitEndsWithinASecond) {
    stress::Stopwatch watch;
    test::DataFolders folders;
    sim::VirtualHidBackend backend;
    const auto keyboard = sim::MakeVirtualDevice(sim::VirtualProduct::Keyboard);
    const auto mouse = sim::MakeVirtualDevice(sim::VirtualProduct::Mouse);
    const std::vector<std::shared_ptr<sim::VirtualDevice>> devices = {
        keyboard, sim::MakeVirtualReceiver(*keyboard), mouse, sim::MakeVirtualReceiver(*mouse),
        sim::MakeVirtualDevice(sim::VirtualProduct::MousePad)};
    for (const auto& device : devices)
        ASSERT_TRUE(backend.Plug(device));

    // Frames four times as fast as the default: the same traffic in a quarter of the time.
    for (const auto& device : devices)
        device->SetReplyDelay(std::chrono::microseconds(250));

    std::mt19937 random(4242);
    double worstQuitMs = 0, worstSilentQuitMs = 0, totalQuitMs = 0, worstStartMs = 0;
    long long waitedForFrames = 0;
    for (int round = 0; round < kQuits; ++round) {
        const bool silent = round % kSilentEvery == kSilentEvery - 1;
        const Clock::time_point started = Clock::now();
        DeviceLayer layer(backend);
        ASSERT_TRUE(layer.WaitUntilBound()) << "round " << round;
        ASSERT_EQ(layer.DeviceCount(), 3u);
        if (silent) {
            ASSERT_TRUE(layer.StreamMusicFrames()) << "round " << round;
            keyboard->DropReplies(-1);
        }
        layer.StartLighting();
        worstStartMs = std::max(worstStartMs, stress::MillisecondsBetween(started, Clock::now()));
        // The threads reach their reads and waits within a moment; some quits come sooner.
        // The music effect's first frame goes out two ticks after the start.
        std::this_thread::sleep_for(
            std::chrono::microseconds(std::uniform_int_distribution<int>(0, 3000)(random)) +
            (silent ? (kMusicThresholdTicks + 1) * kLightTick : std::chrono::microseconds(0)));

        const Clock::time_point quit = Clock::now();
        layer.Quit();
        const double quitMs = stress::MillisecondsBetween(quit, Clock::now());
        EXPECT_LE(quitMs, kQuitLimitMs) << "round " << round << (silent ? ", streaming" : "");
        double& worst = silent ? worstSilentQuitMs : worstQuitMs;
        worst = std::max(worst, quitMs);
        totalQuitMs += quitMs;
        keyboard->DropReplies(0);
        if (silent) {
            const std::vector<sim::WirePacket> wire = keyboard->WireLog();
            waitedForFrames += std::any_of(wire.begin(), wire.end(), [](const sim::WirePacket& p) {
                return p.direction == sim::WireDirection::Request && p.bytes[3] == 0x12;
            });
            keyboard->ClearWireLog();
        }
    }
    stress::Figure("quits", static_cast<long long>(kQuits));
    stress::Figure("worst quit ms", worstQuitMs);
    stress::Figure("worst quit ms, streaming to a silent keyboard", worstSilentQuitMs);
    stress::Figure("mean quit ms", totalQuitMs / kQuits);
    stress::Figure("rounds with a frame waiting for replies", waitedForFrames);
    EXPECT_EQ(waitedForFrames, kQuits / kSilentEvery) << "the frames reached the silent keyboard";
    stress::Figure("worst start ms", worstStartMs);
    watch.Report();
}

} // namespace
