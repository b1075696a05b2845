#include "shell/update/UpdateInfoListItemUI.h"

#include "ui/ButtonUI.h"
#include "ui/DialogBuilder.h"
#include "ui/PaintManagerUI.h"

namespace shell::update {

namespace {

constexpr std::uint32_t kDefaultColour = 0; // the skin's own
constexpr std::uint32_t kGreyText = 0xFF666666;
constexpr std::uint32_t kBlueText = 0xFF0099FF;
constexpr std::uint32_t kDeepBlueText = 0xFF0078C8;
constexpr std::uint32_t kHoverFrame = 0xFF0078C8;

const char* StateTextId(int state) {
    switch (state) {
    case kRowNeedsUpdate:
    case kRowNeedsUpdateToo:
        return "NeedUpdateText";
    case kRowDownloadWaiting:
        return "DownloadWaitText";
    case kRowDownloading:
        return "DownloadIngText";
    case kRowDownloaded:
        return "DownloadOkText";
    case kRowUpdating:
        return "UpdateIngText";
    case kRowUpdated:
        return "UpdateOkText";
    case kRowFailed:
        return "UpdateFailText";
    default:
        return "LessUpdateText";
    }
}

QString Colour(std::uint32_t argb) {
    return QStringLiteral("#%1").arg(argb, 8, 16, QLatin1Char('0')).toUpper();
}

} // namespace

CUpdateInfoListItemUI::CUpdateInfoListItemUI() {
    SetFixedHeight(kHeight);
}

void CUpdateInfoListItemUI::SetManager(ui::CPaintManagerUI* manager, CControlUI* parent) {
    CListContainerElementUI::SetManager(manager, parent);
    BuildContent();
}

void CUpdateInfoListItemUI::DoInit() {
    CListContainerElementUI::DoInit();
    BuildContent();
}

void CUpdateInfoListItemUI::BuildContent() {
    // Needs the manager, which a row added to the list only gets then.
    if (m_built || !GetManager())
        return;
    m_built = true;
    ui::CDialogBuilder builder;
    if (!builder.Create(kContentXml, nullptr, GetManager(), this))
        return;
    auto find = [this](const char* name) {
        return GetManager()->FindSubControlByName(this, QLatin1String(name));
    };
    m_check = ui::control_cast<ui::COptionUI>(find("check_name_select"));
    m_oldRev = find("OldRev");
    m_updateRev = find("updateRev");
    m_statusText = find("update_status_text");
    m_statusIng = find("update_status_ing");
    m_progress = find("update_progress_value");
    m_statusOk = find("update_status_ok");
    if (m_statusText)
        m_statusText->SetResourceText(true);
    SetState(kRowNone);
}

void CUpdateInfoListItemUI::SetState(int state) {
    if (state == m_state)
        return;
    m_state = state;
    if (m_statusText)
        m_statusText->SetText(QLatin1String(StateTextId(state)));
    const bool busy = state == kRowDownloading || state == kRowUpdating;
    if (m_statusIng)
        m_statusIng->SetVisible(busy);
    if (m_progress)
        m_progress->SetVisible(busy);
    if (m_statusOk)
        m_statusOk->SetVisible(state == kRowDownloaded);
    if (!m_check)
        return;
    switch (state) {
    case kRowNone:
        m_check->SetEnabled(false);
        SetCheckColours(kDefaultColour, kGreyText);
        m_check->SetSelectedTextColor(kDefaultColour);
        break;
    case kRowNeedsUpdate:
    case kRowNeedsUpdateToo:
    case kRowFailed:
        m_check->SetEnabled(true);
        SetCheckColours(kBlueText, kDeepBlueText);
        break;
    case kRowUpdating:
        m_check->SetEnabled(false);
        SetCheckColours(kBlueText, kDeepBlueText);
        break;
    case kRowUpdated:
        SetCheckColours(kDefaultColour, kGreyText);
        break;
    default:
        SetCheckColours(kBlueText, kDeepBlueText);
        break;
    }
}

void CUpdateInfoListItemUI::SetCheckColours(std::uint32_t text, std::uint32_t disabled) {
    m_check->SetTextColor(text);
    m_check->SetAttribute(QStringLiteral("disabledtextcolor"), Colour(disabled));
}

void CUpdateInfoListItemUI::ShowResult(const ::update::UpdateResult& result) {
    m_result = result;
    SetUserData(QString::fromStdWString(result.downloadPath));
    if (m_check)
        m_check->SetText(QString::fromStdWString(result.name));
    SetLocalVersion(QString::fromStdWString(result.localVersion));
    SetServerVersion(QString::fromStdWString(result.serverVersion));
}

void CUpdateInfoListItemUI::SetLocalVersion(const QString& text) {
    if (m_oldRev)
        m_oldRev->SetText(text);
}

QString CUpdateInfoListItemUI::GetLocalVersion() const {
    return m_oldRev ? m_oldRev->GetText() : QString();
}

void CUpdateInfoListItemUI::SetServerVersion(const QString& text) {
    if (!m_updateRev)
        return;
    m_updateRev->SetText(text);
    m_updateRev->SetVisible(!text.isEmpty());
}

QString CUpdateInfoListItemUI::GetServerVersion() const {
    return m_updateRev ? m_updateRev->GetText() : QString();
}

void CUpdateInfoListItemUI::SetProgress(int percent) {
    if (m_progress)
        m_progress->SetText(QString::asprintf("%d%s", percent, "%"));
}

bool CUpdateInfoListItemUI::IsChecked() const {
    return m_check && m_check->IsSelected();
}

void CUpdateInfoListItemUI::SetChecked(bool checked) {
    if (m_check)
        m_check->Selected(checked, false);
    ShowHoverFrame();
}

void CUpdateInfoListItemUI::SetCheckEnabled(bool enabled) {
    if (m_check)
        m_check->SetEnabled(enabled);
}

void CUpdateInfoListItemUI::enterEvent(QEnterEvent* event) {
    CListContainerElementUI::enterEvent(event);
    m_hot = true;
    ShowHoverFrame();
}

void CUpdateInfoListItemUI::leaveEvent(QEvent* event) {
    CListContainerElementUI::leaveEvent(event);
    m_hot = false;
    ShowHoverFrame();
}

void CUpdateInfoListItemUI::ShowHoverFrame() {
    const bool frame = m_hot && !IsChecked();
    SetBorderColor(frame ? kHoverFrame : 0);
    SetBorderSize(frame ? 1 : 0);
}

} // namespace shell::update
