#include "shell/selector/DeviceOptionUI.h"

#include "devices/KelvaneUSBDevice.h"
#include "ui/ButtonUI.h"
#include "ui/PaintManagerUI.h"
#include "ui/ResourceManager.h"
#include "ui/WindowWnd.h"

#include <QWidget>

namespace shell {

namespace {
const QString kSelectOption = QStringLiteral("device_select");
const QString kSynchroOption = QStringLiteral("synchro_device_select");
const QString kNameLabel = QStringLiteral("device_select_name");
const QString kReceiverMark = QStringLiteral("device_receiver_mark");
const QString kPageBody = QStringLiteral("device_body");
} // namespace

CDeviceOptionUI::CDeviceOptionUI() : m_look(DeviceItemLookFor(0, 0)) {}

void CDeviceOptionUI::Activate() {
    Notify(ui::notify::selectchanged);
}

ui::CControlUI* CDeviceOptionUI::Child(const QString& name) const {
    ui::CPaintManagerUI* pm = GetManager();
    if (!pm)
        return nullptr;
    return pm->FindSubControlByName(const_cast<CDeviceOptionUI*>(this), name);
}

ui::COptionUI* CDeviceOptionUI::SelectOption() const {
    return ui::control_cast<ui::COptionUI>(Child(kSelectOption));
}

ui::COptionUI* CDeviceOptionUI::SynchroOption() const {
    return ui::control_cast<ui::COptionUI>(Child(kSynchroOption));
}

void CDeviceOptionUI::SetKind(int kind, int subKind) {
    m_kind = kind;
    m_subKind = subKind;
    // A mouse pad of a sub-kind we do not know keeps the pictures it has.
    if (kind != 3 || subKind == 0 || subKind == 1)
        m_look = DeviceItemLookFor(kind, subKind);
    ApplyImages();
    RefreshText();
}

void CDeviceOptionUI::ApplyImages() {
    ui::COptionUI* option = SelectOption();
    if (!option)
        return;
    const bool synchro = IsSynchronised();
    const QString& normal = synchro ? m_look.synchroNormal : m_look.normal;
    const QString& selected = synchro ? m_look.synchroSelected : m_look.selected;
    option->SetBkImage(m_look.picture);
    option->SetImage(QStringLiteral("normal"), normal);
    option->SetImage(QStringLiteral("hot"), normal);
    option->SetImage(QStringLiteral("selected"), selected);
    ShowConnection();
}

// Only a keyboard or a mouse pairs with a receiver; the item knows it once it has its device.
void CDeviceOptionUI::ShowConnection() {
    const bool receiver = (m_kind == 1 || m_kind == 2) && WorksThroughReceiver();
    if (ui::CControlUI* mark = Child(kReceiverMark)) {
        if (receiver && mark->GetBkImage().isEmpty())
            mark->SetBkImage(ReceiverMarkImage());
        mark->SetVisible(receiver);
    }
    if (!m_device)
        return;
    if (devices::IPowerItem* power = m_device->GetPowerItem())
        power->ShowConnection(receiver);
    const QString body = DeviceBodyFor(m_kind, receiver);
    ui::CPaintManagerUI* pm = GetManager();
    if (body.isEmpty() || !m_page || !pm)
        return;
    ui::CControlUI* drawn = pm->FindSubControlByName(m_page, kPageBody);
    if (drawn && drawn->GetBkImage() != body)
        drawn->SetBkImage(body);
}

void CDeviceOptionUI::RefreshText() {
    ui::CHorizontalLayoutUI::RefreshText();
    const QString tip = ui::CResourceManager::GetInstance().GetText(m_look.nameTextId);
    SetToolTip(tip);
    if (ui::COptionUI* option = SelectOption())
        option->SetToolTip(tip);
}

void CDeviceOptionUI::BindTab(const QString& layout, int index) {
    m_bindTab = layout;
    m_bindIndex = index;
}

void CDeviceOptionUI::SetPowerPage(const QString& layout, int index) {
    if (index < 0)
        return;
    m_powerTab = layout;
    m_powerPage = index;
}

void CDeviceOptionUI::SetGroup(const QString& group) {
    if (ui::COptionUI* option = SelectOption())
        option->SetGroup(group);
}

void CDeviceOptionUI::Select(bool selected) {
    if (ui::COptionUI* option = SelectOption())
        option->Selected(selected, false);
}

bool CDeviceOptionUI::IsSelected() const {
    const ui::COptionUI* option = SelectOption();
    return option && option->IsSelected();
}

void CDeviceOptionUI::SetSynchronised(bool on) {
    if (ui::COptionUI* option = SynchroOption())
        option->Selected(on, false);
    ApplyImages();
}

bool CDeviceOptionUI::IsSynchronised() const {
    const ui::COptionUI* option = SynchroOption();
    return option && option->IsSelected();
}

void CDeviceOptionUI::SetVisible(bool visible) {
    m_visibleFlag = visible ? 1 : 0;
    ui::CHorizontalLayoutUI::SetVisible(visible);
}

void CDeviceOptionUI::SetNameText(const QString& text) {
    if (ui::CControlUI* label = Child(kNameLabel))
        label->SetText(text);
}

void CDeviceOptionUI::AttachDevice(devices::CKelvaneUSBDevice* device, ui::CControlUI* keyArea) {
    m_device = device;
    m_keyArea = keyArea;
    if (device)
        device->SetFrameListener(FrameListener());
    ShowConnection();
}

void CDeviceOptionUI::SetDevicePage(ui::CControlUI* page) {
    m_page = page;
    ShowConnection();
}

void CDeviceOptionUI::StartRefresh() {
    if (m_refreshWatch)
        m_refreshWatch(true);
    Arm(kTimerRefresh, kRefreshMs);
}

void CDeviceOptionUI::Arm(int id, int ms) {
    if (id == kTimerLightFrame)
        m_lightFrameMs = ms;
    if (ui::CPaintManagerUI* pm = GetManager())
        pm->SetTimer(this, id, ms);
}

bool CDeviceOptionUI::WindowAttended() const {
    if (m_attended)
        return m_attended();
    if (!m_mainWnd)
        return false;
    const QWidget* w = m_mainWnd->GetHWND();
    return w && (w->isActiveWindow() || w->underMouse());
}

} // namespace shell
