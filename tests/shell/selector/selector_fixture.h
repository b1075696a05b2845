#pragma once
// A main window's device list in a small skin: the item list, the power and device tab
// layouts (each with a placeholder page 0) and the "No_device_Link" hint.

#include "devices/DeviceModels.h"
#include "shell/Messages.h"
#include "shell/selector/DeviceSelector.h"
#include "sim/VirtualHidBackend.h"
#include "sim/VirtualProducts.h"
#include "support/TestEnvironment.h"
#include "ui/ControlFactory.h"
#include "ui/DialogBuilder.h"
#include "ui/PaintManagerUI.h"
#include "ui/WindowWnd.h"

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

namespace selector_test {

// Stands for the main window: records UM_RECEIVER_STATE and hands it to the list.
class RecordingWnd : public ui::CWindowWnd {
public:
    QString GetWindowClassName() const override { return QStringLiteral("TestMain"); }
    std::vector<std::pair<ui::WPARAM, ui::LPARAM>> receiverStates;
    shell::DeviceSelector* selector = nullptr;

protected:
    ui::LRESULT HandleMessage(ui::UINT msg, ui::WPARAM w, ui::LPARAM l) override {
        if (msg != shell::UM_RECEIVER_STATE)
            return ui::CWindowWnd::HandleMessage(msg, w, l);
        receiverStates.emplace_back(w, l);
        if (selector)
            selector->OnReceiverState(w, l);
        return 0;
    }
};

class SelectorFixture : public ::testing::Test {
protected:
    void SetUp() override {
        auto& factory = ui::CControlFactory::GetInstance();
        factory.RegistControl("CDeviceOptionUI", [] {
            return static_cast<ui::CControlUI*>(new shell::CDeviceOptionUI);
        });
        factory.RegistControl("CMpDevicePowerUI", [] {
            return static_cast<ui::CControlUI*>(new shell::CMpDevicePowerUI);
        });
        env.WriteSkinFile("main_like.xml", R"(<VerticalLayout name="root">
  <VerticalLayout name="No_device_Link" visible="false"/>
  <HorizontalLayout name="device_select_layout"><Control name="list_spacer"/></HorizontalLayout>
  <TabLayout name="device_power_switch"><Control name="no_power"/></TabLayout>
  <TabLayout name="device_switch"><Control name="no_device_page"/></TabLayout>
</VerticalLayout>)");
        ui::CDialogBuilder builder;
        ui::CControlUI* root = builder.Create("main_like.xml", nullptr, &pm);
        ASSERT_NE(root, nullptr) << builder.GetLastError().toStdString();
        host.reset(root->GetWidget());
        hooks.closeSecondaryWindows = [this] { ++secondaryClosed; };
        hooks.keyAssignmentOpen = [this] { return keyAssignmentOpen; };
        hooks.stopKeyAssignment = [this] { ++keyCaptureStopped; };
        hooks.stopMacroRecording = [this] { ++recordingStopped; };
        hooks.setSeveralDevices = [this](bool several) { severalDevices = several; };
        selector = std::make_unique<shell::DeviceSelector>(pm, &wnd, hooks);
        wnd.selector = selector.get();
    }

    // A device of the model row with its own page; returns its item's index.
    int AddDevice(int modelRow) {
        return AddDevice(devices::CreateDeviceForModel(modelRow, &backend));
    }
    int AddDevice(std::unique_ptr<devices::CKelvaneUSBDevice> device) {
        auto* page = new ui::CVerticalLayoutUI;
        auto* keys = new ui::CVerticalLayoutUI;
        page->Add(keys);
        const auto added = selector->AddItem(device.get(), page, keys);
        EXPECT_NE(added.item, nullptr);
        EXPECT_NE(added.power, nullptr);
        pages.push_back(page);
        powers.push_back(added.power);
        deviceList.push_back(std::move(device));
        return added.index;
    }

    template <class T> T* Find(const char* name) {
        return ui::control_cast<T>(pm.FindControl(QString::fromLatin1(name)));
    }
    ui::CTabLayoutUI* DeviceSwitch() { return Find<ui::CTabLayoutUI>("device_switch"); }
    ui::CTabLayoutUI* PowerSwitch() { return Find<ui::CTabLayoutUI>("device_power_switch"); }
    bool NoDeviceShown() { return Find<ui::CControlUI>("No_device_Link")->IsVisible(); }
    shell::CDeviceOptionUI& Item(int index) { return *selector->ItemAt(index); }

    test::ScopedEnvironment env{true};
    sim::VirtualHidBackend backend;
    std::vector<std::unique_ptr<devices::CKelvaneUSBDevice>> deviceList;
    RecordingWnd wnd;
    ui::CPaintManagerUI pm;
    std::unique_ptr<QWidget> host; // the control tree; goes before the manager
    shell::DeviceSelectorHooks hooks;
    std::unique_ptr<shell::DeviceSelector> selector;
    std::vector<ui::CControlUI*> pages;
    std::vector<shell::CMpDevicePowerUI*> powers;
    int secondaryClosed = 0;
    int keyCaptureStopped = 0;
    int recordingStopped = 0;
    bool keyAssignmentOpen = false;
    bool severalDevices = false;
};

} // namespace selector_test
