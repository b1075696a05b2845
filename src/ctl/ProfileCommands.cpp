#include "ctl/ProfileCommands.h"

#include "config/BasicProfiledata.h"
#include "config/ProfileList.h"
#include "config/Utf8.h"
#include "ctl/KindFolders.h"
#include "devices/KeyCode.h"

#include <algorithm>
#include <charconv>
#include <optional>

namespace ctl {

namespace {

Json::Value EntryJson(const config::ProfileListState& state, std::size_t index) {
    const config::ProfileEntry& entry = state.entries[index];
    Json::Value json(Json::objectValue);
    json["index"] = static_cast<Json::UInt>(index);
    json["selected"] = static_cast<int>(index) == state.selected;
    json["name"] = entry.name;
    json["id"] = entry.id;
    return json;
}

void PrintEntry(const config::ProfileListState& state, std::size_t index, const Output& output) {
    const config::ProfileEntry& entry = state.entries[index];
    std::fprintf(output.out, "%zu\t%s\t%s\t%s\n", index,
                 static_cast<int>(index) == state.selected ? "*" : "-", entry.name.c_str(),
                 entry.id.c_str());
}

bool HasControlCharacter(const std::string& text) {
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; });
}

int FailedWith(const config::CProfileList& list, int result, const Output& output) {
    return Failed(output, DescribeProfileFailure(result, list));
}

// The operations that end by printing the new last entry.
int Appended(config::CProfileList& list, int result, const Output& output) {
    if (result != config::kProfileDone)
        return FailedWith(list, result, output);
    const std::size_t last = list.State().entries.size() - 1;
    if (output.json)
        output.json->Data()["profile"] = EntryJson(list.State(), last);
    else
        PrintEntry(list.State(), last, output);
    return kExitOk;
}

int RunOnList(const std::string& verb, const std::vector<std::string>& args,
              config::CProfileList& list, const Output& output) {
    if (verb == "list") {
        if (list.State().entries.empty())
            std::fprintf(output.err, "quarin-z17ctl: no profile has been made yet\n");
        Json::Value profiles(Json::arrayValue);
        for (std::size_t i = 0; i < list.State().entries.size(); ++i) {
            if (output.json)
                profiles.append(EntryJson(list.State(), i));
            else
                PrintEntry(list.State(), i, output);
        }
        if (output.json)
            output.json->Data()["profiles"] = profiles;
        return kExitOk;
    }
    const std::string selected = list.SelectedId();
    if (verb == "add") {
        const int result = list.Add();
        if (result == config::kProfileNothingDone)
            return Failed(output, "there are " + std::to_string(config::kMaxAddedProfiles) +
                                      " profiles already; copy or import to make more");
        return Appended(list, result, output);
    }
    if (verb == "copy")
        return Appended(list, list.Copy(selected), output);
    if (verb == "import")
        return Appended(list, list.Import(args[2]), output);
    if (verb == "delete") {
        const int result = list.Delete(selected);
        if (result == config::kProfileNothingDone)
            return Failed(output, "the last profile cannot be deleted");
        return result == config::kProfileDone ? kExitOk : FailedWith(list, result, output);
    }
    if (verb == "select") {
        const std::optional<int> index = ParseDecimal(args[2]);
        if (!index)
            return UsageError(output, "INDEX must be a profile number from 'profile list'");
        if (static_cast<std::size_t>(*index) >= list.State().entries.size())
            return Failed(output, "there is no profile " + args[2]);
        const int result = list.Select(list.State().entries[static_cast<std::size_t>(*index)].id);
        return result == config::kProfileDone ? kExitOk : FailedWith(list, result, output);
    }
    if (verb == "rename") {
        if (HasControlCharacter(args[2]))
            return UsageError(output, "a profile name cannot hold control characters");
        const int result = list.Rename(selected, args[2]);
        if (result == config::kProfileBlankName)
            return Failed(output, "the name is blank");
        if (result == config::kProfileNothingDone)
            return Failed(output, "another profile is named '" + args[2] + "'");
        return result == config::kProfileDone ? kExitOk : FailedWith(list, result, output);
    }
    // export
    const int result = list.Export(selected, args[2]);
    return result == config::kProfileDone ? kExitOk : FailedWith(list, result, output);
}

} // namespace

std::string DescribeProfileFailure(int result, const config::CProfileList& list) {
    switch (result) {
    case config::kProfileWriteFailed:
        return "the profile files cannot be written";
    case config::kProfileNotAProfile:
        return "the file is not a profile (it needs \"profilename\" and \"profileUUID\")";
    case config::kProfileUnreadable:
        return list.LastProblem().path + " cannot be read (" + list.LastProblem().reason +
               "); nothing was changed";
    case config::kProfileUnknown:
        return "the profile is no longer in the list";
    default:
        return "nothing was done";
    }
}

