#include "shell/profile/DeviceProfileUI.h"

#include "shell/profile/ProfileTabs.h"
#include "ui/ButtonUI.h"
#include "ui/ComboUI.h"
#include "ui/ControlTree.h"
#include "ui/EditUI.h"
#include "ui/ListUI.h"

#include <algorithm>

namespace shell {

using config::kProfileDone;
using config::kProfileNothingDone;
using config::kProfileUnknown;

namespace {

QString FromUtf8(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

CDeviceProfileUI::CDeviceProfileUI() = default;
CDeviceProfileUI::~CDeviceProfileUI() = default;

void CDeviceProfileUI::DoInit() {
    const QString group = QStringLiteral("profile_tabs_%1").arg(reinterpret_cast<quintptr>(this));
    for (int n = 1; n <= kProfileTabCount; ++n) {
        if (ui::COptionUI* tab = Tab(n))
            tab->SetGroup(group);
    }
}

template <class T> T* CDeviceProfileUI::Lookup(T*& cache, const char* name) {
    if (!cache)
        cache = dynamic_cast<T*>(ui::FindInTreeByName(this, QLatin1String(name)));
    return cache;
}

ui::CComboUI* CDeviceProfileUI::Combo() {
    return Lookup(m_combo, "device_profile_combo");
}

ui::CEditUI* CDeviceProfileUI::NameEdit() {
    return Lookup(m_nameEdit, "device_profile_name_edit");
}

ui::CControlUI* CDeviceProfileUI::MenuLayout() {
    return Lookup(m_menuLayout, "profile_menu_layout");
}

ui::COptionUI* CDeviceProfileUI::Tab(int number) {
    if (number < 1 || number > kProfileTabCount)
        return nullptr;
    const auto i = static_cast<std::size_t>(number - 1);
    return Lookup(m_tabs[i], kProfileTabNames[i]);
}

config::CProfileList& CDeviceProfileUI::List() {
    if (!m_list)
        m_list = std::make_unique<config::CProfileList>(m_userFolder, m_defaultPath);
    return *m_list;
}

void CDeviceProfileUI::SetProfilePaths(const std::string& userFolder,
                                       const std::string& defaultDocument) {
    m_userFolder = userFolder;
    m_defaultPath = defaultDocument;
    m_list.reset();
}

std::string CDeviceProfileUI::GetProfileIdAt(int index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= m_itemIds.size())
        return {};
    return m_itemIds[static_cast<std::size_t>(index)];
}

std::string CDeviceProfileUI::SelectedId() {
    return GetProfileIdAt(GetSelectedIndex());
}

void CDeviceProfileUI::ShowList() {
    const config::ProfileListState& state = List().State();
    m_listDocument = config::MakeProfileListDocument(state);
    m_itemIds.clear();
    for (const config::ProfileEntry& entry : state.entries)
        m_itemIds.push_back(entry.id);
    ui::CComboUI* combo = Combo();
    if (!combo)
        return;
    const int count = static_cast<int>(state.entries.size());
    while (combo->GetCount() > count)
        combo->RemoveAt(combo->GetCount() - 1);
    for (int i = 0; i < count; ++i) {
        const QString name = FromUtf8(state.entries[static_cast<std::size_t>(i)].name);
        auto* item = dynamic_cast<ui::CListLabelElementUI*>(combo->GetItemAt(i));
        if (!item) {
            item = new ui::CListLabelElementUI;
            item->SetFixedHeight(kItemHeight);
            item->SetText(name);
            combo->Add(item);
        } else if (item->GetText() != name) {
            item->SetText(name);
        }
        item->SetToolTip(name);
        combo->setItemData(i, name, Qt::ToolTipRole);
    }
}

int CDeviceProfileUI::LoadProfileList() {
    const int result = List().Load();
    ShowList();
    SelectProfile(List().State().selected, false);
    ApplyTabsForKind();
    return result;
}

void CDeviceProfileUI::ApplyTabsForKind() {
    const ProfileTabRule rule = ProfileTabsForKind(m_kind);
    for (int n : rule.hidden) {
        if (ui::COptionUI* tab = Tab(n))
            tab->SetVisible(false);
    }
    for (int n : rule.shown) {
        if (ui::COptionUI* tab = Tab(n))
            tab->SetVisible(true);
    }
}

void CDeviceProfileUI::SelectTab(int tab) {
    const bool known = tab >= 1 && tab <= kProfileTabCount;
    for (int n = 1; n <= kProfileTabCount; ++n) {
        ui::COptionUI* option = Tab(n);
        if (!option || (!known && n == kProfileTabCount))
            continue;
        option->Selected(n == tab, false);
    }
}

int CDeviceProfileUI::GetSelectedIndex() {
    ui::CComboUI* combo = Combo();
    return combo ? combo->GetCurSel() : -1;
}

int CDeviceProfileUI::SelectProfile(int index, bool notify) {
    ui::CComboUI* combo = Combo();
    const std::string id = GetProfileIdAt(index);
    if (!combo || id.empty() || index >= combo->GetCount())
        return kProfileNothingDone;
    const int result = List().Select(id);
    if (result == kProfileUnknown) {
        // Deleted meanwhile by another program: show the list as it is now instead.
        ShowList();
        return result;
    }
    if (result != kProfileDone) {
        const auto current = std::find(m_itemIds.begin(), m_itemIds.end(), m_currentId);
        if (current != m_itemIds.end())
            combo->SelectItem(static_cast<int>(current - m_itemIds.begin()), true, false);
        return result;
    }
    m_currentId = id;
    m_listDocument = config::MakeProfileListDocument(List().State());
    SetNameEditText(combo->GetItemAt(index)->GetText());
    combo->SelectItem(index, true, notify);
    return result;
}

QString CDeviceProfileUI::GetNameEditText() {
    ui::CEditUI* edit = NameEdit();
    return edit ? edit->GetText() : QString();
}

void CDeviceProfileUI::SetNameEditText(const QString& text) {
    if (ui::CEditUI* edit = NameEdit())
        edit->SetText(text);
}

int CDeviceProfileUI::AddProfile() {
    if (!Combo())
        return kProfileNothingDone;
    const int result = List().Add();
    ShowList();
    return result;
}

int CDeviceProfileUI::DeleteProfile() {
    ui::CComboUI* combo = Combo();
    const int selected = GetSelectedIndex();
    if (!combo || selected < 0 || combo->GetCount() <= 1)
        return kProfileNothingDone;
    const int result = List().Delete(GetProfileIdAt(selected));
    if (result == kProfileDone)
        combo->RemoveAt(selected); // the drop-down has no selection now
    ShowList();
    if (result == kProfileDone)
        SelectProfile(List().State().selected, true);
    return result;
}

int CDeviceProfileUI::CopyProfile() {
    const std::string id = SelectedId();
    if (id.empty())
        return kProfileNothingDone;
    const int result = List().Copy(id);
    ShowList();
    return result;
}

int CDeviceProfileUI::ImportProfile(const QString& path) {
    if (!Combo())
        return kProfileNothingDone;
    const int result = List().Import(path.toStdString());
    ShowList();
    return result;
}

int CDeviceProfileUI::ExportProfile(const QString& destination) {
    const std::string id = SelectedId();
    if (id.empty() || destination.isEmpty())
        return kProfileNothingDone;
    return List().Export(id, destination.toStdString());
}

int CDeviceProfileUI::RenameProfile(const QString& name) {
    const std::string id = SelectedId();
    if (id.empty())
        return kProfileUnknown;
    const int result = List().Rename(id, name.toStdString());
    ShowList();
    if (result == kProfileDone)
        SetNameEditText(name);
    return result;
}

int CDeviceProfileUI::ResetProfile() {
    const std::string id = SelectedId();
    if (id.empty())
        return kProfileNothingDone;
    const int result = List().Reset(id, m_kind);
    ShowList();
    return result;
}

void CDeviceProfileUI::ShowProfileMenu(bool show) {
    if (ui::CControlUI* menu = MenuLayout())
        menu->SetVisible(show);
}

bool CDeviceProfileUI::IsProfileMenuVisible() {
    ui::CControlUI* menu = MenuLayout();
    return menu && menu->IsVisible();
}

} // namespace shell
