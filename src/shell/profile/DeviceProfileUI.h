#pragma once
// CDeviceProfileUI ("DeviceProfile", found by the name "DeviceProfileItem"): a device page's
// profile panel. It shows the device's profiles in "device_profile_combo", runs the profile
// operations of the buttons and menu on the device's files (config::CProfileList), keeps the
// drop-down in step with "ProfileList.ini", and shows the function tabs that apply to the
// device kind.
//
// Built from "XML/CustomControlXML/DeviceProfile.xml". The controls it uses are looked up by
// name inside the panel on first use: "device_profile_combo", "device_profile_name_edit",
// "profile_menu_layout" and the eight tabs of ProfileTabs.h. Without the drop-down the profile
// operations do nothing.
//
// The device model sets it up once: SetDeviceKind, SetProfilePaths, LoadProfileList,
// SelectTab(1). The main window runs the operations (ProfileRoutes.h) and loads the profile
// of GetCurrentProfileId() into the device after a selection or a reset.

#include "config/ProfileList.h"
#include "ui/ContainerUI.h"

#include <array>
#include <json/value.h>
#include <memory>
#include <string>
#include <vector>

namespace ui {
class CComboUI;
class CEditUI;
class COptionUI;
} // namespace ui

namespace shell {

class CDeviceProfileUI : public ui::CHorizontalLayoutUI {
public:
    static constexpr int kItemHeight = 30;

    CDeviceProfileUI();
    ~CDeviceProfileUI() override;
    QString GetClass() const override { return QStringLiteral("DeviceProfile"); }
    // Puts the panel's tabs in a selection group of their own, so that the tabs of the other
    // device pages keep their state.
    void DoInit() override;

    // The DeviceKind code (1 keyboard, 2 mouse, 3 mouse pad, 6 mouse through its receiver,
    // 7 headset, 9 keyboard through its receiver).
    void SetDeviceKind(int kind) { m_kind = kind; }
    int GetDeviceKind() const { return m_kind; }
    // The device's user folder (ending in a slash) and its default profile document, UTF-8.
    void SetProfilePaths(const std::string& userFolder, const std::string& defaultDocument);
    const std::string& GetUserFolder() const { return m_userFolder; }
    const std::string& GetDefaultPath() const { return m_defaultPath; }

    // Reads the list (making the first profile on a device's first run), fills the drop-down,
    // selects the selected profile without notification and applies the device kind's tabs.
    // Returns the list's config::ProfileResult: a list that cannot be read or written leaves
    // the drop-down empty.
    int LoadProfileList();
    // Selects tab n (1 to 8) and unselects the others, without notification; any other n
    // unselects the first seven.
    void SelectTab(int tab);

    // The drop-down's selection; -1 when there is none or no drop-down.
    int GetSelectedIndex();
    // Selects the profile: the drop-down item (sending "itemselect" only when notify is set),
    // its name into the name edit, "profileselect" and the current profile id. A config::
    // ProfileResult: when "ProfileList.ini" cannot be read or written the drop-down goes back
    // to the current profile (without notification) and nothing else changes.
    int SelectProfile(int index, bool notify);
    QString GetNameEditText();
    void SetNameEditText(const QString& text);

    // The operations on the drop-down's selected profile; their results are the
    // config::ProfileResult codes. Add, Copy and Import append an item and leave the selection
    // where it is. Delete selects the profile before the deleted one (the first, when the first
    // was deleted) with notification, so the device leaves the deleted profile.
    int AddProfile();
    int DeleteProfile();
    int CopyProfile();
    int ImportProfile(const QString& path);
    int ExportProfile(const QString& destination);
    // 1 done, 0 another profile has the name, 2 blank name.
    int RenameProfile(const QString& name);
    int ResetProfile();

    void ShowProfileMenu(bool show);
    bool IsProfileMenuVisible();

    const std::string& GetCurrentProfileId() const { return m_currentId; }
    // The id of the profile of a drop-down item; empty for none.
    std::string GetProfileIdAt(int index) const;
    // "ProfileList.ini" as last read or written.
    const Json::Value& GetListDocument() const { return m_listDocument; }

private:
    template <class T> T* Lookup(T*& cache, const char* name);
    ui::CComboUI* Combo();
    ui::CEditUI* NameEdit();
    ui::CControlUI* MenuLayout();
    ui::COptionUI* Tab(int number);
    config::CProfileList& List();
    std::string SelectedId();
    // Makes the drop-down show the list as it now is on disk.
    void ShowList();
    void ApplyTabsForKind();

    int m_kind = 0;
    std::string m_userFolder;
    std::string m_defaultPath;
    std::string m_currentId;
    Json::Value m_listDocument;
    std::unique_ptr<config::CProfileList> m_list;
    std::vector<std::string> m_itemIds; // the profile id of each drop-down item

    ui::CComboUI* m_combo = nullptr;
    ui::CEditUI* m_nameEdit = nullptr;
    ui::CControlUI* m_menuLayout = nullptr;
    std::array<ui::COptionUI*, 8> m_tabs{};
};

} // namespace shell
