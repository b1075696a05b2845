// Feeds one input, as a file, to everything that reads stored documents: the JSON helpers and
// each profile-data class, loading the input once as a profile and once as the default
// document, then reading every group, the light-effect list and a recorded effect. Beyond not
// crashing, values written back and saved must read back unchanged.

#include "config/AtomicFile.h"
#include "config/Hs6533Profiledata.h"
#include "config/JsonFile.h"
#include "config/KeyboardProfiledata.h"
#include "config/MouseProfiledata.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

using namespace config;

namespace {

constexpr const char* kInput = "input.Json";
constexpr const char* kEffect = "effect.light"; // a "Guid" of "effect" in the input finds it
constexpr const char* kProfile = "profile.Json";
constexpr const char* kFallback = "fallback.Json";

// A memory file system when there is one: every input is saved a dozen times.
std::filesystem::path TemporaryRoot() {
    std::error_code error;
    if (std::filesystem::is_directory("/dev/shm", error) && access("/dev/shm", W_OK) == 0)
        return "/dev/shm";
    return std::filesystem::temp_directory_path();
}

// Runs in a private folder so that the input's relative effect paths resolve inside it.
void EnterWorkFolder() {
    static const bool entered = [] {
        std::string folder = TemporaryRoot() / "quarin-fuzz-XXXXXX";
        if (!mkdtemp(folder.data()))
            std::abort();
        std::filesystem::current_path(folder);
        static const std::string removeAtExit = folder;
        std::atexit([] { std::filesystem::remove_all(removeAtExit); });
        std::ofstream(kFallback) << R"({"Device": [{"LightInfo": {"Light": 1}, "KeyList": [{}]}]})";
        return true;
    }();
    (void)entered;
}

void Require(bool holds, const char* what, const char* where) {
    if (!holds) {
        std::fprintf(stderr, "%s: %s\n", where, what);
        std::abort();
    }
}

template <class T> void Put(std::ostringstream& out, const T& record) {
    out.write(reinterpret_cast<const char*>(&record), sizeof record);
}

// Field by field: the record has padding.
void Put(std::ostringstream& out, const KeyListEntry& entry) {
    for (const KeyAssignment& key : {entry.current, entry.defaults}) {
        out << key.keyIndex << ':';
        Put(out, key.code);
    }
}

template <class T> void PutList(std::ostringstream& out, const std::vector<T>& list) {
    out << list.size() << ':';
    for (const T& item : list)
        Put(out, item);
}

void PutText(std::ostringstream& out, const std::wstring& text) {
    out << text.size() << ':' << WideToUtf8(text);
}

// Every Read operation of the class, flattened into bytes that compare equal exactly when the
// values read are equal.
void ReadOwn(CBasicProfiledata&, std::ostringstream&) {}

void ReadOwn(CKeyboardProfiledata& p, std::ostringstream& out) {
    Put(out, p.ReadSystemStages());
    PutList(out, p.ReadCustomLightColors(0, 8));
    PutList(out, p.ReadCustomLightColors(2, 3));
    out << p.ReadCustomLightGroup();
}

void ReadOwn(CMouseProfiledata& p, std::ostringstream& out) {
    PutList(out, p.ReadDpiStages());
    out << p.GetDpiStageActive() << ':';
    Put(out, p.ReadMouseSystem());
    for (const CorrectEntry& entry : p.ReadCorrectInfo()) {
        Put(out, entry.pixThresh), Put(out, entry.minSq), Put(out, entry.select);
        PutText(out, entry.name);
    }
}

void ReadOwn(CHs6533Profiledata& p, std::ostringstream& out) {
    Put(out, p.ReadHeadsetSettings());
    for (int eqType = -1; eqType <= 14; ++eqType)
        PutList(out, p.ReadEqPreset(eqType));
    for (int slot = 0; slot < 3; ++slot)
        PutList(out, p.ReadCustomEq(slot));
    for (const std::wstring& name : p.ReadCustomEqNames())
        PutText(out, name);
}

template <class Profile> std::string ReadAll(Profile& p) {
    std::ostringstream out;
    Put(out, p.ReadLightInfo());
    Put(out, p.ReadAudioLightInfo());
    PutList(out, p.ReadLightList());
    PutList(out, p.ReadKeyList());
    PutList(out, p.ReadLightEffect());
    ReadOwn(p, out);
    return out.str();
}

// Writes back what the Read operations give.
void WriteOwn(CBasicProfiledata&) {}

void WriteOwn(CKeyboardProfiledata& p) {
    p.WriteSystemStages(p.ReadSystemStages());
    p.WriteCustomLightColors(0, p.ReadCustomLightColors(0, 8));
    p.WriteCustomLightColors(2, p.ReadCustomLightColors(2, 3));
    p.WriteCustomLightGroup(p.ReadCustomLightGroup());
}

void WriteOwn(CMouseProfiledata& p) {
    p.WriteDpiStages(p.ReadDpiStages());
    p.WriteDpiStageActive(p.GetDpiStageActive());
    p.WriteMouseSystem(p.ReadMouseSystem());
}

void WriteOwn(CHs6533Profiledata& p) {
    p.WriteHeadsetSettings(p.ReadHeadsetSettings());
    for (int eqType = -1; eqType <= 14; ++eqType)
        p.WriteEqPreset(eqType, p.ReadEqPreset(eqType));
    for (int slot = 0; slot < 3; ++slot)
        p.WriteCustomEq(slot, p.ReadCustomEq(slot));
    p.WriteCustomEqNames(p.ReadCustomEqNames());
}

template <class Profile> void WriteAll(Profile& p) {
    p.WriteLightInfo(p.ReadLightInfo());
    p.WriteAudioLightInfo(p.ReadAudioLightInfo());
    p.WriteKeyList(p.ReadKeyList());
    WriteOwn(p);
}

template <class Profile> Profile Loaded(const char* defaultPath) {
    Profile p;
    p.SetDefaultPath(Utf8ToWide(defaultPath));
    p.SetProfilePath(Utf8ToWide(kProfile));
    p.LoadProfile(Utf8ToWide(kProfile));
    p.LoadConfig(Utf8ToWide(kInput));
    return p;
}

// Reading fills in what is missing (absent groups as null, zero colours and bands) and
// writing creates absent groups, which the next read fills in again. After one round of each
// and a save the values are settled: writing them back and saving must not change them.
// (The first save may: jsoncpp's writer re-encodes text that is not valid UTF-8, lossily.)
template <class Profile> void Exercise(const char* defaultPath, const char* where) {
    Profile p = Loaded<Profile>(defaultPath);
    ReadAll(p);
    WriteAll(p);
    ReadAll(p);
    p.SaveProfile();

    Profile saved = Loaded<Profile>(defaultPath);
    Require(saved.DeviceRecord().isObject(), "a saved record does not load again", where);
    const std::string settled = ReadAll(saved);
    WriteAll(saved);
    Require(ReadAll(saved) == settled, "written values read back differently", where);
    saved.SaveProfile();
    Profile reloaded = Loaded<Profile>(defaultPath);
    Require(ReadAll(reloaded) == settled, "saved values read back differently", where);
}

void WriteInput(const uint8_t* data, size_t size) {
    for (const char* name : {kInput, kEffect})
        std::ofstream(name, std::ios::binary).write(reinterpret_cast<const char*>(data), size);
}

template <class Profile> void ExerciseBothRoles(const char* name) {
    std::filesystem::copy_file(kInput, kProfile, std::filesystem::copy_options::overwrite_existing);
    Exercise<Profile>(kFallback, name);
    std::filesystem::remove(kProfile);
    Exercise<Profile>(kInput, name);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    EnterWorkFolder();
    // Durability is not under test here; syncing every save would only slow the search.
    FileCalls calls = FileCalls::System();
    calls.fsync = [](int) { return 0; };
    const ScopedFileCalls noSync(calls);

    WriteInput(data, size);
    readjsonFile(std::string(kInput));
    ReadJsonFile(std::string(kInput));
    ExerciseBothRoles<CBasicProfiledata>("mouse pad");
    ExerciseBothRoles<CKeyboardProfiledata>("keyboard");
    ExerciseBothRoles<CMouseProfiledata>("mouse");
    ExerciseBothRoles<CHs6533Profiledata>("headset");
    return 0;
}
