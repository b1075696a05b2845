// The main window built from the shipped skin: its size and title, hiding and showing through
// the tray, the tray menu, coming forward, ending through "exit" or "closebtn", and the about
// window closing alone.

#include "MainWindowFixture.h"
#include "shell/windows/AboutWnd.h"

#include <QAction>
#include <QGuiApplication>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

using namespace ui;
using test::MainWindowTest;

TEST_F(MainWindowTest, OpensWithTitleSizeCentredAndTheHiddenTextLabels) {
    EXPECT_EQ(Host()->windowTitle(), "QUARIN Z17 Keyboard");
    // The DPI rule sizes it 100 ms after start; the offscreen screen is small: 96 DPI.
    EXPECT_TRUE(test::WaitUntil([&] { return Host()->size() == QSize(1000, 640); }))
        << Host()->width() << " x " << Host()->height();
    EXPECT_TRUE(Host()->isVisible());
    const QRect screen = Host()->screen()->availableGeometry();
    EXPECT_LE((Host()->geometry().center() - screen.center()).manhattanLength(), 2);
    for (const char* label : {"text_test", "str_test"}) {
        ASSERT_NE(wnd->Find(label), nullptr) << label;
        EXPECT_FALSE(wnd->Find(label)->IsVisible()) << label;
    }
    EXPECT_TRUE(wnd->Find("No_device_Link")->IsVisible()) << "no device is connected";
    EXPECT_FALSE(Host()->windowIcon().isNull());
}

TEST_F(MainWindowTest, PluggedDevicesAreFoundAndUnpluggedOnesLost) {
    auto keyboard = sim::MakeVirtualDevice(sim::VirtualProduct::Keyboard);
    auto pad = sim::MakeVirtualDevice(sim::VirtualProduct::MousePad);
    devices.Plug(keyboard);
    devices.Plug(pad);
    ASSERT_TRUE(test::WaitUntil([&] { return wnd->ConnectedCount() == 2; }));
    EXPECT_FALSE(wnd->Find("No_device_Link")->IsVisible());
    ASSERT_NE(wnd->Registry(), nullptr);
    EXPECT_EQ(wnd->Registry()->Devices().size(), 2u);

    devices.Unplug(keyboard);
    ASSERT_TRUE(test::WaitUntil([&] { return wnd->ConnectedCount() == 1; }));
    devices.Unplug(pad);
    ASSERT_TRUE(test::WaitUntil([&] { return wnd->ConnectedCount() == 0; }));
    EXPECT_TRUE(wnd->Find("No_device_Link")->IsVisible());
    EXPECT_EQ(wnd->Registry()->Devices().size(), 2u) << "device objects stay for the run";
}

TEST_F(MainWindowTest, ADeviceWhoseNodeRefusesToOpenIsToldOnceWithTheFix) {
    auto keyboard = sim::MakeVirtualDevice(sim::VirtualProduct::Keyboard);
    keyboard->RefuseOpens(true);
    testing::internal::CaptureStderr();
    devices.Plug(keyboard);
    const std::string node = keyboard->CommandPath().substr(0, keyboard->CommandPath().find('?'));
    CControlUI* status = wnd->Find("status_text");
    ASSERT_NE(status, nullptr);
    ASSERT_TRUE(test::WaitUntil([&] { return status->GetText().contains("udev"); }));
    // Both collections of the interface were refused; the node is told of once.
    ASSERT_TRUE(test::WaitUntil([&] { return wnd->Slots()[0].path.empty(); }));
    const std::string err = testing::internal::GetCapturedStderr();
    const std::string line = node + ": Permission denied; install the udev rule: see README";
    EXPECT_EQ(status->GetText().toStdString(), line);
    EXPECT_EQ(err, line + "\n");
    EXPECT_EQ(wnd->ConnectedCount(), 0u);
}

TEST_F(MainWindowTest, SuspendedWindowDropsPlugReports) {
    wnd->SendMessage(ui::WM_POWERBROADCAST, 4 /* suspend */, 0);
    devices.Plug(sim::MakeVirtualDevice(sim::VirtualProduct::MousePad));
    ASSERT_TRUE(test::WaitUntil([&] { return wnd->Slots()[8].bound != 0; }));
    EXPECT_EQ(wnd->ConnectedCount(), 0u) << "the slot list changes, the window does not";
    wnd->SendMessage(ui::WM_POWERBROADCAST, 0x12 /* resume */, 0);
}

TEST_F(MainWindowTest, TheDemoLabelShowsOnlyInDemoMode) {
    EXPECT_FALSE(wnd->Find("demo_label")->IsVisible());
    wnd->SetDemoMode(true);
    EXPECT_TRUE(wnd->Find("demo_label")->IsVisible());
}

TEST_F(MainWindowTest, TrayLeftClickHidesAndShowsAndRmInstanceBringsItBack) {
    wnd->SendMessage(WM_TRAYICON, 0, WM_LBUTTONUP);
    EXPECT_FALSE(Host()->isVisible());
    wnd->SendMessage(WM_TRAYICON, 0, WM_LBUTTONUP);
    EXPECT_TRUE(Host()->isVisible());

    Host()->hide();
    // A second instance asks through the bus; the message arrives posted.
    wnd->PostMessage(shell::g_messages.instance, 0, 1);
    EXPECT_TRUE(test::WaitUntil([&] { return Host()->isVisible(); }));

    Host()->showMinimized();
    wnd->SendMessage(shell::g_messages.instance, 0, 1);
    EXPECT_FALSE(Host()->isMinimized());
    EXPECT_EQ(quitSpy.quits, 0);
}

