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

#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace test {

using shell::CMainWnd;

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        transport::SetDefaultHidBackend(&devices);
        shell::RegisterInstanceMessage();
        shell::RegisterProgramMessages();
        shell::RegisterProgramControls();
        ui::CResourceManager::GetInstance().LoadResource("res.xml");
        ASSERT_NE(wnd->Create(nullptr, "QUARIN Z17 Keyboard", 0x96CA0000u, 0, 0, 0, 800, 572),
                  nullptr)
            << wnd->GetSkinError().toStdString();
        wnd->CenterWindow();
        ASSERT_TRUE(test::WaitUntil([&] { return wnd->GetLanguageIndex() >= 0; }));
        // Hidden until the first scan pass is done, which brings it forward.
        ASSERT_TRUE(test::WaitUntil([&] { return Host()->isVisible(); }));
    }
    void TearDown() override {
        wnd.reset();
        transport::SetDefaultHidBackend(nullptr);
    }
    QWidget* Host() const { return wnd->GetHWND(); }
    void Click(const char* name) {
        auto* button = wnd->Find<ui::CButtonUI>(name);
        ASSERT_NE(button, nullptr) << name;
        QTest::mouseClick(button, Qt::LeftButton);
    }

    test::ScopedEnvironment env;
    QuitSpy quitSpy;
    sim::VirtualHidBackend devices;
    std::unique_ptr<CMainWnd> wnd = std::make_unique<CMainWnd>();
};

} // namespace test