int RunProfileCommand(const std::vector<std::string>& args, const Output& output) {
    static const std::vector<std::string> kWithoutArgument = {"list", "add", "copy", "delete"};
    static const std::vector<std::string> kWithArgument = {"select", "rename", "export", "import"};
    if (args.empty())
        return UsageError(output, "'profile' needs an operation: list, add, copy, delete, "
                                  "select, rename, export or import");
    const std::string& verb = args[0];
    const bool bare =
        std::find(kWithoutArgument.begin(), kWithoutArgument.end(), verb) != kWithoutArgument.end();
    const bool withArgument =
        std::find(kWithArgument.begin(), kWithArgument.end(), verb) != kWithArgument.end();
    if (!bare && !withArgument)
        return UsageError(output, "unknown profile operation '" + verb + "'");
    if (args.size() != (bare ? 2u : 3u))
        return UsageError(output, "'profile " + verb + "' takes KIND" +
                                      (bare               ? ""
                                       : verb == "select" ? " INDEX"
                                       : verb == "rename" ? " NAME"
                                                          : " FILE"));
    int exitCode = kExitFailed;
    const std::optional<KindFolders> folders = FoldersOf(args[1], output, &exitCode);
    if (!folders)
        return exitCode;
    config::CProfileList list(folders->userFolder, folders->defaultDocument);
    const int loaded = verb == "list" ? list.Read() : list.Load();
    if (loaded != config::kProfileDone)
        return FailedWith(list, loaded, output);
    return RunOnList(verb, args, list, output);
}

int RunKeyCommand(const std::vector<std::string>& args, const Output& output) {
    const bool get = !args.empty() && args[0] == "get";
    const bool set = !args.empty() && args[0] == "set";
    if (!get && !set)
        return UsageError(output,
                          "'key' needs an operation: get KIND INDEX or set KIND INDEX CODE");
    if (args.size() != (get ? 3u : 4u))
        return UsageError(output,
                          get ? "'key get' takes KIND INDEX" : "'key set' takes KIND INDEX CODE");
    int exitCode = kExitFailed;
    const std::optional<KindFolders> folders = FoldersOf(args[1], output, &exitCode);
    if (!folders)
        return exitCode;
    if (!folders->hasKeys)
        return UsageError(output, "the " + args[1] + " has no keys (keyboard or mouse)");
    const std::optional<int> index = ParseDecimal(args[2]);
    if (!index)
        return UsageError(output, "INDEX must be a key number");
    std::optional<devices::KeyCode> code;
    if (set && !(code = devices::KeyCodeFromText(args[3])))
        return UsageError(output, "CODE must be six hexadecimal digits, such as 20002C");

    config::CProfileList list(folders->userFolder, folders->defaultDocument);
    const int loaded = get ? list.Read() : list.Load();
    if (loaded != config::kProfileDone)
        return FailedWith(list, loaded, output);
    // Before the first profile is made, "key get" reads the defaults it will be made from.
    const std::string id = list.SelectedId();
    const std::string path = id.empty() ? std::string() : list.ProfilePath(id);
    config::CBasicProfiledata profile;
    profile.SetDefaultPath(config::Utf8ToWide(folders->defaultDocument));
    profile.SetProfilePath(config::Utf8ToWide(path));
    if (get)
        profile.ReadProfile(config::Utf8ToWide(path));
    else
        profile.LoadProfile(config::Utf8ToWide(path));
    if (profile.LoadResult() == config::kProfileUnreadable)
        return Failed(output, path + " cannot be read (" +
                                  config::DescribeRefusedRead(config::ReadJsonDocument(path)) +
                                  "); nothing was changed");
    if (profile.LoadResult() != config::kProfileDone)
        return FailedWith(list, profile.LoadResult(), output);
    std::vector<config::KeyListEntry> keys = profile.ReadKeyList();
    if (keys.empty())
        return Failed(output, "the selected profile has no keys");
    if (static_cast<std::size_t>(*index) >= keys.size())
        return Failed(output, "there is no key " + args[2] + " (the profile has keys 0 to " +
                                  std::to_string(keys.size() - 1) + ")");
    config::KeyListEntry& entry = keys[static_cast<std::size_t>(*index)];
    if (get) {
        const devices::KeyRecord record = devices::KeyRecordFromEntry(entry);
        if (output.json) {
            output.json->Data()["key"] = *index;
            output.json->Data()["code"] = devices::KeyCodeToText(record.code);
        } else {
            std::fprintf(output.out, "%s\n", devices::KeyCodeToText(record.code).c_str());
        }
        return kExitOk;
    }
    entry.current.code = {code->type, code->param1, code->param2};
    profile.WriteKeyList(keys);
    return profile.SaveProfile() ? kExitOk : FailedWith(list, config::kProfileWriteFailed, output);
}

} // namespace ctl
