#include "config/KeyboardProfiledata.h"

#include "config/JsonAccess.h"

namespace config {

using json::ReadInt;

namespace {

constexpr const char* kSystemKeys[6] = {"Repeat",      "RepeatDelay", "Key6Flag",
                                        "PollingRate", "WFlag",       "WinFlag"};

Json::Value ZeroColor() {
    Json::Value color(Json::objectValue);
    color["Red"] = color["Green"] = color["Blue"] = color["Alpha"] = 0;
    return color;
}

RgbaColor ReadColor(Json::Value& color) {
    return {static_cast<std::uint8_t>(ReadInt(color, "Red")),
            static_cast<std::uint8_t>(ReadInt(color, "Green")),
            static_cast<std::uint8_t>(ReadInt(color, "Blue")),
            static_cast<std::uint8_t>(ReadInt(color, "Alpha"))};
}

} // namespace

SystemStageWords CKeyboardProfiledata::ReadSystemStages() {
    SystemStageWords stages;
    if (Json::Value* group = Group("SystemStages", Json::objectValue)) {
        for (int i = 0; i < 6; ++i)
            stages.SetValue(i, static_cast<std::uint16_t>(ReadInt(*group, kSystemKeys[i])));
    }
    m_system = stages;
    return stages;
}

void CKeyboardProfiledata::WriteSystemStages(const SystemStageWords& stages) {
    Json::Value& group = WritableGroup("SystemStages", Json::objectValue);
    for (int i = 0; i < 6; ++i)
        group[kSystemKeys[i]] = stages.Value(i);
    m_system = stages;
}

std::vector<RgbaColor> CKeyboardProfiledata::ReadCustomLightColors(int mode, int count) {
    std::vector<RgbaColor> colors;
    Json::Value* group = Group("CustomLightMode", Json::objectValue);
    Json::Value* modes = group ? json::Member(*group, "LightColorInfo") : nullptr;
    Json::Value* entries = modes ? json::Element(*modes, mode) : nullptr;
    if (entries && entries->isNull()) {
        for (int j = 0; j < count; ++j)
            (*entries)[j] = ZeroColor();
    } else if (entries && entries->isArray()) {
        for (int j = 0; j < count; ++j) {
            Json::Value& color = (*entries)[j];
            if (color.isNull())
                color = ZeroColor();
            colors.push_back(ReadColor(color));
        }
    }
    m_customColors = colors;
    return colors;
}

void CKeyboardProfiledata::WriteCustomLightColors(int mode, const std::vector<RgbaColor>& colors) {
    m_customColors = colors;
    if (mode < 0 || colors.empty())
        return;
    Json::Value& modes = json::Ensure(
        WritableGroup("CustomLightMode", Json::objectValue)["LightColorInfo"], Json::arrayValue);
    Json::Value& entries = json::Ensure(modes[mode], Json::arrayValue);
    for (size_t j = 0; j < colors.size(); ++j) {
        Json::Value& color = json::Ensure(entries[static_cast<int>(j)], Json::objectValue);
        color["Red"] = colors[j].red;
        color["Green"] = colors[j].green;
        color["Blue"] = colors[j].blue;
        color["Alpha"] = colors[j].alpha;
    }
}

int CKeyboardProfiledata::ReadCustomLightGroup() {
    Json::Value* group = Group("CustomLightMode", Json::objectValue);
    m_customMode = group ? ReadInt(*group, "CustomLightModeGroupIndex") : 0;
    return m_customMode;
}

void CKeyboardProfiledata::WriteCustomLightGroup(int index) {
    WritableGroup("CustomLightMode", Json::objectValue)["CustomLightModeGroupIndex"] = index;
    m_customMode = index;
}

} // namespace config
