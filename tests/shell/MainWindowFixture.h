#pragma once
// The real main window built from the shipped skin over virtual devices, shown after its
// first device scan.

#include "shell/ControlClasses.h"
#include "shell/MainWnd.h"
#include "shell/Messages.h"
#include "sim/VirtualDevice.h"
#include "sim/VirtualHidBackend.h"
#include "sim/VirtualProducts.h"
#include "support/QuitSpy.h"
#include "support/TestEnvironment.h"
#include "ui/ButtonUI.h"
#include "ui/ResourceManager.h"

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

namespace test {

using shell::CMainWnd;

// Counts the main window's show and hide events, from before it exists.
class ShowHideCounter : public QObject {
public:
    ShowHideCounter() { QCoreApplication::instance()->installEventFilter(this); }
    ~ShowHideCounter() override { QCoreApplication::instance()->removeEventFilter(this); }
    int shows = 0;
    int hides = 0;

protected:
    bool eventFilter(QObject* target, QEvent* event) override {
        const bool show = event->type() == QEvent::Show;
        if ((show || event->type() == QEvent::Hide) &&
            target->objectName() == QLatin1String("MainWnd"))
            ++(show ? shows : hides);
        return false;
    }
};

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        transport::SetDefaultHidBackend(&devices);
        shell::RegisterInstanceMessage();
        shell::RegisterProgramMessages();
        shell::RegisterProgramControls();
        ui::CResourceManager::GetInstance().LoadResource("res.xml");
        ASSERT_TRUE(wnd->Open()) << wnd->GetSkinError().toStdString();
        ASSERT_TRUE(test::WaitUntil([&] { return wnd->GetLanguageIndex() >= 0; }));
        // Hidden until the first scan pass is done, which brings it forward.
        ASSERT_TRUE(test::WaitUntil([&] { return Host()->isVisible(); }));
    }
    void TearDown() override {
        wnd.reset();
        transport::SetDefaultHidBackend(nullptr);
    }
    QWidget* Host() const { return wnd->GetHWND(); }
    // Answers the message windows that come up from now on with OK and keeps their texts.
    void AnswerMessages() {
        auto* timer = new QTimer(Host());
        QObject::connect(timer, &QTimer::timeout, [this] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                if (w->objectName() != QLatin1String("MsgWnd") || !w->isVisible())
                    continue;
                if (auto* text = w->findChild<QWidget*>("MessageText"))
                    messages.push_back(text->property("text").toString());
                if (auto* ok = w->findChild<QWidget*>("confirm_btn"))
                    QTest::mouseClick(ok, Qt::LeftButton);
            }
        });
        timer->start(20);
    }
    void Click(const char* name) {
        auto* button = wnd->Find<ui::CButtonUI>(name);
        ASSERT_NE(button, nullptr) << name;
        QTest::mouseClick(button, Qt::LeftButton);
    }

    QStringList messages;
    test::ScopedEnvironment env;
    ShowHideCounter showHide;
    QuitSpy quitSpy;
    sim::VirtualHidBackend devices;
    std::unique_ptr<CMainWnd> wnd = std::make_unique<CMainWnd>();
};

} // namespace test
