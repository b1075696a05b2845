#include "shell/update/SetWnd.h"

#include "platform/Autostart.h"
#include "platform/DebugLog.h"
#include "shell/Language.h"
#include "shell/MainWnd.h"
#include "shell/Messages.h"
#include "shell/TextById.h"
#include "shell/update/UpdateDateFile.h"
#include "shell/update/UpdateInfoListItemUI.h"
#include "shell/update/UpdateSources.h"
#include "ui/ButtonUI.h"
#include "ui/ComboUI.h"
#include "ui/ControlNames.h"
#include "ui/ListUI.h"

#include <QWidget>

#include <filesystem>

namespace shell::update {

using ui::NameIs;

namespace {

// Sent by the window to itself when a row's update has ended; nothing in this program
// handles it.
constexpr ui::UINT kRowUpdateEnded = 0x0C14;

bool g_settingsOpen = false;

} // namespace

CSetWnd::CSetWnd(SettingsSetup setup) : m_setup(std::move(setup)) {}

CSetWnd::~CSetWnd() {
    StopWorkers();
}

void CSetWnd::InitWindow() {
    m_closeBtn = Find(QStringLiteral("closebtn"));
    m_maxBtn = Find(QStringLiteral("maxbtn"));
    m_restoreBtn = Find(QStringLiteral("restorebtn"));
    m_minBtn = Find(QStringLiteral("minbtn"));
    m_menuBtn = Find(QStringLiteral("menubtn"));
    m_laterBtn = Find(QStringLiteral("laterbtn"));
    m_list = Find<ui::CListUI>(QStringLiteral("device_update_list_info"));
    m_languages = Find<ui::CComboUI>(QStringLiteral("Language_combox_info"));
    m_autostart = Find<ui::CCheckBoxUI>(QStringLiteral("autostart_check"));
    if (QWidget* host = GetHWND())
        host->resize(m_pm.Scale(kWidth), m_pm.Scale(kHeight));
}

void CSetWnd::Notify(ui::TNotifyUI& msg) {
    if (msg.sType == ui::notify::windowinit) {
        OnOpening();
    } else if (msg.sType == ui::notify::selectchanged && NameIs(msg.pSender, "check_name_select")) {
        ShowUpdateButton();
    } else if (msg.sType == ui::notify::selectchanged && NameIs(msg.pSender, "autostart_check")) {
        SwitchAutostart();
    } else if (msg.sType == ui::notify::itemselect && NameIs(msg.pSender, "Language_combox_info")) {
        if (m_setup.mainWnd)
            m_setup.mainWnd->SendMessage(UM_SET_LANGUAGE, static_cast<ui::WPARAM>(msg.wParam), 0);
    }
    WindowImplBase::Notify(msg);
}

void CSetWnd::OnOpening() {
    m_checkDate = ReadCheckDate(m_setup.userFolder);
    ShowOverallState(kChecking);
    AddRows();
    FillLanguages();
    if (m_autostart)
        m_autostart->SetCheck(platform::IsAutostartOn(), false);
    if (auto* hint = Find(QStringLiteral("update_service_hint")))
        hint->SetVisible(m_setup.serviceRoot.empty());

    // The thread's reports run on the UI thread, in the window's own object: once the thread
    // has been joined and the window is gone, nothing it queued runs.
    QWidget* host = GetHWND();
    CUpdateCheck::Callbacks callbacks;
    callbacks.result = [this, host](std::size_t index, const ::update::UpdateResult& result) {
        QMetaObject::invokeMethod(
            host, [this, index, result] { ShowResult(index, result); }, Qt::QueuedConnection);
    };
    callbacks.done = [this, host](std::size_t unreachable) {
        QMetaObject::invokeMethod(
            host, [this, unreachable] { FinishCheck(unreachable); }, Qt::QueuedConnection);
    };
    m_check.Start(m_setup.entries, m_setup.serviceRoot, m_setup.http, std::move(callbacks));
}

void CSetWnd::AddRows() {
    if (!m_list)
        return;
    for (const ::update::UpdateEntry& entry : m_setup.entries) {
        auto* row = new CUpdateInfoListItemUI;
        m_list->Add(row);
        if (!row->IsBuilt()) {
            // A row without its content is left out; the others go on.
            m_list->Remove(row);
            continue;
        }
        ::update::UpdateResult shown;
        shown.name = entry.displayName;
        shown.localVersion = ::update::LocalVersionText(entry);
        shown.installerFile = InstallerFile(entry.displayName);
        row->ShowResult(shown);
        row->SetChecked(false);
        row->SetState(kRowNone);
    }
}

std::vector<CUpdateInfoListItemUI*> CSetWnd::Rows() const {
    std::vector<CUpdateInfoListItemUI*> rows;
    for (int i = 0; m_list && i < m_list->GetCount(); ++i)
        if (auto* row = dynamic_cast<CUpdateInfoListItemUI*>(m_list->GetItemAt(i)))
            rows.push_back(row);
    return rows;
}

std::wstring CSetWnd::InstallerFile(const std::wstring& name) const {
    if (m_setup.userFolder.empty())
        return {};
    const std::filesystem::path folder = std::filesystem::path(m_setup.userFolder) / "UpdateData";
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    return (folder / (name + L".exe")).wstring();
}

void CSetWnd::ShowResult(std::size_t index, ::update::UpdateResult result) {
    const std::vector<CUpdateInfoListItemUI*> rows = Rows();
    if (index >= rows.size() || index >= m_setup.entries.size())
        return;
    CUpdateInfoListItemUI* row = rows[index];
    const ::update::UpdateEntry& entry = m_setup.entries[index];
    // Nothing heard: the entry stays unknown. A reply without a status counts as current.
    int state = kRowNone;
    if (!Unreachable(result))
        state = result.status == kRowNeedsUpdate ? kRowNeedsUpdate : kRowUpdated;
    result.name = entry.displayName;
    if (result.localVersion.empty())
        result.localVersion = ::update::LocalVersionText(entry);
    if (state != kRowNeedsUpdate)
        result.serverVersion.clear();
    result.installerFile = InstallerFile(entry.displayName);
    row->ShowResult(result);
    row->SetState(state);
    row->SetChecked(false);
    m_checkDate = TodayText();
    WriteCheckDate(m_setup.userFolder, m_checkDate);
}

void CSetWnd::FinishCheck(std::size_t unreachable) {
    bool noted = false;
    for (CUpdateInfoListItemUI* row : Rows()) {
        if (row->GetState() == kRowUpdated || row->GetState() == kRowNone) {
            row->SetCheckEnabled(false);
            continue;
        }
        row->SetCheckEnabled(true);
        row->SetChecked(true);
        if (auto* button = Find(QStringLiteral("update_fw_and_ap"))) {
            button->SetEnabled(true);
            button->SetVisible(true);
        }
        noted = true;
    }
    if (noted)
        ShowOverallState(kUpdatesFound);
    else if (unreachable == m_setup.entries.size())
        ShowOverallState(kNoServiceReached);
    else
        ShowOverallState(kUpToDate);
}

void CSetWnd::ShowOverallState(int state) {
    m_overall = state;
    static const char* const kTexts[] = {"GetUpdateInfoText", "HaveUpdateInfoText",
                                         "NoUpdateInfoText", "ISUpdateINGText", "UpdateIsLastText"};
    if (state < 0 || state > kUpToDate)
        return;
    if (auto* text = Find(QStringLiteral("Update_Status_text"))) {
        if (state == kUpToDate) {
            text->SetResourceText(false);
            text->SetText(TextThroughLabel(m_pm, kTextLabel, QLatin1String(kTexts[state])) +
                          m_checkDate);
        } else {
            text->SetResourceText(true);
            text->SetText(QLatin1String(kTexts[state]));
        }
    }
    const bool checking = state == kChecking;
    if (auto* ring = Find(QStringLiteral("update_status_ring")))
        ring->SetVisible(checking);
    if (auto* image = Find(QStringLiteral("update_status_image")))
        image->SetVisible(!checking);
    if (state == kUpToDate && m_setup.mainWnd)
        m_setup.mainWnd->SendMessage(UM_CLEAR_UPDATE_MARK, 0, 0);
}

void CSetWnd::ShowUpdateButton() {
    bool any = false;
    for (CUpdateInfoListItemUI* row : Rows())
        any = any || row->IsChecked();
    if (auto* button = Find(QStringLiteral("update_fw_and_ap"))) {
        button->SetEnabled(any);
        button->SetVisible(any);
    }
}

void CSetWnd::OnUpdateConfirmed() {
    for (CUpdateInfoListItemUI* row : Rows()) {
        if (row->GetState() != kRowNeedsUpdate && row->GetState() != kRowNeedsUpdateToo)
            continue;
        if (row->IsChecked())
            row->SetState(kRowDownloadWaiting);
        else
            row->SetCheckEnabled(false);
    }
    if (auto* button = Find(QStringLiteral("update_fw_and_ap")))
        button->SetEnabled(false);
    if (auto* tabs = Find<ui::CTabLayoutUI>(QStringLiteral("get_update_tab_layout")))
        tabs->SelectItem(0);
}

void CSetWnd::OnClick(ui::TNotifyUI& msg) {
    if (NameIs(msg.pSender, "closebtn") || NameIs(msg.pSender, "laterbtn")) {
        StopWorkers();
        Close(0);
    } else if (NameIs(msg.pSender, "minbtn")) {
        SendMessage(ui::WM_SYSCOMMAND, ui::SC_MINIMIZE, 0);
    } else if (NameIs(msg.pSender, "maxbtn")) {
        SendMessage(ui::WM_SYSCOMMAND, ui::SC_MAXIMIZE, 0);
    } else if (NameIs(msg.pSender, "restorebtn")) {
        SendMessage(ui::WM_SYSCOMMAND, ui::SC_RESTORE, 0);
    } else if (NameIs(msg.pSender, "set_in_update_wnd_btn")) {
        if (auto* hint = Find(QStringLiteral("update_tishi_layout")))
            hint->SetVisible(false);
        if (QWidget* host = GetHWND())
            host->resize(m_pm.Scale(kWidth), m_pm.Scale(kHeight));
    } else if (NameIs(msg.pSender, "update_fw_and_ap")) {
        if (auto* tabs = Find<ui::CTabLayoutUI>(QStringLiteral("get_update_tab_layout")))
            tabs->SelectItem(1);
    } else if (NameIs(msg.pSender, "update_OK_btn")) {
        OnUpdateConfirmed();
    }
    // "menubtn" and "homepage_btn" do nothing.
}

// Only a row whose download or update is under way keeps the window open: a row that was never
// reached (state 0) or waits for an updater nobody runs would otherwise hold it for ever.
bool CSetWnd::MayClose() const {
    for (CUpdateInfoListItemUI* row : Rows())
        if (row->GetState() == kRowDownloading || row->GetState() == kRowUpdating)
            return false;
    return true;
}

void CSetWnd::OnRelay(ui::WPARAM event, ui::LPARAM value) {
    // The outside updater works through the rows waiting for it in list order.
    if (!m_updatingRow) {
        for (CUpdateInfoListItemUI* row : Rows())
            if (row->GetState() == kRowDownloadWaiting) {
                m_updatingRow = row;
                row->SetState(kRowUpdating);
                ShowOverallState(kUpdating);
                break;
            }
    }
    CUpdateInfoListItemUI* row = m_updatingRow;
    if (!row)
        return;
    if (event == 1) {
        row->SetLocalVersion(row->GetServerVersion());
        row->SetServerVersion(QString());
        row->SetState(kRowUpdated);
        row->SetChecked(false);
        m_updatingRow = nullptr;
        PostMessage(kRowUpdateEnded, 0, 0);
        const std::vector<CUpdateInfoListItemUI*> rows = Rows();
        for (CUpdateInfoListItemUI* other : rows)
            if (other->IsChecked() && other->GetState() != kRowUpdated)
                return;
        bool remaining = false;
        for (CUpdateInfoListItemUI* other : rows)
            if (other->GetState() != kRowUpdated) {
                other->SetCheckEnabled(true);
                remaining = true;
            }
        ShowOverallState(remaining ? kUpdatesFound : kUpToDate);
    } else if (event == 2 || event == 3) {
        row->SetState(kRowFailed);
        m_updatingRow = nullptr;
        PostMessage(kRowUpdateEnded, 0, 0);
    } else if (event == 4) {
        row->SetProgress(static_cast<int>(value));
    }
}

void CSetWnd::FillLanguages() {
    if (!m_languages)
        return;
    m_languages->RemoveAll();
    for (const LanguageEntry& language : ReadLanguageTable()) {
        auto* item = new ui::CListLabelElementUI;
        item->SetText(language.text);
        item->SetFixedHeight(30);
        m_languages->Add(item);
    }
    m_languages->SelectItem(m_setup.languageIndex, false, false);
}

void CSetWnd::SwitchAutostart() {
    if (!m_autostart)
        return;
    // A folder that refuses the entry leaves the box showing what the login will really do.
    if (!platform::SetAutostart(m_autostart->GetCheck())) {
        platform::DebugLog("the login entry %s cannot be changed",
                           platform::AutostartFile().c_str());
        m_autostart->SetCheck(platform::IsAutostartOn(), false);
    }
}

void CSetWnd::ShowMaximisedState() {
    QWidget* host = GetHWND();
    const bool maximised = host && host->isMaximized();
    if (m_maxBtn)
        m_maxBtn->SetVisible(!maximised);
    if (m_restoreBtn)
        m_restoreBtn->SetVisible(maximised);
}

ui::LRESULT CSetWnd::HandleCustomMessage(ui::UINT msg, ui::WPARAM wParam, ui::LPARAM lParam,
                                         bool& handled) {
    handled = false;
    if (msg != 0 && msg == g_messages.settingsRelay) {
        OnRelay(wParam, lParam);
        handled = true;
        return 0;
    }
    switch (msg) {
    case ui::WM_CLOSE:
        if (!MayClose()) {
            handled = true; // stays open while an update runs
            return 0;
        }
        StopWorkers();
        return 0;
    case ui::WM_SYSCOMMAND:
        if (wParam == ui::SC_CLOSE) {
            StopWorkers();
            DestroyWindow(0);
            handled = true;
            return 0;
        }
        ui::CWindowWnd::HandleMessage(msg, wParam, lParam);
        ShowMaximisedState();
        handled = true;
        return 0;
    case UM_SET_LANGUAGE:
        if (m_overall == kUpToDate)
            ShowOverallState(kUpToDate);
        if (QWidget* host = GetHWND())
            host->update();
        if (ui::CControlUI* root = m_pm.GetRoot())
            root->Invalidate();
        m_pm.NeedUpdate();
        handled = true;
        return 0;
    case ui::WM_DPICHANGED: {
        m_pm.SetDPI(static_cast<int>(wParam & 0xFFFF));
        m_pm.ResetDPIAssets();
        if (QWidget* host = GetHWND())
            host->resize(m_pm.Scale(kWidth), m_pm.Scale(kHeight));
        handled = true;
        return 0;
    }
    default:
        return 0;
    }
}

bool OpenSettingsWindow(CMainWnd& main) {
    if (g_settingsOpen)
        return false;
    g_settingsOpen = true;
    CSetWnd wnd(SettingsSetupFor(main));
    int dpi = main.GetPaintManager().GetDPI();
    if (dpi != 96 && dpi != 144) {
        platform::DebugLine("SET_WND DPI SET ERROR");
        dpi = 96;
    }
    wnd.GetPaintManager().SetDPI(dpi);
    if (wnd.Create(&main, QStringLiteral("SetWnd"), ui::WS_POPUP | ui::WS_VISIBLE,
                   ui::WS_EX_TOOLWINDOW, 0, 0, CSetWnd::kWidth, CSetWnd::kHeight)) {
        main.SetSecondaryWindow(CMainWnd::Secondary::Settings, &wnd);
        wnd.CenterWindow();
        wnd.ShowModal();
        main.SetSecondaryWindow(CMainWnd::Secondary::Settings, nullptr);
    }
    g_settingsOpen = false;
    return true;
}

} // namespace shell::update
