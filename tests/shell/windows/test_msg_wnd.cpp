// ShowMessage driven by real clicks: the result of every button and of the window manager's
// close, which buttons show, texts resolved through the language table, the DPI, and the
// window going away once it has ended.

#include "shell/windows/MsgWnd.h"
#include "support/TestEnvironment.h"
#include "ui/ResourceManager.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

using shell::ShowMessage;

QWidget* OpenMessageWindow() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == QLatin1String("MsgWnd") && w->isVisible())
            return w;
    }
    return nullptr;
}

class MsgWndTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(ui::CResourceManager::GetInstance().LoadResource("res.xml"));
        ASSERT_TRUE(ui::CResourceManager::GetInstance().LoadLanguage("lan_en.xml"));
    }
    void TearDown() override {
        ui::CResourceManager::GetInstance().LoadLanguage("lan_en.xml");
        ui::CResourceManager::GetInstance().ReloadText();
    }

    // Once the message window is up: runs `inspect` on it, then clicks `button` (or, when
    // empty, closes the window as the window manager does).
    static void WhenOpen(const std::function<void(QWidget*)>& inspect, const QString& button) {
        QTimer::singleShot(0, [inspect, button] {
            QWidget* wnd = OpenMessageWindow();
            if (!wnd) {
                ADD_FAILURE() << "no message window";
                return;
            }
            if (inspect)
                inspect(wnd);
            if (button.isEmpty()) {
                wnd->close();
                return;
            }
            auto* target = wnd->findChild<QPushButton*>(button);
            if (!target || !target->isVisible()) {
                ADD_FAILURE() << "no visible " << button.toStdString();
                wnd->close();
                return;
            }
            QTest::mouseClick(target, Qt::LeftButton);
        });
    }
    static QString LabelText(QWidget* wnd, const char* name) {
        auto* label = wnd->findChild<QLabel*>(name);
        return label ? label->text() : QStringLiteral("<missing %1>").arg(name);
    }

    test::ScopedEnvironment env;
};

TEST_F(MsgWndTest, EachButtonEndsTheMessageWithItsResult) {
    struct Case {
        int buttons;
        const char* click;
        int result;
    };
    for (const Case& c :
         {Case{0, "confirm_btn", 1}, Case{0, "closebtn", 0}, Case{1, "confirm_btn", 1},
          Case{1, "cancel_btn", 0}, Case{1, "closebtn", 0}}) {
        SCOPED_TRACE(testing::Message() << "buttons " << c.buttons << ", " << c.click);
        WhenOpen(nullptr, c.click);
        EXPECT_EQ(ShowMessage(nullptr, {}, "message_text_7", 96, true, c.buttons), c.result);
    }
}

TEST_F(MsgWndTest, EscapeCancelsAndEnterConfirms) {
    struct Case {
        int buttons;
        Qt::Key key;
        int result;
    };
    for (const Case& c :
         {Case{1, Qt::Key_Escape, 0}, Case{1, Qt::Key_Return, 1}, Case{1, Qt::Key_Enter, 1},
          Case{0, Qt::Key_Escape, 0}, Case{0, Qt::Key_Return, 1}}) {
        SCOPED_TRACE(testing::Message() << "buttons " << c.buttons << ", key " << c.key);
        QTimer::singleShot(0, [key = c.key] {
            QWidget* wnd = OpenMessageWindow();
            if (!wnd) {
                ADD_FAILURE() << "no message window";
                return;
            }
            // Where the focus is in the window: on the window or on one of its buttons.
            QWidget* target = wnd->focusWidget() ? wnd->focusWidget() : wnd;
            // The window deletes itself once it has ended, possibly while the wait runs.
            QPointer<QWidget> alive = wnd;
            QTest::keyClick(target, key);
            if (!QTest::qWaitFor([&] { return !alive || !alive->isVisible(); }))
                alive->close(); // not ended by the key: end it, the result tells
        });
        EXPECT_EQ(ShowMessage(nullptr, {}, "message_text_22", 96, true, c.buttons), c.result);
    }
}

TEST_F(MsgWndTest, TheWindowManagersCloseAnswersZero) {
    WhenOpen(nullptr, {});
    EXPECT_EQ(ShowMessage(nullptr, {}, "message_text_22", 96, true, 1), 0);
}

