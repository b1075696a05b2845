// The groups every device record has: "LightInfo", "AudioLightInfo", "LightList", "KeyList",
// and the recorded light effect chosen by "LightInfo".

#include "config/BasicProfiledata.h"

#include "config/JsonAccess.h"
#include "config/JsonFile.h"
#include "config/PlainFileName.h"

namespace config {

using json::ReadBool;
using json::ReadInt;

namespace {

std::uint8_t Byte(int value) {
    return static_cast<std::uint8_t>(value);
}

KeyAssignment Unpack(Json::ArrayIndex keyIndex, int packed) {
    return {static_cast<std::uint16_t>(keyIndex),
            {Byte(packed >> 16), Byte(packed >> 8), Byte(packed)}};
}

int Pack(const KeyAssignment& key) {
    return key.code[0] << 16 | key.code[1] << 8 | key.code[2];
}

LightEffectStep ReadEffectStep(Json::Value& step) {
    LightEffectStep s;
    s.mode = Byte(ReadInt(step, "LEDREGMode"));
    s.brightness = Byte(ReadInt(step, "LEDBrightness"));
    s.speed = Byte(ReadInt(step, "LEDSpeed"));
    s.direction = Byte(ReadInt(step, "LEDDirection"));
    s.multiColor = Byte(ReadInt(step, "LEDMultiColor"));
    s.red = Byte(ReadInt(step, "red"));
    s.green = Byte(ReadInt(step, "green"));
    s.blue = Byte(ReadInt(step, "blue"));
    s.time = ReadInt(step, "Time");
    s.cycle = ReadInt(step, "Cyle");
    return s;
}

} // namespace

LightInfoRecord CBasicProfiledata::ReadLightInfo() {
    LightInfoRecord r = kFallbackLightInfo;
    if (Json::Value* group = Group("LightInfo", Json::objectValue)) {
        r.selectItem = Byte(ReadInt(*group, "SelectItem"));
        r.light = Byte(ReadInt(*group, "Light"));
        r.speed = Byte(ReadInt(*group, "Speed"));
        r.fx = Byte(ReadInt(*group, "Fx"));
        r.multiColor = ReadBool(*group, "MultiColor");
        r.red = Byte(ReadInt(*group, "Red"));
        r.green = Byte(ReadInt(*group, "Green"));
        r.blue = Byte(ReadInt(*group, "Blue"));
        r.zzccLedMode = Byte(ReadInt(*group, "ZZCCLedMode"));
        r.customGroup = Byte(ReadInt(*group, "CustomGroup"));
        r.oldLedMode = Byte(ReadInt(*group, "OldLedmode"));
    }
    m_lightInfo = r;
    return r;
}

void CBasicProfiledata::WriteLightInfo(const LightInfoRecord& r) {
    Json::Value group(Json::objectValue);
    group["SelectItem"] = r.selectItem;
    group["Light"] = r.light;
    group["Speed"] = r.speed;
    group["Fx"] = r.fx;
    group["MultiColor"] = r.multiColor ? 1 : 0;
    group["Red"] = r.red;
    group["Green"] = r.green;
    group["Blue"] = r.blue;
    group["ZZCCLedMode"] = r.zzccLedMode;
    group["CustomGroup"] = r.customGroup;
    group["OldLedmode"] = r.oldLedMode;
    WritableGroup("LightInfo", Json::objectValue) = std::move(group);
    m_lightInfo = r;
}

AudioLightRecord CBasicProfiledata::ReadAudioLightInfo() {
    AudioLightRecord r;
    if (Json::Value* group = Group("AudioLightInfo", Json::objectValue)) {
        r.audioMode = Byte(ReadInt(*group, "AudioMode"));
        r.bkRed = Byte(ReadInt(*group, "BkColorR"));
        r.bkGreen = Byte(ReadInt(*group, "BkColorG"));
        r.bkBlue = Byte(ReadInt(*group, "BkColorB"));
        r.fgRed = Byte(ReadInt(*group, "FgColorR"));
        r.fgGreen = Byte(ReadInt(*group, "FgColorG"));
        r.fgBlue = Byte(ReadInt(*group, "FgColorB"));
        r.sevenColorFlags = ReadBool(*group, "7ColorFlags");
        r.colorTypeFlags = ReadBool(*group, "ColorTypeFlags");
    }
    m_audioLight = r;
    return r;
}

void CBasicProfiledata::WriteAudioLightInfo(const AudioLightRecord& r) {
    Json::Value group(Json::objectValue);
    group["AudioMode"] = r.audioMode;
    group["BkColorR"] = r.bkRed;
    group["BkColorG"] = r.bkGreen;
    group["BkColorB"] = r.bkBlue;
    group["FgColorR"] = r.fgRed;
    group["FgColorG"] = r.fgGreen;
    group["FgColorB"] = r.fgBlue;
    group["7ColorFlags"] = r.sevenColorFlags ? 1 : 0;
    group["ColorTypeFlags"] = r.colorTypeFlags ? 1 : 0;
    WritableGroup("AudioLightInfo", Json::objectValue) = std::move(group);
    m_audioLight = r;
}

std::vector<LightListEntry> CBasicProfiledata::ReadLightList() {
    std::vector<LightListEntry> list;
    if (Json::Value* effects = Group("LightList", Json::arrayValue)) {
        for (Json::Value& effect : *effects) {
            LightListEntry e;
            if (effect.isObject()) {
                e.mode = Byte(ReadInt(effect, "LEDREGMode"));
                e.brightness = Byte(ReadInt(effect, "LEDBrightness"));
                e.speed = Byte(ReadInt(effect, "LEDSpeed"));
                e.direction = ReadBool(effect, "LEDDirection");
                e.multiColor = ReadBool(effect, "LEDMultiColor");
                e.red = Byte(ReadInt(effect, "red"));
                e.green = Byte(ReadInt(effect, "green"));
                e.blue = Byte(ReadInt(effect, "blue"));
                e.present = 1;
            }
            list.push_back(e);
        }
    }
    m_lightList = list;
    return list;
}

std::vector<LightEffectStep> CBasicProfiledata::ReadLightEffect() {
    m_effectSteps.clear();
    if (m_config.isNull() || m_lightInfo.selectItem < m_builtinEffectCount)
        return m_effectSteps;
    Json::Value* lists = json::Member(m_config, "LightInfo");
    Json::Value* effects = lists ? json::Element(*lists, m_deviceIndex) : nullptr;
    Json::Value* effect =
        effects ? json::Element(*effects, m_lightInfo.selectItem - m_builtinEffectCount) : nullptr;
    const std::string guid = effect ? json::ReadString(*effect, "Guid") : std::string();
    // The effect file lies beside the effect list: a "Guid" naming another folder, or none
    // (".light" in whatever the working folder is), is not followed.
    if (!IsPlainFileName(guid))
        return m_effectSteps;
    Json::Value document = ReadJsonFile(m_configFolder + Utf8ToWide(guid) + L".light");
    Json::Value* steps = json::Member(document, "LEDEffectList");
    if (!steps || !steps->isArray())
        return m_effectSteps;
    for (Json::Value& step : *steps)
        m_effectSteps.push_back(ReadEffectStep(step));
    return m_effectSteps;
}

std::vector<KeyListEntry> CBasicProfiledata::ReadKeyList() {
    std::vector<KeyListEntry> list;
    if (Json::Value* keys = Group("KeyList", Json::arrayValue)) {
        for (Json::ArrayIndex i = 0; i < keys->size(); ++i) {
            Json::Value& key = (*keys)[i];
            list.push_back({Unpack(i, ReadInt(key, "Assignment")),
                            Unpack(i, ReadInt(key, "DefaultAssignment"))});
        }
    }
    m_keyList = list;
    return list;
}

void CBasicProfiledata::WriteKeyList(const std::vector<KeyListEntry>& list) {
    m_keyList = list;
    if (list.empty())
        return;
    Json::Value& keys = WritableGroup("KeyList", Json::arrayValue);
    for (size_t i = 0; i < list.size(); ++i) {
        Json::Value& key = json::Ensure(keys[static_cast<Json::ArrayIndex>(i)], Json::objectValue);
        key["Assignment"] = Pack(list[i].current);
    }
}

} // namespace config
