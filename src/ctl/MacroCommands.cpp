#include "ctl/MacroCommands.h"

#include "config/BasicProfiledata.h"
#include "config/JsonFile.h"
#include "config/MacroLibrary.h"
#include "config/MacroReferences.h"
#include "config/ProfileList.h"
#include "config/Utf8.h"
#include "ctl/KindFolders.h"
#include "ctl/ProfileCommands.h"

#include <algorithm>
#include <map>
#include <optional>

namespace ctl {

namespace {

struct Verb {
    std::size_t words; // KIND included
    const char* usage;
};

const std::map<std::string, Verb>& Verbs() {
    static const std::map<std::string, Verb> verbs = {
        {"list", {1, "KIND"}},
        {"show", {2, "KIND INDEX"}},
        {"add", {1, "KIND"}},
        {"rename", {3, "KIND INDEX NAME"}},
        {"delete", {2, "KIND INDEX [--shift]"}},
        {"import", {2, "KIND FILE"}},
        {"export", {3, "KIND INDEX FILE"}},
    };
    return verbs;
}

bool Refused(config::ReadState state) {
    return state == config::ReadState::kUnreadable || state == config::ReadState::kNotAFile ||
           state == config::ReadState::kTooLarge;
}

std::string Unreadable(const std::string& path) {
    return path + " cannot be read (" +
           config::DescribeRefusedRead(config::ReadJsonDocument(path)) + "); nothing was changed";
}

Json::Value MacroJson(const config::CMacroLibrary& library, std::size_t index) {
    const config::MacroInfo& macro = library.Macros()[index];
    Json::Value json(Json::objectValue);
    json["index"] = static_cast<Json::UInt>(index);
    json["name"] = macro.name;
    json["id"] = macro.guid;
    return json;
}

void PrintMacro(const config::CMacroLibrary& library, std::size_t index, const Output& output) {
    const config::MacroInfo& macro = library.Macros()[index];
    std::fprintf(output.out, "%zu\t%s\t%s\n", index, macro.name.c_str(), macro.guid.c_str());
}

// The new last macro of "add" and "import".
void PrintAdded(const config::CMacroLibrary& library, const Output& output) {
    const std::size_t last = library.Macros().size() - 1;
    if (output.json)
        output.json->Data()["macro"] = MacroJson(library, last);
    else
        PrintMacro(library, last, output);
}

Json::Value EventJson(const config::MacroEvent& event) {
    Json::Value json(Json::objectValue);
    json["type"] = unsigned{event.type};
    json["action"] = event.down ? "down" : "up";
    json["button"] = unsigned{event.button};
    json["delay_ms"] = unsigned{event.delay};
    return json;
}

bool HasControlCharacter(const std::string& text) {
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; });
}

// The library position INDEX names; nullopt (reason written, *exitCode set) otherwise.
std::optional<int> MacroIndexOf(const std::string& text, const config::CMacroLibrary& library,
                                const Output& output, int* exitCode) {
    const std::optional<int> index = ParseDecimal(text);
    if (!index) {
        *exitCode = UsageError(output, "INDEX must be a macro number from 'macro list'");
        return std::nullopt;
    }
    const std::size_t count = library.Macros().size();
    if (static_cast<std::size_t>(*index) >= count) {
        *exitCode = Failed(output, "there is no macro " + text +
                                       (count == 0 ? " (the library is empty)"
                                                   : " (the library has macros 0 to " +
                                                         std::to_string(count - 1) + ")"));
        return std::nullopt;
    }
    return index;
}

int Show(const config::CMacroLibrary& library, const Output& output) {
    const config::MacroEventsRead read = library.LoadMacroEvents();
    if (read.Refused())
        return Failed(output, Unreadable(config::MacroEventsPath(
                                  library.MacroFolder(),
                                  library.Macros()[library.GetSelectedMacroIndex()].guid)));
    if (output.json) {
        Json::Value events(Json::arrayValue);
        for (const config::MacroEvent& event : read.events)
            events.append(EventJson(event));
        output.json->Data()["index"] = library.GetSelectedMacroIndex();
        output.json->Data()["events"] = events;
        return kExitOk;
    }
    for (const config::MacroEvent& event : read.events)
        std::fprintf(output.out, "%u\t%s\t%u\t%u\n", unsigned{event.type},
                     event.down ? "down" : "up", unsigned{event.button}, unsigned{event.delay});
    return kExitOk;
}

