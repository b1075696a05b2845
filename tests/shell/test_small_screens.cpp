// The main window on small screens (the offscreen platform with a 1366 x 768 and a
// 1024 x 600 screen): at the 1000 x 640 layout nothing is cut (device names, the profile
// menu, key labels), and on the 1024 x 600 screen the window fits the screen's available
// area and still cuts nothing, the keyboard's settings page included.

#include "MainWindowFixture.h"
#include "shell/controls/DeviceKeyButtonUI.h"
#include "shell/keyset/KeySetControlUI.h"
#include "shell/keyset/KeySetRoutes.h"
#include "ui/ComboUI.h"

#include <QAbstractButton>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

namespace {

using test::MainWindowTest;

class SmallScreenTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        ASSERT_EQ(QGuiApplication::screens().size(), 2) << "run with the small-screen setup";
        for (sim::VirtualProduct product : sim::DefaultDemoProducts()) {
            boards.push_back(sim::MakeVirtualDevice(product));
            devices.Plug(boards.back());
        }
        ASSERT_TRUE(test::WaitUntil([&] { return wnd->ConnectedCount() == boards.size(); }));
        // Timer 1011 applies the DPI rule 100 ms after start.
        ASSERT_TRUE(test::WaitUntil([&] { return Host()->size() == QSize(1000, 640); }));
        Click("profile_fun_spread_btn");
        QTest::qWait(20);
    }
    // Everything the user reads is whole: device names, the profile name box, key labels.
    void ExpectNothingCut() {
        for (QLabel* label : Host()->findChildren<QLabel*>("device_select_name")) {
            if (label->isVisible()) {
                EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width())
                    << label->text().toStdString();
            }
        }
        QWidget* edit = wnd->Find("device_profile_name_edit")->GetWidget();
        QWidget* rename = wnd->Find("device_profile_edit_save_btn")->GetWidget();
        ASSERT_TRUE(edit->isVisible());
        const QRect editRect(edit->mapTo(Host(), QPoint()), edit->size());
        const QRect renameRect(rename->mapTo(Host(), QPoint()), rename->size());
        EXPECT_FALSE(editRect.intersects(renameRect));
        EXPECT_LE(rename->mapTo(Host(), QPoint(rename->width(), 0)).x(), Host()->width());
        int keys = 0;
        for (auto* key : Host()->findChildren<shell::CDeviceKeyButtonUI*>()) {
            if (!key->isVisible() || key->text().isEmpty())
                continue;
            ++keys;
            EXPECT_LE(QFontMetrics(key->font()).horizontalAdvance(key->text()), key->width() - 2)
                << key->GetName().toStdString() << " " << key->text().toStdString();
        }
        EXPECT_GT(keys, 100);
    }
    QRect InWindow(const char* name) {
        QWidget* w = wnd->Find(name)->GetWidget();
        return {w->mapTo(Host(), QPoint()), w->size()};
    }
    std::vector<std::shared_ptr<sim::VirtualDevice>> boards;
};

TEST_F(SmallScreenTest, AtTheLaptopLayoutNothingIsCut) {
    EXPECT_EQ(wnd->GetDPI(), 96);
    ExpectNothingCut();
}

TEST_F(SmallScreenTest, OnA1024By600ScreenTheWindowFitsAndNothingIsCut) {
    QScreen* netbook = QGuiApplication::screenAt({1366 + 10, 10});
    ASSERT_NE(netbook, nullptr);
    Host()->move(netbook->geometry().topLeft() + QPoint(10, 10));
    Host()->windowHandle()->setScreen(netbook);
    wnd->SendMessage(ui::WM_DISPLAYCHANGE, 0, 0);
    QTest::qWait(20);
    EXPECT_TRUE(netbook->availableGeometry().contains(Host()->frameGeometry()))
        << Host()->frameGeometry().x() << "," << Host()->frameGeometry().y() << " "
        << Host()->frameGeometry().width() << " x " << Host()->frameGeometry().height();
    ExpectNothingCut();

    // The key assignment panel with its tallest function stands below the keys, not over them.
    Click("key_Op_tab");
    Click("key_64");
    auto* panel = wnd->KeySet()->PanelOf(wnd->CurrentDevice());
    ASSERT_NE(panel, nullptr);
    ASSERT_TRUE(wnd->Find<ui::CComboUI>("keyset_function_combo")
                    ->SelectItem(panel->FunctionItem(shell::keyset::kFunctionKeyboardKey)));
    QTest::qWait(20);
    const QRect keys = InWindow("device_key_light");
    const QRect assignment = InWindow("keyset_layout");
    EXPECT_FALSE(keys.intersects(assignment));
    EXPECT_LE(assignment.bottom(), InWindow("status_bar").top());
}

TEST_F(SmallScreenTest, OnA1024By600ScreenTheKeyboardSettingsPageIsWhole) {
    QScreen* netbook = QGuiApplication::screenAt({1366 + 10, 10});
    ASSERT_NE(netbook, nullptr);
    Host()->move(netbook->geometry().topLeft() + QPoint(10, 10));
    Host()->windowHandle()->setScreen(netbook);
    wnd->SendMessage(ui::WM_DISPLAYCHANGE, 0, 0);
    Click("system_Op_tab");
    QTest::qWait(20);
    ui::CControlUI* page = wnd->Find("keyboard_system_page");
    ASSERT_NE(page, nullptr);
    ASSERT_TRUE(page->GetWidget()->isVisible());
    const QRect pageRect = InWindow("keyboard_system_page");
    EXPECT_LE(pageRect.right(), Host()->width());
    EXPECT_LE(pageRect.bottom(), InWindow("status_bar").top());
    int shown = 0;
    for (QAbstractButton* button : page->GetWidget()->findChildren<QAbstractButton*>()) {
        if (!button->isVisible())
            continue;
        ++shown;
        const QRect r(button->mapTo(Host(), QPoint()), button->size());
        EXPECT_TRUE(pageRect.contains(r)) << button->objectName().toStdString();
        EXPECT_LE(button->fontMetrics().horizontalAdvance(button->text()), button->width() - 4)
            << button->objectName().toStdString();
    }
    EXPECT_EQ(shown, 12) << "four rates, three switches, four delays and the reset";
    for (QLabel* label : page->GetWidget()->findChildren<QLabel*>()) {
        EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width())
            << label->text().toStdString();
    }
}

} // namespace