TEST_F(MsgWndTest, ANoticeShowsOnlyOkAndAQuestionShowsOkAndCancel) {
    bool confirm = false, cancel = true;
    WhenOpen(
        [&](QWidget* wnd) {
            confirm = wnd->findChild<QPushButton*>("confirm_btn")->isVisible();
            cancel = wnd->findChild<QPushButton*>("cancel_btn")->isVisible();
        },
        "confirm_btn");
    ShowMessage(nullptr, {}, "message_text_5", 96, true, 0);
    EXPECT_TRUE(confirm);
    EXPECT_FALSE(cancel);

    WhenOpen(
        [&](QWidget* wnd) {
            confirm = wnd->findChild<QPushButton*>("confirm_btn")->isVisible();
            cancel = wnd->findChild<QPushButton*>("cancel_btn")->isVisible();
        },
        "cancel_btn");
    ShowMessage(nullptr, {}, "message_text_22", 96, true, 1);
    EXPECT_TRUE(confirm);
    EXPECT_TRUE(cancel);
}

TEST_F(MsgWndTest, AnIdTextFollowsTheLanguageAndAPlainTextStaysAsGiven) {
    QString english, chinese, plain, title, ownTitle;
    WhenOpen(
        [&](QWidget* wnd) {
            english = LabelText(wnd, "MessageText");
            ownTitle = LabelText(wnd, "MessageTitle");
            // The id is resolved whenever the text is shown: a language switch shows the new one.
            ui::CResourceManager::GetInstance().LoadLanguage("lan_cn.xml");
            ui::CResourceManager::GetInstance().ReloadText();
            chinese = LabelText(wnd, "MessageText");
        },
        "confirm_btn");
    ShowMessage(nullptr, {}, "message_text_22", 96, true, 1);
    EXPECT_EQ(english.toStdString(), "Restore the default settings?");
    EXPECT_EQ(chinese, QStringLiteral("恢复默认设置？"));
    EXPECT_EQ(ownTitle.toStdString(), "Notice") << "an empty title leaves the skin's title";

    WhenOpen(
        [&](QWidget* wnd) {
            plain = LabelText(wnd, "MessageText");
            title = LabelText(wnd, "MessageTitle");
        },
        "confirm_btn");
    ShowMessage(nullptr, "Firmware", "The device did not answer (error 5).", 96, false, 0);
    EXPECT_EQ(plain.toStdString(), "The device did not answer (error 5).");
    EXPECT_EQ(title.toStdString(), "Firmware");
}

TEST_F(MsgWndTest, AnEmptyTextLeavesTheSkinsText) {
    QString text = "unset";
    WhenOpen([&](QWidget* wnd) { text = LabelText(wnd, "MessageText"); }, "confirm_btn");
    ShowMessage(nullptr, {}, {}, 96, true, 0);
    EXPECT_EQ(text, QString());
}

TEST_F(MsgWndTest, KnownDpiValuesScaleTheWindowAndOthersFallBackTo96) {
    QSize at96, at144, at100;
    WhenOpen([&](QWidget* wnd) { at96 = wnd->size(); }, "confirm_btn");
    ShowMessage(nullptr, {}, "message_text_7", 96, true, 0);
    WhenOpen([&](QWidget* wnd) { at144 = wnd->size(); }, "confirm_btn");
    ShowMessage(nullptr, {}, "message_text_7", 144, true, 0);
    WhenOpen([&](QWidget* wnd) { at100 = wnd->size(); }, "confirm_btn");
    ShowMessage(nullptr, {}, "message_text_7", 100, true, 0);
    ASSERT_TRUE(at96.isValid());
    EXPECT_EQ(at144, at96 * 1.5);
    EXPECT_EQ(at100, at96) << "an unknown DPI is taken as 96";
}

TEST_F(MsgWndTest, TheWindowGoesAwayOnceItHasEnded) {
    QPointer<QWidget> host;
    bool seen = false;
    WhenOpen(
        [&](QWidget* wnd) {
            host = wnd;
            seen = true;
        },
        "confirm_btn");
    ShowMessage(nullptr, {}, "message_text_7", 96, true, 0);
    ASSERT_TRUE(seen);
    EXPECT_TRUE(test::WaitUntil([&] {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return host.isNull();
    }));
    EXPECT_EQ(OpenMessageWindow(), nullptr);
}

} // namespace