int Add(config::CMacroLibrary& library, const Output& output) {
    if (library.Macros().size() >= static_cast<std::size_t>(config::kMaxLibraryMacros))
        return Failed(output, "there are " + std::to_string(config::kMaxLibraryMacros) +
                                  " macros already; delete one to add another");
    if (library.AddMacro().empty())
        return Failed(output, config::MacroIndexPath(library.MacroFolder()) + " cannot be written");
    PrintAdded(library, output);
    return kExitOk;
}

int Rename(config::CMacroLibrary& library, const std::string& name, const Output& output) {
    if (HasControlCharacter(name))
        return UsageError(output, "a macro name cannot hold control characters");
    const config::MacroRename renamed = library.RenameMacro(name);
    // A macro may well be named "IsEmpty": only the missing index tells the blank name.
    if (renamed.text == config::kMacroNameEmpty && renamed.index < 0)
        return Failed(output, "the name is blank");
    if (renamed.text.empty() && renamed.index >= 0)
        return Failed(output, "a macro is named '" + name + "' already");
    if (renamed.text.empty())
        return Failed(output, config::MacroIndexPath(library.MacroFolder()) + " cannot be written");
    return kExitOk;
}

std::string KeyNumbers(const std::vector<int>& keys) {
    std::string text;
    for (int key : keys)
        text += (text.empty() ? "" : ", ") + std::to_string(key);
    return text;
}

// Fixes the keys of the kind's selected profile for deleting macro `index`, then deletes it.
int Delete(config::CMacroLibrary& library, int index, bool shift, const KindFolders& folders,
           const Output& output) {
    config::CProfileList list(folders.userFolder, folders.defaultDocument);
    const int listed = list.Read();
    if (listed != config::kProfileDone)
        return Failed(output, DescribeProfileFailure(listed, list));
    // Before the first profile is made no key names a macro.
    const std::string id = list.SelectedId();
    config::CBasicProfiledata profile;
    std::vector<config::KeyListEntry> before;
    bool keysChanged = false;
    if (!id.empty()) {
        const std::string path = list.ProfilePath(id);
        profile.SetDefaultPath(config::Utf8ToWide(folders.defaultDocument));
        profile.SetProfilePath(config::Utf8ToWide(path));
        profile.ReadProfile(config::Utf8ToWide(path));
        if (profile.LoadResult() == config::kProfileUnreadable)
            return Failed(output, Unreadable(path));
        std::vector<config::KeyListEntry> keys = profile.ReadKeyList();
        before = keys;
        const std::vector<int> naming = config::KeysNamingMacro(keys, index);
        if (!naming.empty() && !shift)
            return Failed(output, std::string(naming.size() == 1 ? "key " : "keys ") +
                                      KeyNumbers(naming) + " of the selected profile " +
                                      (naming.size() == 1 ? "names" : "name") + " macro " +
                                      std::to_string(index) +
                                      "; give --shift to delete it and give them their default "
                                      "assignments");
        keysChanged = config::ShiftMacroReferences(keys, index);
        if (keysChanged) {
            profile.WriteKeyList(keys);
            if (!profile.SaveProfile())
                return Failed(output, path + " cannot be written; nothing was changed");
        }
    }
    library.SelectMacro(index);
    if (library.DeleteMacro() != index) {
        // The keys go back to the macros they named.
        if (keysChanged) {
            profile.WriteKeyList(before);
            profile.SaveProfile();
        }
        return Failed(output, config::MacroIndexPath(library.MacroFolder()) +
                                  " cannot be written; nothing was changed");
    }
    return kExitOk;
}

