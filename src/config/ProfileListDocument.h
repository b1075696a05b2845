#pragma once
// "ProfileList.ini" of a device's user folder: a JSON document (despite its extension) that
// lists the device's profiles in drop-down order and names the selected one.
//
//   "profilelist":   [{"profilename": name, "profileUUID": id, "profileislink": 0,
//                      "profilelinkmame": ""}, ...]
//   "profileselect": index of the selected profile
//
// The profile of an entry is the file user folder + id + ".Json". A list read from disk is
// taken apart into ProfileListState, dropping what cannot stand for a profile; every write
// builds the document again from that state.

#include <json/value.h>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace config {

inline constexpr const char* kProfileListFileName = "ProfileList.ini";
inline constexpr const char* kProfileExtension = ".Json";

struct ProfileEntry {
    std::string name; // UTF-8, as typed
    std::string id;   // a timestamp id (MakeTimestampId)

    bool operator==(const ProfileEntry&) const = default;
};

struct ProfileListState {
    std::vector<ProfileEntry> entries;
    int selected = 0;

    // The index of the entry with this id; -1 when there is none.
    int IndexOf(std::string_view id) const;
    std::vector<std::string> Names() const;
    bool operator==(const ProfileListState&) const = default;
};

// Whether `id` can name a file in the user folder: not empty, no more than 200 bytes, no
// folder separator, no control character, not "." or "..". An id that fails this could make a
// delete or a write reach a file outside the folder.
bool IsUsableProfileId(std::string_view id);

// The profiles of a list document. Entries that are not objects, have no usable id or repeat
// an earlier entry's id are left out; a name that is not a string becomes the id. A selection
// outside the list, or of an entry left out, becomes 0. Nothing when the document is not an
// object, has no "profilelist" array or no entry is left.
std::optional<ProfileListState> ParseProfileList(const Json::Value& document);

// The list document of a state, every entry with "profileislink" 0 and "profilelinkmame" "".
Json::Value MakeProfileListDocument(const ProfileListState& state);

// The profile documents in `folder` (ending in a slash): files id + ".Json" holding an object
// whose "profileUUID" is that id, in the order of their ids (the order they were made in).
// The name is the document's "profilename", or the id when it has none.
std::vector<ProfileEntry> FindProfileDocuments(const std::string& folder);

} // namespace config
