// The control that keeps a separate window on its rectangle.

#include "ControlsFixture.h"
#include "shell/controls/WndUI.h"

#include <QTest>

namespace {

class WndTest : public test::ControlsFixture {};

TEST_F(WndTest, KeepsItsWindowOnTheControlAndShowsItWithTheControl) {
    Build(R"(<VerticalLayout name="root">
  <Control name="above" height="50"/>
  <Wnd name="browser" height="120"/>
  <Control/>
</VerticalLayout>)");
    auto* wnd = Get<shell::CWndUI>("browser");
    QWidget window(host.get());
    wnd->Attach(&window);
    EXPECT_EQ(window.geometry(), QRect(wnd->mapTo(host.get(), QPoint()), wnd->size()));
    EXPECT_TRUE(window.isVisible());

    Get<ui::CControlUI>("above")->SetFixedHeight(80);
    ASSERT_TRUE(test::WaitUntil([&] { return wnd->y() == 80; }));
    EXPECT_EQ(window.geometry(), QRect(wnd->mapTo(host.get(), QPoint()), wnd->size()));

    wnd->SetVisible(false);
    EXPECT_FALSE(window.isVisible());
    wnd->SetVisible(true);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(wnd->Detach(), &window);
}

} // namespace
