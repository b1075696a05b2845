// The ring progress: background circle, the value's pie from the bottom clockwise, white middle.

#include "ControlsFixture.h"
#include "shell/controls/CircleProgressUI.h"

namespace {

class CircleProgressTest : public test::ControlsFixture {};

TEST_F(CircleProgressTest, FillsTheValuesShareOfTheRingFromTheBottomClockwise) {
    Build(R"(<VerticalLayout name="root">
  <CircleProgress name="ring" width="100" height="100" min="0" max="200" value="50"
      bkcolor="#FF0000FF" forecolor="#FFFF0000"/>
  <Control/>
</VerticalLayout>)");
    auto* ring = Get<shell::CCircleProgressUI>("ring");
    ASSERT_EQ(ring->GetValue(), 50);
    const QColor red(Qt::red), blue(Qt::blue), white(Qt::white);
    // Points in the ring (radius 45 of 50) by screen direction.
    const QPoint bottomLeft(50 - 32, 50 + 32), topRight(50 + 32, 50 - 32);
    const QPoint bottomRight(50 + 32, 50 + 32), topLeft(50 - 32, 50 - 32);
    EXPECT_EQ(PixelAt(ring, bottomLeft), red) << "a quarter: bottom to left";
    EXPECT_EQ(PixelAt(ring, bottomRight), blue);
    EXPECT_EQ(PixelAt(ring, topLeft), blue);
    EXPECT_EQ(PixelAt(ring, {50, 50}), white) << "the middle";
    EXPECT_EQ(PixelAt(ring, {50 + 35, 50}), white) << "inside the 10-pixel ring";

    ring->SetValue(150);
    EXPECT_EQ(PixelAt(ring, topLeft), red);
    EXPECT_EQ(PixelAt(ring, bottomRight), blue) << "three quarters end at the right";
    ring->SetValue(200);
    EXPECT_EQ(PixelAt(ring, topRight), red);
    EXPECT_EQ(PixelAt(ring, bottomRight), red);
}

} // namespace
