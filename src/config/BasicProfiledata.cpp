#include "config/BasicProfiledata.h"

#include "config/DamagedFile.h"
#include "config/JsonAccess.h"
#include "config/JsonFile.h"
#include "config/ProfileList.h"

namespace config {

namespace {

// The record of device `index` in a document, or null when it has none that is an object.
Json::Value DeviceRecordOf(const Json::Value& document, Json::ArrayIndex index) {
    if (!document.isObject())
        return Json::Value();
    const Json::Value& devices = document["Device"];
    if (!devices.isArray() || index >= devices.size() || !devices[index].isObject())
        return Json::Value();
    return devices[index];
}

// "Device"[index] of `document`, reshaping whatever stands in the way: a document that is not
// an object starts over, a "Device" that is not an array becomes one.
Json::Value& DeviceSlot(Json::Value& document, Json::ArrayIndex index) {
    if (!document.isObject())
        document = Json::Value(Json::objectValue);
    Json::Value& devices = document["Device"];
    if (!devices.isArray())
        devices = Json::Value(Json::arrayValue);
    return devices[index];
}

} // namespace

void CBasicProfiledata::SetProfilePath(const std::wstring& path) {
    if (!path.empty())
        m_profilePath = path;
}

void CBasicProfiledata::SetDefaultPath(const std::wstring& path) {
    if (!path.empty())
        m_defaultPath = path;
}

Json::Value CBasicProfiledata::LoadProfile(const std::wstring& path) {
    return Load(path, true);
}

Json::Value CBasicProfiledata::ReadProfile(const std::wstring& path) {
    return Load(path, false);
}

Json::Value CBasicProfiledata::Load(const std::wstring& path, bool mayWrite) {
    const std::string file = WideToUtf8(path);
    JsonRead read = ReadJsonDocument(file);
    m_loadResult = kProfileDone;
    if (read.Refused()) {
        m_loadResult = kProfileUnreadable;
        m_root = Json::Value();
        return m_root;
    }
    // Checked before DeviceSlot makes the document an object.
    const bool keptAside = mayWrite && KeepWhatIsReplaced(file, read);
    Json::Value& record = DeviceSlot(read.document, DeviceIndex());
    if (!record.isObject()) {
        record = DeviceRecordOf(ReadJsonFile(m_defaultPath), DeviceIndex());
        if (mayWrite && !(keptAside && WriteJsonFile(file, read.document)))
            m_loadResult = kProfileWriteFailed;
    }
    m_root = record;
    return m_root;
}

bool CBasicProfiledata::SaveProfile() {
    if (m_loadResult == kProfileUnreadable)
        return false;
    return WriteDeviceRecord(m_profilePath, m_root);
}

bool CBasicProfiledata::WriteDeviceRecord(const std::wstring& path, const Json::Value& record) {
    const std::string file = WideToUtf8(path);
    JsonRead read = ReadJsonDocument(file);
    if (read.Refused() || !KeepWhatIsReplaced(file, read))
        return false;
    DeviceSlot(read.document, DeviceIndex()) = record;
    return WriteJsonFile(file, read.document);
}

bool CBasicProfiledata::WriteDocument(const std::wstring& path, const Json::Value& document) {
    return WriteJsonFile(path, document);
}

Json::Value CBasicProfiledata::LoadConfig(const std::wstring& path) {
    m_config = ReadJsonFile(path);
    m_configFolder = path.substr(0, path.rfind(L'/') + 1);
    return m_config;
}

Json::Value* CBasicProfiledata::Group(const char* key, Json::ValueType type) {
    if (!m_root.isObject())
        return nullptr;
    Json::Value& group = m_root[key];
    return group.type() == type ? &group : nullptr;
}

Json::Value& CBasicProfiledata::WritableGroup(const char* key, Json::ValueType type) {
    json::Ensure(m_root, Json::objectValue);
    return json::Ensure(m_root[key], type);
}

} // namespace config
