// Notifications from real user input: every input sends its notification once, with the
// control as sender; setting values from code sends nothing.

#include "support/TestEnvironment.h"
#include "ui/ButtonUI.h"
#include "ui/ColorPaletteUI.h"
#include "ui/ComboUI.h"
#include "ui/EditUI.h"
#include "ui/ListUI.h"
#include "ui/SliderUI.h"
#include "ui/WindowImplBase.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QContextMenuEvent>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using namespace ui;

const char* kSkin = R"(<Window size="360,700"><VerticalLayout name="root">
  <Button name="btn" height="24"/>
  <HorizontalLayout height="24"><Option name="optA" group="g" selected="true"/>
    <Option name="optB" group="g"/><Option name="solo"/><CheckBox name="check"/></HorizontalLayout>
  <Combo name="combo" height="24"><ListLabelElement text="zero"/><ListLabelElement text="one"/>
    <ListLabelElement text="two"/></Combo>
  <List name="list" height="90"><ListLabelElement name="row0" height="24"/>
    <ListLabelElement name="row1" height="24"/><ListLabelElement name="row2" height="24"/></List>
  <Slider name="slider" value="50" height="24"/>
  <Edit name="edit" height="24"/><RichEdit name="rich" height="60"/><Edit name="short" maxchar="3"/>
  <Edit name="ranged" numberonly="true" minvalue="10" maxvalue="50"/>
  <Edit name="upto" numberonly="true" maxvalue="100"/>
  <ColorPalette name="palette" height="80"/>
  <Control name="area" menu="true" height="20"/><Control name="plain" height="20"/>
</VerticalLayout></Window>)";

// Records every notification but the pointer's enter and leave.
class NotifyWindow : public WindowImplBase {
public:
    struct Record {
        QString type, sender, text; // text: the sender's text when the notification came
        WPARAM wParam;
        LPARAM lParam;
    };
    std::vector<Record> log;
    QString GetWindowClassName() const override { return QStringLiteral("NotifyWindow"); }
    QString GetSkinFile() override { return QStringLiteral("notify.xml"); }
    void Notify(TNotifyUI& msg) override {
        if (msg.sType != notify::msenter && msg.sType != notify::msleave)
            log.push_back({msg.sType, msg.pSender->GetName(), msg.pSender->GetText(), msg.wParam,
                           msg.lParam});
        WindowImplBase::Notify(msg);
    }
};

class NotificationTest : public ::testing::Test {
protected:
    void SetUp() override {
        env.WriteSkinFile("notify.xml", kSkin);
        ASSERT_NE(wnd.Create(nullptr, "notify", WS_VISIBLE, 0), nullptr)
            << wnd.GetSkinError().toStdString();
        wnd.GetHWND()->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(wnd.GetHWND()));
        QTest::qWait(20);
        wnd.log.clear();
    }
    // The notifications since the last call, as "type:sender type:sender ...".
    std::string Take() {
        QStringList out;
        for (const auto& r : wnd.log)
            out << r.type + QLatin1Char(':') + r.sender;
        last = std::exchange(wnd.log, {});
        return out.join(QLatin1Char(' ')).toStdString();
    }
    template <class T = CControlUI> T* Get(const char* name) {
        T* control = wnd.Find<T>(QString::fromLatin1(name));
        EXPECT_NE(control, nullptr) << name;
        return control;
    }
    QWidget* W(const char* name) { return Get(name)->GetWidget(); }

    test::ScopedEnvironment env{true};
    NotifyWindow wnd;
    std::vector<NotifyWindow::Record> last;
};

TEST_F(NotificationTest, WindowInitOnceAndWindowSizeOnResize) {
    NotifyWindow other;
    ASSERT_NE(other.Create(nullptr, "other", WS_VISIBLE, 0), nullptr);
    auto inits = [&] {
        return std::count_if(other.log.begin(), other.log.end(),
                             [](auto& r) { return r.type == notify::windowinit; });
    };
    EXPECT_EQ(inits(), 0) << "windowinit waits for the event loop";
    QTest::qWait(50);
    EXPECT_EQ(inits(), 1);
    EXPECT_EQ(other.log.back().sender, "root");

    wnd.GetHWND()->resize(400, 720);
    ASSERT_TRUE(test::WaitUntil([&] { return !wnd.log.empty(); }));
    QTest::qWait(20);
    EXPECT_EQ(Take(), "windowsize:root");
}

