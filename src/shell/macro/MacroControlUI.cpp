#include "shell/macro/MacroControlUI.h"

#include "shell/macro/MacroEventRow.h"
#include "ui/ControlTree.h"
#include "ui/EditUI.h"
#include "ui/ListUI.h"

#include <QWidget>
#include <chrono>

namespace shell::macro {

namespace {

constexpr int kNameRowHeight = 30;

// The controls a macro's events are edited with: off until a macro is loaded.
constexpr const char* kEditorControls[] = {"macro_action_layout", "mouse_move_layout",
                                           "macro_btn_export", "macro_btn_name_sub",
                                           "macro_btn_name_edit"};

std::uint16_t FixedDelayOf(ui::CEditUI* edit) {
    if (!edit)
        return 0;
    bool ok = false;
    const qulonglong value = edit->GetText().trimmed().toULongLong(&ok);
    if (!ok)
        return 0;
    if (value > config::kMaxMacroDelay) {
        edit->SetText(QString::number(config::kMaxMacroDelay));
        edit->setCursorPosition(edit->text().size());
        return config::kMaxMacroDelay;
    }
    return static_cast<std::uint16_t>(value);
}

} // namespace

CMacroControlUI::CMacroControlUI()
    : m_clock([] {
          using namespace std::chrono;
          return static_cast<::macro::Milliseconds>(
              duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
      }) {}

template <class T> T* CMacroControlUI::Child(const char* name) const {
    return dynamic_cast<T*>(
        ui::FindInTreeByName(const_cast<CMacroControlUI*>(this), QString::fromLatin1(name)));
}

void CMacroControlUI::BindControls() {
    m_names = Child<ui::CListUI>("macro_name_list");
    m_rows = Child<ui::CListUI>("macro_action_list");
}

::macro::Milliseconds CMacroControlUI::Now() const {
    return m_clock();
}

// ---- The library ----

void CMacroControlUI::SetMacroFolder(const std::string& folder) {
    m_library.SetMacroFolder(folder);
}

void CMacroControlUI::LoadMacroList() {
    m_library.LoadMacroList();
    ShowMacroNames();
}

void CMacroControlUI::ShowMacroNames() {
    if (!m_names)
        return;
    m_names->RemoveAll();
    for (const config::MacroInfo& macro : m_library.Macros()) {
        auto* row = new ui::CListLabelElementUI;
        row->SetText(QString::fromStdString(macro.name));
        row->SetUserData(QString::fromStdString(macro.guid));
        row->SetFixedHeight(kNameRowHeight);
        m_names->Add(row);
    }
    const int selected = m_library.GetSelectedMacroIndex();
    m_names->SelectItem(selected, false, false);
    if (selected >= 0)
        m_names->EnsureVisible(selected);
}

std::string CMacroControlUI::AddMacro() {
    const std::string id = m_library.AddMacro();
    if (id.empty())
        return id;
    // The library has read its index again: the list shows it as it is now.
    ShowMacroNames();
    LoadMacroEvents();
    return id;
}

config::MacroRename CMacroControlUI::RenameMacro() {
    auto* edit = Child<ui::CEditUI>("macro_edit_macroname");
    m_library.SelectMacro(GetSelectedMacroIndex());
    const config::MacroRename result =
        m_library.RenameMacro(edit ? edit->GetText().toStdString() : std::string());
    // An empty name gives "IsEmpty" with no index; a macro may well be named "IsEmpty".
    if (!result.text.empty() && result.index >= 0) {
        if (ui::CControlUI* row = m_names ? m_names->GetItemAt(result.index) : nullptr)
            row->SetText(QString::fromStdString(result.text));
        if (edit)
            edit->SetText(QString());
    }
    return result;
}

int CMacroControlUI::DeleteMacro() {
    m_library.SelectMacro(GetSelectedMacroIndex());
    const int deleted = m_library.DeleteMacro();
    if (deleted < 0)
        return deleted;
    ShowMacroNames();
    m_events = {};
    RebuildRows();
    if (m_library.Macros().empty())
        EnableEditor(false);
    return deleted;
}

void CMacroControlUI::SaveMacro() {
    m_library.SelectMacro(GetSelectedMacroIndex());
    if (m_library.GetSelectedMacroIndex() < 0)
        return;
    TakeRowsIntoModel();
    m_library.SaveMacro(m_events.events);
}

void CMacroControlUI::LoadMacroEvents() {
    m_library.SelectMacro(GetSelectedMacroIndex());
    if (m_library.GetSelectedMacroIndex() < 0)
        return;
    EnableEditor(true);
    m_events = {};
    m_events.events = m_library.LoadMacroEvents().events;
    RebuildRows();
}

std::string CMacroControlUI::ImportMacro(const std::string& path) {
    if (path.empty())
        return {};
    const std::string id = m_library.ImportMacro(path);
    if (id.empty())
        return id;
    ShowMacroNames();
    LoadMacroEvents();
    return id;
}

int CMacroControlUI::ExportMacro(const std::string& path) {
    m_library.SelectMacro(GetSelectedMacroIndex());
    return m_library.ExportMacro(path);
}

int CMacroControlUI::GetSelectedMacroIndex() const {
    if (!m_names)
        return m_library.GetSelectedMacroIndex();
    const int row = m_names->GetCurSel();
    return row < static_cast<int>(m_library.Macros().size()) ? row : -1;
}

void CMacroControlUI::EnableEditor(bool on) {
    for (const char* name : kEditorControls)
        if (ui::CControlUI* control = Child(name))
            control->SetEnabled(on);
}

// ---- The events ----

const ::macro::MacroEventList& CMacroControlUI::Events() {
    TakeRowsIntoModel();
    return m_events;
}

int CMacroControlUI::GetSelectedRow() const {
    return m_rows ? m_rows->GetCurSel() : m_events.selected;
}

void CMacroControlUI::SelectRow(int row) {
    m_events.selected = row;
    if (m_rows) {
        m_rows->SelectItem(row, false, false);
        if (row >= 0)
            m_rows->EnsureVisible(row);
    }
}

void CMacroControlUI::TakeRowsIntoModel() {
    m_events.selected = GetSelectedRow();
    if (!m_rows)
        return;
    const int count = std::min<int>(m_rows->GetCount(), m_events.events.size());
    for (int i = 0; i < count; ++i)
        m_events.events[i].delay = TakeRowDelay(m_rows->GetItemAt(i));
}

void CMacroControlUI::RebuildRows() {
    if (!m_rows)
        return;
    // Hidden meanwhile, the list lays its rows out once instead of once per row added.
    QWidget* list = m_rows->GetWidget();
    const bool shown = list->isVisibleTo(list->parentWidget());
    list->hide();
    m_rows->RemoveAll();
    for (std::size_t i = 0; i < m_events.events.size(); ++i)
        m_rows->Add(MakeEventRow(m_events.events[i]));
    list->setVisible(shown);
    SelectRow(m_events.HasSelection() ? m_events.selected : -1);
}

void CMacroControlUI::InsertRow(int index, const config::MacroEvent& event) {
    if (m_rows)
        m_rows->AddAt(MakeEventRow(event), index);
}

void CMacroControlUI::MoveSelectedRow(RowMove move) {
    TakeRowsIntoModel();
    const int from = m_events.selected;
    const int last = static_cast<int>(m_events.events.size()) - 1;
    if (!m_events.HasSelection())
        return;
    const bool towardsTop = move == RowMove::Up || move == RowMove::Top;
    if ((towardsTop && from == 0) || (!towardsTop && from == last))
        return;
    int to = 0;
    switch (move) {
    case RowMove::Up:
        to = from - 1;
        break;
    case RowMove::Down:
        to = from + 1;
        break;
    case RowMove::Top:
        to = 0;
        break;
    case RowMove::Bottom:
        to = last;
        break;
    }
    const config::MacroEvent event = m_events.events[from];
    m_events.events.erase(m_events.events.begin() + from);
    m_events.events.insert(m_events.events.begin() + to, event);
    if (m_rows) {
        m_rows->Remove(m_rows->GetItemAt(from));
        InsertRow(to, event);
    }
    SelectRow(to);
}

void CMacroControlUI::DeleteSelectedRow() {
    TakeRowsIntoModel();
    if (!m_events.HasSelection())
        return;
    const int row = m_events.selected;
    m_events.events.erase(m_events.events.begin() + row);
    if (m_rows)
        m_rows->Remove(m_rows->GetItemAt(row));
    SelectRow(-1);
}

void CMacroControlUI::DeleteAllRows() {
    m_events = {};
    RebuildRows();
}

void CMacroControlUI::InsertAfterSelection(const config::MacroEvent& event) {
    TakeRowsIntoModel();
    // With no row selected the new row goes first.
    const int index = m_events.HasSelection() ? m_events.selected + 1 : 0;
    m_events.events.insert(m_events.events.begin() + index, event);
    InsertRow(index, event);
    SelectRow(index);
}

void CMacroControlUI::InsertMouseButton(std::uint8_t button, bool down) {
    if (GetSelectedMacroIndex() < 0)
        return;
    InsertAfterSelection({config::kMacroMouseButton, down, button, m_recorder.FixedDelay()});
}

void CMacroControlUI::InsertMouseClick(std::uint8_t button) {
    InsertMouseButton(button, true);
    InsertMouseButton(button, false);
}

void CMacroControlUI::InsertMove(std::uint8_t type, bool down, const QString& distanceEdit) {
    if (GetSelectedMacroIndex() < 0)
        return;
    auto* edit = dynamic_cast<ui::CEditUI*>(ui::FindInTreeByName(this, distanceEdit));
    const qulonglong distance = edit ? edit->GetText().trimmed().toULongLong() : 0;
    InsertAfterSelection(
        {type, down, static_cast<std::uint8_t>(distance & 0xFF), m_recorder.FixedDelay()});
}

// ---- Recording ----

bool CMacroControlUI::StartRecording(::macro::TimingMode mode, ::macro::RecordPlace place) {
    if (GetSelectedMacroIndex() < 0)
        return false;
    TakeRowsIntoModel();
    const std::uint16_t fixed = mode == ::macro::TimingMode::Fixed
                                    ? FixedDelayOf(Child<ui::CEditUI>("macro_fixed_time_edit"))
                                    : 0;
    m_recorder.Start(mode, place, fixed, Now());
    ShowRecordingState(true);
    return true;
}

void CMacroControlUI::StopRecording() {
    if (!m_recorder.IsRecording())
        return;
    m_recorder.Stop();
    ShowRecordingState(false);
}

void CMacroControlUI::ShowRecordingState(bool recording) {
    for (const char* name : {"macro_name_tab", "macro_action_list"})
        if (ui::CControlUI* control = Child(name))
            control->SetMouseEnabled(!recording);
    for (const char* name : {"macro_tab_macroaction_edit", "macro_tab_macrodelay_edit"})
        if (ui::CControlUI* control = Child(name))
            control->SetEnabled(!recording);
    if (ui::CControlUI* start = Child("macro_btn_starredio"))
        start->SetVisible(!recording);
    if (ui::CControlUI* stop = Child("macro_btn_stopredio"))
        stop->SetVisible(recording);
}

::macro::ScreenRect CMacroControlUI::StopButtonRect() const {
    ui::CControlUI* stop = Child("macro_btn_stopredio");
    if (!stop || !stop->IsVisible())
        return {};
    QWidget* widget = stop->GetWidget();
    const QPoint topLeft = widget->mapToGlobal(QPoint(0, 0));
    return {topLeft.x(), topLeft.y(), topLeft.x() + widget->width(),
            topLeft.y() + widget->height()};
}

::macro::RecordResult CMacroControlUI::OnHookKey(unsigned message,
                                                 const platform::KeyboardHookRecord& record) {
    if (!m_recorder.IsRecording())
        return {};
    TakeRowsIntoModel();
    const ::macro::RecordResult result = m_recorder.OnHookKey(message, record, Now());
    ShowRecordResult(result);
    return result;
}

::macro::RecordResult CMacroControlUI::OnHookMouse(unsigned message, std::uint32_t mouseData,
                                                   ::macro::ScreenPoint position) {
    if (!m_recorder.IsRecording())
        return {};
    TakeRowsIntoModel();
    // The stop button's place on the screen now: the window may have moved since the start.
    m_recorder.SetStopButtonRect(StopButtonRect());
    const ::macro::RecordResult result =
        m_recorder.OnHookMouse(message, mouseData, position, Now());
    ShowRecordResult(result);
    return result;
}

void CMacroControlUI::ShowRecordResult(const ::macro::RecordResult& result) {
    switch (result.kind) {
    case ::macro::RecordResult::Dropped:
        return;
    case ::macro::RecordResult::Inserted:
        InsertRow(result.row, m_events.events[result.row]);
        if (result.delayedRow >= 0 && m_rows)
            ShowEventInRow(m_rows->GetItemAt(result.delayedRow),
                           m_events.events[result.delayedRow]);
        break;
    case ::macro::RecordResult::Replaced:
        if (m_rows)
            ShowEventInRow(m_rows->GetItemAt(result.row), m_events.events[result.row]);
        break;
    }
    SelectRow(m_events.selected);
}

} // namespace shell::macro
