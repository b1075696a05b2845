#include "config/MacroFiles.h"

#include "config/AtomicFile.h"
#include "config/JsonAccess.h"
#include "config/PlainFileName.h"

#include <cerrno>
#include <charconv>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace config {

namespace {
// A macro of the largest delays and every event the recorder can take is far below this.
constexpr std::size_t kMaxMacroFileBytes = 16 * 1024 * 1024;

std::uint16_t ClampDelay(std::uint64_t delay) {
    return delay >= kMaxMacroDelay ? kMaxMacroDelay : static_cast<std::uint16_t>(delay);
}

std::uint8_t ByteOf(const Json::Value& value) {
    const std::int64_t number = json::ToInt64(value);
    return number < 0 || number > 255 ? 0 : static_cast<std::uint8_t>(number);
}

// The file's bytes; the result says whether it was there and could be read.
int ReadWholeFile(const std::string& path, std::string& content) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return errno == ENOENT || errno == ENOTDIR ? kMacroFileSourceMissing : kMacroFileRefused;
    if (!S_ISREG(info.st_mode) || static_cast<std::size_t>(info.st_size) > kMaxMacroFileBytes)
        return kMacroFileRefused;
    const int fd = ActiveFileCalls().open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT ? kMacroFileSourceMissing : kMacroFileRefused;
    content.clear();
    char buffer[8192];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0 || content.size() + static_cast<std::size_t>(got) > kMaxMacroFileBytes) {
            ::close(fd);
            return kMacroFileRefused;
        }
        if (got == 0)
            break;
        content.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(fd);
    return kMacroFileDone;
}
} // namespace

bool IsPlainMacroId(const std::string& guid) {
    return IsPlainFileName(guid);
}

std::string MacroIndexPath(const std::string& folder) {
    return folder + kMacroIndexFileName;
}

std::string MacroEventsPath(const std::string& folder, const std::string& guid) {
    return folder + guid + kMacroFileExtension;
}

MacroIndexRead ReadMacroIndex(const std::string& folder) {
    MacroIndexRead result;
    JsonRead read = ReadJsonDocument(MacroIndexPath(folder), kMaxMacroFileBytes);
    result.state = read.state;
    if (read.state != ReadState::kRead || !read.document.isObject())
        return result;
    const Json::Value& list = read.document["MacroInfo"];
    if (!list.isArray())
        return result;
    for (Json::Value entry : list) {
        MacroInfo info;
        if (entry.isObject()) {
            info.name = json::ReadString(entry, "MacroName");
            info.guid = json::ReadString(entry, "Guid");
        }
        result.macros.push_back(std::move(info));
    }
    return result;
}

int WriteMacroIndex(const std::string& folder, const std::vector<MacroInfo>& macros) {
    Json::Value document(Json::objectValue);
    Json::Value& list = document["MacroInfo"] = Json::Value(Json::arrayValue);
    for (const MacroInfo& info : macros) {
        Json::Value entry(Json::objectValue);
        entry["MacroName"] = info.name;
        entry["Guid"] = info.guid;
        list.append(entry);
    }
    return WriteJsonFile(MacroIndexPath(folder), document) ? kMacroFileDone : kMacroFileWriteFailed;
}

std::uint16_t MacroDelayFromJson(const Json::Value& value) {
    if (value.isString()) {
        const std::string text = value.asString();
        std::uint64_t number = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
        if (error == std::errc::result_out_of_range)
            return kMaxMacroDelay;
        return error == std::errc() && end == text.data() + text.size() ? ClampDelay(number) : 0;
    }
    if (value.isUInt64())
        return ClampDelay(value.asUInt64());
    const std::int64_t number = json::ToInt64(value);
    return number < 0 ? 0 : ClampDelay(static_cast<std::uint64_t>(number));
}

MacroEvent MacroEventFromJson(const Json::Value& value) {
    MacroEvent event;
    if (!value.isObject())
        return event;
    event.type = ByteOf(value["Type"]);
    event.down = value["Action"].isString() && value["Action"].asString() == "down";
    event.button = ByteOf(value["Button"]);
    event.delay = MacroDelayFromJson(value["Delay"]);
    return event;
}

Json::Value MacroEventToJson(const MacroEvent& event) {
    Json::Value value(Json::objectValue);
    value["Type"] = event.type;
    value["Action"] = event.down ? "down" : "up";
    value["Button"] = event.button;
    value["Delay"] = std::to_string(event.delay);
    return value;
}

MacroEventsRead ReadMacroEvents(const std::string& path) {
    MacroEventsRead result;
    JsonRead read = ReadJsonDocument(path, kMaxMacroFileBytes);
    result.state = read.state;
    if (read.state != ReadState::kRead || !read.document.isObject())
        return result;
    Json::Value& document = read.document;
    result.info.name = json::ReadString(document, "MacroName");
    result.info.guid = json::ReadString(document, "Guid");
    const Json::Value& events = document["Events"];
    if (events.isArray())
        for (const Json::Value& event : events)
            result.events.push_back(MacroEventFromJson(event));
    return result;
}

int WriteMacroEvents(const std::string& path, const MacroInfo& info,
                     const std::vector<MacroEvent>& events) {
    Json::Value document(Json::objectValue);
    document["MacroName"] = info.name;
    document["Guid"] = info.guid;
    // A macro without events has no "Events" key at all.
    for (const MacroEvent& event : events)
        document["Events"].append(MacroEventToJson(event));
    document["Version"] = kMacroFileVersion;
    return WriteJsonFile(path, document) ? kMacroFileDone : kMacroFileWriteFailed;
}

int CopyMacroFile(const std::string& from, const std::string& to) {
    std::string content;
    const int read = ReadWholeFile(from, content);
    if (read != kMacroFileDone)
        return read;
    return ReplaceFileContent(to, content) ? kMacroFileDone : kMacroFileWriteFailed;
}

} // namespace config
