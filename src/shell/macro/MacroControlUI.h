#pragma once
// CMacroControlUI ("MacroControl", named "MacroControlItem" in the skin): the macro editor of
// a keyboard or mouse page. The left list holds the device's macro library ("macro_name_list",
// each row's user data the macro id); the middle list the events of the selected macro
// ("macro_action_list", one MacroEventRow per event). The panel changes the files through its
// CMacroLibrary and records through its MacroRecorder; the main window's routes ask the user,
// start and stop the capture and tell the device model.
//
// Every control may be missing from the skin; what needs it then does nothing.

#include "config/MacroLibrary.h"
#include "macro/MacroRecorder.h"
#include "ui/ContainerUI.h"

#include <functional>
#include <string>

namespace ui {
class CEditUI;
class CListUI;
} // namespace ui

namespace shell::macro {

enum class RowMove { Up, Down, Top, Bottom };

class CMacroControlUI : public ui::CHorizontalLayoutUI {
public:
    using Clock = std::function<::macro::Milliseconds()>;

    CMacroControlUI();
    QString GetClass() const override { return QStringLiteral("MacroControl"); }

    // Finds the panel's controls; called once the panel is in its window.
    void BindControls();
    // The recorder's clock (a steady clock by default); tests move their own.
    void SetClock(Clock clock) { m_clock = std::move(clock); }

    // ---- The library ----

    // The device's user folder, ending in a path separator; set once by the page's owner.
    void SetMacroFolder(const std::string& folder);
    // Fills "macro_name_list" from "macro.config", nothing selected.
    void LoadMacroList();
    // A new "macro_N" at the end, selected with its (empty) events shown; empty when refused.
    std::string AddMacro();
    // Renames the selected macro to the text of "macro_edit_macroname".
    config::MacroRename RenameMacro();
    // The deleted index, or -1. The events are cleared; an empty library disables the editor.
    int DeleteMacro();
    // The selected macro's ".mac" from the rows; an empty delay edit becomes 0.
    void SaveMacro();
    // The selected row of "macro_name_list" becomes the library's selection and its events
    // are shown; the editor is enabled.
    void LoadMacroEvents();
    // Shows the selected macro's events again from its file, dropping unsaved edits.
    void ReloadMacroEvents() { LoadMacroEvents(); }
    std::string ImportMacro(const std::string& path);
    int ExportMacro(const std::string& path);
    int GetSelectedMacroIndex() const;
    const config::CMacroLibrary& Library() const { return m_library; }

    // ---- The events ----

    // The events as the rows show them (delays from the edits).
    const ::macro::MacroEventList& Events();
    int GetSelectedRow() const;
    void SelectRow(int row);
    // Nothing happens with no row selected or when the row cannot go that way.
    void MoveSelectedRow(RowMove move);
    void DeleteSelectedRow();
    void DeleteAllRows();
    // A mouse-button press or release (button bit 1, 2, 4, 8, 16) after the selected row, or
    // first in an empty list; a click inserts the press and then the release. The new row is
    // selected. Its delay is the last fixed delay read.
    void InsertMouseButton(std::uint8_t button, bool down);
    void InsertMouseClick(std::uint8_t button);
    // A move of the distance in the named edit (low 8 bits of the number): kind 4 or 5,
    // "down" for left and up.
    void InsertMove(std::uint8_t type, bool down, const QString& distanceEdit);

    // ---- Recording ----

    // Enters recording for the place; false (nothing changes) with no macro selected: what
    // it recorded could not be kept. Before, after and replace drop their inputs while no row
    // is selected. In Fixed mode the delay is read from
    // "macro_fixed_time_edit" (values above 65535 are written back as 65535).
    bool StartRecording(::macro::TimingMode mode, ::macro::RecordPlace place);
    // Leaves recording; the caller saves.
    void StopRecording();
    bool IsRecording() const { return m_recorder.IsRecording(); }
    // A captured key or mouse button.
    ::macro::RecordResult OnHookKey(unsigned message, const platform::KeyboardHookRecord& record);
    ::macro::RecordResult OnHookMouse(unsigned message, std::uint32_t mouseData,
                                      ::macro::ScreenPoint position);

private:
    template <class T = ui::CControlUI> T* Child(const char* name) const;
    // The library's list in "macro_name_list", with its selection.
    void ShowMacroNames();
    void EnableEditor(bool on);
    void ShowRecordingState(bool recording);
    // The selection of the event list and the delay edits into the model.
    void TakeRowsIntoModel();
    void RebuildRows();
    void InsertRow(int index, const config::MacroEvent& event);
    void ShowRecordResult(const ::macro::RecordResult& result);
    void InsertAfterSelection(const config::MacroEvent& event);
    ::macro::ScreenRect StopButtonRect() const;
    ::macro::Milliseconds Now() const;

    config::CMacroLibrary m_library;
    ::macro::MacroEventList m_events;
    ::macro::MacroRecorder m_recorder{m_events};
    Clock m_clock;
    ui::CListUI* m_names = nullptr;
    ui::CListUI* m_rows = nullptr;
};

} // namespace shell::macro
