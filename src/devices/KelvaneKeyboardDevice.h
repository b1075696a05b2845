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
#include "devices/LightBlock.h"
#include "devices/MusicEffects.h"

#include <array>
#include <cstdint>
#include <mutex>
#include <vector>

namespace devices {

inline constexpr std::size_t kDeviceTableSize = 512;

// What the keyboard asks of its page in the window.
class IKeyboardView {
public:
    virtual ~IKeyboardView() = default;
    // A key was selected: show the key assignment panel loaded with its record.
    virtual void ShowKeyAssignment(int key, const KeyRecord& record) = 0;
    // Key functions changed behind the panel's back (a missing macro restored): re-render the
    // key texts.
    virtual void RefreshKeyTexts() = 0;
    // Show the light state and the system settings again (after a read or a profile load).
    virtual void RefreshPanels() = 0;
    // The custom group the keyboard loaded: the lighting panel shows it.
    virtual void ShowCustomGroup(int group) { (void)group; }
};

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

class CKelvaneKeyboardDevice : public CKelvaneUSBDevice {
public:
    explicit CKelvaneKeyboardDevice(transport::HidBackend* backend = nullptr);

    config::CKeyboardProfiledata& Profile() {
        return static_cast<config::CKeyboardProfiledata&>(ProfileData());
    }
    std::string GetClass() const override { return "KelvaneKeyboardDevice"; }
    int GetDeviceKind() const override { return transport::kKindKeyboard; }
    void SetView(IKeyboardView* view) { m_view = view; }

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
    KeyRecord GetKeyRecord(int key) const;
    // The panel's new record for a key: kept in the list and the profile, which is saved.
    // False for a key the profile's list does not hold.
    bool SetKeyRecord(int key, const KeyRecord& record);
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

    // Effect 20: the LED list as a colour scheme in slot `customGroup` (0x0B), by cable only.
    int WriteCustomScheme();
    // The custom-mode choice ("light_combo_custommodeSelect"): the scheme slot to show and edit.
    void SelectCustomGroup(int group) { (void)group; }
    // Effect 20 only: the key takes the current colour.
    void PaintKey(int key) { (void)key; }
    // The keys picked by click or rubber band for the custom colours.
    void SetCustomSelection(const std::vector<int>& keys) { (void)keys; }
    // The selected keys on (the current colour) or off (black).
    void LightSelectedKeys(bool on) { (void)on; }

    // ---- Light frames and link ----

    // Shows the LED list on the visible light buttons, then streams it with 0x12: only by
    // cable and only in the effects the host drives (29 and 30), N × 3 bytes for the N keys
    // of the information block, laid out by LED number. The keyboard runs every other effect
    // itself, which a frame would override. 0 without lighting control, else 1 or the
    // command's result.
    int SendLightFrame() override;
    // The LED list by LED number: on-screen key i at bytes 3n to 3n + 2 of its LED n (keys
    // without an LED left out), each component × alpha >> 8.
    std::array<std::uint8_t, kFrameSize> BuildMappedFrame() const;
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
    int ReadAllFromDevice() override;
    void ReadPowerStatus() override { ReadPowerStatusRecord(); }
    // Reloads the selected profile from disk: light info, key list, system settings.
    void ReloadProfile() override;
    void RefreshPanels() override;
    // The selected profile to the device: reload, clear missing macros, refresh; the light
    // block for device profile 0; the used macros; the key table.
    KeyboardApplyResult ApplyProfile();

private:
    // The key list into the profile, which is saved.
    void StoreKeyList();
    std::vector<int> ModeCodes() const;
    void TakeLightFields(const LightBlockFields& fields);
    // The record into the light state, without touching the profile.
    void TakeLightInfo(const config::LightInfoRecord& record);
    void RunModeStart();
    // The bytes of a frame or scheme the keyboard takes: 3 per key it reports.
    std::size_t FrameLength() const;

    IKeyboardView* m_view = nullptr;
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
};

} // namespace devices
