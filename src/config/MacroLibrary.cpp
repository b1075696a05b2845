#include "config/MacroLibrary.h"

#include "config/TimestampId.h"

#include <algorithm>
#include <cstdio>

namespace config {

namespace {
char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameNameAnyCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return LowerAscii(x) == LowerAscii(y);
           });
}

std::string Trimmed(const std::string& text) {
    const char* blank = " \t\r\n\f\v";
    const std::size_t first = text.find_first_not_of(blank);
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(blank) - first + 1);
}
} // namespace

CMacroLibrary::CMacroLibrary(Clock clock) : m_clock(std::move(clock)) {
    if (!m_clock)
        m_clock = [] { return std::chrono::system_clock::now(); };
}

ReadState CMacroLibrary::LoadMacroList() {
    MacroIndexRead read = ReadMacroIndex(m_folder);
    m_macros = std::move(read.macros);
    m_selected = -1;
    return read.state;
}

void CMacroLibrary::SelectMacro(int index) {
    m_selected = index >= 0 && static_cast<std::size_t>(index) < m_macros.size() ? index : -1;
}

bool CMacroLibrary::Reread() {
    MacroIndexRead read = ReadMacroIndex(m_folder);
    if (read.Refused())
        return false;
    m_macros = std::move(read.macros);
    SelectMacro(m_selected);
    return true;
}

bool CMacroLibrary::HasSelection() const {
    return m_selected >= 0 && static_cast<std::size_t>(m_selected) < m_macros.size();
}

std::string CMacroLibrary::FreeName() const {
    for (int n = 1;; ++n) {
        const std::string name = "macro_" + std::to_string(n);
        if (std::none_of(m_macros.begin(), m_macros.end(),
                         [&](const MacroInfo& m) { return SameNameAnyCase(m.name, name); }))
            return name;
    }
}

// Ids are made to the millisecond; a macro added within the same millisecond as another (an
// import right after an add) takes the next free millisecond instead of sharing its file.
std::string CMacroLibrary::FreeId() const {
    auto when = m_clock();
    for (;;) {
        std::string id = MakeTimestampId(when);
        if (std::none_of(m_macros.begin(), m_macros.end(),
                         [&](const MacroInfo& m) { return m.guid == id; }))
            return id;
        when += std::chrono::milliseconds(1);
    }
}

std::string CMacroLibrary::AddMacro() {
    if (!Reread() || m_macros.size() >= static_cast<std::size_t>(kMaxLibraryMacros))
        return {};
    MacroInfo info{FreeName(), FreeId()};
    m_macros.push_back(info);
    if (WriteMacroIndex(m_folder, m_macros) != kMacroFileDone) {
        m_macros.pop_back();
        return {};
    }
    m_selected = static_cast<int>(m_macros.size()) - 1;
    return info.guid;
}

MacroRename CMacroLibrary::RenameMacro(const std::string& name) {
    if (!HasSelection())
        return {};
    const std::string trimmed = Trimmed(name);
    if (trimmed.empty())
        return {kMacroNameEmpty, -1};
    if (!Reread() || !HasSelection())
        return {};
    const int selected = m_selected;
    if (std::any_of(m_macros.begin(), m_macros.end(),
                    [&](const MacroInfo& m) { return SameNameAnyCase(m.name, trimmed); }))
        return {{}, selected};
    const std::string old = m_macros[static_cast<std::size_t>(selected)].name;
    m_macros[static_cast<std::size_t>(selected)].name = trimmed;
    if (WriteMacroIndex(m_folder, m_macros) != kMacroFileDone) {
        m_macros[static_cast<std::size_t>(selected)].name = old;
        return {};
    }
    return {trimmed, selected};
}

int CMacroLibrary::DeleteMacro() {
    if (!HasSelection() || !Reread() || !HasSelection())
        return -1;
    const int index = m_selected;
    const MacroInfo removed = m_macros[static_cast<std::size_t>(index)];
    m_macros.erase(m_macros.begin() + index);
    if (WriteMacroIndex(m_folder, m_macros) != kMacroFileDone) {
        m_macros.insert(m_macros.begin() + index, removed);
        return -1;
    }
    // Another entry may share the id (a hand-edited index): its events stay.
    const bool shared = std::any_of(m_macros.begin(), m_macros.end(),
                                    [&](const MacroInfo& m) { return m.guid == removed.guid; });
    if (IsPlainMacroId(removed.guid) && !shared)
        std::remove(MacroEventsPath(m_folder, removed.guid).c_str());
    m_selected = -1;
    return index;
}

int CMacroLibrary::SaveMacro(const std::vector<MacroEvent>& events) {
    if (!HasSelection())
        return kMacroFileWriteFailed;
    const MacroInfo& info = m_macros[static_cast<std::size_t>(m_selected)];
    if (!IsPlainMacroId(info.guid))
        return kMacroFileWriteFailed;
    const std::string path = MacroEventsPath(m_folder, info.guid);
    if (ReadMacroEvents(path).Refused())
        return kMacroFileRefused;
    return WriteMacroEvents(path, info, events);
}

MacroEventsRead CMacroLibrary::LoadMacroEvents() const {
    if (!HasSelection())
        return {};
    const MacroInfo& info = m_macros[static_cast<std::size_t>(m_selected)];
    if (!IsPlainMacroId(info.guid))
        return {};
    return ReadMacroEvents(MacroEventsPath(m_folder, info.guid));
}

std::string CMacroLibrary::ImportMacro(const std::string& path) {
    if (path.empty())
        return {};
    const std::string id = AddMacro();
    if (id.empty())
        return {};
    if (CopyMacroFile(path, MacroEventsPath(m_folder, id)) == kMacroFileDone)
        return id;
    // Nothing to import: the entry made for it goes again.
    m_macros.pop_back();
    m_selected = -1;
    WriteMacroIndex(m_folder, m_macros);
    return {};
}

int CMacroLibrary::ExportMacro(const std::string& path) const {
    if (path.empty() || !HasSelection())
        return kMacroFileWriteFailed;
    const MacroInfo& info = m_macros[static_cast<std::size_t>(m_selected)];
    if (!IsPlainMacroId(info.guid))
        return kMacroFileSourceMissing;
    return CopyMacroFile(MacroEventsPath(m_folder, info.guid), path);
}

} // namespace config
