#pragma once
// CSetWnd: the modal settings window ("setwnd.xml", 630 × 500). It offers the language
// choice and the switch that starts the program hidden in the tray at login, and, every time it
// opens, checks the update service for every entry on its check thread and lists one row per entry
// with its state. An outside updater's progress arrives through the main window
// (RM_SETTINGS_RELAY). Nothing is downloaded or run from here.

#include "shell/update/UpdateCheck.h"
#include "ui/WindowImplBase.h"

#include <string>
#include <vector>

namespace ui {
class CCheckBoxUI;
class CListUI;
class CComboUI;
} // namespace ui

namespace shell {
class CMainWnd;
}

namespace shell::update {

class CUpdateInfoListItemUI;

// Overall update states.
enum OverallState : int {
    kChecking = 0,
    kUpdatesFound = 1,
    kNoServiceReached = 2,
    kUpdating = 3,
    kUpToDate = 4,
};

struct SettingsSetup {
    ui::CWindowWnd* mainWnd = nullptr; // gets UM_SET_LANGUAGE and UM_CLEAR_UPDATE_MARK
    int languageIndex = 0;
    std::vector<::update::UpdateEntry> entries;
    std::string serviceRoot; // empty: no service configured
    ::update::HttpOptions http;
    std::string userFolder; // "updatetime.config" and "UpdateData/"
};

class CSetWnd : public ui::WindowImplBase {
public:
    static constexpr int kWidth = 630;
    static constexpr int kHeight = 500;

    explicit CSetWnd(SettingsSetup setup);
    ~CSetWnd() override;
    QString GetWindowClassName() const override { return QStringLiteral("SetWnd"); }
    void Notify(ui::TNotifyUI& msg) override;

    int OverallState() const { return m_overall; }
    const QString& CheckDate() const { return m_checkDate; }
    std::vector<CUpdateInfoListItemUI*> Rows() const;
    // The row the outside updater works on, or nullptr.
    CUpdateInfoListItemUI* UpdatingRow() const { return m_updatingRow; }

protected:
    QString GetSkinFile() override { return QStringLiteral("setwnd.xml"); }
    void InitWindow() override;
    void OnClick(ui::TNotifyUI& msg) override;
    ui::LRESULT HandleCustomMessage(ui::UINT msg, ui::WPARAM wParam, ui::LPARAM lParam,
                                    bool& handled) override;

private:
    void OnOpening();
    void AddRows();
    void ShowResult(std::size_t index, ::update::UpdateResult result);
    void FinishCheck(std::size_t unreachable);
    void ShowOverallState(int state);
    void ShowUpdateButton();
    void OnUpdateConfirmed();
    void OnRelay(ui::WPARAM event, ui::LPARAM value);
    void FillLanguages();
    // "autostart_check": writes or removes the login entry.
    void SwitchAutostart();
    bool MayClose() const;
    void StopWorkers() { m_check.Stop(); }
    void ShowMaximisedState();
    std::wstring InstallerFile(const std::wstring& name) const;

    SettingsSetup m_setup;
    CUpdateCheck m_check;
    int m_overall = -1;
    QString m_checkDate;
    CUpdateInfoListItemUI* m_updatingRow = nullptr;

    ui::CControlUI* m_closeBtn = nullptr;
    ui::CControlUI* m_maxBtn = nullptr;
    ui::CControlUI* m_restoreBtn = nullptr;
    ui::CControlUI* m_minBtn = nullptr;
    ui::CControlUI* m_menuBtn = nullptr;
    ui::CControlUI* m_laterBtn = nullptr;
    ui::CListUI* m_list = nullptr;
    ui::CComboUI* m_languages = nullptr;
    ui::CCheckBoxUI* m_autostart = nullptr;
};

// The main window's "setbtn" and "setwnd_menu": runs the settings window modally, centred on
// the main window and kept as its settings window while it is open. False without doing
// anything while one is open already.
bool OpenSettingsWindow(CMainWnd& main);

} // namespace shell::update
