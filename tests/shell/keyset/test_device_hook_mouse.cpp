// The mouse half of the input capture: while the macro recorder's flags are active, every
// mouse button reaches the target window as the flag's mouse message, in input order with
// the keys, while the program's own controls still get their clicks.

#include "macro/MacroRecorder.h"
#include "platform/MouseHookRecord.h"
#include "shell/keyset/DeviceHook.h"
#include "shell/keyset/HookMessages.h"
#include "support/TestEnvironment.h"
#include "ui/WindowImplBase.h"

#include <QKeyEvent>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>
#include <linux/input-event-codes.h>
#include <memory>
#include <optional>
#include <vector>

namespace {

using namespace shell::keyset;
using platform::MouseHookRecord;

struct Delivered {
    ui::UINT message = 0; // the hook message
    ui::WPARAM wParam = 0;
    MouseHookRecord mouse;   // for a mouse message
    std::uint32_t keyVk = 0; // for a keyboard message
    bool operator==(const Delivered& o) const {
        return message == o.message && wParam == o.wParam && keyVk == o.keyVk;
    }
};

// Logs the hook messages it is sent and the clicks of its buttons; hands mouse buttons to a
// recorder when one is set.
class HookTargetWindow : public ui::WindowImplBase {
public:
    std::vector<Delivered> log;
    std::vector<QString> clicks;
    macro::MacroRecorder* recorder = nullptr;
    macro::Milliseconds now = 0;

    QString GetWindowClassName() const override { return QStringLiteral("HookTargetWnd"); }

protected:
    QString GetSkinFile() override { return QStringLiteral("hook_target.xml"); }
    void Notify(ui::TNotifyUI& msg) override {
        if (msg.sType == ui::notify::click)
            clicks.push_back(msg.pSender->GetName());
        WindowImplBase::Notify(msg);
    }
    ui::LRESULT HandleCustomMessage(ui::UINT msg, ui::WPARAM wParam, ui::LPARAM lParam,
                                    bool& handled) override {
        for (unsigned flag : {kCaptureMacroAppend, kCaptureMacroBefore, kCaptureMacroAfter,
                              kCaptureMacroReplace, kCaptureSingleKey}) {
            if (msg == MouseMessageOfFlag(flag)) {
                const auto& record = *reinterpret_cast<const MouseHookRecord*>(lParam);
                log.push_back({msg, wParam, record, 0});
                if (recorder)
                    recorder->OnHookMouse(static_cast<unsigned>(wParam), record.mouseData,
                                          {record.x, record.y}, now);
                handled = true;
            } else if (msg == KeyboardMessageOfFlag(flag)) {
                const auto& record = *reinterpret_cast<const platform::KeyboardHookRecord*>(lParam);
                log.push_back({msg, wParam, {}, record.vkCode});
                handled = true;
            }
        }
        return 0;
    }
};

class DeviceHookMouseTest : public ::testing::Test {
protected:
    void SetUp() override {
        env.WriteSkinFile("hook_target.xml", R"(<Window size="400,300"><VerticalLayout>
  <Control height="100"/>
  <HorizontalLayout height="40"><Control width="150"/>
    <Button name="macro_btn_stopredio" width="80"/><Control/></HorizontalLayout>
  <Control/>
</VerticalLayout></Window>)");
        ASSERT_NE(window.Create(nullptr, "hook", ui::WS_POPUP | ui::WS_VISIBLE, 0, 60, 40), nullptr)
            << window.GetSkinError().toStdString();
        window.ShowWindow(true);
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.GetHWND()));
        native = window.GetHWND()->windowHandle();
        ASSERT_NE(native, nullptr);
        stop = window.Find(QStringLiteral("macro_btn_stopredio"))->GetWidget();
    }

    // The centre of the stop button and a point beside it, in window coordinates.
    QPoint OnStop() const { return stop->mapTo(window.GetHWND(), stop->rect().center()); }
    QPoint BesideStop() const { return OnStop() + QPoint(0, 60); }
    // A button pressed and released as the window system delivers it.
    void Click(Qt::MouseButton button, QPoint at) { QTest::mouseClick(native, button, {}, at); }
    void Key(int linuxCode, bool press) {
        QKeyEvent event(press ? QEvent::KeyPress : QEvent::KeyRelease, Qt::Key_unknown,
                        Qt::NoModifier, static_cast<quint32>(linuxCode + 8), 0, 0);
        QCoreApplication::sendEvent(native, &event);
    }
    std::vector<unsigned> MouseMessages() const {
        std::vector<unsigned> messages;
        for (const Delivered& d : window.log)
            messages.push_back(static_cast<unsigned>(d.wParam));
        return messages;
    }

    test::ScopedEnvironment env{true};
    HookTargetWindow window;
    QWindow* native = nullptr;
    QWidget* stop = nullptr;
    CDeviceHook hook;
};

