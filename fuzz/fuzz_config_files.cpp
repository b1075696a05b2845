// Feeds one input, as a file, to every reader of the JSON files beside the profiles: the
// profile list ("ProfileList.ini") and the profile documents found in a folder, the macro
// index and a macro's events, a recoil file, the music styles ("AudioFile.json"), the colour
// picker's swatches and the date of the last update check. Each is read the way the program
// reads it; beyond not crashing, what is read stays in its range and what is written back
// reads back the same.

#include "FuzzSupport.h"

#include "config/AtomicFile.h"
#include "config/AudioStyleFile.h"
#include "config/ColorOptionFile.h"
#include "config/JsonFile.h"
#include "config/MacroFiles.h"
#include "config/MacroLibrary.h"
#include "config/ProfileList.h"
#include "config/ProfileListDocument.h"
#include "config/ShootFiles.h"
#include "shell/update/UpdateDateFile.h"

#include <QString>

#include <filesystem>

using namespace config;
using fuzz::Require;

namespace {

constexpr const char* kProfileId = "2024_01_02_03_04_05_006";
constexpr const char* kMacroId = "2024_01_02_03_04_05_007";

// The folder the input is saved in under every name, and a second one for what is written.
std::string InputFolder() {
    return fuzz::WorkFolder() + "in/";
}
std::string OutputFolder() {
    return fuzz::WorkFolder() + "out/";
}

void ProfileListDocument(const Json::Value& document) {
    const std::optional<ProfileListState> state = ParseProfileList(document);
    if (!state)
        return;
    Require(!state->entries.empty(), "a parsed list has no entries");
    Require(state->selected >= 0 && state->selected < static_cast<int>(state->entries.size()),
            "the selection is outside the list");
    for (std::size_t i = 0; i < state->entries.size(); ++i) {
        Require(IsUsableProfileId(state->entries[i].id), "an entry's id cannot name a file");
        Require(state->IndexOf(state->entries[i].id) == static_cast<int>(i), "an id repeats");
    }
    const std::optional<ProfileListState> again = ParseProfileList(MakeProfileListDocument(*state));
    Require(again && *again == *state, "a list document does not read back as its state");
}

void ProfileFolder() {
    for (const ProfileEntry& entry : FindProfileDocuments(InputFolder()))
        Require(IsUsableProfileId(entry.id), "a profile found has an id that names no file");
    // The list of the input folder read as it is; loading may rebuild it, so in a copy.
    CProfileList reader(InputFolder(), InputFolder() + kProfileId + kProfileExtension);
    if (reader.Read() == kProfileDone && !reader.State().entries.empty()) {
        const ProfileListState& state = reader.State();
        Require(state.selected >= 0 && state.selected < static_cast<int>(state.entries.size()),
                "the list read selects no entry");
    }
    std::filesystem::remove_all(OutputFolder());
    std::filesystem::create_directory(OutputFolder());
    std::filesystem::copy_file(InputFolder() + kProfileListFileName,
                               OutputFolder() + kProfileListFileName);
    CProfileList list(OutputFolder(), InputFolder() + kProfileId + kProfileExtension);
    if (list.Load() == kProfileDone) {
        Require(!list.State().entries.empty(), "a loaded list is empty");
        Require(list.Add() != kProfileUnreadable, "a list just loaded cannot be read again");
    }
}

void MacroFiles() {
    const MacroIndexRead index = ReadMacroIndex(InputFolder());
    if (index.state == ReadState::kRead) {
        // The first write may change text that is not valid UTF-8 (jsoncpp's writer re-encodes
        // it, lossily); from then on the index must read back as written.
        Require(WriteMacroIndex(OutputFolder(), index.macros) == kMacroFileDone,
                "the macro index cannot be written");
        const std::vector<MacroInfo> settled = ReadMacroIndex(OutputFolder()).macros;
        Require(settled.size() == index.macros.size(), "the macro index loses entries");
        Require(WriteMacroIndex(OutputFolder(), settled) == kMacroFileDone,
                "the macro index cannot be written");
        Require(ReadMacroIndex(OutputFolder()).macros == settled,
                "the macro index does not read back");
    }
    CMacroLibrary library([] { return std::chrono::system_clock::time_point{}; });
    library.SetMacroFolder(InputFolder());
    library.LoadMacroList();
    Require(library.Macros() == index.macros, "the library lists other macros than the index");

    const MacroEventsRead events = ReadMacroEvents(MacroEventsPath(InputFolder(), kMacroId));
    for (const MacroEvent& event : events.events)
        Require(MacroEventFromJson(MacroEventToJson(event)) == event,
                "a macro event does not read back");
    if (events.state == ReadState::kRead) {
        const std::string path = MacroEventsPath(OutputFolder(), kMacroId);
        Require(WriteMacroEvents(path, events.info, events.events) == kMacroFileDone,
                "the macro events cannot be written");
        const MacroEventsRead settled = ReadMacroEvents(path);
        Require(settled.events == events.events, "the macro events do not read back");
        Require(WriteMacroEvents(path, settled.info, settled.events) == kMacroFileDone,
                "the macro events cannot be written");
        Require(ReadMacroEvents(path).info == settled.info, "the macro's name does not read back");
    }
}

void ShootFile() {
    const ShootFileRead read = ReadShootFile(ShootFilePath(InputFolder(), 0));
    Json::Value document = read.document;
    Require(ShootSlotEvents(document).size() == static_cast<std::size_t>(kShootEventCount),
            "a slot has not 180 events");
    for (int bullet = 0; bullet < kShootBulletCount; ++bullet) {
        const ShootBullet values = ReadShootBullet(document, bullet);
        PutShootBullet(document, bullet, values);
        Require(ReadShootBullet(document, bullet) == values, "a bullet does not read back");
    }
    const std::vector<MacroEvent> events = ShootSlotEvents(document);
    for (int bullet = 0; bullet < kShootBulletCount; ++bullet) {
        const ShootBullet values = ReadShootBullet(document, bullet);
        const MacroEvent& move = events[static_cast<std::size_t>(bullet * 6 + 2)];
        Require(move.button == std::clamp<std::int64_t>(values.x, 0, 255),
                "a distance is not held to a byte");
    }
    const std::string path = ShootFilePath(OutputFolder(), 0);
    Require(WriteShootFile(path, document) == kShootFileDone, "a recoil file cannot be written");
    Require(ShootSlotEvents(ReadShootFile(path).document) == events,
            "a recoil file does not read back");
}

void AudioStyle() {
    const std::string user = OutputFolder() + "AudioFile.json";
    std::filesystem::copy_file(InputFolder() + "AudioFile.json", user,
                               std::filesystem::copy_options::overwrite_existing);
    // As the music panel takes it: the document, then its "AudioLightInfo".
    Json::Value device = LoadAudioStyleDocument(user, InputFolder() + "AudioFile.json");
    const AudioStyleSet set = ReadAudioStyle(device["AudioLightInfo"]);
    Require(set.current <= 3, "the style is outside 0 to 3");
    Require(StyleColourPayload(set).size() == 40, "the style payload is not 40 bytes");
    Json::Value info(Json::objectValue);
    WriteAudioStyle(set, info);
    const AudioStyleSet again = ReadAudioStyle(info);
    Require(again.current == set.current && again.names == set.names &&
                again.colours == set.colours,
            "the styles do not read back");
    device["AudioLightInfo"] = info;
    Require(SaveAudioStyleDocument(user, device), "the styles cannot be saved");
}

void ColourOptions() {
    const std::string user = OutputFolder() + kColorOptionFileName;
    std::filesystem::copy_file(InputFolder() + kColorOptionFileName, user,
                               std::filesystem::copy_options::overwrite_existing);
    CColorOptionFile file;
    if (!file.Load(user, InputFolder() + kColorOptionFileName))
        return;
    std::array<std::optional<std::uint32_t>, kColorSwatchCount> presets;
    std::array<std::optional<ColorSwatch>, kColorSwatchCount> swatches;
    for (int i = 0; i < kColorSwatchCount; ++i) {
        presets[static_cast<std::size_t>(i)] = file.PresetColor(i);
        if (const std::optional<std::uint32_t> colour = file.PresetColor(i))
            Require(ParseColorText(ColorText(*colour)) == colour, "a colour does not read back");
        if (const std::optional<std::uint32_t> colour = file.UserColor(i))
            swatches[static_cast<std::size_t>(i)] = ColorSwatch{*colour, file.UserData(i)};
    }
    Require(file.PresetColor(-1) == std::nullopt &&
                file.PresetColor(kColorSwatchCount) == std::nullopt,
            "a swatch outside the twenty has a colour");
    const int preset = file.PresetSelection();
    const int userSelection = file.UserSelection();
    Require(preset >= -1 && preset < kColorSwatchCount, "the preset selection is out of range");
    Require(userSelection >= -1 && userSelection < kColorSwatchCount,
            "the user selection is out of range");
    if (file.SavePresets(presets, preset) && file.SaveUserSwatches(swatches, userSelection)) {
        CColorOptionFile saved;
        Require(saved.Load(user, user) == 1, "saved swatches do not load");
        for (int i = 0; i < kColorSwatchCount; ++i)
            if (presets[static_cast<std::size_t>(i)])
                Require(saved.PresetColor(i) == presets[static_cast<std::size_t>(i)],
                        "a saved swatch reads back differently");
        Require(saved.PresetSelection() == preset, "a saved selection reads back differently");
    }
}

void CheckDate() {
    const std::string folder = OutputFolder();
    std::filesystem::copy_file(InputFolder() + "updatetime.config", folder + "updatetime.config",
                               std::filesystem::copy_options::overwrite_existing);
    const QString date = shell::update::ReadCheckDate(folder);
    shell::update::WriteCheckDate(folder, date);
    Require(shell::update::ReadCheckDate(folder) == date, "the check date does not read back");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Durability is not under test here; syncing every write would only slow the search.
    FileCalls calls = FileCalls::System();
    calls.fsync = [](int) { return 0; };
    const ScopedFileCalls noSync(calls);

    std::filesystem::remove_all(InputFolder());
    std::filesystem::create_directories(InputFolder());
    const std::span<const std::uint8_t> input(data, size);
    for (const std::string& name :
         {std::string(kProfileListFileName), std::string(kProfileId) + kProfileExtension,
          std::string(kMacroIndexFileName), std::string(kMacroId) + kMacroFileExtension,
          std::string("ShootData_0.Shoot"), std::string("AudioFile.json"),
          std::string(kColorOptionFileName), std::string("updatetime.config")})
        fuzz::WriteFile(InputFolder() + name, input);

    std::string text(reinterpret_cast<const char*>(data), size);
    if (const std::optional<std::uint32_t> colour = ParseColorText(text))
        Require(ParseColorText(ColorText(*colour)) == colour, "a colour text does not read back");
    ProfileListDocument(ReadJsonFile(InputFolder() + kProfileListFileName));
    ProfileFolder();
    MacroFiles();
    ShootFile();
    AudioStyle();
    ColourOptions();
    CheckDate();
    return 0;
}
