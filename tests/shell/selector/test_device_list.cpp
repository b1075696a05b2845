// The device list: showing and hiding items, the current item, previous and next, and the
// wireless link messages.

#include "selector_fixture.h"

namespace selector_test {
namespace {

using DeviceList = SelectorFixture;

TEST_F(DeviceList, NewItemsStartHiddenAndTheFirstAttachedBecomesCurrent) {
    const int keyboard = AddDevice(1);
    const int mouse = AddDevice(0);
    ASSERT_EQ(keyboard, 0);
    ASSERT_EQ(mouse, 1);
    EXPECT_EQ(selector->Count(), 2) << "only DeviceOption controls count";
    EXPECT_EQ(selector->VisibleCount(), 0);
    EXPECT_EQ(Item(mouse).GetBindTabIndex(), 2) << "page 0 of device_switch is not a device's";
    EXPECT_EQ(Item(mouse).GetPowerPage(), 2);

    selector->ShowAttached(mouse);
    selector->ShowAttached(keyboard);
    EXPECT_EQ(selector->CurrentIndex(), mouse);
    EXPECT_EQ(DeviceSwitch()->GetCurSel(), 2);
    EXPECT_EQ(PowerSwitch()->GetCurSel(), 2);
    EXPECT_FALSE(NoDeviceShown());
    EXPECT_TRUE(severalDevices);
}

TEST_F(DeviceList, HidingTheOnlyVisibleItemShowsTheHintAndTheEmptyPages) {
    const int keyboard = AddDevice(1);
    selector->ShowAttached(keyboard);
    ASSERT_EQ(DeviceSwitch()->GetCurSel(), 1);
    ASSERT_FALSE(NoDeviceShown());

    selector->HideItem(keyboard);
    EXPECT_TRUE(NoDeviceShown());
    EXPECT_EQ(DeviceSwitch()->GetCurSel(), 0);
    EXPECT_EQ(PowerSwitch()->GetCurSel(), 0);
    EXPECT_EQ(secondaryClosed, 1) << "the current device went: its windows close";
    EXPECT_FALSE(severalDevices);

    selector->HideItem(7); // outside the list: nothing
    selector->HideItem(-1);
    EXPECT_TRUE(NoDeviceShown());
}

TEST_F(DeviceList, HidingKeepsOrMovesTheCurrentItem) {
    for (int row : {1, 0, 2})
        selector->ShowAttached(AddDevice(row));
    ASSERT_EQ(selector->CurrentIndex(), 0);

    selector->HideItem(2); // not current: nothing else changes
    EXPECT_EQ(selector->CurrentIndex(), 0);
    EXPECT_EQ(secondaryClosed, 0);
    EXPECT_EQ(keyCaptureStopped, 0);
    EXPECT_EQ(recordingStopped, 0);

    keyAssignmentOpen = true;
    selector->HideItem(0); // current: the first other visible item takes over
    EXPECT_EQ(secondaryClosed, 1);
    EXPECT_EQ(keyCaptureStopped, 1);
    EXPECT_EQ(recordingStopped, 1);
    EXPECT_EQ(selector->CurrentIndex(), 1);
    EXPECT_FALSE(Item(0).IsSelected());
    EXPECT_EQ(DeviceSwitch()->GetCurSel(), Item(1).GetBindTabIndex());
    EXPECT_EQ(selector->GetSelectedKind(), 2);
    EXPECT_FALSE(severalDevices);
    EXPECT_FALSE(NoDeviceShown());

    // A recording ends with its page even when the key assignment panel was not open.
    keyAssignmentOpen = false;
    selector->HideItem(1);
    EXPECT_EQ(keyCaptureStopped, 1);
    EXPECT_EQ(recordingStopped, 2);
}

TEST_F(DeviceList, PreviousAndNextSkipHiddenItems) {
    for (int row : {1, 0, 2, 3})
        selector->ShowAttached(AddDevice(row));
    selector->HideItem(1);
    selector->HideItem(2);

    selector->SelectNext();
    EXPECT_EQ(selector->CurrentIndex(), 3);
    selector->SelectNext(); // nothing after the last visible item
    EXPECT_EQ(selector->CurrentIndex(), 3);
    selector->SelectPrevious();
    EXPECT_EQ(selector->CurrentIndex(), 0);
    EXPECT_EQ(DeviceSwitch()->GetCurSel(), Item(0).GetBindTabIndex());
    selector->SelectPrevious();
    EXPECT_EQ(selector->CurrentIndex(), 0);
}

TEST_F(DeviceList, ReceiverStateHidesAndShowsTheDevicesItem) {
    const int keyboard = AddDevice(1); // item 0, model row 1
    const int mouse = AddDevice(0);    // item 1, model row 0
    selector->ShowAttached(keyboard);
    selector->ShowAttached(mouse);

    selector->OnReceiverState(0, 0); // the mouse's link is lost
    EXPECT_FALSE(Item(mouse).GetVisibleFlag());
    EXPECT_EQ(selector->CurrentIndex(), keyboard);

    selector->OnReceiverState(0, 1); // back: shown, but the keyboard stays current
    EXPECT_TRUE(Item(mouse).GetVisibleFlag());
    EXPECT_EQ(selector->CurrentIndex(), keyboard);

    selector->OnReceiverState(1, 0);
    selector->OnReceiverState(0, 0);
    EXPECT_TRUE(NoDeviceShown());
    selector->OnReceiverState(0, 1); // nothing was shown: the mouse becomes current
    EXPECT_EQ(selector->CurrentIndex(), mouse);
    EXPECT_FALSE(NoDeviceShown());
    selector->OnReceiverState(9, 1); // no such item
    EXPECT_EQ(selector->VisibleCount(), 1);
}

TEST_F(DeviceList, SynchronisationNeedsTwoShownDevices) {
    for (int row : {1, 0})
        selector->ShowAttached(AddDevice(row));
    Item(0).SetSynchronised(true);
    Item(1).SetSynchronised(true);
    selector->SetItem(0, true, false);
    EXPECT_TRUE(Item(0).IsSynchronised());

    selector->HideItem(1);
    EXPECT_FALSE(Item(0).IsSynchronised());
    EXPECT_FALSE(Item(1).IsSynchronised());
}

TEST_F(DeviceList, SelectionChangeRecordsTheItemAndShowsItsPageAndPowerPage) {
    for (int row : {1, 2})
        selector->ShowAttached(AddDevice(row));
    selector->SetItem(0, true, true);
    ASSERT_EQ(DeviceSwitch()->GetCurSel(), Item(0).GetBindTabIndex());
    Item(1).Select(true);
    EXPECT_FALSE(Item(0).IsSelected()) << "the items form one group";
    selector->OnSelectionChanged();
    EXPECT_EQ(selector->GetSelectedIndex(), 1);
    EXPECT_EQ(selector->GetSelectedKind(), 3);
    EXPECT_EQ(DeviceSwitch()->GetCurSel(), Item(1).GetBindTabIndex()) << "its device's page";
    EXPECT_EQ(PowerSwitch()->GetCurSel(), Item(1).GetPowerPage());
}

} // namespace
} // namespace selector_test
