#pragma once
// CMacroLibrary: a device's macro library as the macro panel works on it: the list of
// "macro.config" with one selected entry, and the operations that change the files. The panel
// shows Macros() and asks the user; this model never does.
//
// The index is read again before every change, so the list always follows the file. An index
// that is there but cannot be read is never replaced: every change is refused then.

#include "config/MacroFiles.h"
#include "config/MacroReferences.h"

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace config {

inline constexpr int kMaxLibraryMacros = 50;
// RenameMacro's text for a name that is empty after trimming.
inline constexpr const char* kMacroNameEmpty = "IsEmpty";

struct MacroRename {
    std::string text; // the new name, kMacroNameEmpty, or empty when nothing changed
    int index = -1;   // the selected row, or -1 with no selection or an empty name

    bool operator==(const MacroRename&) const = default;
};

class CMacroLibrary {
public:
    using Clock = std::function<std::chrono::system_clock::time_point()>;

    // `clock` makes the macro ids; the system clock when empty.
    explicit CMacroLibrary(Clock clock = {});

    // The device's user folder, ending in a path separator.
    void SetMacroFolder(const std::string& folder) { m_folder = folder; }
    const std::string& MacroFolder() const { return m_folder; }

    // Fills the list from "macro.config"; the selection is cleared. The read's state tells a
    // missing or damaged index (empty list) from one that could not be read.
    ReadState LoadMacroList();
    const std::vector<MacroInfo>& Macros() const { return m_macros; }

    // -1 for none; an index outside the list clears the selection.
    void SelectMacro(int index);
    int GetSelectedMacroIndex() const { return m_selected; }

    // Appends "macro_<n>" with the smallest n no name matches (any case) and a fresh id,
    // writes the index and selects the entry. No ".mac" is written: the first save makes it.
    // The new id, or empty when 50 macros are there or the index cannot be read or written.
    std::string AddMacro();
    // Renames the selected macro; the ".mac" keeps its old inner name until the next save.
    MacroRename RenameMacro(const std::string& name);
    // Removes the selected macro's ".mac" and its entry (later ones move up); the selection is
    // cleared. The removed index, or -1 with nothing selected or the index unreadable.
    int DeleteMacro();

    // The selected macro's ".mac" from `events`, with its current name and id.
    // kMacroFileRefused when a ".mac" is there that cannot be read (it is kept), 0 with no
    // selection or a failed write.
    int SaveMacro(const std::vector<MacroEvent>& events);
    // The selected macro's events; none without a selection.
    MacroEventsRead LoadMacroEvents() const;

    // A new entry (AddMacro) whose ".mac" is a byte-for-byte copy of `path`; its inner name
    // and id stay as they were. Empty for an empty path, a refused add, or a source that is
    // missing or unreadable (the entry is then taken back).
    std::string ImportMacro(const std::string& path);
    // Copies the selected macro's ".mac" to `path` byte for byte; CopyMacroFile's result, 0
    // with an empty path or no selection.
    int ExportMacro(const std::string& path) const;

private:
    // Reads the index before a change; false when it is there but cannot be read.
    bool Reread();
    std::string FreeName() const;
    std::string FreeId() const;
    bool HasSelection() const;

    Clock m_clock;
    std::string m_folder;
    std::vector<MacroInfo> m_macros;
    int m_selected = -1;
};

} // namespace config