TEST_F(NotificationTest, ButtonsMenusAndDoubleClicks) {
    QTest::mouseClick(W("btn"), Qt::LeftButton);
    EXPECT_EQ(Take(), "click:btn");
    QTest::keyClick(W("btn"), Qt::Key_Space);
    EXPECT_EQ(Take(), "click:btn");

    // QTest's widget path makes no context menu event; send the one a right click makes.
    for (const char* name : {"area", "plain"}) {
        QTest::mouseClick(W(name), Qt::RightButton);
        QContextMenuEvent event(QContextMenuEvent::Mouse, {2, 2},
                                W(name)->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(W(name), &event);
    }
    EXPECT_EQ(Take(), "menu:area") << "only a control with menu=\"true\"";

    QTest::mouseClick(W("area"), Qt::LeftButton);
    QTest::mouseDClick(W("area"), Qt::LeftButton); // the second press of a double click
    QTest::mouseRelease(W("area"), Qt::LeftButton);
    EXPECT_EQ(Take(), "dbclick:area") << "not again from the parents";
}

TEST_F(NotificationTest, OptionsInAGroupSelectOneAndUngroupedOnesToggle) {
    auto* a = Get<COptionUI>("optA");
    auto* b = Get<COptionUI>("optB");
    QTest::mouseClick(b, Qt::LeftButton);
    EXPECT_EQ(Take(), "click:optB selectchanged:optA selectchanged:optB");
    EXPECT_TRUE(b->IsSelected() && !a->IsSelected());
    QTest::mouseClick(b, Qt::LeftButton);
    EXPECT_EQ(Take(), "click:optB") << "already selected";
    EXPECT_TRUE(b->IsSelected());

    auto* solo = Get<COptionUI>("solo");
    for (bool expected : {true, false}) {
        QTest::mouseClick(solo, Qt::LeftButton);
        EXPECT_EQ(Take(), "click:solo selectchanged:solo");
        EXPECT_EQ(solo->IsSelected(), expected);
    }
    auto* check = Get<CCheckBoxUI>("check");
    QTest::keyClick(check, Qt::Key_Space);
    EXPECT_EQ(Take(), "click:check selectchanged:check");
    EXPECT_TRUE(check->GetCheck());

    a->Selected(true, false);
    check->SetCheck(false, false);
    solo->Selected(true, false);
    EXPECT_EQ(Take(), "");
    EXPECT_FALSE(b->IsSelected()) << "the group holds for a silent selection too";
    EXPECT_FALSE(check->GetCheck());
}

TEST_F(NotificationTest, ComboSendsItemSelectOnlyWhenTheUserChoosesAnotherRow) {
    auto* combo = Get<CComboUI>("combo");
    ASSERT_TRUE(combo->SelectItem(0, false, false));
    EXPECT_EQ(Take(), "");
    QTest::keyClick(combo, Qt::Key_Down);
    ASSERT_EQ(Take(), "itemselect:combo");
    EXPECT_EQ(last[0].wParam, 1u);
    EXPECT_EQ(last[0].lParam, 0);
    EXPECT_EQ(combo->GetText(), "one");

    combo->SelectItem(2, false, false);
    EXPECT_EQ(Take(), "");
    QTest::keyClick(combo, Qt::Key_Up);
    ASSERT_EQ(Take(), "itemselect:combo") << "the drop-down follows a silent selection";
    EXPECT_EQ(last[0].wParam, 1u);
    EXPECT_EQ(last[0].lParam, 2);

    // The current row chosen again in the drop-down.
    combo->showPopup();
    ASSERT_TRUE(test::WaitUntil([&] { return combo->view()->isVisible(); }));
    QTest::keyClick(combo->view(), Qt::Key_Return);
    ASSERT_TRUE(test::WaitUntil([&] { return !combo->view()->isVisible(); }));
    EXPECT_EQ(Take(), "");
    EXPECT_EQ(combo->GetCurSel(), 1);
}

TEST_F(NotificationTest, ListRowsSendItemClickItemSelectAndItemActivate) {
    QTest::mouseClick(W("row1"), Qt::LeftButton);
    ASSERT_EQ(Take(), "itemclick:row1 itemselect:list");
    EXPECT_EQ(last[0].wParam, 1u);
    EXPECT_EQ(last[1].wParam, 1u);
    EXPECT_EQ(last[1].lParam, -1);
    QTest::mouseClick(W("row1"), Qt::LeftButton);
    EXPECT_EQ(Take(), "itemclick:row1") << "the current row again";

    QTest::mouseClick(W("row2"), Qt::LeftButton);
    QTest::mouseDClick(W("row2"), Qt::LeftButton);
    QTest::mouseRelease(W("row2"), Qt::LeftButton);
    ASSERT_EQ(Take(), "itemclick:row2 itemselect:list itemactivate:row2");
    EXPECT_EQ(last[1].wParam, 2u);
    EXPECT_EQ(last[1].lParam, 1);

    ASSERT_TRUE(Get<CListUI>("list")->SelectItem(0, false, false));
    EXPECT_EQ(Take(), "");
    QTest::mouseClick(W("row0"), Qt::LeftButton);
    EXPECT_EQ(Take(), "itemclick:row0");
}

TEST_F(NotificationTest, SliderDragMovesThenReportsOnceOnReleaseAndKeysReport) {
    auto* slider = Get<CSliderUI>("slider");
    const QPoint handle = slider->rect().center(); // at 50 of 0..100
    QTest::mousePress(slider, Qt::LeftButton, {}, handle);
    for (int dx = 10; dx <= 40; dx += 10)
        QTest::mouseMove(slider, handle + QPoint(dx, 0));
    const QStringList moves = QString::fromStdString(Take()).split(' ');
    EXPECT_GE(moves.size(), 2);
    EXPECT_EQ(moves.count("movevaluechanged:slider"), moves.size())
        << moves.join(' ').toStdString();
    QTest::mouseRelease(slider, Qt::LeftButton, {}, handle + QPoint(40, 0));
    EXPECT_EQ(Take(), "valuechanged:slider");
    EXPECT_GT(slider->GetValue(), 50);

    slider->SetValue(50);
    QTest::keyClick(slider, Qt::Key_Right);
    EXPECT_EQ(Take(), "valuechanged:slider");
    EXPECT_EQ(slider->GetValue(), 51);

    slider->SetValue(10);
    slider->SetMinValue(20);
    EXPECT_EQ(slider->GetValue(), 20);
    slider->SetValue(90);
    slider->SetMaxValue(60);
    EXPECT_EQ(slider->GetValue(), 60);
    EXPECT_EQ(Take(), "");
}

TEST_F(NotificationTest, EditsReportTypingReturnAndFocus) {
    auto* edit = Get<CEditUI>("edit");
    auto* rich = Get<CRichEditUI>("rich");
    edit->SetFocus();
    QTest::keyClicks(edit, "ab");
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(Take(), "setfocus:edit textchanged:edit textchanged:edit return:edit");
    rich->SetFocus();
    QTest::keyClicks(rich, "hi");
    EXPECT_EQ(Take(), "killfocus:edit setfocus:rich textchanged:rich textchanged:rich");
    EXPECT_EQ(rich->GetText(), "hi");

    edit->SetText("code");
    rich->SetText("code\ntext");
    EXPECT_EQ(Take(), "");

    auto* shortEdit = Get<CEditUI>("short");
    QTest::keyClicks(shortEdit, "abcdef");
    EXPECT_EQ(shortEdit->GetText(), "abc");
    EXPECT_EQ(Take(), "textchanged:short textchanged:short textchanged:short");
}

TEST_F(NotificationTest, NumberEditsRefuseLettersAndClampToTheirRangeBeforeKillFocus) {
    auto* ranged = Get<CEditUI>("ranged");
    QTest::keyClicks(ranged, "a1b");
    EXPECT_EQ(ranged->GetText(), "1");
    EXPECT_EQ(Take(), "textchanged:ranged");

    const struct {
        const char *edit, *typed, *kept;
    } cases[] = {{"ranged", "99", "50"},
                 {"ranged", "5", "10"},
                 {"ranged", "42", "42"},
                 {"upto", "500", "100"},
                 {"upto", "5", "5"}};
    for (const auto& c : cases) {
        auto* edit = Get<CEditUI>(c.edit);
        edit->SetText("");
        edit->SetFocus();
        QTest::keyClicks(edit, c.typed);
        W("btn")->setFocus();
        Take();
        ASSERT_FALSE(last.empty());
        EXPECT_EQ(last.back().type, notify::killfocus);
        EXPECT_EQ(last.back().text, c.kept) << c.edit << " typed " << c.typed;
    }
}

TEST_F(NotificationTest, PaletteReportsPickedColoursOnly) {
    auto* palette = Get<CColorPaletteUI>("palette");
    const int w = palette->width();
    QTest::mousePress(palette, Qt::LeftButton, {}, {w / 4, 10});
    EXPECT_EQ(Take(), "colorchanged:palette");
    EXPECT_NE(palette->GetSelectColor(), 0xFFFFFFFFu);
    QTest::mouseMove(palette, {w / 4, 10});
    EXPECT_EQ(Take(), "") << "the same colour again";
    QTest::mouseMove(palette, {w / 2, 10});
    QTest::mouseRelease(palette, Qt::LeftButton, {}, {w / 2, 10});
    EXPECT_EQ(Take(), "colorchanged:palette");
    QTest::mouseClick(palette, Qt::LeftButton, {}, {w / 2, palette->height() - 4}); // brightness
    EXPECT_EQ(Take(), "colorchanged:palette");

    palette->SetSelectColor(0xFF00FF00u);
    EXPECT_EQ(palette->GetSelectColor(), 0xFF00FF00u);
    EXPECT_EQ(Take(), "");
}

} // namespace
