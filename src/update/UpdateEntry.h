#pragma once
// What is asked of the update service: one entry per row of the update model table (the
// devices' firmware, then the application), and what the service answered for it.

#include <cstdint>
#include <string>
#include <vector>

namespace update {

struct UpdateEntry {
    std::int32_t numberFormat = 0; // not 0: versions of this entry are hexadecimal
    std::int32_t secondNumber = 0;
    std::int32_t currentVersion = 0;
    std::wstring makerName, modelCode, shortName, displayName, versionText;
    bool IsHex() const { return numberFormat != 0; }
    bool IsApplication() const { return modelCode == L"ALL"; }
};

struct UpdateResult {
    std::int32_t status = 0; // 1 newer exists, 7 current (the window adds 0, 2, 3)
    std::int32_t deviceId = 0;
    std::wstring name, localVersion, versionName, serverVersion, downloadPath, installerFile;
};

inline constexpr std::int32_t kStatusNewer = 1;
inline constexpr std::int32_t kStatusCurrent = 7;

// The reply text, and the result's name, of a request that could not be sent.
inline constexpr const char* kNoLinkServer = "NO_LINK_SERVER";

// "NULL" when the entry's current version is 0; otherwise maker, number format, model code,
// short name and second number joined by "_" ("ORBEK_1_RT20M_MS_1").
std::wstring BuildApplicationKey(const UpdateEntry& entry);
// "V%04x" of the current version for hexadecimal entries, "V%d" for decimal ones.
std::wstring LocalVersionText(const UpdateEntry& entry);
// The installed version by the "." rule: every "." removed, the rest read as decimal ("1.0.5"
// -> 105; "" -> 0). Reading stops at the first character that is not a digit ("2.1.0-rc1" ->
// 210); a value past the 32-bit range is held at its largest.
std::int32_t ParseInstalledVersion(const std::string& displayVersion);
// The entries of the update model table in table order, device row i taking deviceVersions[i]
// (0 when that device is absent), the last row (the application) taking `installedVersion`;
// only entries whose current version is not 0 are returned. A row's texts fill maker, model
// code, short name, display name and version text in the order the row gives them.
std::vector<UpdateEntry> UpdateEntries(const std::vector<std::uint32_t>& deviceVersions,
                                       std::int32_t installedVersion);

} // namespace update
