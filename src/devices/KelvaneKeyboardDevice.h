#pragma once
// CKelvaneKeyboardDevice: the keyboard. Beside the base device it keeps the device's own key
// and LED tables and the maps from on-screen keys to them, the profile's key list, the
// system settings and the light block last read, and it writes keys and lighting to the
// keyboard.
//
// Results: 1 success; 0 nothing done (command channel not open, or a device reporting more
// keys than the tables hold); any other value is the failing command's result (DeviceComm.h).

#include "config/KeyboardProfiledata.h"
#include "devices/KelvaneUSBDevice.h"
#include "devices/KeyCode.h"
#include "devices/KeyboardKeyMap.h"
#include "devices/KeyboardNotifications.h"
#include "devices/LightBlock.h"
#include "devices/LightingLoop.h"
#include "devices/LightingThread.h"
#include "devices/MacroImage.h"
#include "devices/MusicEffects.h"
#include "devices/RecordedEffect.h"

#include <array>
#include <cstdint>
#include <mutex>
#include <vector>

namespace devices {

inline constexpr std::size_t kDeviceTableSize = 512;

// A custom colour record laid over the rendered LED after every step while its first byte is
// set: bytes 1-3 red, green, blue, byte 4 alpha.
inline constexpr std::size_t kOverlayOnAt = 0;
inline constexpr std::size_t kOverlayColourAt = 1;

// The steps of applying a profile that report something to the user.
struct KeyboardApplyResult {
    // How the profile was read (config::CBasicProfiledata::LoadResult); when it could not be,
    // nothing is sent and the other results stay 0.
    int profile = 1;
    int lightBlock = 0;
    std::vector<int> usedMacros; // macro-library indexes in device order
    int macroDownload = 0;       // DownloadMacros: 0 done or nothing to do, -1, or the overflow
    int keyTable = 0;
};

class CKelvaneKeyboardDevice : public CKelvaneUSBDevice, private ILightingTarget {
public:
    explicit CKelvaneKeyboardDevice(transport::HidBackend* backend = nullptr);
    // Stops the lighting thread first.
    ~CKelvaneKeyboardDevice() override;

    config::CKeyboardProfiledata& Profile() {
        return static_cast<config::CKeyboardProfiledata&>(ProfileData());
    }
    std::string GetClass() const override { return "KelvaneKeyboardDevice"; }
    int GetDeviceKind() const override { return transport::kKindKeyboard; }

    // ---- Device tables ----

    // 0x01, 0x03, then 0x07 and 0x1B for the N keys the device reports and 0x02; builds the
    // maps. A device reporting more than 170 keys is not read further (no 0x02 either) and the
    // previous tables stay. 1 when the tables were read.
    int ReadDeviceTables();
    int GetDeviceKeyCount() const { return InfoBlock()[kInfoKeyCountAt]; }
    const std::array<std::uint8_t, kDeviceTableSize>& DeviceKeyTable() const { return m_keyTable; }
    const std::array<std::uint8_t, kDeviceTableSize>& DeviceLedTable() const { return m_ledTable; }
    const KeyboardMaps& Maps() const { return m_maps; }

    // ---- Keys ----

    const std::vector<KeyRecord>& KeyList() const { return m_keyList; }
    // A default record when the key is not in the list.
    KeyRecord GetKeyRecord(int key) const override;
    // The panel's new record for a key: kept in the list and the profile, which is saved.
    // False for a key the profile's list does not hold.
    bool SetKeyRecord(int key, const KeyRecord& record) override;
    // Stores the key and shows its assignment.
    void SelectKey(int index) override;

