#pragma once
// CProfileList: the profiles of one device and every operation on them, on the files of the
// device's user folder. The profile panel and quarin-z17ctl both work through it, so the
// window and the command line keep the same files the same way.
//
// "ProfileList.ini" is the reference: every operation reads it again, changes it and writes
// it back whole (atomically), so a change made meanwhile by another program is never
// overwritten with an older list. Operations name profiles by id, not by position, for the
// same reason. A missing or damaged list is rebuilt before the operation goes on (see Load);
// a list or profile that is there but cannot be read is left as it is and the operation fails
// with kProfileUnreadable.
//
// Results: the ProfileResult codes below; nothing throws.

#include "config/JsonFile.h"
#include "config/ProfileListDocument.h"

#include <cstddef>
#include <json/value.h>
#include <string>

namespace config {

enum ProfileResult : int {
    kProfileDone = 1,
    // Nothing to do: Add with kMaxAddedProfiles profiles, Delete of the last profile, Rename to
    // the name of another profile.
    kProfileNothingDone = 0,
    // Rename only: the name is empty or white space.
    kProfileBlankName = 2,
    kProfileWriteFailed = -1,
    // Import: the file is not a profile (not an object with "profilename" and "profileUUID").
    kProfileNotAProfile = -2,
    // A file cannot be read: the file to import, the profile to export, copy or rename, or the
    // list itself. The file is left as it is; LastProblem() names it and says why.
    kProfileUnreadable = -3,
    // No profile of the list has this id.
    kProfileUnknown = -4,
};

// Add creates no more profiles than this; Copy and Import have no limit.
inline constexpr int kMaxAddedProfiles = 50;

// Import reads no larger file: a profile document is a few tens of KiB.
inline constexpr std::size_t kMaxImportBytes = 1024 * 1024;

// The file behind the last kProfileUnreadable, and why it could not be read.
struct ProfileFileProblem {
    std::string path;
    std::string reason;
};

// The device kind whose reset keeps the user's custom equalisers (the headset).
inline constexpr int kHeadsetDeviceKind = 7;

class CProfileList {
public:
    // userFolder: the device's user folder, ending in a slash; defaultDocument: the device's
    // shipped default profile. Both UTF-8.
    CProfileList(std::string userFolder, std::string defaultDocument);

    const std::string& UserFolder() const { return m_folder; }
    const std::string& DefaultDocument() const { return m_defaultDocument; }
    std::string ListPath() const;
    std::string ProfilePath(const std::string& id) const;

    // The list as last read or written.
    const ProfileListState& State() const { return m_state; }
    // The selected entry's id ("profileselect"); empty before the first Load.
    std::string SelectedId() const;

    // Reads the list. When it is missing, damaged or empty, it is rebuilt: from the profile
    // documents still in the folder when there are any (so no profile is lost with the list),
    // else as a single "profile1" made from the default document; a damaged list is set aside
    // first (DamagedFile.h). kProfileWriteFailed when a rebuilt list could not be written,
    // kProfileUnreadable when the list cannot be read; the state is then left as it was.
    int Load();
    // Reads the list without writing anything: a missing or damaged list reads as the profile
    // documents in the folder, which may be none. kProfileUnreadable as for Load.
    int Read();
    const ProfileFileProblem& LastProblem() const { return m_problem; }

    // Ids are taken by value: a caller may pass one out of State(), which each operation
    // replaces when it reads the list again.

    // Makes `id` the selected profile ("profileselect").
    int Select(std::string id);
    // Appends "profile<n>" (the lowest free n) made from the default document. The selection
    // stays where it is.
    int Add();
    // Deletes the profile and its file; the profile before it (or the first one, when it was
    // the first) becomes the selected one. The last profile is never deleted.
    int Delete(std::string id);
    // Appends a copy of the profile named "<name> copy".
    int Copy(std::string id);
    // Appends the profile document at `path`, named after the file (without folder and
    // extension); its "profilename" and "profileUUID" are replaced, the rest is kept as it is.
    int Import(const std::string& path);
    // Writes the profile's document to `destination`.
    int Export(std::string id, const std::string& destination);
    // Renames the profile (the name is kept as typed): kProfileDone, kProfileNothingDone when
    // another profile has that name (letter case ignored), kProfileBlankName.
    int Rename(std::string id, const std::string& name);
    // Replaces the profile's document with the default document, keeping its name and id; for
    // the headset (deviceKind 7) the custom equaliser names and values are kept as well.
    int Reset(std::string id, int deviceKind);

private:
    // Reads the list into m_state, rebuilding it when needed and allowed: a ProfileResult.
    int Refresh(bool mayWrite = true);
    int Rebuild();
    int Unreadable(const std::string& path, const JsonRead& read);
    bool WriteList(const ProfileListState& state);
    // A new id that no entry and no file of the folder uses yet.
    std::string NewId() const;
    // The default document with the two name keys set (an object in every case).
    Json::Value DefaultDocumentFor(const ProfileEntry& entry) const;
    // Writes the profile's document, then the list with the entry appended.
    int Append(const ProfileEntry& entry, Json::Value document);

    std::string m_folder;
    std::string m_defaultDocument;
    ProfileListState m_state;
    ProfileFileProblem m_problem;
};

} // namespace config
