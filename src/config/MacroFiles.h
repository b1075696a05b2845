#pragma once
// The macro files of a device's user folder: the index "macro.config", which names the macros
// in list order ("MacroInfo": "MacroName", "Guid"), and one "<Guid>.mac" per macro holding its
// events ("MacroName", "Guid", "Events", "Version" 64).
//
// Reads tell a missing or damaged file (which may be replaced) from one that could not be
// looked into (JsonFile.h), which is left as it is.

#include "config/JsonFile.h"
#include "config/MacroEvent.h"

#include <string>
#include <vector>

namespace config {

inline constexpr int kMacroFileVersion = 64;
inline constexpr const char* kMacroIndexFileName = "macro.config";
inline constexpr const char* kMacroFileExtension = ".mac";

// Results of writing and copying macro files.
inline constexpr int kMacroFileDone = 1;
inline constexpr int kMacroFileWriteFailed = 0;
inline constexpr int kMacroFileSourceMissing = -1;
inline constexpr int kMacroFileRefused = -2; // there, but could not be read: nothing written

struct MacroInfo {
    std::string name; // "MacroName"
    std::string guid; // "Guid": the events file is user folder + guid + ".mac"

    bool operator==(const MacroInfo&) const = default;
};

struct MacroIndexRead {
    // Every "MacroInfo" element in order; one that is no object counts with empty fields.
    std::vector<MacroInfo> macros;
    ReadState state = ReadState::kMissing;

    // Something is there that could not be looked into: the file must not be replaced.
    bool Refused() const {
        return state == ReadState::kUnreadable || state == ReadState::kNotAFile ||
               state == ReadState::kTooLarge;
    }
};

struct MacroEventsRead {
    MacroInfo info; // the inner "MacroName" and "Guid"
    std::vector<MacroEvent> events;
    ReadState state = ReadState::kMissing;

    bool Refused() const {
        return state == ReadState::kUnreadable || state == ReadState::kNotAFile ||
               state == ReadState::kTooLarge;
    }
};

// Whether an id can name a file of the folder: not empty, no path separator, not "." or "..".
// A ".mac" is read, written or removed only for such an id.
bool IsPlainMacroId(const std::string& guid);

// `folder` ends in a path separator, as the device's user folder does.
std::string MacroIndexPath(const std::string& folder);
std::string MacroEventsPath(const std::string& folder, const std::string& guid);

MacroIndexRead ReadMacroIndex(const std::string& folder);
// The whole index replaced atomically; kMacroFileDone or kMacroFileWriteFailed.
int WriteMacroIndex(const std::string& folder, const std::vector<MacroInfo>& macros);

// A missing or damaged file reads as no events.
MacroEventsRead ReadMacroEvents(const std::string& path);
int WriteMacroEvents(const std::string& path, const MacroInfo& info,
                     const std::vector<MacroEvent>& events);

// One "Events" element. "Delay" is decimal text; an integer is taken too, and anything of
// 65535 or more reads as 65535. Text that is no number reads as 0.
MacroEvent MacroEventFromJson(const Json::Value& value);
Json::Value MacroEventToJson(const MacroEvent& event);
// The delay of a "Delay" value alone, clamped as above.
std::uint16_t MacroDelayFromJson(const Json::Value& value);

// Copies a file byte for byte (import and export of a ".mac"); the destination is replaced
// atomically. A missing source gives kMacroFileSourceMissing, one that cannot be read
// kMacroFileRefused; the destination is then not touched.
int CopyMacroFile(const std::string& from, const std::string& to);

} // namespace config
