#include "config/ProfileListDocument.h"

#include "config/JsonFile.h"
#include "config/PlainFileName.h"
#include "config/ProfileNames.h"

#include <algorithm>
#include <filesystem>
#include <set>
#include <system_error>

namespace config {

namespace {

constexpr const char* kListKey = "profilelist";
constexpr const char* kSelectKey = "profileselect";
constexpr const char* kNameKey = "profilename";
constexpr const char* kIdKey = "profileUUID";
constexpr std::size_t kMaxIdBytes = 200;

std::string NameOf(const Json::Value& document, const std::string& id) {
    const Json::Value& name = document[kNameKey];
    return name.isString() ? name.asString() : id;
}

} // namespace

int ProfileListState::IndexOf(std::string_view id) const {
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].id == id)
            return static_cast<int>(i);
    }
    return -1;
}

std::vector<std::string> ProfileListState::Names() const {
    std::vector<std::string> names;
    names.reserve(entries.size());
    for (const ProfileEntry& entry : entries)
        names.push_back(entry.name);
    return names;
}

bool IsUsableProfileId(std::string_view id) {
    return id.size() <= kMaxIdBytes && IsPlainFileName(id);
}

std::optional<ProfileListState> ParseProfileList(const Json::Value& document) {
    if (!document.isObject() || !document[kListKey].isArray())
        return std::nullopt;
    const Json::Value& list = document[kListKey];
    const Json::Value& select = document[kSelectKey];
    const Json::ArrayIndex wanted = select.isIntegral() && select.asInt64() >= 0 &&
                                            select.asInt64() < static_cast<Json::Int64>(list.size())
                                        ? static_cast<Json::ArrayIndex>(select.asInt64())
                                        : 0;

    ProfileListState state;
    std::set<std::string> seen;
    for (Json::ArrayIndex i = 0; i < list.size(); ++i) {
        const Json::Value& item = list[i];
        if (!item.isObject() || !item[kIdKey].isString())
            continue;
        std::string id = item[kIdKey].asString();
        if (!IsUsableProfileId(id) || !seen.insert(id).second)
            continue;
        if (i == wanted)
            state.selected = static_cast<int>(state.entries.size());
        state.entries.push_back({NameOf(item, id), std::move(id)});
    }
    if (state.entries.empty())
        return std::nullopt;
    return state;
}

Json::Value MakeProfileListDocument(const ProfileListState& state) {
    Json::Value document(Json::objectValue);
    Json::Value& list = document[kListKey] = Json::Value(Json::arrayValue);
    for (const ProfileEntry& entry : state.entries) {
        Json::Value item(Json::objectValue);
        item[kNameKey] = entry.name;
        item[kIdKey] = entry.id;
        item["profileislink"] = 0;
        item["profilelinkmame"] = "";
        list.append(item);
    }
    document[kSelectKey] = state.selected;
    return document;
}

std::vector<ProfileEntry> FindProfileDocuments(const std::string& folder) {
    namespace fs = std::filesystem;
    std::vector<ProfileEntry> found;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const fs::path& path = it->path();
        if (path.extension() != kProfileExtension || !it->is_regular_file(error))
            continue;
        const std::string id = path.stem().string();
        if (!IsUsableProfileId(id))
            continue;
        const Json::Value document = ReadJsonFile(path.string());
        if (!document.isObject() || !document[kIdKey].isString() ||
            document[kIdKey].asString() != id)
            continue;
        found.push_back({NameOf(document, id), id});
    }
    std::sort(found.begin(), found.end(),
              [](const ProfileEntry& a, const ProfileEntry& b) { return a.id < b.id; });
    return found;
}

} // namespace config
