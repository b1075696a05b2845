#pragma once
// The keyboard's profile record: the common groups plus "SystemStages" (keyboard form) and
// "CustomLightMode".

#include "config/BasicProfiledata.h"

namespace config {

class CKeyboardProfiledata : public CBasicProfiledata {
public:
    // "Repeat", "RepeatDelay", "Key6Flag", "PollingRate", "WFlag", "WinFlag" in that order.
    SystemStageWords ReadSystemStages();
    void WriteSystemStages(const SystemStageWords& stages);

    // The first `count` colours of custom mode `mode`. A null colour is written into the
    // record as zeros and read as zeros; when the mode has no colour array at all, `count`
    // zero colours are written into the record and the result is empty.
    std::vector<RgbaColor> ReadCustomLightColors(int mode, int count);
    void WriteCustomLightColors(int mode, const std::vector<RgbaColor>& colors);
    // "CustomLightModeGroupIndex": the selected custom mode.
    int ReadCustomLightGroup();
    void WriteCustomLightGroup(int index);

private:
    SystemStageWords m_system;
    std::vector<RgbaColor> m_customColors;
    std::int32_t m_customMode = 0;
};

} // namespace config
