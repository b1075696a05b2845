#include "config/Hs6533Profiledata.h"

#include "config/JsonAccess.h"
#include "config/Utf8.h"

#include <algorithm>

namespace config {

using json::ReadInt;

namespace {

constexpr const char* kPresets = "EQHzValueInfo";
constexpr const char* kCustomBands = "CustomEQHzValueInfo";
constexpr const char* kCustomNames = "CustomEQNameInfo";

int PresetIndex(int eqType) {
    return eqType >= 1 && eqType <= 12 ? eqType : 1;
}

} // namespace

HeadsetSettings CHs6533Profiledata::ReadHeadsetSettings() {
    HeadsetSettings s;
    if (Json::Value* group = Group("SystemSetStages", Json::objectValue)) {
        s.magicEnable = ReadInt(*group, "MagicEnable");
        s.magicType = ReadInt(*group, "MagicType");
        s.eqType = ReadInt(*group, "EqType");
        s.customEqSelectIndex = ReadInt(*group, "CustomEqSeletIndex");
        s.micInSelect = ReadInt(*group, "MicInSelect");
        s.micInValue = ReadInt(*group, "MicInValue");
        s.micMonitorSelect = ReadInt(*group, "MicMoniterSelect");
        s.micMonitorValue = ReadInt(*group, "MicMoniterValue");
    }
    m_settings = s;
    return s;
}

void CHs6533Profiledata::WriteHeadsetSettings(const HeadsetSettings& s) {
    Json::Value& group = WritableGroup("SystemSetStages", Json::objectValue);
    group["MagicEnable"] = s.magicEnable;
    group["MagicType"] = s.magicType;
    group["EqType"] = s.eqType;
    group["CustomEqSeletIndex"] = s.customEqSelectIndex;
    group["MicInSelect"] = s.micInSelect;
    group["MicInValue"] = s.micInValue;
    group["MicMoniterSelect"] = s.micMonitorSelect;
    group["MicMoniterValue"] = s.micMonitorValue;
    m_settings = s;
}

std::vector<int> CHs6533Profiledata::ReadEqPreset(int eqType) {
    if (eqType == kCustomEqType)
        return {};
    return ReadBands(kPresets, PresetIndex(eqType));
}

void CHs6533Profiledata::WriteEqPreset(int eqType, const std::vector<int>& bands) {
    if (eqType != kCustomEqType)
        WriteBands(kPresets, PresetIndex(eqType), bands);
}

std::vector<int> CHs6533Profiledata::ReadCustomEq(int slot) {
    return ReadBands(kCustomBands, slot);
}

void CHs6533Profiledata::WriteCustomEq(int slot, const std::vector<int>& bands) {
    WriteBands(kCustomBands, slot, bands);
}

std::vector<int> CHs6533Profiledata::ReadBands(const char* groupKey, int index) {
    Json::Value* group = Group(groupKey, Json::arrayValue);
    Json::Value* bands = group ? json::Element(*group, index) : nullptr;
    if (!bands || !(bands->isNull() || bands->isArray()))
        return {};
    std::vector<int> values;
    for (int b = 0; b < kEqBands; ++b) {
        Json::Value& band = (*bands)[b];
        if (band.isNull())
            band["value"] = 0;
        values.push_back(ReadInt(band, "value"));
    }
    return values;
}

void CHs6533Profiledata::WriteBands(const char* groupKey, int index,
                                    const std::vector<int>& values) {
    if (index < 0 || values.empty())
        return;
    Json::Value& bands =
        json::Ensure(WritableGroup(groupKey, Json::arrayValue)[index], Json::arrayValue);
    const int count = std::min(static_cast<int>(values.size()), kEqBands);
    for (int b = 0; b < count; ++b)
        json::Ensure(bands[b], Json::objectValue)["value"] = values[b];
}

std::vector<std::wstring> CHs6533Profiledata::ReadCustomEqNames() {
    std::vector<std::wstring> names;
    if (Json::Value* list = Group(kCustomNames, Json::arrayValue)) {
        for (Json::Value& entry : *list)
            names.push_back(Utf8ToWide(json::ReadString(entry, "Name")));
    }
    return names;
}

void CHs6533Profiledata::WriteCustomEqNames(const std::vector<std::wstring>& names) {
    Json::Value list(Json::arrayValue);
    for (const std::wstring& name : names)
        list.append(Json::Value(Json::objectValue))["Name"] = WideToUtf8(name);
    WritableGroup(kCustomNames, Json::arrayValue) = std::move(list);
}

} // namespace config
