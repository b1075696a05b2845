// The about window: the version line in the current language, one window at a time, the
// caption buttons, reloading texts on UM_SET_LANGUAGE, and the window manager's close closing
// only this window.

#include "shell/Messages.h"
#include "shell/windows/AboutWnd.h"
#include "support/QuitSpy.h"
#include "support/TestEnvironment.h"
#include "ui/ResourceManager.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

using shell::RunAboutWindow;

class AboutWndTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(ui::CResourceManager::GetInstance().LoadResource("res.xml"));
        ASSERT_TRUE(ui::CResourceManager::GetInstance().LoadLanguage("lan_en.xml"));
        ui::CResourceManager::GetInstance().ReloadText();
    }
    void TearDown() override {
        ui::CResourceManager::GetInstance().LoadLanguage("lan_en.xml");
        ui::CResourceManager::GetInstance().ReloadText();
    }

    // Runs the about window; `whileOpen` gets the window once it is up and must end it.
    bool Run(const std::function<void(ui::CWindowWnd*)>& whileOpen) {
        ui::CWindowWnd* current = nullptr;
        QTimer::singleShot(0, [&] {
            if (!current) {
                ADD_FAILURE() << "the about window did not open";
                return;
            }
            whileOpen(current);
        });
        return RunAboutWindow(nullptr, [&](ui::CWindowWnd* wnd) {
            current = wnd;
            opened.push_back(wnd);
        });
    }
    static void Click(ui::CWindowWnd* wnd, const char* name) {
        auto* button = wnd->GetHWND()->findChild<QPushButton*>(name);
        ASSERT_NE(button, nullptr) << name;
        ASSERT_TRUE(button->isVisible()) << name;
        QTest::mouseClick(button, Qt::LeftButton);
    }
    static QString Text(ui::CWindowWnd* wnd, const char* name) {
        auto* label = wnd->GetHWND()->findChild<QLabel*>(name);
        return label ? label->text() : QString();
    }
    static bool Shown(ui::CWindowWnd* wnd, const char* name) {
        auto* w = wnd->GetHWND()->findChild<QWidget*>(name);
        return w && w->isVisible();
    }

    test::ScopedEnvironment env;
    std::vector<ui::CWindowWnd*> opened;
};

TEST_F(AboutWndTest, TheVersionLineIsTheLanguagesPrefixAndTheApplicationVersion) {
    EXPECT_EQ(shell::ApplicationVersion().toStdString(), "V0100");
    QString english;
    EXPECT_TRUE(Run([&](ui::CWindowWnd* wnd) {
        english = Text(wnd, "software_ver_label");
        Click(wnd, "closebtn");
    }));
    EXPECT_EQ(english.toStdString(), "Software version: V0100");

    ui::CResourceManager::GetInstance().LoadLanguage("lan_cn.xml");
    QString chinese;
    Run([&](ui::CWindowWnd* wnd) {
        chinese = Text(wnd, "software_ver_label");
        Click(wnd, "closebtn");
    });
    EXPECT_EQ(chinese, QStringLiteral("软件版本：V0100"));
    ASSERT_EQ(opened.size(), 4u) << "opened and cleared, twice";
    EXPECT_NE(opened[0], nullptr);
    EXPECT_EQ(opened[1], nullptr);
}

TEST_F(AboutWndTest, OpeningItAgainWhileItIsOpenDoesNothing) {
    bool second = true;
    std::size_t callsBefore = 0, callsAfter = 0;
    EXPECT_TRUE(Run([&](ui::CWindowWnd* wnd) {
        callsBefore = opened.size();
        second = RunAboutWindow(nullptr, [&](ui::CWindowWnd* w) { opened.push_back(w); });
        callsAfter = opened.size();
        Click(wnd, "closebtn");
    }));
    EXPECT_FALSE(second);
    EXPECT_EQ(callsAfter, callsBefore);
    // Once closed it opens again.
    EXPECT_TRUE(Run([&](ui::CWindowWnd* wnd) { Click(wnd, "closebtn"); }));
}

TEST_F(AboutWndTest, MaximiseAndRestoreSwapTheirButtons) {
    bool maxShown = false, restoreShown = true, maximised = false;
    bool maxAfter = false, restoreAfter = true, minimised = false;
    Run([&](ui::CWindowWnd* wnd) {
        Click(wnd, "maxbtn");
        maximised = wnd->GetHWND()->isMaximized();
        maxShown = Shown(wnd, "maxbtn");
        restoreShown = Shown(wnd, "restorebtn");
        Click(wnd, "restorebtn");
        maxAfter = Shown(wnd, "maxbtn");
        restoreAfter = Shown(wnd, "restorebtn");
        Click(wnd, "menubtn");
        Click(wnd, "homepage_btn");
        Click(wnd, "minbtn");
        minimised = wnd->GetHWND()->isMinimized();
        wnd->Close(0);
    });
    EXPECT_TRUE(maximised);
    EXPECT_FALSE(maxShown);
    EXPECT_TRUE(restoreShown);
    EXPECT_TRUE(maxAfter);
    EXPECT_FALSE(restoreAfter);
    EXPECT_TRUE(minimised);
}

TEST_F(AboutWndTest, SetLanguageReloadsItsTexts) {
    QString before, after;
    Run([&](ui::CWindowWnd* wnd) {
        before = Text(wnd, "about_title");
        // A new language without the toolkit's own reload: the message refreshes the window.
        ui::CResourceManager::GetInstance().LoadLanguage("lan_cn.xml");
        wnd->SendMessage(shell::UM_SET_LANGUAGE, 0, 0);
        after = Text(wnd, "about_title");
        Click(wnd, "closebtn");
    });
    EXPECT_EQ(before.toStdString(), "About");
    EXPECT_EQ(after, QStringLiteral("关于"));
}

using test::QuitSpy;

TEST_F(AboutWndTest, TheWindowManagersCloseClosesOnlyTheWindow) {
    QuitSpy spy;
    bool stillOpen = true;
    EXPECT_TRUE(Run([&](ui::CWindowWnd* wnd) {
        wnd->GetHWND()->close();
        QCoreApplication::sendPostedEvents();
        stillOpen = wnd->IsWindowVisible();
        if (stillOpen)
            wnd->Close(0);
    }));
    EXPECT_FALSE(stillOpen);
    EXPECT_EQ(spy.quits, 0);
}

} // namespace
