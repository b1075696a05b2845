#include "config/BasicProfiledata.h"

#include "config/JsonAccess.h"
#include "config/JsonFile.h"

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
    Json::Value document = ReadJsonFile(path);
    Json::Value& record = DeviceSlot(document, DeviceIndex());
    if (!record.isObject()) {
        record = DeviceRecordOf(ReadJsonFile(m_defaultPath), DeviceIndex());
        WriteJsonFile(path, document);
    }
    m_root = record;
    return m_root;
}

bool CBasicProfiledata::SaveProfile() {
    return WriteDeviceRecord(m_profilePath, m_root);
}

bool CBasicProfiledata::WriteDeviceRecord(const std::wstring& path, const Json::Value& record) {
    Json::Value document = ReadJsonFile(path);
    DeviceSlot(document, DeviceIndex()) = record;
    return WriteJsonFile(path, document);
}

bool CBasicProfiledata::WriteDocument(const std::wstring& path, const Json::Value& document) {
    return WriteJsonFile(path, document);
}

Json::Value CBasicProfiledata::LoadConfig(const std::wstring& path) {
    m_config = ReadJsonFile(path);
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