    // The current code of every on-screen key with a device key, over the device's own table,
    // as 0x01, 0x09 and 0x02. Macros get their device numbers; a key naming a macro the
    // library no longer has gets its default back in `keys`. Page must be 0 (else -201,
    // nothing sent).
    int WriteKeyTable(int page, std::vector<KeyRecord>& keys);
    // The current profile's keys, page 0.
    int WriteKeyTable() override;
    std::vector<int> UsedMacroList() const;
    // Macros of the user's library ("macro.config"), as of the last LoadLists.
    int GetMacroLibrarySize() const { return m_macroLibrarySize; }
    void LoadLists() override;
    // Keys naming a macro beyond the library get their defaults back; the profile keeps them.
    void ClearMissingMacroKeys() override;

    // ---- Macros ----

    // The macros the keys use (UsedMacroList), in device order.
    int DownloadMacros() override;
    // The library macros `libraryIndexes` as one image into the macro memory: 0x01, 0x15 and
    // 0x02 while the channel is open. A macro whose entry or file is missing or unreadable goes
    // as an empty block; without a readable library nothing is sent. An image over the macro
    // memory (information byte 6 × 128) is not sent: the result is the overflow.
    int DownloadMacros(const std::vector<int>& libraryIndexes);
    int MacroLibraryChanged() override;
    std::vector<int> KeysNamingMacro(int position) const override;
    bool ShiftMacroKeys(int position) override;

    // ---- Light block and settings ----

    // The block of the current light-info record and system settings, written for device
    // profile `deviceProfile` as 0x01, 0x06 (26 bytes at 25 × profile) and 0x02.
    int WriteLightBlock(int deviceProfile, std::uint8_t profileByte);
    // Device profile 0 with profile byte 0.
    int WriteLightBlock() override;
    // Reads the active profile's block into the light state and the three switches, and keeps
    // them in the profile (saved). The active profile goes to *activeProfile. A failed read
    // (or a closed channel) changes nothing.
    int ReadStateFromDevice(int* activeProfile);
    int ReadStateFromDevice() override { return ReadStateFromDevice(nullptr); }
    const LightBlock& BlockCopy() const { return m_blockCopy; }
    int GetActiveProfile() const { return m_activeProfile; }

    const config::LightInfoRecord& GetLightInfo() const { return m_lightInfo; }
    // Stores the record in the light state and the profile (not saved).
    void SetLightInfo(const config::LightInfoRecord& record);
    config::LightInfoRecord GetLightFields() const override { return m_lightInfo; }
    void SetLightFields(const config::LightInfoRecord& fields) override { SetLightInfo(fields); }
    void StoreProfile() override { Profile().SaveProfile(); }
    const config::SystemStageWords& GetSystemSettings() const { return m_system; }
    // Stores the words in the profile (not saved).
    void SetSystemSettings(const config::SystemStageWords& words);

    // ---- System settings changed on the page ----

    // Value `value` (keyboard_settings::SettingValue) of the settings words becomes `setting`;
    // the profile is stored and saved. The flags and the polling rate then go to the keyboard
    // in the light block of device profile 0 (its write's result); the repeat values stay here.
    int ChangeSystemSetting(int value, std::uint16_t setting);
    // The repeat rate and delay to their defaults, stored and saved (nothing is sent).
    void ResetRepeatSettings();

    // Effect 20: the LED list as a colour scheme in slot `customGroup` (0x0B, N × 3 bytes at
    // 512 × group), by cable only. Each component × alpha >> 8, or as it is when not `scaled`
    // (what painting a single key sends). After a failure it pauses 200 ms.
    int WriteCustomScheme(bool scaled = true);

    // ---- Lighting state ----

