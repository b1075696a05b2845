#include "shell/selector/DeviceSelector.h"

#include "devices/KelvaneUSBDevice.h"
#include "platform/DebugLog.h"
#include "ui/ContainerUI.h"
#include "ui/DialogBuilder.h"
#include "ui/PaintManagerUI.h"

namespace shell {

namespace {

template <class T>
T* Build(const char* file, ui::IDialogBuilderCallback* callback, ui::CPaintManagerUI& pm) {
    ui::CDialogBuilder builder;
    ui::CControlUI* built = builder.Create(QString::fromLatin1(file), callback, &pm);
    T* control = ui::control_cast<T>(built);
    if (!control) {
        if (!builder.GetLastError().isEmpty())
            platform::DebugLine(builder.GetLastError().toStdString());
        delete built;
    }
    return control;
}

} // namespace

DeviceSelector::DeviceSelector(ui::CPaintManagerUI& pm, ui::CWindowWnd* mainWnd,
                               DeviceSelectorHooks hooks)
    : m_pm(pm), m_mainWnd(mainWnd), m_hooks(std::move(hooks)) {}

ui::CControlUI* DeviceSelector::Find(const char* name) const {
    return m_pm.FindControl(QString::fromLatin1(name));
}

std::vector<CDeviceOptionUI*> DeviceSelector::Items() const {
    std::vector<CDeviceOptionUI*> items;
    auto* list = ui::control_cast<ui::CContainerUI>(Find(kItemList));
    if (!list)
        return items;
    for (int i = 0; i < list->GetCount(); ++i) {
        if (auto* item = ui::control_cast<CDeviceOptionUI>(list->GetItemAt(i)))
            items.push_back(item);
    }
    return items;
}

int DeviceSelector::Count() const {
    return static_cast<int>(Items().size());
}

CDeviceOptionUI* DeviceSelector::ItemAt(int index) const {
    const auto items = Items();
    if (index < 0 || index >= static_cast<int>(items.size()))
        return nullptr;
    return items[static_cast<std::size_t>(index)];
}

int DeviceSelector::IndexOf(const devices::CKelvaneUSBDevice* device) const {
    const auto items = Items();
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (device && items[i]->GetDevice() == device)
            return static_cast<int>(i);
    }
    return -1;
}

int DeviceSelector::CurrentIndex() const {
    const auto items = Items();
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i]->IsSelected())
            return static_cast<int>(i);
    }
    return -1;
}

int DeviceSelector::VisibleCount() const {
    int count = 0;
    for (const CDeviceOptionUI* item : Items())
        count += item->GetVisibleFlag() ? 1 : 0;
    return count;
}

DeviceSelector::NewItem DeviceSelector::AddItem(devices::CKelvaneUSBDevice* device,
                                                ui::CControlUI* devicePage, ui::CControlUI* keyArea,
                                                int subKind, ui::IDialogBuilderCallback* callback) {
    auto* list = ui::control_cast<ui::CContainerUI>(Find(kItemList));
    auto* powerSwitch = ui::control_cast<ui::CContainerUI>(Find(kPowerSwitch));
    auto* deviceSwitch = ui::control_cast<ui::CContainerUI>(Find(kDeviceSwitch));
    if (!list || !powerSwitch || !deviceSwitch)
        return {};
    auto* power = Build<CMpDevicePowerUI>(kPowerXml, callback, m_pm);
    if (!power)
        return {};
    auto* item = Build<CDeviceOptionUI>(kItemXml, callback, m_pm);
    if (!item) {
        delete power;
        return {};
    }

    const int kind = device ? device->GetDeviceKind() : 0;
    power->SetKind(kind, 0);
    powerSwitch->Add(power);
    // No battery until the device reports its power status.
    power->ShowNoPowerStatus();
    if (device)
        device->SetPowerItem(power);
    if (devicePage && deviceSwitch->GetItemIndex(devicePage) < 0)
        deviceSwitch->Add(devicePage);
    list->Add(item);

    item->SetKind(kind, subKind);
    item->SetGroup(QString::fromLatin1(kItemGroup));
    item->BindTab(QString::fromLatin1(kDeviceSwitch),
                  devicePage ? deviceSwitch->GetItemIndex(devicePage) : 0);
    item->SetPowerPage(QString::fromLatin1(kPowerSwitch), powerSwitch->GetItemIndex(power));
    item->SetNameText(item->GetLook().nameTextId); // a text id: the label follows the language
    item->AttachDevice(device, keyArea);
    item->SetDevicePage(devicePage);
    item->SetMainWindow(m_mainWnd);
    item->SetVisible(false);
    return {item, power, IndexOf(device) >= 0 ? IndexOf(device) : Count() - 1};
}

void DeviceSelector::ShowAttached(int index) {
    CDeviceOptionUI* item = ItemAt(index);
    if (!item)
        return;
    SetItem(index, true, VisibleCount() == 0);
    item->StartRefresh();
}

void DeviceSelector::SelectTabPage(const QString& name, int page) const {
    if (auto* tab = ui::control_cast<ui::CTabLayoutUI>(m_pm.FindControl(name)))
        tab->SelectItem(page);
}

void DeviceSelector::ShowPowerPage(const CDeviceOptionUI& item) const {
    const QString name = item.GetPowerTabName().isEmpty() ? QString::fromLatin1(kPowerSwitch)
                                                          : item.GetPowerTabName();
    auto* tab = ui::control_cast<ui::CTabLayoutUI>(m_pm.FindControl(name));
    if (!tab)
        return;
    if (item.GetPowerPage() == -1) {
        tab->SetVisible(false);
        return;
    }
    tab->SetVisible(true);
    tab->SelectItem(item.GetPowerPage());
}

