#include "config/ProfileList.h"

#include "config/DamagedFile.h"
#include "config/JsonAccess.h"
#include "config/JsonFile.h"
#include "config/ProfileNames.h"
#include "config/TimestampId.h"

#include <chrono>
#include <filesystem>
#include <system_error>
#include <utility>

namespace config {

namespace {

constexpr const char* kNameKey = "profilename";
constexpr const char* kIdKey = "profileUUID";
// The headset's equaliser groups that belong to the user, not to the defaults.
constexpr const char* kUserEqualiserKeys[] = {"CustomEQNameInfo", "CustomEQHzValueInfo"};

// Gives a profile document the entry's name and id; anything but an object is replaced by one.
void SetNames(Json::Value& document, const ProfileEntry& entry) {
    if (!document.isObject())
        document = Json::Value(Json::objectValue);
    document[kNameKey] = entry.name;
    document[kIdKey] = entry.id;
}

bool HasValue(const Json::Value& document, const char* key) {
    return document.isMember(key) && !document[key].isNull();
}

// "Device"[0] of a profile document, nullptr when the document has none of that form.
const Json::Value* DeviceRecord(const Json::Value& document) {
    if (!document.isObject() || !document["Device"].isArray() || document["Device"].empty())
        return nullptr;
    const Json::Value& record = document["Device"][0];
    return record.isObject() ? &record : nullptr;
}

void KeepUserEqualisers(const Json::Value& current, Json::Value& document) {
    const Json::Value* from = DeviceRecord(current);
    if (!from)
        return;
    Json::Value* devices = json::Member(document, "Device");
    Json::Value* to = devices ? json::Element(*devices, 0) : nullptr;
    for (const char* key : kUserEqualiserKeys) {
        if (!HasValue(*from, key) || !to)
            continue;
        if (Json::Value* slot = json::Member(*to, key))
            *slot = (*from)[key];
    }
}

bool RemoveFile(const std::string& path) {
    std::error_code error;
    return std::filesystem::remove(path, error);
}

} // namespace

CProfileList::CProfileList(std::string userFolder, std::string defaultDocument)
    : m_folder(std::move(userFolder)), m_defaultDocument(std::move(defaultDocument)) {
    if (!m_folder.empty() && m_folder.back() != '/')
        m_folder += '/';
}

std::string CProfileList::ListPath() const {
    return m_folder + kProfileListFileName;
}

std::string CProfileList::ProfilePath(const std::string& id) const {
    return m_folder + id + kProfileExtension;
}

std::string CProfileList::SelectedId() const {
    const auto index = static_cast<std::size_t>(m_state.selected);
    return index < m_state.entries.size() ? m_state.entries[index].id : std::string();
}

int CProfileList::Load() {
    return Refresh();
}

int CProfileList::Read() {
    return Refresh(false);
}

int CProfileList::Refresh(bool mayWrite) {
    m_problem = {};
    if (m_folder.empty()) {
        // Without its folder every relative path would land in the working directory.
        m_state = {};
        return kProfileWriteFailed;
    }
    const JsonRead read = ReadJsonDocument(ListPath());
    if (read.Refused())
        return Unreadable(ListPath(), read);
    if (std::optional<ProfileListState> state = ParseProfileList(read.document)) {
        m_state = std::move(*state);
        return kProfileDone;
    }
    if (!mayWrite) {
        m_state = {FindProfileDocuments(m_folder), 0};
        return kProfileDone;
    }
    if (read.state != ReadState::kMissing && !SetDamagedFileAside(ListPath()))
        return kProfileWriteFailed;
    return Rebuild();
}

int CProfileList::Rebuild() {
    ProfileListState state;
    state.entries = FindProfileDocuments(m_folder);
    std::string made;
    if (state.entries.empty()) {
        const ProfileEntry first{"profile1", NewId()};
        if (!WriteJsonFile(ProfilePath(first.id), DefaultDocumentFor(first)))
            return kProfileWriteFailed;
        made = ProfilePath(first.id);
        state.entries.push_back(first);
    }
    if (!WriteList(state)) {
        // A first profile that no list names would only be found again by the next rebuild.
        if (!made.empty())
            RemoveFile(made);
        return kProfileWriteFailed;
    }
    return kProfileDone;
}

int CProfileList::Unreadable(const std::string& path, const JsonRead& read) {
    m_problem = {path, DescribeRefusedRead(read)};
    return kProfileUnreadable;
}

bool CProfileList::WriteList(const ProfileListState& state) {
    if (!WriteJsonFile(ListPath(), MakeProfileListDocument(state)))
        return false;
    m_state = state;
    return true;
}

std::string CProfileList::NewId() const {
    // Two profiles made within one millisecond would share a file: take the next free
    // millisecond instead.
    auto when = std::chrono::system_clock::now();
    std::string id = MakeTimestampId(when);
    for (int tries = 0; tries < 100000; ++tries) {
        std::error_code error;
        if (m_state.IndexOf(id) < 0 && !std::filesystem::exists(ProfilePath(id), error))
            break;
        when += std::chrono::milliseconds(1);
        id = MakeTimestampId(when);
    }
    return id;
}

Json::Value CProfileList::DefaultDocumentFor(const ProfileEntry& entry) const {
    Json::Value document = ReadJsonFile(m_defaultDocument);
    SetNames(document, entry);
    return document;
}

int CProfileList::Append(const ProfileEntry& entry, Json::Value document) {
    SetNames(document, entry);
    const std::string path = ProfilePath(entry.id);
    if (!WriteJsonFile(path, document))
        return kProfileWriteFailed;
    ProfileListState state = m_state;
    state.entries.push_back(entry);
    if (!WriteList(state)) {
        RemoveFile(path);
        return kProfileWriteFailed;
    }
    return kProfileDone;
}

int CProfileList::Select(std::string id) {
    if (const int loaded = Refresh(); loaded != kProfileDone)
        return loaded;
    const int index = m_state.IndexOf(id);
    if (index < 0)
        return kProfileUnknown;
    ProfileListState state = m_state;
    state.selected = index;
    return WriteList(state) ? kProfileDone : kProfileWriteFailed;
}

int CProfileList::Add() {
    if (const int loaded = Refresh(); loaded != kProfileDone)
        return loaded;
    if (m_state.entries.size() >= static_cast<std::size_t>(kMaxAddedProfiles))
        return kProfileNothingDone;
    const ProfileEntry entry{NewProfileName(m_state.Names()), NewId()};
    return Append(entry, DefaultDocumentFor(entry));
}

int CProfileList::Delete(std::string id) {
    if (const int loaded = Refresh(); loaded != kProfileDone)
        return loaded;
    const int index = m_state.IndexOf(id);
    if (index < 0)
        return kProfileUnknown;
    if (m_state.entries.size() <= 1)
        return kProfileNothingDone;
    ProfileListState state = m_state;
    state.entries.erase(state.entries.begin() + index);
    if (state.selected == index)
        state.selected = index == 0 ? 0 : index - 1;
    else if (state.selected > index)
        --state.selected;
    // The list goes first: should it fail, the profile is still listed and still has its file.
    if (!WriteList(state))
        return kProfileWriteFailed;
    RemoveFile(ProfilePath(id));
    return kProfileDone;
}

int CProfileList::Copy(std::string id) {
    if (const int loaded = Refresh(); loaded != kProfileDone)
        return loaded;
    const int index = m_state.IndexOf(id);
    if (index < 0)
        return kProfileUnknown;
    const JsonRead read = ReadJsonDocument(ProfilePath(id));
    if (read.Refused())
        return Unreadable(ProfilePath(id), read);
    const std::string source = m_state.entries[static_cast<std::size_t>(index)].name;
    const ProfileEntry entry{CopyProfileName(source, m_state.Names()), NewId()};
    return Append(entry, read.document);
}

int CProfileList::Import(const std::string& path) {
    JsonRead read = ReadJsonDocument(path, kMaxImportBytes);
    if (read.state == ReadState::kTooLarge) {
        m_problem = {path, "larger than 1 MiB"};
        return kProfileUnreadable;
    }
    if (read.Refused() || read.state == ReadState::kMissing)
        return Unreadable(path, read);
    Json::Value& document = read.document;
    if (!document.isObject() || !HasValue(document, kNameKey) || !HasValue(document, kIdKey))
        return kProfileNotAProfile;
    if (const int loaded = Refresh(); loaded != kProfileDone)
        return loaded;
    std::string base = std::filesystem::path(path).stem().string();
    if (IsBlankProfileName(base))
        base = "profile";
    const ProfileEntry entry{ImportProfileName(base, m_state.Names()), NewId()};
    return Append(entry, std::move(document));
}

int CProfileList::Export(std::string id, const std::string& destination) {
    if (const int loaded = Refresh(); loaded != kProfileDone)
        return loaded;
    if (m_state.IndexOf(id) < 0)
        return kProfileUnknown;
    const JsonRead read = ReadJsonDocument(ProfilePath(id));
    if (read.Refused())
        return Unreadable(ProfilePath(id), read);
    if (!read.document.isObject()) {
        m_problem = {ProfilePath(id), "not a profile document"};
        return kProfileUnreadable;
    }
    return WriteJsonFile(destination, read.document) ? kProfileDone : kProfileWriteFailed;
}

int CProfileList::Rename(std::string id, const std::string& name) {
    if (IsBlankProfileName(name))
        return kProfileBlankName;
    if (const int loaded = Refresh(); loaded != kProfileDone)
        return loaded;
    const int index = m_state.IndexOf(id);
    if (index < 0)
        return kProfileUnknown;
    for (std::size_t i = 0; i < m_state.entries.size(); ++i) {
        if (static_cast<int>(i) != index && SameProfileName(m_state.entries[i].name, name))
            return kProfileNothingDone;
    }
    const JsonRead read = ReadJsonDocument(ProfilePath(id));
    if (read.Refused())
        return Unreadable(ProfilePath(id), read);
    if (!KeepWhatIsReplaced(ProfilePath(id), read))
        return kProfileWriteFailed;
    Json::Value document = read.document;
    SetNames(document, {name, id});
    if (!WriteJsonFile(ProfilePath(id), document))
        return kProfileWriteFailed;
    ProfileListState state = m_state;
    state.entries[static_cast<std::size_t>(index)].name = name;
    return WriteList(state) ? kProfileDone : kProfileWriteFailed;
}

int CProfileList::Reset(std::string id, int deviceKind) {
    if (const int loaded = Refresh(); loaded != kProfileDone)
        return loaded;
    const int index = m_state.IndexOf(id);
    if (index < 0)
        return kProfileUnknown;
    Json::Value document = DefaultDocumentFor(m_state.entries[static_cast<std::size_t>(index)]);
    if (deviceKind == kHeadsetDeviceKind) {
        const JsonRead current = ReadJsonDocument(ProfilePath(id));
        if (current.Refused())
            return Unreadable(ProfilePath(id), current);
        KeepUserEqualisers(current.document, document);
    }
    return WriteJsonFile(ProfilePath(id), document) ? kProfileDone : kProfileWriteFailed;
}

} // namespace config