TEST_F(DeviceHookMouseTest, EachRecordingFlagSendsItsMouseMessage) {
    const std::pair<unsigned, const char*> flags[] = {
        {kCaptureMacroAppend, "WM_HOOK_KEY_MSMACRO_MSG"},
        {kCaptureMacroBefore, "WM_HOOK_KEY_MSMACROPREVIOUS_MSG"},
        {kCaptureMacroAfter, "WM_HOOK_KEY_MSMACROLATER_MSG"},
        {kCaptureMacroReplace, "WM_HOOK_KEY_MSMACROSINGLE_MSG"},
    };
    for (const auto& [flag, name] : flags) {
        ASSERT_NE(MouseMessageOfFlag(flag), 0u);
        EXPECT_EQ(MouseMessageOfFlag(flag), HookMessage(name));
        window.log.clear();
        ASSERT_TRUE(hook.SetCaptureHook(0, flag, &window, true, true));
        EXPECT_TRUE(hook.IsCapturingMouse());
        Click(Qt::RightButton, BesideStop());
        ASSERT_EQ(window.log.size(), 2u) << name;
        EXPECT_EQ(window.log[0].message, HookMessage(name));
        EXPECT_EQ(window.log[0].wParam, platform::kMsgRightButtonDown);
        EXPECT_EQ(window.log[1].wParam, platform::kMsgRightButtonUp);
    }
    for (unsigned flag : {kCaptureSingleKey, kCaptureHitKey, kCaptureMouseSingleKey,
                          kCaptureMouseHitKey, kCaptureMouseMacro})
        EXPECT_EQ(MouseMessageOfFlag(flag), 0u) << flag;
}

TEST_F(DeviceHookMouseTest, EveryButtonArrivesOnceThoughTheWindowHandsItToAWidget) {
    ASSERT_TRUE(hook.SetCaptureHook(0, kCaptureMacroAppend, &window, true, true));
    const QPoint at = BesideStop();
    for (Qt::MouseButton button :
         {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton, Qt::BackButton, Qt::ForwardButton})
        Click(button, at);
    EXPECT_EQ(MouseMessages(), (std::vector<unsigned>{0x0201, 0x0202, 0x0204, 0x0205, 0x0207,
                                                      0x0208, 0x020B, 0x020C, 0x020B, 0x020C}));
    const QPoint screen = window.GetHWND()->mapToGlobal(at);
    EXPECT_EQ(window.log.back().mouse.x, screen.x());
    EXPECT_EQ(window.log.back().mouse.y, screen.y());
    EXPECT_EQ(window.log.back().mouse.mouseData >> 16, platform::kSecondExtraButton);
}

TEST_F(DeviceHookMouseTest, ButtonsStillClickTheProgramsControls) {
    ASSERT_TRUE(hook.SetCaptureHook(0, kCaptureMacroAppend, &window, true, true));
    Click(Qt::LeftButton, OnStop());
    EXPECT_EQ(window.clicks, std::vector<QString>{"macro_btn_stopredio"});
    EXPECT_EQ(MouseMessages(), (std::vector<unsigned>{0x0201, 0x0202}));
    // A click handed straight to the control, as a test or an accessibility tool does, is
    // reported once too.
    QTest::mouseClick(stop, Qt::RightButton);
    EXPECT_EQ(MouseMessages(), (std::vector<unsigned>{0x0201, 0x0202, 0x0204, 0x0205}));
}

