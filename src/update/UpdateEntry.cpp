#include "update/UpdateEntry.h"

#include "config/Utf8.h"
#include "devices/ModelTables.h"

#include <cctype>
#include <cstdint>
#include <cwchar>
#include <limits>

namespace update {

std::wstring BuildApplicationKey(const UpdateEntry& entry) {
    if (entry.currentVersion == 0)
        return L"NULL";
    return entry.makerName + L"_" + std::to_wstring(entry.numberFormat) + L"_" + entry.modelCode +
           L"_" + entry.shortName + L"_" + std::to_wstring(entry.secondNumber);
}

std::wstring LocalVersionText(const UpdateEntry& entry) {
    wchar_t text[16] = {};
    if (entry.IsHex())
        std::swprintf(text, std::size(text), L"V%04x",
                      static_cast<std::uint32_t>(entry.currentVersion));
    else
        std::swprintf(text, std::size(text), L"V%d", entry.currentVersion);
    return text;
}

std::int32_t ParseInstalledVersion(const std::string& displayVersion) {
    std::int64_t value = 0;
    for (char c : displayVersion) {
        if (c == '.')
            continue;
        if (!std::isdigit(static_cast<unsigned char>(c)))
            break;
        value = value * 10 + (c - '0');
        if (value > std::numeric_limits<std::int32_t>::max())
            return std::numeric_limits<std::int32_t>::max();
    }
    return static_cast<std::int32_t>(value);
}

std::vector<UpdateEntry> UpdateEntries(const std::vector<std::uint32_t>& deviceVersions,
                                       std::int32_t installedVersion) {
    const auto& rows = devices::UpdateModelRows();
    std::vector<UpdateEntry> entries;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const devices::UpdateModelRow& row = rows[i];
        UpdateEntry entry;
        entry.numberFormat = row.rowType;
        entry.secondNumber = row.flag;
        if (i + 1 == rows.size())
            entry.currentVersion = installedVersion;
        else if (i < deviceVersions.size())
            entry.currentVersion = static_cast<std::int32_t>(deviceVersions[i]);
        if (entry.currentVersion == 0)
            continue;
        // The entry reads the row's texts by position: its third text is the short name that
        // goes into the application key, its fourth the name shown in the list.
        entry.makerName = config::Utf8ToWide(row.maker);
        entry.modelCode = config::Utf8ToWide(row.modelCode);
        entry.shortName = config::Utf8ToWide(row.displayName);
        entry.displayName = config::Utf8ToWide(row.shortName);
        entry.versionText = config::Utf8ToWide(row.versionString);
        entries.push_back(std::move(entry));
    }
    return entries;
}

} // namespace update
