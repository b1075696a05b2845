// The mouse capture: the buttons the program receives, in the form the macro recorder reads,
// each once, and nothing else.

#include "platform/MouseCapture.h"

#include <QTest>
#include <QWheelEvent>
#include <QWindow>
#include <cstring>
#include <gtest/gtest.h>
#include <vector>

namespace {

using namespace platform;

struct Captured {
    unsigned message = 0;
    MouseHookRecord record;
};

class MouseCaptureTest : public ::testing::Test {
protected:
    void SetUp() override {
        window.setGeometry(120, 80, 300, 200);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    void StartCapture() {
        ASSERT_TRUE(capture.Start(&window, [this](unsigned message, const MouseHookRecord& r) {
            log.push_back({message, r});
        }));
    }
    std::vector<unsigned> Messages() const {
        std::vector<unsigned> messages;
        for (const Captured& c : log)
            messages.push_back(c.message);
        return messages;
    }

    QWindow window;
    MouseCapture capture;
    std::vector<Captured> log;
};

TEST_F(MouseCaptureTest, EveryButtonGivesItsMessagesAndARecordAtTheScreenPosition) {
    StartCapture();
    struct Case {
        Qt::MouseButton button;
        unsigned down, up;
        std::uint16_t extra;
    };
    const Case cases[] = {
        {Qt::LeftButton, kMsgLeftButtonDown, kMsgLeftButtonUp, 0},
        {Qt::RightButton, kMsgRightButtonDown, kMsgRightButtonUp, 0},
        {Qt::MiddleButton, kMsgMiddleButtonDown, kMsgMiddleButtonUp, 0},
        {Qt::BackButton, kMsgExtraButtonDown, kMsgExtraButtonUp, kFirstExtraButton},
        {Qt::ForwardButton, kMsgExtraButtonDown, kMsgExtraButtonUp, kSecondExtraButton},
    };
    const QPoint at(37, 21);
    const QPoint screen = window.mapToGlobal(at);
    ASSERT_NE(screen, at) << "the window must not sit at the screen's origin";
    for (const Case& c : cases) {
        log.clear();
        QTest::mousePress(&window, c.button, {}, at);
        QTest::mouseRelease(&window, c.button, {}, at);
        ASSERT_EQ(Messages(), (std::vector<unsigned>{c.down, c.up})) << c.button;
        for (const Captured& captured : log) {
            EXPECT_EQ(captured.record.x, screen.x());
            EXPECT_EQ(captured.record.y, screen.y());
            EXPECT_EQ(captured.record.mouseData, std::uint32_t{c.extra} << 16) << c.button;
            EXPECT_EQ(captured.record.hitTestCode, kHitClient);
            EXPECT_EQ(captured.record.window, static_cast<std::uint32_t>(window.winId()));
        }
    }
    // The field the recorder reads the extra button from sits at byte 20.
    const MouseHookRecord& last = log.back().record;
    std::uint32_t atTwenty = 0;
    std::memcpy(&atTwenty, reinterpret_cast<const char*>(&last) + 20, sizeof atTwenty);
    EXPECT_EQ(atTwenty >> 16, kSecondExtraButton);
}

TEST_F(MouseCaptureTest, ADoubleClickIsOnePressAndMovesWheelAndOtherButtonsAreNotReported) {
    StartCapture();
    QTest::mouseDClick(&window, Qt::LeftButton, {}, {10, 10});
    EXPECT_EQ(Messages(), (std::vector<unsigned>{kMsgLeftButtonDown, kMsgLeftButtonUp,
                                                 kMsgLeftButtonDown, kMsgLeftButtonUp}));
    log.clear();
    QTest::mouseMove(&window, {50, 60});
    QWheelEvent wheel({50, 60}, window.mapToGlobal(QPointF(50, 60)), {}, {0, 120}, Qt::NoButton, {},
                      Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&window, &wheel);
    QTest::mouseClick(&window, Qt::ExtraButton3, {}, {50, 60});
    EXPECT_TRUE(log.empty());
}

TEST_F(MouseCaptureTest, ButtonsAreLeftToTheWindowAndNothingIsReportedOnceStopped) {
    struct ButtonWindow : QWindow {
        int presses = 0;
        void mousePressEvent(QMouseEvent*) override { ++presses; }
    } target;
    target.setGeometry(500, 80, 100, 100);
    target.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&target));
    // A capture through one window takes the buttons of every window of the program.
    StartCapture();
    QTest::mouseClick(&target, Qt::LeftButton, {}, {5, 5});
    EXPECT_EQ(target.presses, 1);
    EXPECT_EQ(log.size(), 2u);

    // The sink may end the capture; the release after it is not reported.
    capture.Start(&window, [this](unsigned message, const MouseHookRecord& record) {
        log.push_back({message, record});
        capture.Stop();
    });
    log.clear();
    QTest::mouseClick(&target, Qt::RightButton, {}, {5, 5});
    EXPECT_EQ(Messages(), (std::vector<unsigned>{kMsgRightButtonDown}));
    EXPECT_FALSE(capture.IsRunning());
    QTest::mouseClick(&target, Qt::LeftButton, {}, {5, 5});
    EXPECT_EQ(log.size(), 1u);
    EXPECT_EQ(target.presses, 3);

    EXPECT_FALSE(capture.Start(nullptr, [](unsigned, const MouseHookRecord&) {}));
    EXPECT_FALSE(capture.Start(&window, nullptr));
    EXPECT_FALSE(capture.IsRunning());
}

} // namespace