TEST_F(DeviceHookMouseTest, KeysAndButtonsArriveInInputOrder) {
    ASSERT_TRUE(hook.SetCaptureHook(0, kCaptureMacroBefore, &window, true, true));
    const ui::UINT keys = KeyboardMessageOfFlag(kCaptureMacroBefore);
    const ui::UINT mouse = MouseMessageOfFlag(kCaptureMacroBefore);
    Key(KEY_A, true);
    QTest::mousePress(native, Qt::LeftButton, {}, BesideStop());
    Key(KEY_B, true);
    Key(KEY_A, false);
    QTest::mouseRelease(native, Qt::LeftButton, {}, BesideStop());
    QTest::mousePress(native, Qt::BackButton, {}, BesideStop());
    Key(KEY_B, false);
    QTest::mouseRelease(native, Qt::BackButton, {}, BesideStop());
    EXPECT_EQ(window.log, (std::vector<Delivered>{{keys, 0x100, {}, 'A'},
                                                  {mouse, 0x201, {}, 0},
                                                  {keys, 0x100, {}, 'B'},
                                                  {keys, 0x101, {}, 'A'},
                                                  {mouse, 0x202, {}, 0},
                                                  {mouse, 0x20B, {}, 0},
                                                  {keys, 0x101, {}, 'B'},
                                                  {mouse, 0x20C, {}, 0}}));
}

TEST_F(DeviceHookMouseTest, NothingArrivesOnceRemovedOrForAFlagWithoutMouseMessage) {
    ASSERT_TRUE(hook.SetCaptureHook(0, kCaptureMacroAfter, &window, true, true));
    hook.RemoveCaptureHook();
    EXPECT_FALSE(hook.IsCapturingMouse());
    EXPECT_FALSE(hook.IsCapturingKeys());
    Click(Qt::LeftButton, BesideStop());
    Key(KEY_A, true);
    EXPECT_TRUE(window.log.empty());

    // Key assignment asks for both; only the keys are captured.
    ASSERT_TRUE(hook.SetCaptureHook(0, kCaptureSingleKey, &window, true, true));
    EXPECT_TRUE(hook.IsCapturingKeys());
    EXPECT_FALSE(hook.IsCapturingMouse());
    Click(Qt::LeftButton, BesideStop());
    Key(KEY_A, false);
    ASSERT_EQ(window.log.size(), 1u);
    EXPECT_EQ(window.log[0].message, SingleKeyMessage());
    hook.RemoveCaptureHook();

    // A hook that goes while capturing takes its capture with it.
    window.log.clear();
    auto owned = std::make_unique<CDeviceHook>();
    ASSERT_TRUE(owned->SetCaptureHook(0, kCaptureMacroAppend, &window, false, true));
    EXPECT_FALSE(owned->IsCapturingKeys());
    EXPECT_TRUE(owned->IsCapturingMouse());
    owned.reset();
    Click(Qt::LeftButton, BesideStop());
    EXPECT_TRUE(window.log.empty());

    // Without a window nothing can be captured, and that is reported.
    EXPECT_FALSE(hook.SetCaptureHook(0, kCaptureMacroAppend, nullptr, false, true));
    EXPECT_FALSE(hook.IsCapturingMouse());
}

TEST_F(DeviceHookMouseTest, TheRecorderSkipsTheLeftClickOnTheStopButtonOnly) {
    macro::MacroEventList list;
    macro::MacroRecorder recorder(list);
    const QPoint topLeft = stop->mapToGlobal(QPoint(0, 0));
    recorder.SetStopButtonRect(
        {topLeft.x(), topLeft.y(), topLeft.x() + stop->width(), topLeft.y() + stop->height()});
    recorder.Start(macro::TimingMode::Ignored, macro::RecordPlace::Append, 0, 0);
    window.recorder = &recorder;
    ASSERT_TRUE(hook.SetCaptureHook(0, kCaptureMacroAppend, &window, true, true));

    Click(Qt::LeftButton, OnStop());
    EXPECT_TRUE(list.events.empty()) << "the click that stops a recording adds nothing";
    Click(Qt::RightButton, OnStop());
    Click(Qt::LeftButton, BesideStop());
    Click(Qt::ForwardButton, OnStop());
    EXPECT_EQ(list.events, (std::vector<config::MacroEvent>{
                               {config::kMacroMouseButton, true, 2},
                               {config::kMacroMouseButton, false, 2},
                               {config::kMacroMouseButton, true, 1},
                               {config::kMacroMouseButton, false, 1},
                               {config::kMacroMouseButton, true, 16},
                               {config::kMacroMouseButton, false, 16},
                           }));
}

} // namespace
