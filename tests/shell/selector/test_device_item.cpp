// A device item: its pictures and the timers that drive its device.

#include "selector_fixture.h"
#include "shell/selector/DeviceItemImages.h"
#include "ui/ButtonUI.h"
#include "ui/ResourceManager.h"

#include <algorithm>

namespace selector_test {
namespace {

using shell::CDeviceOptionUI;

TEST(DeviceItemLook, PicturesAndNamesFollowTheKind) {
    const auto keyboard = shell::DeviceItemLookFor(1, 0);
    EXPECT_EQ(keyboard.picture, "devices/keyboard.svg");
    EXPECT_EQ(keyboard.normal, "common/device_ico/device_frame_normal.png");
    EXPECT_EQ(keyboard.synchroSelected, "common/device_ico/device_frame_synchro_selected.png");
    EXPECT_EQ(keyboard.nameTextId, "kb_device_name_text");
    EXPECT_EQ(shell::DeviceItemLookFor(3, 0).picture, "devices/mousepad.svg");
    EXPECT_EQ(shell::DeviceItemLookFor(5, 0).picture, "devices/hub.svg");
    EXPECT_EQ(shell::DeviceItemLookFor(3, 1).nameTextId, "soft_mp_device_name_text");
    EXPECT_EQ(shell::DeviceItemLookFor(4, 0).nameTextId, "hd_device_name_text");
    EXPECT_EQ(shell::DeviceItemLookFor(7, 0).nameTextId, "hd_device_name_text");
    EXPECT_EQ(shell::DeviceItemLookFor(5, 0).nameTextId, "hub_device_name_text");
    EXPECT_EQ(shell::DeviceItemLookFor(6, 0).picture, "devices/unknown.svg");
    EXPECT_EQ(shell::DeviceItemLookFor(6, 0).nameTextId, "unknow_device_name_text");
}

// A device whose wireless link the test decides; counts what the item asks of it.
class LinkDevice : public devices::CKelvaneUSBDevice {
public:
    bool CheckReceiverLink() override { return linked; }
    int ReadAllFromDevice() override { return ++readAll; }
    void ReadPowerStatus() override { ++powerReads; }
    bool linked = true;
    int readAll = 0;
    int powerReads = 0;
};

class DeviceItem : public SelectorFixture {
protected:
    bool Armed(int id) { return pm.KillTimer(&Item(0), id); }
    LinkDevice* AddLinkDevice(int modelRow, bool receiverCapable) {
        auto device = std::make_unique<LinkDevice>();
        device->SetModelRowIndex(modelRow);
        device->SetReceiverCapable(receiverCapable);
        LinkDevice* raw = device.get();
        selector->ShowAttached(AddDevice(std::move(device)));
        pm.KillTimer(&Item(0)); // the refresh is fired by hand
        return raw;
    }
    static int FrameRequests(const sim::VirtualDevice& d) {
        const auto log = d.WireLog();
        return static_cast<int>(std::count_if(log.begin(), log.end(), [](const auto& p) {
            return p.direction == sim::WireDirection::Request && p.bytes[3] == 0x12;
        }));
    }
};

TEST_F(DeviceItem, SynchronisedPicturesReplaceTheNormalOnes) {
    ASSERT_TRUE(ui::CResourceManager::GetInstance().LoadLanguage("lan_en.xml"));
    AddDevice(1);
    auto* option = Find<ui::COptionUI>("device_select");
    ASSERT_NE(option, nullptr);
    EXPECT_EQ(option->GetBkImage(), "devices/keyboard.svg");
    EXPECT_EQ(option->GetImage("normal"), "common/device_ico/device_frame_normal.png");
    EXPECT_EQ(option->GetImage("hot"), "common/device_ico/device_frame_normal.png");
    EXPECT_EQ(option->GetImage("selected"), "common/device_ico/device_frame_selected.png");
    Item(0).SetSynchronised(true);
    EXPECT_EQ(option->GetImage("normal"), "common/device_ico/device_frame_synchro_normal.png");
    EXPECT_EQ(option->GetImage("selected"), "common/device_ico/device_frame_synchro_selected.png");

    Item(0).SetKind(3, 9); // a mouse pad we do not know keeps its pictures
    EXPECT_EQ(option->GetImage("selected"), "common/device_ico/device_frame_synchro_selected.png");
    EXPECT_EQ(option->GetBkImage(), "devices/keyboard.svg");
    EXPECT_EQ(Item(0).GetKind(), 3);
    EXPECT_EQ(Item(0).GetToolTip(), "Keyboard");
    EXPECT_EQ(Find<ui::CControlUI>("device_select_name")->GetText(), "Keyboard");
    ASSERT_TRUE(ui::CResourceManager::GetInstance().LoadLanguage("lan_cn.xml"));
    Item(0).RefreshText();
    EXPECT_EQ(Item(0).GetToolTip(), QString::fromUtf8("键盘"));
}

TEST_F(DeviceItem, LightFramesGoToTheCableWhileTheChannelIsOpen) {
    // The mouse pad streams in every effect (the keyboard only in its music effects).
    auto board = sim::MakeVirtualDevice(sim::VirtualProduct::MousePad);
    board->SetReplyDelay(std::chrono::microseconds(0));
    ASSERT_TRUE(backend.Plug(board));
    const int index = AddDevice(2);
    auto& comm = deviceList[0]->CommandChannel();
    ASSERT_EQ(comm.CableChannel().Open(board->CommandPath(), true, true, true, false), 1);
    comm.SelectMode(transport::CDeviceComm::kModeCable);
    comm.open = true;
    selector->ShowAttached(index);

    Item(index).DoTimer(CDeviceOptionUI::kTimerLightFrame);
    EXPECT_GT(FrameRequests(*board), 0);
    EXPECT_TRUE(Armed(CDeviceOptionUI::kTimerLightFrame)) << "re-armed while open";

    comm.open = false;
    board->ClearWireLog();
    Item(index).DoTimer(CDeviceOptionUI::kTimerLightFrame);
    EXPECT_EQ(FrameRequests(*board), 0);
    EXPECT_FALSE(Armed(CDeviceOptionUI::kTimerLightFrame)) << "a closed channel ends the chain";
}

TEST_F(DeviceItem, RefreshOnTheCableReadsTheDeviceAndStartsTheFrames) {
    LinkDevice* device = AddLinkDevice(1, true);
    device->CommandChannel().open = true;
    Item(0).DoTimer(CDeviceOptionUI::kTimerRefresh);
    EXPECT_EQ(device->readAll, 1);
    EXPECT_TRUE(wnd.receiverStates.empty()) << "a cable device has no link to report";
    EXPECT_TRUE(Armed(CDeviceOptionUI::kTimerLightFrame));
    EXPECT_TRUE(Armed(CDeviceOptionUI::kTimerPower));
    EXPECT_FALSE(Armed(CDeviceOptionUI::kTimerLinkWatch));

    Item(0).DoTimer(CDeviceOptionUI::kTimerLinkWatch); // on the cable: not re-armed
    EXPECT_FALSE(Armed(CDeviceOptionUI::kTimerLinkWatch));
    Item(0).DoTimer(CDeviceOptionUI::kTimerPower);
    EXPECT_EQ(device->powerReads, 1);
    EXPECT_TRUE(Armed(CDeviceOptionUI::kTimerPower)) << "receiver-capable: polled again";
}

TEST_F(DeviceItem, RefreshThroughTheReceiverWaitsForTheLink) {
    LinkDevice* device = AddLinkDevice(0, false);
    device->CommandChannel().SelectMode(transport::CDeviceComm::kModeReceiver);
    device->linked = false;

    Item(0).DoTimer(CDeviceOptionUI::kTimerRefresh);
    ASSERT_EQ(wnd.receiverStates.size(), 1u);
    EXPECT_EQ(wnd.receiverStates[0], (std::pair<ui::WPARAM, ui::LPARAM>{0, 0}));
    EXPECT_FALSE(Item(0).GetVisibleFlag());
    EXPECT_TRUE(NoDeviceShown());
    EXPECT_EQ(device->readAll, 0);
    EXPECT_EQ(Item(0).GetLinkFailures(), 1);
    EXPECT_TRUE(Armed(CDeviceOptionUI::kTimerRefresh));

    Item(0).DoTimer(CDeviceOptionUI::kTimerRefresh); // hidden already: no second message
    EXPECT_EQ(wnd.receiverStates.size(), 1u);
    for (int i = 2; i < CDeviceOptionUI::kFailureWrap; ++i)
        Item(0).DoTimer(CDeviceOptionUI::kTimerRefresh);
    EXPECT_EQ(Item(0).GetLinkFailures(), 0) << "the counter wraps after 20";

    device->linked = true;
    Item(0).DoTimer(CDeviceOptionUI::kTimerRefresh);
    EXPECT_EQ(wnd.receiverStates.back(), (std::pair<ui::WPARAM, ui::LPARAM>{0, 1}));
    EXPECT_TRUE(Item(0).GetVisibleFlag());
    EXPECT_EQ(selector->CurrentIndex(), 0);
    EXPECT_EQ(device->readAll, 1);
    EXPECT_TRUE(Armed(CDeviceOptionUI::kTimerLightFrame));
    EXPECT_TRUE(Armed(CDeviceOptionUI::kTimerLinkWatch));
    EXPECT_FALSE(Armed(CDeviceOptionUI::kTimerPower)) << "not receiver-capable";
}

TEST_F(DeviceItem, LinkWatchHidesAndShowsTheItem) {
    LinkDevice* device = AddLinkDevice(0, true);
    device->CommandChannel().SelectMode(transport::CDeviceComm::kModeReceiver);

    Item(0).DoTimer(CDeviceOptionUI::kTimerLinkWatch); // linked and shown: nothing to say
    EXPECT_TRUE(wnd.receiverStates.empty());
    EXPECT_TRUE(Armed(CDeviceOptionUI::kTimerLinkWatch));

    device->linked = false;
    Item(0).DoTimer(CDeviceOptionUI::kTimerLinkWatch);
    EXPECT_FALSE(Item(0).GetVisibleFlag());
    EXPECT_EQ(device->powerReads, 0);

    device->linked = true;
    Item(0).DoTimer(CDeviceOptionUI::kTimerLinkWatch);
    EXPECT_TRUE(Item(0).GetVisibleFlag());
    EXPECT_EQ(device->powerReads, 1);
    ASSERT_EQ(wnd.receiverStates.size(), 2u);
    EXPECT_EQ(wnd.receiverStates[1].second, 1);
}

} // namespace
} // namespace selector_test
