// The main window's size on two monitors (the offscreen platform set up with a 1920 x 1080
// and a 1366 x 768 screen): 1500 x 960 at 144 DPI on the first, 1000 x 640 on the second.

#include "MainWindowFixture.h"

#include <QGuiApplication>
#include <QScreen>

namespace {

using test::MainWindowTest;

TEST_F(MainWindowTest, WindowSizeFollowsTheMonitorItIsOn) {
    ASSERT_EQ(QGuiApplication::screens().size(), 2) << "run with the two-screen configuration";
    QScreen* wide = QGuiApplication::screenAt({10, 10});
    QScreen* small = QGuiApplication::screenAt({1930, 10});
    ASSERT_NE(wide, small);
    if (Host()->screen() != wide) {
        Host()->windowHandle()->setScreen(wide);
        wnd->CenterWindow();
    }
    // Timer 1011 applies the rule 100 ms after start.
    ASSERT_TRUE(test::WaitUntil([&] { return Host()->size() == QSize(1500, 960); }));
    EXPECT_EQ(wnd->GetDPI(), 144);
    EXPECT_TRUE(wide->geometry().contains(Host()->geometry())) << "centred on its monitor";

    Host()->move(small->geometry().topLeft() + QPoint(10, 10));
    Host()->windowHandle()->setScreen(small);
    wnd->SendMessage(ui::WM_DISPLAYCHANGE, 0, 0);
    EXPECT_EQ(wnd->GetDPI(), 96);
    EXPECT_EQ(Host()->size(), QSize(1000, 640));
    EXPECT_TRUE(small->geometry().contains(Host()->geometry()));
    EXPECT_TRUE(Host()->isVisible()) << "a shown window stays shown";

    // A hidden window is sized all the same and stays hidden.
    Host()->hide();
    Host()->windowHandle()->setScreen(wide);
    wnd->SendMessage(ui::WM_DISPLAYCHANGE, 0, 0);
    EXPECT_EQ(Host()->size(), QSize(1500, 960));
    EXPECT_FALSE(Host()->isVisible());
}

} // namespace
