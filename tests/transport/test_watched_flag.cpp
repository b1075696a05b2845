// The channel flags that the lighting thread sleeps on: a change tells the watcher, the same
// value again does not, and a removed watcher hears nothing more.

#include "transport/DeviceComm.h"

#include <gtest/gtest.h>

namespace {

TEST(WatchedFlag, TellsItsWatcherOfChangesOnly) {
    transport::CDeviceComm comm;
    int opened = 0;
    int paused = 0;
    comm.open.SetWatcher([&] { ++opened; });
    comm.lightPause.SetWatcher([&] { ++paused; });
    EXPECT_FALSE(comm.open);
    comm.open = false;
    EXPECT_EQ(opened, 0) << "no change";
    comm.open = true;
    comm.open = true;
    EXPECT_TRUE(comm.open);
    EXPECT_EQ(opened, 1);
    comm.lightPause = true;
    comm.lightPause = false;
    EXPECT_EQ(paused, 2) << "set and cleared";

    comm.open.SetWatcher(nullptr);
    comm.open = false;
    EXPECT_EQ(opened, 1);
    EXPECT_FALSE(comm.open.load());
}

} // namespace