void DeviceSelector::SetItem(int index, bool visible, bool makeCurrent) {
    const auto items = Items();
    if (index < 0 || index >= static_cast<int>(items.size()))
        return;
    CDeviceOptionUI* item = items[static_cast<std::size_t>(index)];
    item->SetVisible(visible);

    if (makeCurrent) {
        SelectTabPage(item->GetBindTabName(), item->GetBindTabIndex());
        ShowPowerPage(*item);
        for (CDeviceOptionUI* other : items) {
            if (other != item)
                other->Select(false);
        }
        item->Select(true);
        m_selectedIndex = index;
        m_selectedKind = item->GetKind();
        m_selectedSubKind = item->GetSubKind();
    }

    const int visibleCount = VisibleCount();
    if (ui::CControlUI* hint = Find(kNoDevice))
        hint->SetVisible(visibleCount == 0);
    if (visibleCount == 0) {
        SelectTabPage(QString::fromLatin1(kPowerSwitch), 0);
        SelectTabPage(QString::fromLatin1(kDeviceSwitch), 0);
    }
    if (m_hooks.setSeveralDevices)
        m_hooks.setSeveralDevices(visibleCount > 1);
    DropLoneSynchronisation(items);
    TellPreviewShown();
}

void DeviceSelector::TellPreviewShown() const {
    const auto items = Items();
    const int current = CurrentIndex();
    for (std::size_t i = 0; i < items.size(); ++i) {
        CDeviceOptionUI* item = items[i];
        item->SetPreviewShown(static_cast<int>(i) == current && item->GetVisibleFlag());
    }
}

// Synchronised lighting needs two devices at least.
void DeviceSelector::DropLoneSynchronisation(const std::vector<CDeviceOptionUI*>& items) const {
    int joined = 0;
    for (const CDeviceOptionUI* item : items)
        joined += item->GetVisibleFlag() && item->IsSynchronised() ? 1 : 0;
    if (joined > 1)
        return;
    for (CDeviceOptionUI* item : items) {
        if (!item->IsSynchronised())
            continue;
        item->SetSynchronised(false);
        if (m_hooks.leaveSynchronisation && item->GetDevice())
            m_hooks.leaveSynchronisation(*item->GetDevice());
    }
}

void DeviceSelector::HideItem(int index) {
    const auto items = Items();
    if (index < 0 || index >= static_cast<int>(items.size()))
        return;
    CDeviceOptionUI* item = items[static_cast<std::size_t>(index)];
    int next = -1;
    if (item->GetVisibleFlag() && item->IsSelected()) {
        if (m_hooks.closeSecondaryWindows)
            m_hooks.closeSecondaryWindows();
        if (m_hooks.keyAssignmentOpen && m_hooks.keyAssignmentOpen() && m_hooks.stopKeyAssignment)
            m_hooks.stopKeyAssignment();
        if (m_hooks.stopMacroRecording)
            m_hooks.stopMacroRecording();
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (static_cast<int>(i) != index && items[i]->GetVisibleFlag()) {
                next = static_cast<int>(i);
                break;
            }
        }
    }
    SetItem(index, false, false);
    if (next >= 0)
        SetItem(next, true, true);
}

void DeviceSelector::SelectPrevious() {
    const auto items = Items();
    for (int i = CurrentIndex() - 1; i >= 0; --i) {
        if (items[static_cast<std::size_t>(i)]->GetVisibleFlag()) {
            SetItem(i, true, true);
            return;
        }
    }
}

void DeviceSelector::SelectNext() {
    const int current = CurrentIndex();
    if (current < 0)
        return;
    const auto items = Items();
    for (int i = current + 1; i < static_cast<int>(items.size()); ++i) {
        if (items[static_cast<std::size_t>(i)]->GetVisibleFlag()) {
            SetItem(i, true, true);
            return;
        }
    }
}

// The message carries the device's model row, which is normally its item's index; an item
// whose device has that row wins.
int DeviceSelector::ItemForReceiverState(ui::WPARAM wParam) const {
    const auto items = Items();
    for (std::size_t i = 0; i < items.size(); ++i) {
        const devices::CKelvaneUSBDevice* device = items[i]->GetDevice();
        if (device && device->GetModelRowIndex() >= 0 &&
            static_cast<ui::WPARAM>(device->GetModelRowIndex()) == wParam)
            return static_cast<int>(i);
    }
    return wParam < items.size() ? static_cast<int>(wParam) : -1;
}

void DeviceSelector::OnReceiverState(ui::WPARAM wParam, ui::LPARAM lParam) {
    const int index = ItemForReceiverState(wParam);
    if (lParam == 0) {
        HideItem(index);
        platform::DebugLine("2.4gcesvdfherhue 1");
        return;
    }
    if (lParam == 1) {
        CDeviceOptionUI* item = ItemAt(index);
        if (item && !item->GetVisibleFlag())
            SetItem(index, true, VisibleCount() == 0);
    }
}

void DeviceSelector::OnSelectionChanged() {
    const auto items = Items();
    for (CDeviceOptionUI* item : items)
        item->ApplyImages();
    const int current = CurrentIndex();
    if (current < 0)
        return;
    const CDeviceOptionUI* item = items[static_cast<std::size_t>(current)];
    m_selectedIndex = current;
    m_selectedKind = item->GetKind();
    m_selectedSubKind = item->GetSubKind();
    // The option is bound to its device's page, as an option with a bound tab shows it.
    SelectTabPage(item->GetBindTabName(), item->GetBindTabIndex());
    ShowPowerPage(*item);
    TellPreviewShown();
}

} // namespace shell
