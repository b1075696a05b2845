// When the device items send light frames and repaint previews: the keyboard's thread
// streams and the item only repaints, once for all frames that came meanwhile; other devices
// are paced by timer 1000, quickly only while their page is watched.

#include "devices/KelvaneKeyboardDevice.h"
#include "selector_fixture.h"

#include <QCoreApplication>

#include <algorithm>
#include <thread>

namespace selector_test {
namespace {

using shell::CDeviceOptionUI;

// A light button that counts its paints.
class CountingButton : public devices::IKeyButton {
public:
    bool IsVisible() const override { return true; }
    bool GetColour(devices::LedColour& c) const override {
        c = colour;
        return painted > 0;
    }
    void SetColour(const devices::LedColour& c) override {
        colour = c;
        ++painted;
    }
    devices::LedColour colour{0, 0, 0, 0};
    int painted = 0;
};

class FrameSchedule : public SelectorFixture {
protected:
    // A device of the model row on its virtual device by cable; returns its item's index.
    int AddOpenDevice(int modelRow, sim::VirtualProduct product) {
        wire = sim::MakeVirtualDevice(product);
        wire->SetReplyDelay(std::chrono::microseconds(0));
        EXPECT_TRUE(backend.Plug(wire));
        const int index = AddDevice(modelRow);
        auto& comm = deviceList.back()->CommandChannel();
        EXPECT_EQ(comm.CableChannel().Open(wire->CommandPath(), true, true, true, false), 1);
        comm.SelectMode(transport::CDeviceComm::kModeCable);
        comm.open = true;
        selector->ShowAttached(index);
        pm.KillTimer(&Item(index)); // timers are fired by hand
        return index;
    }
    bool Armed(int index, int id) { return pm.KillTimer(&Item(index), id); }
    std::vector<sim::Packet> Frames() {
        std::vector<sim::Packet> out;
        for (const sim::WirePacket& p : wire->WireLog())
            if (p.direction == sim::WireDirection::Request && p.bytes[3] == 0x12)
                out.push_back(p.bytes);
        return out;
    }
    void ShowWindow(bool shown) {
        for (auto& device : deviceList) {
            device->SetWindowShown(shown);
            device->SetWindowHovered(shown);
        }
        selector->TellPreviewShown();
    }
    std::shared_ptr<sim::VirtualDevice> wire;
};

TEST_F(FrameSchedule, TheKeyboardGetsNoFrameTimerAndItsPreviewIsRepaintedOncePerBatch) {
    const int index = AddOpenDevice(1, sim::VirtualProduct::Keyboard);
    auto& keyboard = static_cast<devices::CKelvaneKeyboardDevice&>(*deviceList.back());
    CountingButton button;
    keyboard.SetPanelXml("keyboard.xml");
    keyboard.BindPanelControls({{"", "light_7", &button}});
    button.painted = 0;

    Item(index).DoTimer(CDeviceOptionUI::kTimerRefresh);
    EXPECT_TRUE(keyboard.IsLightingThreadRunning()) << "the read starts the lighting thread";
    EXPECT_FALSE(Armed(index, CDeviceOptionUI::kTimerLightFrame));
    Item(index).DoTimer(CDeviceOptionUI::kTimerLightFrame);
    EXPECT_FALSE(Armed(index, CDeviceOptionUI::kTimerLightFrame)) << "not even by hand";
    keyboard.StopLightingThread(); // this test renders the frames itself

    // Hidden: a synchronised frame reaches the LEDs but asks for no repaint.
    keyboard.ShowSyncFrame(0xFF000001);
    EXPECT_FALSE(Item(index).IsFramePosted());
    QCoreApplication::processEvents();
    EXPECT_EQ(button.painted, 0);

    ASSERT_EQ(selector->CurrentIndex(), index);
    ShowWindow(true);
    ASSERT_TRUE(keyboard.IsPreviewWatched());
    std::thread renderer([&] {
        keyboard.ShowSyncFrame(0xFF000002);
        keyboard.ShowSyncFrame(0xFF000003);
    });
    renderer.join();
    EXPECT_TRUE(Item(index).IsFramePosted());
    EXPECT_EQ(button.painted, 0) << "painted on the UI thread only";
    QCoreApplication::processEvents();
    EXPECT_EQ(button.painted, 1) << "two frames, one repaint";
    EXPECT_EQ(button.colour, (devices::LedColour{3, 0, 0, 0xFF})) << "the latest frame";
    EXPECT_FALSE(Item(index).IsFramePosted());
}

TEST_F(FrameSchedule, OtherDevicesSendAtTheTickPaceOnlyWhileTheirPageIsWatched) {
    const int index = AddOpenDevice(2, sim::VirtualProduct::MousePad);
    devices::CKelvaneUSBDevice& pad = *deviceList.back();
    Item(index).DoTimer(CDeviceOptionUI::kTimerRefresh);
    EXPECT_TRUE(Armed(index, CDeviceOptionUI::kTimerLightFrame));
    EXPECT_EQ(Item(index).GetLightFrameInterval(), CDeviceOptionUI::kLightFrameMs);

    // The page is current but the window hidden: a frame a second keeps the host's lighting.
    Item(index).DoTimer(CDeviceOptionUI::kTimerLightFrame);
    EXPECT_FALSE(Frames().empty());
    EXPECT_TRUE(Armed(index, CDeviceOptionUI::kTimerLightFrame));
    EXPECT_EQ(Item(index).GetLightFrameInterval(), CDeviceOptionUI::kIdleFrameMs);

    ShowWindow(true);
    EXPECT_TRUE(Armed(index, CDeviceOptionUI::kTimerLightFrame)) << "re-armed as it shows";
    EXPECT_EQ(Item(index).GetLightFrameInterval(), CDeviceOptionUI::kLightFrameMs);
    Item(index).DoTimer(CDeviceOptionUI::kTimerLightFrame);
    EXPECT_EQ(Item(index).GetLightFrameInterval(), CDeviceOptionUI::kLightFrameMs);

    // Another page becomes current: back to the slow pace.
    selector->SetItem(AddDevice(3), true, true);
    EXPECT_FALSE(pad.IsPreviewShown());
    Item(index).DoTimer(CDeviceOptionUI::kTimerLightFrame);
    EXPECT_EQ(Item(index).GetLightFrameInterval(), CDeviceOptionUI::kIdleFrameMs);

    // A synchronised frame goes out at once, in its colour.
    pm.KillTimer(&Item(index));
    wire->ClearWireLog();
    std::thread sync([&] { pad.ShowSyncFrame(0xFF102030); });
    sync.join();
    EXPECT_TRUE(Frames().empty()) << "sent by the UI thread";
    QCoreApplication::processEvents();
    const std::vector<sim::Packet> frames = Frames();
    ASSERT_FALSE(frames.empty());
    EXPECT_EQ(frames[0][8], 0x30 * 255 >> 8) << "red is the low byte";
    EXPECT_EQ(frames[0][9], 0x20 * 255 >> 8);
    EXPECT_EQ(frames[0][10], 0x10 * 255 >> 8);
    EXPECT_TRUE(Armed(index, CDeviceOptionUI::kTimerLightFrame));
}

TEST_F(FrameSchedule, AWatchedPageShowsEachFrameOnItsLedsAndAHiddenOneDoesNot) {
    const int index = AddOpenDevice(2, sim::VirtualProduct::MousePad);
    devices::CKelvaneUSBDevice& pad = *deviceList.back();
    CountingButton led;
    pad.SetPanelXml("mousepad.xml");
    pad.BindPanelControls({{"pad_led_3", "light_3", &led}});
    led.painted = 0;
    pad.SetLedColour(3, devices::LedColour{0x10, 0x20, 0x30, 0xFF});
    bool attended = false;
    Item(index).SetWindowAttended([&] { return attended; });

    ShowWindow(true);
    Item(index).DoTimer(CDeviceOptionUI::kTimerLightFrame);
    EXPECT_EQ(led.painted, 0) << "the window is neither active nor under the pointer";

    attended = true;
    Item(index).DoTimer(CDeviceOptionUI::kTimerLightFrame);
    EXPECT_GT(led.painted, 0);
    EXPECT_EQ(led.colour, (devices::LedColour{0x10, 0x20, 0x30, 0xFF}));
}

} // namespace
} // namespace selector_test