    // The profile's light-info and audio-lighting records into the light state and the block
    // copy; the mode start when the effect changed or is 20; the recorded steps and the audio
    // record loaded; effect 24 starts with no key lit.
    void ApplyProfileLighting() override;
    // Stores them in the light state and the profile's light info (not saved).
    void SetLightParams(std::uint8_t mode, std::uint8_t brightness, std::uint8_t speed,
                        std::uint8_t direction, std::uint32_t wide, std::uint16_t narrow) override;
    // Also kept in the profile's "AudioLightInfo" (not saved).
    void SetAudioLighting(const AudioLighting& lighting) override;
    // The custom mode chosen in the panel: the group goes into the light info and the profile;
    // in effect 20 its colours are shown and written to the keyboard.
    void SelectCustomGroup(int group);
    // Effect 20 only: key `key` in the current colour; with a custom group chosen the LED list
    // becomes the group's colours (saved) and goes to the keyboard, unscaled.
    void PaintKey(int key);
    // The keys picked by click or rubber band for the custom colours.
    void SetCustomSelection(const std::vector<int>& keys);
    const std::vector<int>& GetCustomSelection() const { return m_customSelection; }
    // Effect 20 only: the selection in the current colour (on) or black (off), stored and sent
    // as PaintKey does, scaled.
    void LightSelectedKeys(bool on);
    // One frame of the current effect into the LED list, then the custom overlays.
    void StepEffect(std::uint32_t nowMs);
    const CRecordedEffect& RecordedEffect() const { return m_recorded; }

    // ---- Lighting thread ----

    // Started after every ReadAllFromDevice (a running one is restarted).
    void StartLightingThread();
    void StopLightingThread();
    bool IsLightingThreadRunning() const { return m_lightingThread.IsRunning(); }
    // The loop the thread runs; tests run their own over LightingTarget() with their clock.
    ILightingTarget& LightingTarget() { return *this; }
    // Whether frames go to the keyboard now: by cable, with lighting control, in 29 or 30.
    bool StreamsFrames() const override;
    // Also wakes the lighting thread: frames may stream now.
    void TakeLightingControl(bool on) override;
    // The lighting synchronisation's colour on every LED: streamed as the effect's frames are,
    // and shown in the preview.
    void ShowSyncFrame(std::uint32_t packed) override;

    // ---- Light frames and link ----

    // Shows the LED list on the visible light buttons (UI thread), then streams it with 0x12:
    // only by cable and only in the effects the host drives (29 and 30), N × 3 bytes for the
    // N keys of the information block, laid out by LED number. The keyboard runs every other effect
    // itself, which a frame would override. 0 without lighting control, else 1 or the
    // command's result.
    int SendLightFrame() override;
    // The LED list by LED number: on-screen key i at bytes 3n to 3n + 2 of its LED n (keys
    // without an LED left out), each component × alpha >> 8.
    // Unscaled (the colours as they are) when not `scaled`.
    std::array<std::uint8_t, kFrameSize> BuildMappedFrame(bool scaled = true) const;
    // Whether the keyboard answers behind its receiver (0xAA); true by cable.
    bool CheckReceiverLink() override { return m_command.CheckReceiverLink(); }

    // ---- Music ----

    // The latest spectrum from the recorder, kept until the next music frame takes it.
    void SetMusicSpectrum(const MusicSpectrum& bands) override;
    // The spectrum given since the last take, cleared; all 0 (silence) when none came.
    MusicSpectrum TakeMusicSpectrum();
    void SetMusicSettings(const MusicSettings& settings) override;
    MusicSettings GetMusicSettings() const;
    // One step of the music effects into the LED list, for the lighting loop: effect 29 from
    // the spectrum it takes and the audio-lighting record, effect 30 in the music colour.
    // False, with the list untouched, in any other effect.
    bool StepMusic();

    // ---- Whole device ----

    // The device tables, the profile, the device state; then the panels are refreshed.
    int ReadAllFromDevice() override { return Reconnect(true); }
    int ReconnectForProfile() override { return Reconnect(false); }
    // The power status to the power item, and its level to the main window.
    void ReadPowerStatus() override;
    // Reloads the selected profile from disk: light info, key list, system settings.
    void ReloadProfile() override;
    void RefreshPanels() override;
    // The selected profile to the device: reload, clear missing macros, refresh; the light
    // block for device profile 0; the used macros downloaded; the key table.
    KeyboardApplyResult ApplyProfile();

