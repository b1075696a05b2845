// Picture buttons: the delete spot of the hand-image button and the panning of the
// hand-image select button.

#include "ControlsFixture.h"
#include "shell/controls/HandImgButtonUI.h"
#include "shell/controls/HandImgSelectButtonUI.h"

#include <QTest>

namespace {

using shell::CHandImgButtonUI;
using shell::CHandImgSelectButtonUI;

class HandImgButtonTest : public test::ControlsFixture {
protected:
    void SetUp() override {
        ControlsFixture::SetUp();
        WriteImage("hand.png", {300, 200}, Qt::green);
        WriteImage("del_hot.png", {20, 20}, Qt::red);
        Build(R"(<HorizontalLayout name="root">
  <HandImgButton name="hand_0" width="100" height="100" handimage="hand.png"
      deletenormalimage="del.png" deletehotimage="del_hot.png"/>
  <HandImgSelectButton name="pick" width="100" height="100" handimage="hand.png" cursor="sizewe"/>
  <HandImgSelectButton name="small" width="100" height="100" cursor="nonsense"/>
  <Control/>
</HorizontalLayout>)");
    }
};

TEST_F(HandImgButtonTest, BottomRightSpotDeletesOnlyWhenDeletingIsAllowed) {
    auto* hand = Get<CHandImgButtonUI>("hand_0");
    const QPoint spot(100 - 30 + 10, 100 - 29 + 10); // the middle of the delete spot
    EXPECT_TRUE(hand->IsNoDelete());
    QTest::mouseClick(hand, Qt::LeftButton, {}, spot);
    EXPECT_EQ(Take(), QStringList{"click:hand_0"}) << "deleting starts off";

    hand->SetNoDelete(false);
    QTest::mouseClick(hand, Qt::LeftButton, {}, spot);
    EXPECT_EQ(Take(), QStringList{"click_handdelete:hand_0"});
    QTest::mouseClick(hand, Qt::LeftButton, {}, QPoint(99 - 30, 99 - 29) + QPoint(19, 19));
    EXPECT_EQ(Take(), QStringList{"click_handdelete:hand_0"}) << "the spot's last pixel";
    QTest::mouseClick(hand, Qt::LeftButton, {}, QPoint(98, 98));
    EXPECT_EQ(Take(), QStringList{"click:hand_0"}) << "the corner itself is outside the spot";
    QTest::mouseClick(hand, Qt::LeftButton, {}, QPoint(30, 30));
    EXPECT_EQ(Take(), QStringList{"click:hand_0"});
}

TEST_F(HandImgButtonTest, HoverReportsAndShowsTheDeleteHotImage) {
    auto* hand = Get<CHandImgButtonUI>("hand_0");
    hand->SetNoDelete(false);
    const QPoint spot(80, 80);
    QTest::mouseMove(W("small"), QPoint(50, 50));
    QTest::mouseMove(hand, QPoint(50, 50));
    ASSERT_TRUE(test::WaitUntil([&] { return Take().contains("msenter:hand_0"); }));
    EXPECT_EQ(PixelAt(hand, spot), QColor(Qt::red));
    EXPECT_EQ(PixelAt(hand, {30, 30}), QColor(Qt::green)) << "the hand image";

    QTest::mouseMove(W("small"), QPoint(50, 50));
    ASSERT_TRUE(test::WaitUntil([&] { return Take().contains("msleave:hand_0"); }));
    EXPECT_EQ(PixelAt(hand, spot), QColor(Qt::green)) << "no delete image without the pointer";
}

TEST_F(HandImgButtonTest, DraggingPansTheVisiblePartWithinThePicture) {
    auto* pick = Get<CHandImgSelectButtonUI>("pick");
    EXPECT_EQ(pick->cursor().shape(), Qt::SizeHorCursor);
    EXPECT_EQ(pick->GetHandImageSize(), QSize(300, 200));
    EXPECT_EQ(pick->GetDrawImageText(), "file='hand.png' source='0,0,100,100'");

    QTest::mousePress(pick, Qt::LeftButton, {}, QPoint(50, 50));
    QTest::mouseMove(pick, QPoint(80, 70));
    EXPECT_EQ(pick->GetSourceRect(), QRect(30, 20, 100, 100));
    QTest::mouseRelease(pick, Qt::LeftButton, {}, QPoint(80, 70));
    for (int i = 0; i < 3; ++i) {
        QTest::mousePress(pick, Qt::LeftButton, {}, QPoint(1, 1));
        QTest::mouseMove(pick, QPoint(99, 99));
        QTest::mouseRelease(pick, Qt::LeftButton, {}, QPoint(99, 99));
    }
    EXPECT_EQ(pick->GetSourceRect(), QRect(200, 100, 100, 100)) << "held at the picture's edge";
    EXPECT_EQ(pick->GetDrawImageText(), "file='hand.png' source='200,100,300,200'");

    // Moving without the button down pans nothing.
    QTest::mouseMove(pick, QPoint(10, 10));
    EXPECT_EQ(pick->GetSourceRect().topLeft(), QPoint(200, 100));
    QTest::mousePress(pick, Qt::LeftButton, {}, QPoint(90, 90));
    QTest::mouseMove(pick, QPoint(10, 10));
    QTest::mouseRelease(pick, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(pick->GetSourceRect().topLeft(), QPoint(120, 20));

    auto* small = Get<CHandImgSelectButtonUI>("small");
    EXPECT_EQ(small->cursor().shape(), Qt::PointingHandCursor) << "unknown names keep the cursor";
    small->SetHandImage("del_hot.png");
    EXPECT_EQ(small->GetDrawImageText(), "file='del_hot.png' ") << "smaller: drawn whole";
}

} // namespace
