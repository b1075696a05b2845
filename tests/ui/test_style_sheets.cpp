// The look of a built window: one style sheet on its root holds the program's sheet and the
// colours of its controls, which carry none of their own; the colours show on screen, also
// for a page built into the window later and for a colour changed afterwards. The
// application itself has no sheet, so that the desktop's dialogs keep the desktop's look.

#include "support/TestEnvironment.h"
#include "ui/ButtonUI.h"
#include "ui/ContainerUI.h"
#include "ui/DialogBuilder.h"
#include "ui/PaintManagerUI.h"

#include <QApplication>
#include <QLayout>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

using namespace ui;

// The colour on screen at the middle of a control, as its window shows it.
QRgb CentreColour(QWidget* w) {
    QWidget* window = w->window();
    const QImage image = window->grab().toImage();
    const QPoint centre = w->mapTo(window, w->rect().center());
    return image.pixel(centre) | 0xFF000000u;
}

class StyleSheetTest : public ::testing::Test {
protected:
    void SetUp() override {
        CPaintManagerUI::SetStyleSheet(QStringLiteral("QPushButton { border: none; }"));
        CDialogBuilder builder;
        root = builder.CreateFromText(QStringLiteral(R"(<Window size="300,200">
  <VerticalLayout name="root" bkcolor="#FF101010">
    <Button name="red" bkcolor="#FFC01010" height="40"/>
    <HorizontalLayout name="row" height="40"><Button name="blue" bkcolor="#FF1010C0"/></HorizontalLayout>
  </VerticalLayout></Window>)"),
                                      QStringLiteral("t.xml"), nullptr, &pm);
        ASSERT_NE(root, nullptr) << builder.GetLastError().toStdString();
        host.setLayout(new QVBoxLayout);
        host.layout()->setContentsMargins(0, 0, 0, 0);
        host.layout()->addWidget(root->GetWidget());
        pm.AttachRoot(root, &host);
        host.resize(300, 200);
        host.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    }
    void TearDown() override { CPaintManagerUI::SetStyleSheet({}); }
    QWidget* W(const char* name) { return pm.FindControl(QLatin1String(name))->GetWidget(); }

    CPaintManagerUI pm;
    QWidget host;
    CControlUI* root = nullptr;
};

TEST_F(StyleSheetTest, TheRootCarriesTheOnlySheetAndEveryColourShows) {
    EXPECT_TRUE(qApp->styleSheet().isEmpty());
    EXPECT_TRUE(root->GetWidget()->styleSheet().startsWith(CPaintManagerUI::GetStyleSheet()));
    for (CControlUI* control : pm.GetControls()) {
        if (control != root) {
            EXPECT_TRUE(control->GetWidget()->styleSheet().isEmpty())
                << control->GetName().toStdString();
        }
    }
    EXPECT_EQ(CentreColour(W("red")), qRgb(0xC0, 0x10, 0x10));
    EXPECT_EQ(CentreColour(W("blue")), qRgb(0x10, 0x10, 0xC0));
}

TEST_F(StyleSheetTest, APageBuiltIntoTheWindowLaterSharesOneSheetToo) {
    CDialogBuilder builder;
    CControlUI* page =
        builder.CreateFromText(QStringLiteral(R"(<VerticalLayout name="page" height="80">
  <Button name="green" bkcolor="#FF10C010" height="40"/><Button name="grey" bkcolor="#FF808080"/>
</VerticalLayout>)"),
                               QStringLiteral("page.xml"), nullptr, &pm, root);
    ASSERT_NE(page, nullptr) << builder.GetLastError().toStdString();
    QTest::qWait(20);
    EXPECT_TRUE(W("green")->styleSheet().isEmpty());
    EXPECT_TRUE(W("grey")->styleSheet().isEmpty());
    EXPECT_EQ(CentreColour(W("green")), qRgb(0x10, 0xC0, 0x10));
    EXPECT_EQ(CentreColour(W("grey")), qRgb(0x80, 0x80, 0x80));
}

// A custom tag whose panel the callback builds from a file of its own, as the program's panels.
struct PanelCallback : IDialogBuilderCallback {
    CPaintManagerUI* pm = nullptr;
    CControlUI* CreateControl(const QString& tag) override {
        if (tag != QLatin1String("Panel"))
            return nullptr;
        CDialogBuilder builder;
        return builder.CreateFromText(
            QStringLiteral(R"(<HorizontalLayout name="panel" bkcolor="#FF303030">
  <Button name="yellow" bkcolor="#FFC0C010" width="40"/></HorizontalLayout>)"),
            QStringLiteral("panel.xml"), nullptr, pm);
    }
};

TEST_F(StyleSheetTest, APanelBuiltInsideAPageJoinsThePagesSheet) {
    PanelCallback callback;
    callback.pm = &pm;
    CDialogBuilder builder;
    CControlUI* page = builder.CreateFromText(
        QStringLiteral(
            R"(<VerticalLayout name="page" height="80"><Panel height="40"/></VerticalLayout>)"),
        QStringLiteral("page.xml"), &callback, &pm, root);
    ASSERT_NE(page, nullptr) << builder.GetLastError().toStdString();
    QTest::qWait(20);
    EXPECT_TRUE(W("panel")->styleSheet().isEmpty());
    EXPECT_TRUE(W("yellow")->styleSheet().isEmpty());
    EXPECT_EQ(CentreColour(W("yellow")), qRgb(0xC0, 0xC0, 0x10));
}

TEST_F(StyleSheetTest, AColourChangedAfterTheBuildReplacesTheBuiltOne) {
    auto* red = pm.FindControl(QStringLiteral("red"));
    red->SetBkColor(0xFF10C0C0);
    EXPECT_EQ(CentreColour(red->GetWidget()), qRgb(0x10, 0xC0, 0xC0));
    // Without a colour of its own it shows the root's background, not the built colour.
    red->SetBkColor(0);
    EXPECT_EQ(CentreColour(red->GetWidget()), qRgb(0x10, 0x10, 0x10));
    // The root's own background is part of the window's sheet.
    root->SetBkColor(0xFF203040);
    EXPECT_EQ(CentreColour(red->GetWidget()), qRgb(0x20, 0x30, 0x40));
    EXPECT_EQ(CentreColour(W("blue")), qRgb(0x10, 0x10, 0xC0));
}

} // namespace
