#pragma once
// The selected profile of one device: its document on disk ("Device"[device index] of the
// profile's ".Json" file), the typed records read out of it, and the device's list of
// recorded light effects. The mouse pad uses this class itself; the keyboard, mouse and
// headset use the subclasses that add their own groups.
//
// Read operations look at the device record held in memory and keep their result in the
// object; Write operations change only that record (and the kept copy). Nothing reaches the
// disk before SaveProfile.

#include "config/ProfileRecords.h"

#include <json/value.h>
#include <string>
#include <vector>

namespace config {

class CBasicProfiledata {
public:
    CBasicProfiledata() = default;
    virtual ~CBasicProfiledata() = default;

    // Writes the record held in memory into the profile file, keeping the file's other
    // members. Returns whether the file was written (callers may ignore it); never after a
    // load that could not read its file.
    virtual bool SaveProfile();
    // Reads the document at `path`, replaces "Device"[device index] with `record` and writes
    // the document back. Nothing is written when the document is there but cannot be read; a
    // damaged one is set aside first (DamagedFile.h).
    virtual bool WriteDeviceRecord(const std::wstring& path, const Json::Value& record);
    virtual bool WriteDocument(const std::wstring& path, const Json::Value& document);

    // Empty paths are ignored.
    void SetProfilePath(const std::wstring& path);
    void SetDefaultPath(const std::wstring& path);
    void SetConfigPath(const std::wstring& path) { m_configPath = path; }
    const std::wstring& GetConfigPath() const { return m_configPath; }
    // Negative values are taken as 0, the index every device uses.
    void SetDeviceIndex(int index) { m_deviceIndex = index < 0 ? 0 : index; }

    // Loads "Device"[device index] of the document at `path`. When the document has no usable
    // record (missing, malformed or not an object), the default document's record takes its
    // place and the document is written back, keeping its other members (a damaged document
    // is set aside first). Returns a copy of the record, which is null when the default
    // document has none either, or when the document cannot be read: it is then left as it is.
    Json::Value LoadProfile(const std::wstring& path);
    // The same without writing anything: a missing or damaged document reads as the default
    // record.
    Json::Value ReadProfile(const std::wstring& path);
    // How the last LoadProfile or ReadProfile went, a ProfileResult (ProfileList.h):
    // kProfileDone, kProfileWriteFailed (the completed document could not be written) or
    // kProfileUnreadable (the document is there but cannot be read).
    int LoadResult() const { return m_loadResult; }
    // Reads and keeps the device's light-effect list (".config"); returns a copy.
    Json::Value LoadConfig(const std::wstring& path);

    LightInfoRecord ReadLightInfo();
    // Replaces the whole "LightInfo" object, dropping members it does not know.
    void WriteLightInfo(const LightInfoRecord& record);
    AudioLightRecord ReadAudioLightInfo();
    // Replaces the whole "AudioLightInfo" object.
    void WriteAudioLightInfo(const AudioLightRecord& record);
    std::vector<LightListEntry> ReadLightList();
    // The steps of the recorded effect chosen by the current light-info record's SelectItem;
    // empty for a built-in effect or when the list or the effect file cannot be read.
    std::vector<LightEffectStep> ReadLightEffect();
    std::vector<KeyListEntry> ReadKeyList();
    // Stores "Assignment" of entry i at "KeyList"[i]; "DefaultAssignment" is never written.
    // Like every list write, an empty list leaves the record as it is.
    void WriteKeyList(const std::vector<KeyListEntry>& list);

    const Json::Value& DeviceRecord() const { return m_root; }

protected:
    // The group `key` of the device record when it holds a value of `type`, else nullptr
    // (the record or the group null, or of another kind). Looking a group up adds it as null.
    Json::Value* Group(const char* key, Json::ValueType type);
    // The group `key`, made a value of `type` when it holds anything else.
    Json::Value& WritableGroup(const char* key, Json::ValueType type);

private:
    Json::Value Load(const std::wstring& path, bool mayWrite);
    Json::ArrayIndex DeviceIndex() const { return static_cast<Json::ArrayIndex>(m_deviceIndex); }

    std::wstring m_profilePath;
    std::wstring m_defaultPath;
    // Number of built-in effects ahead of the recorded ones in the effect list; nothing sets
    // it, so every SelectItem names a recorded effect.
    std::int32_t m_builtinEffectCount = 0;
    LightInfoRecord m_lightInfo;
    static constexpr LightInfoRecord kFallbackLightInfo{};
    AudioLightRecord m_audioLight;
    std::vector<LightListEntry> m_lightList;
    Json::Value m_root;
    std::wstring m_configPath;
    std::vector<LightEffectStep> m_effectSteps;
    Json::Value m_config;
    std::wstring m_configFolder; // where the configuration was loaded from, with its slash
    std::vector<KeyListEntry> m_keyList;
    std::int32_t m_deviceIndex = 0;
    int m_loadResult = 1;
};

} // namespace config
