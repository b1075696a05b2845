#pragma once
// The mouse's profile record: the common groups plus "DPIStages", "SystemStages" (mouse form),
// "ReportStages" and "CorrectInfo".

#include "config/BasicProfiledata.h"

namespace config {

class CMouseProfiledata : public CBasicProfiledata {
public:
    // The stages of "DPIStages"."StageDPIs"; also takes the current stage index.
    std::vector<DpiStage> ReadDpiStages();
    void WriteDpiStages(const std::vector<DpiStage>& stages);
    // "DPIStages"."StageActive": the index of the current stage.
    int GetDpiStageActive();
    void WriteDpiStageActive(int index);

    // "DoubleClickTime", "MouseSpeed", "PointerPrecision", "ScorllPage", "WheelScorlllinse"
    // of "SystemStages", then the report rate ("ReportStages"."StageActive").
    SystemStageWords ReadMouseSystem();
    void WriteMouseSystem(const SystemStageWords& system);

    std::vector<CorrectEntry> ReadCorrectInfo();

private:
    std::vector<DpiStage> m_dpiStages;
    std::int32_t m_stageActive = 0;
    SystemStageWords m_system;
    std::vector<CorrectEntry> m_correctInfo;
};

} // namespace config
