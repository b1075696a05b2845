// The macro editor's rows: content from their own skin file, selection on press with Ctrl
// toggling, "itemclick" on release, Enter, hot state and the changed mark.

#include "ControlsFixture.h"
#include "shell/controls/ComboEditContainerElementUI.h"
#include "ui/EditUI.h"
#include "ui/ListUI.h"

#include <QTest>

namespace {

using shell::CComboEditContainerElementUI;

class ComboEditElementTest : public test::ControlsFixture {
protected:
    void SetUp() override {
        ControlsFixture::SetUp();
        env->WriteSkinFile("XML/CustomControlXML/ComboEditElementItem.xml",
                           R"(<HorizontalLayout>
  <Label name="text1" width="60"/>
  <Label name="text2" width="60"/>
  <Edit name="delay_edit" width="60"/>
  <Option name="row_check" width="20"/>
</HorizontalLayout>)");
        Build(R"(<VerticalLayout name="root">
  <List name="combo_list" height="200">
    <ComboEditContainerElement name="row0" height="30" normalimage="x.png" hotimage="y.png"/>
    <ComboEditContainerElement name="row1" height="30" selectedimage="z.png"/>
  </List>
  <Control name="outside"/>
</VerticalLayout>)");
        list = Get<ui::CListUI>("combo_list");
        row0 = Get<CComboEditContainerElementUI>("row0");
        row1 = Get<CComboEditContainerElementUI>("row1");
    }
    ui::CListUI* list = nullptr;
    CComboEditContainerElementUI* row0 = nullptr;
    CComboEditContainerElementUI* row1 = nullptr;
};

TEST_F(ComboEditElementTest, BuildsItsContentFromItsSkinFile) {
    for (CComboEditContainerElementUI* row : {row0, row1}) {
        ASSERT_NE(row->GetText1(), nullptr);
        EXPECT_EQ(row->GetText1()->GetName(), "text1");
        ASSERT_NE(row->GetText2(), nullptr);
        ASSERT_NE(row->GetDelayEdit(), nullptr);
        EXPECT_EQ(row->GetDelayEdit()->GetParent()->GetParent(), row) << "its own edit";
    }
    EXPECT_NE(row0->GetDelayEdit(), row1->GetDelayEdit());
}

TEST_F(ComboEditElementTest, PressSelectsCtrlTogglesAndReleaseReportsTheClick) {
    const QPoint inRow(row0->width() - 5, 15);
    QTest::mousePress(row0, Qt::LeftButton, {}, inRow);
    EXPECT_EQ(list->GetCurSel(), 0);
    EXPECT_TRUE(row0->IsSelected());
    EXPECT_FALSE(Take().contains("itemclick:row0")) << "the click comes with the release";
    QTest::mouseRelease(row0, Qt::LeftButton, {}, inRow);
    EXPECT_EQ(Take(), QStringList{"itemclick:row0"});

    QTest::mouseClick(row1, Qt::LeftButton, {}, inRow);
    EXPECT_EQ(list->GetCurSel(), 1);
    EXPECT_FALSE(row0->IsSelected());
    QTest::mouseClick(row1, Qt::LeftButton, Qt::ControlModifier, inRow);
    EXPECT_FALSE(row1->IsSelected()) << "Ctrl toggles a selected row off";
    EXPECT_EQ(list->GetCurSel(), -1);
    QTest::mouseClick(row1, Qt::LeftButton, Qt::ControlModifier, inRow);
    EXPECT_TRUE(row1->IsSelected()) << "and back on";
}

TEST_F(ComboEditElementTest, EnterAndDoubleClickActivate) {
    const QPoint inRow(row0->width() - 5, 15);
    QTest::mouseClick(row0, Qt::LeftButton, {}, inRow);
    Take();
    QTest::keyClick(row0, Qt::Key_Return);
    EXPECT_EQ(Take(), (QStringList{"itemactivate:row0", "return:row0"}));
    QTest::mouseDClick(row0, Qt::LeftButton, {}, inRow);
    QTest::mouseRelease(row0, Qt::LeftButton, {}, inRow);
    EXPECT_TRUE(Take().contains("itemactivate:row0"));

    row0->SetEnabled(false);
    QTest::keyClick(row0, Qt::Key_Return);
    EXPECT_FALSE(Take().contains("return:row0"));
}

TEST_F(ComboEditElementTest, MarksChangesFromItsOwnEditAndOptionsOnly) {
    EXPECT_FALSE(row0->IsChanged());
    QTest::keyClick(row1->GetDelayEdit()->GetWidget(), Qt::Key_Return);
    EXPECT_TRUE(Take().contains("return:delay_edit"));
    EXPECT_FALSE(row0->IsChanged()) << "another row's edit";
    EXPECT_TRUE(row1->IsChanged());

    QTest::keyClick(row0->GetDelayEdit()->GetWidget(), Qt::Key_Return);
    EXPECT_TRUE(row0->IsChanged());
    row0->SetChanged(false);
    QTest::mouseClick(pm->FindSubControlByName(row0, "row_check")->GetWidget(), Qt::LeftButton);
    EXPECT_TRUE(Take().contains("selectchanged:row_check"));
    EXPECT_TRUE(row0->IsChanged());
}

TEST_F(ComboEditElementTest, PointerOverTheRowMakesItHot) {
    QTest::mouseMove(row0, QPoint(row0->width() - 5, 15));
    ASSERT_TRUE(test::WaitUntil([&] { return row0->IsHot(); }));
    QTest::mouseMove(W("outside"), QPoint(5, 5));
    ASSERT_TRUE(test::WaitUntil([&] { return !row0->IsHot(); }));
}

} // namespace