int Import(config::CMacroLibrary& library, const std::string& file, const Output& output) {
    // Checked first, so that a refused import leaves the index as it was.
    const config::MacroEventsRead source = config::ReadMacroEvents(file);
    if (source.state == config::ReadState::kMissing)
        return Failed(output, "there is no file " + file);
    if (source.Refused())
        return Failed(output, Unreadable(file));
    if (source.state != config::ReadState::kRead)
        return Failed(output, file + " is not a macro file");
    if (library.Macros().size() >= static_cast<std::size_t>(config::kMaxLibraryMacros))
        return Failed(output, "there are " + std::to_string(config::kMaxLibraryMacros) +
                                  " macros already; delete one to import another");
    if (library.ImportMacro(file).empty())
        return Failed(output, "the macro files cannot be written");
    PrintAdded(library, output);
    return kExitOk;
}

int Export(const config::CMacroLibrary& library, const std::string& file, const Output& output) {
    const std::string source = config::MacroEventsPath(
        library.MacroFolder(), library.Macros()[library.GetSelectedMacroIndex()].guid);
    switch (library.ExportMacro(file)) {
    case config::kMacroFileDone:
        return kExitOk;
    case config::kMacroFileSourceMissing:
        return Failed(output, "the macro has no events file yet (" + source + ")");
    case config::kMacroFileRefused:
        return Failed(output, Unreadable(source));
    default:
        return Failed(output, file + " cannot be written");
    }
}

} // namespace

int RunMacroCommand(const std::vector<std::string>& args, const Output& output) {
    if (args.empty())
        return UsageError(output, "'macro' needs an operation: list, show, add, rename, delete, "
                                  "import or export");
    const std::string& verb = args[0];
    const auto found = Verbs().find(verb);
    if (found == Verbs().end())
        return UsageError(output, "unknown macro operation '" + verb + "'");
    std::vector<std::string> words(args.begin() + 1, args.end());
    bool shift = false;
    if (verb == "delete") {
        const auto option = std::find(words.begin(), words.end(), "--shift");
        shift = option != words.end();
        if (shift)
            words.erase(option);
    }
    const bool unknownOption =
        verb != "rename" && std::any_of(words.begin(), words.end(),
                                        [](const std::string& w) { return w.rfind("--", 0) == 0; });
    if (unknownOption || words.size() != found->second.words)
        return UsageError(output, "'macro " + verb + "' takes " + found->second.usage);

    int exitCode = kExitFailed;
    const std::optional<KindFolders> folders = FoldersOf(words[0], output, &exitCode);
    if (!folders)
        return exitCode;
    if (!folders->hasKeys)
        return UsageError(output, "the " + words[0] + " has no macros (keyboard or mouse)");
    config::CMacroLibrary library;
    library.SetMacroFolder(folders->userFolder);
    if (Refused(library.LoadMacroList()))
        return Failed(output, Unreadable(config::MacroIndexPath(folders->userFolder)));

    if (verb == "list") {
        if (library.Macros().empty())
            std::fprintf(output.err, "quarin-z17ctl: the library has no macros\n");
        Json::Value macros(Json::arrayValue);
        for (std::size_t i = 0; i < library.Macros().size(); ++i) {
            if (output.json)
                macros.append(MacroJson(library, i));
            else
                PrintMacro(library, i, output);
        }
        if (output.json)
            output.json->Data()["macros"] = macros;
        return kExitOk;
    }
    if (verb == "add")
        return Add(library, output);
    if (verb == "import")
        return Import(library, words[1], output);
    const std::optional<int> index = MacroIndexOf(words[1], library, output, &exitCode);
    if (!index)
        return exitCode;
    if (verb == "delete")
        return Delete(library, *index, shift, *folders, output);
    library.SelectMacro(*index);
    if (verb == "show")
        return Show(library, output);
    if (verb == "rename")
        return Rename(library, words[2], output);
    return Export(library, words[2], output);
}

} // namespace ctl
