#include "config/MouseProfiledata.h"

#include "config/JsonAccess.h"
#include "config/Utf8.h"

namespace config {

using json::ReadInt;

namespace {

constexpr const char* kSystemKeys[5] = {"DoubleClickTime", "MouseSpeed", "PointerPrecision",
                                        "ScorllPage", "WheelScorlllinse"};

std::uint8_t Byte(int value) {
    return static_cast<std::uint8_t>(value);
}

DpiStage ReadStage(Json::Value& value) {
    DpiStage stage;
    stage.enable = Byte(ReadInt(value, "StageActive"));
    stage.xy = Byte(ReadInt(value, "StageXY"));
    stage.SetDpiX(static_cast<std::uint16_t>(ReadInt(value, "StageDPIX")));
    stage.SetDpiY(static_cast<std::uint16_t>(ReadInt(value, "StageDPIY")));
    stage.red = Byte(ReadInt(value, "StageColorR"));
    stage.green = Byte(ReadInt(value, "StageColorG"));
    stage.blue = Byte(ReadInt(value, "StageColorB"));
    return stage;
}

} // namespace

std::vector<DpiStage> CMouseProfiledata::ReadDpiStages() {
    std::vector<DpiStage> stages;
    m_stageActive = 0;
    if (Json::Value* group = Group("DPIStages", Json::objectValue)) {
        m_stageActive = ReadInt(*group, "StageActive");
        Json::Value& list = (*group)["StageDPIs"];
        if (list.isArray()) {
            for (Json::Value& stage : list)
                stages.push_back(ReadStage(stage));
        }
    }
    m_dpiStages = stages;
    return stages;
}

void CMouseProfiledata::WriteDpiStages(const std::vector<DpiStage>& stages) {
    m_dpiStages = stages;
    if (stages.empty())
        return;
    Json::Value& list =
        json::Ensure(WritableGroup("DPIStages", Json::objectValue)["StageDPIs"], Json::arrayValue);
    for (size_t i = 0; i < stages.size(); ++i) {
        const DpiStage& s = stages[i];
        Json::Value& stage = json::Ensure(list[static_cast<int>(i)], Json::objectValue);
        stage["StageActive"] = s.enable;
        stage["StageXY"] = s.xy;
        stage["StageDPIX"] = s.DpiX();
        stage["StageDPIY"] = s.DpiY();
        stage["StageColorR"] = s.red;
        stage["StageColorG"] = s.green;
        stage["StageColorB"] = s.blue;
    }
}

int CMouseProfiledata::GetDpiStageActive() {
    Json::Value* group = Group("DPIStages", Json::objectValue);
    m_stageActive = group ? ReadInt(*group, "StageActive") : 0;
    return m_stageActive;
}

void CMouseProfiledata::WriteDpiStageActive(int index) {
    WritableGroup("DPIStages", Json::objectValue)["StageActive"] = index;
    m_stageActive = index;
}

SystemStageWords CMouseProfiledata::ReadMouseSystem() {
    SystemStageWords system;
    if (Json::Value* group = Group("SystemStages", Json::objectValue)) {
        for (int i = 0; i < 5; ++i)
            system.SetValue(i, static_cast<std::uint16_t>(ReadInt(*group, kSystemKeys[i])));
    }
    if (Json::Value* report = Group("ReportStages", Json::objectValue))
        system.SetValue(mouse_system::kReportRate,
                        static_cast<std::uint16_t>(ReadInt(*report, "StageActive")));
    m_system = system;
    return system;
}

void CMouseProfiledata::WriteMouseSystem(const SystemStageWords& system) {
    Json::Value& group = WritableGroup("SystemStages", Json::objectValue);
    for (int i = 0; i < 5; ++i)
        group[kSystemKeys[i]] = system.Value(i);
    WritableGroup("ReportStages", Json::objectValue)["StageActive"] =
        system.Value(mouse_system::kReportRate);
    m_system = system;
}

std::vector<CorrectEntry> CMouseProfiledata::ReadCorrectInfo() {
    std::vector<CorrectEntry> entries;
    if (Json::Value* list = Group("CorrectInfo", Json::arrayValue)) {
        for (Json::Value& value : *list) {
            entries.push_back({Byte(ReadInt(value, "CorrectPixThresh")),
                               Byte(ReadInt(value, "CorrectMinSq")),
                               Byte(ReadInt(value, "CorrectSelect")),
                               Utf8ToWide(json::ReadString(value, "CorrectName"))});
        }
    }
    m_correctInfo = entries;
    return entries;
}

} // namespace config
