#pragma once
// The headset's profile record: the common groups plus "SystemSetStages" and the equaliser
// groups "EQHzValueInfo", "CustomEQHzValueInfo" and "CustomEQNameInfo".

#include "config/BasicProfiledata.h"

namespace config {

class CHs6533Profiledata : public CBasicProfiledata {
public:
    // The equaliser type that stands for the custom equaliser rather than a preset.
    static constexpr int kCustomEqType = 13;
    static constexpr int kEqBands = 10;

    HeadsetSettings ReadHeadsetSettings();
    void WriteHeadsetSettings(const HeadsetSettings& settings);

    // The ten band values of the preset for `eqType`: types 1 to 12 name their own preset,
    // any other type preset 1. The custom type reads nothing and leaves the record as it is.
    // A band that is missing is written into the record as 0 and read as 0.
    std::vector<int> ReadEqPreset(int eqType);
    void WriteEqPreset(int eqType, const std::vector<int>& bands);
    // The same for custom equaliser slot `slot`.
    std::vector<int> ReadCustomEq(int slot);
    void WriteCustomEq(int slot, const std::vector<int>& bands);

    std::vector<std::wstring> ReadCustomEqNames();
    // Replaces "CustomEQNameInfo" with the names in list order.
    void WriteCustomEqNames(const std::vector<std::wstring>& names);

private:
    std::vector<int> ReadBands(const char* group, int index);
    void WriteBands(const char* group, int index, const std::vector<int>& bands);

    HeadsetSettings m_settings;
};

} // namespace config