TEST_F(MainWindowTest, TrayRightClickOpensTheMenuWhoseExitEndsTheProgram) {
    wnd->SendMessage(WM_TRAYICON, 0, WM_RBUTTONUP);
    ASSERT_TRUE(test::WaitUntil([&] { return wnd->GetTrayMenu() != nullptr; }));
    QMenu* menu = wnd->GetTrayMenu()->GetMenu();
    QStringList names;
    for (QAction* action : menu->actions()) {
        if (!action->isSeparator())
            names << action->objectName();
    }
    EXPECT_EQ(names, (QStringList{"setwnd_menu", "about_menu", "exit"}));
    QAction* exit = menu->findChild<QAction*>("exit");
    ASSERT_NE(exit, nullptr);
    EXPECT_EQ(exit->text(), "Exit") << "the text comes from the language file";

    // A second right click builds a fresh menu.
    QMenu* first = menu;
    wnd->SendMessage(WM_TRAYICON, 0, WM_RBUTTONUP);
    ASSERT_TRUE(test::WaitUntil([&] { return wnd->GetTrayMenu()->GetMenu() != first; }));

    wnd->GetTrayMenu()->GetMenu()->findChild<QAction*>("exit")->trigger();
    EXPECT_TRUE(test::WaitUntil([&] { return quitSpy.quits == 1; }));
    EXPECT_TRUE(test::WaitUntil([&] { return wnd->GetHWND() == nullptr; })) << "the window ends";
}

TEST_F(MainWindowTest, CloseButtonHidesToTheTrayOrEndsWithoutOne) {
    // The offscreen platform has no tray host, so closing must end the program; with a tray,
    // the same click only hides the window.
    ASSERT_EQ(wnd->HasTray(), ui::CTrayIcon::IsTrayAvailable());
    Click("closebtn");
    if (wnd->HasTray()) {
        EXPECT_FALSE(Host()->isVisible());
        EXPECT_EQ(quitSpy.quits, 0);
    } else {
        EXPECT_TRUE(test::WaitUntil([&] { return quitSpy.quits == 1; }));
    }
}

TEST_F(MainWindowTest, WindowManagerCloseBehavesLikeTheCloseButton) {
    Host()->close();
    if (wnd->HasTray())
        EXPECT_FALSE(Host()->isVisible());
    else
        EXPECT_TRUE(test::WaitUntil([&] { return quitSpy.quits == 1; }));
}

TEST_F(MainWindowTest, MinimiseButtonMinimises) {
    Click("minbtn");
    EXPECT_TRUE(test::WaitUntil([&] { return Host()->isMinimized(); }));
    EXPECT_EQ(quitSpy.quits, 0);
}

TEST_F(MainWindowTest, ClosingTheAboutWindowLeavesTheProgramRunning) {
    const QRect geometry = Host()->geometry();
    // By the window manager's close (Alt+F4), then by the window's own close button.
    for (const bool byButton : {false, true}) {
        bool closed = false;
        ui::CWindowWnd* about = nullptr;
        QTimer::singleShot(0, [&] {
            ASSERT_NE(about, nullptr);
            if (byButton) {
                auto* close = about->GetHWND()->findChild<QPushButton*>("closebtn");
                ASSERT_NE(close, nullptr);
                QTest::mouseClick(close, Qt::LeftButton);
            } else {
                about->GetHWND()->close();
            }
            QCoreApplication::sendPostedEvents();
            closed = !about->IsWindowVisible();
            if (!closed)
                about->Close(0);
        });
        ASSERT_TRUE(shell::RunAboutWindow(wnd.get(), [&](ui::CWindowWnd* w) { about = w; }));
        EXPECT_TRUE(closed) << (byButton ? "close button" : "close event");
        QCoreApplication::sendPostedEvents();
        EXPECT_EQ(quitSpy.quits, 0) << (byButton ? "close button" : "close event");
        ASSERT_NE(wnd->GetHWND(), nullptr);
        EXPECT_TRUE(Host()->isVisible());
        EXPECT_EQ(Host()->geometry(), geometry);
    }
    // The loop and the device scan go on.
    devices.Plug(sim::MakeVirtualDevice(sim::VirtualProduct::MousePad));
    EXPECT_TRUE(test::WaitUntil([&] { return wnd->ConnectedCount() == 1; }));
}

TEST_F(MainWindowTest, TheWindowAppearsOnceAtStartAndTheDpiRuleKeepsAHiddenOneHidden) {
    // SetUp waited for the first scan pass to show the window.
    wnd->SendMessage(ui::WM_DISPLAYCHANGE, 0, 0);
    EXPECT_EQ(showHide.shows, 1);
    EXPECT_EQ(showHide.hides, 0);

    wnd->SendMessage(WM_TRAYICON, 0, WM_LBUTTONUP);
    ASSERT_FALSE(Host()->isVisible());
    showHide.shows = 0;
    wnd->SendMessage(ui::WM_DISPLAYCHANGE, 0, 0);
    EXPECT_FALSE(Host()->isVisible());
    EXPECT_EQ(showHide.shows, 0);
}

} // namespace
