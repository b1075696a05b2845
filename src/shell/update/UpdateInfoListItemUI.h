#pragma once
// A row of the settings window's update list, built from
// "XML/CustomControlXML/device_Update_list_item.xml": the entry's check box with its name
// ("check_name_select"), the local and the server version ("OldRev", "updateRev"), the state
// text ("update_status_text") and the progress or done marks. The row's user data is the
// download path of its result; the row draws a hover frame while the pointer is over it and
// its check box is clear.

#include "ui/ListUI.h"
#include "update/UpdateEntry.h"

namespace ui {
class COptionUI;
}

namespace shell::update {

// Row states: 0 current or unknown, 1 and 2 an update exists, 3 waiting for download,
// 4 downloading, 5 downloaded, 6 updating, 7 updated (or current), 8 failed.
enum RowState : int {
    kRowNone = 0,
    kRowNeedsUpdate = 1,
    kRowNeedsUpdateToo = 2,
    kRowDownloadWaiting = 3,
    kRowDownloading = 4,
    kRowDownloaded = 5,
    kRowUpdating = 6,
    kRowUpdated = 7,
    kRowFailed = 8,
};

class CUpdateInfoListItemUI : public ui::CListContainerElementUI {
public:
    static inline const QString kContentXml =
        QStringLiteral("XML/CustomControlXML/device_Update_list_item.xml");
    static constexpr int kHeight = 50;

    CUpdateInfoListItemUI();
    QString GetClass() const override { return QStringLiteral("UpdateInfoListItemUI"); }
    void SetManager(ui::CPaintManagerUI* manager, CControlUI* parent) override;
    void DoInit() override;
    // False when the row's content could not be built from its file.
    bool IsBuilt() const { return m_check != nullptr; }

    int GetState() const { return m_state; }
    void SetState(int state);
    // Name, versions and download path of a result; the server version is hidden while empty.
    void ShowResult(const ::update::UpdateResult& result);
    void SetLocalVersion(const QString& text);
    QString GetLocalVersion() const;
    void SetServerVersion(const QString& text);
    QString GetServerVersion() const;
    // "%d%s" with "%".
    void SetProgress(int percent);

    ui::COptionUI* CheckBox() const { return m_check; }
    bool IsChecked() const;
    void SetChecked(bool checked);
    void SetCheckEnabled(bool enabled);
    const ::update::UpdateResult& Result() const { return m_result; }
    void SetInstallerFile(const std::wstring& file) { m_result.installerFile = file; }

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void BuildContent();
    void ShowHoverFrame();
    void SetCheckColours(std::uint32_t text, std::uint32_t disabled);

    bool m_built = false;
    bool m_hot = false;
    int m_state = -1;
    ::update::UpdateResult m_result;
    ui::COptionUI* m_check = nullptr;
    ui::CControlUI* m_oldRev = nullptr;
    ui::CControlUI* m_updateRev = nullptr;
    ui::CControlUI* m_statusText = nullptr;
    ui::CControlUI* m_statusIng = nullptr;
    ui::CControlUI* m_progress = nullptr;
    ui::CControlUI* m_statusOk = nullptr;
};

} // namespace shell::update