    // ---- Notifications ----

    // The thread of the event channel of kind 1 (cable) or 9 (receiver).
    void StartNotificationThread(std::uint16_t kind) override { m_notifications.Start(kind); }
    void StopNotificationThread(std::uint16_t kind) override { m_notifications.Stop(kind); }
    bool IsNotificationThreadRunning(std::uint16_t kind) const {
        return m_notifications.IsRunning(kind);
    }
    // A profile switched on the keyboard itself: while the command channel is open the active
    // profile becomes `profile` and, when `byte17` is not negative, byte 17 of the block copy
    // becomes it; then the panels are refreshed.
    void FollowDeviceProfile(int profile, int byte17);

private:
    // ReadAllFromDevice, with the device's state taken into the profile or not.
    int Reconnect(bool takeState);
    // ILightingTarget, for the lighting loop.
    bool LightChannelOpen() const override { return m_command.open; }
    bool LightPaused() const override { return m_command.lightPause; }
    bool PreviewWatched() const override { return IsPreviewWatched(); }
    int CurrentStepTicks() const override;
    void RenderFrame(std::uint32_t nowMs) override;
    void WatchChanged() override { WakeLighting(LightingWake::kChange); }
    void WakeLighting(LightingWake reason) { m_lightingThread.Wake(reason); }
    // The frame of the LED list, streamed when the effect streams; the preview told.
    void HandOnFrame();
    // Both with the render lock held.
    void StepEffectLocked(std::uint32_t nowMs);
    void ApplyCustomOverlays();
    // The custom group's colours from the profile into the LED list.
    void LoadCustomGroupColours();
    // The LED list as the custom group's colours, saved, and the scheme to the keyboard.
    void StoreCustomScheme(bool scaled);
    void SetLedsAndStore(const std::vector<int>& keys, const LedColour& colour, bool scaled);
    LedColour CurrentColour() const;
    // The light fields of the record into the block copy.
    void CopyIntoBlock(const config::LightInfoRecord& record);
    // The key list into the profile, which is saved.
    void StoreKeyList();
    std::vector<int> ModeCodes() const;
    void TakeLightFields(const LightBlockFields& fields);
    // The record into the light state, without touching the profile.
    void TakeLightInfo(const config::LightInfoRecord& record);
    void TakeLightInfoLocked(const config::LightInfoRecord& record);
    void RunModeStart();
    // The bytes of a frame or scheme the keyboard takes: 3 per key it reports.
    std::size_t FrameLength() const;

    std::array<std::uint8_t, kDeviceTableSize> m_keyTable{};
    std::array<std::uint8_t, kDeviceTableSize> m_ledTable{};
    KeyboardMaps m_maps;
    std::vector<KeyRecord> m_keyList;
    int m_macroLibrarySize = 0;
    config::LightInfoRecord m_lightInfo;
    config::SystemStageWords m_system;
    LightBlock m_blockCopy{};
    int m_activeProfile = 0;
    // The recorder's thread gives, the lighting loop takes.
    mutable std::mutex m_musicLock;
    MusicSpectrum m_spectrum{};
    MusicSettings m_musicSettings{};
    CRecordedEffect m_recorded;
    std::vector<int> m_customSelection;
    // The effect whose start step ran last; -1 before any.
    int m_startedEffect = -1;
    // The lighting panel shows a custom group: painted keys are stored as its colours.
    bool m_customGroupShown = false;
    CLightingLoop m_lightingLoop{LightingTarget()};
    // Light frames go by cable only: a stop cancels the cable's read of their replies.
    CLightingThread m_lightingThread{m_lightingLoop, "KB灯光线程设定退出",
                                     [this] { CommandChannel().CableChannel().Cancel(); }};
    // Last, so that its threads end before anything they use goes.
    CKeyboardNotifications m_notifications{*this};
};

} // namespace devices
