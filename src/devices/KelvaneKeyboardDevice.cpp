#include "devices/KelvaneKeyboardDevice.h"

#include "config/ProfileList.h"
#include "config/Utf8.h"
#include "devices/KeyboardEffectIds.h"
#include "devices/KeyboardEffects.h"
#include "devices/KeyboardSystemSettings.h"
#include "devices/MacroLibraryCount.h"

#include <algorithm>
#include <chrono>
#include <thread>
#include <utility>

namespace devices {

using namespace transport;

namespace {
constexpr int kKey6FlagValue = keyboard_settings::kKey6Flag;
constexpr int kPollingRateValue = keyboard_settings::kPollingRate;
constexpr int kWFlagValue = keyboard_settings::kWFlag;
constexpr int kWinFlagValue = keyboard_settings::kWinFlag;

constexpr std::uint16_t kSchemeBlockSize = 512;
constexpr int kSchemeFailurePauseMs = 200;
} // namespace

CKelvaneKeyboardDevice::CKelvaneKeyboardDevice(HidBackend* backend)
    : CKelvaneUSBDevice(backend, std::make_unique<config::CKeyboardProfiledata>()) {
    m_maps.keys.fill(kNoDeviceKey);
    m_maps.leds.fill(kNoLedNumber);
    // The lighting thread sleeps while the channel is closed or the lighting paused.
    m_command.open.SetWatcher([this] { WakeLighting(LightingWake::kChange); });
    m_command.lightPause.SetWatcher([this] { WakeLighting(LightingWake::kChange); });
}

CKelvaneKeyboardDevice::~CKelvaneKeyboardDevice() {
    m_notifications.StopAll();
    m_command.open.SetWatcher(nullptr);
    m_command.lightPause.SetWatcher(nullptr);
    StopLightingThread();
}

// ---- Device tables ----

int CKelvaneKeyboardDevice::ReadDeviceTables() {
    if (!m_command.open)
        return 0;
    m_command.Begin();
    m_command.ReadDeviceInfo(m_info);
    const int keys = GetDeviceKeyCount();
    if (m_command.SetTransferLength(static_cast<std::uint16_t>(3 * keys)) != 1)
        return 0; // more keys than a table holds: the previous tables stay
    m_command.ReadKeyTable(std::span(m_keyTable).first(static_cast<std::size_t>(3 * keys)));
    m_command.ReadKeyAttributeTable(std::span(m_ledTable).first(static_cast<std::size_t>(keys)));
    m_command.End();
    m_maps = BuildKeyboardMaps(m_keyTable, m_ledTable, keys);
    return 1;
}

// ---- Keys ----

KeyRecord CKelvaneKeyboardDevice::GetKeyRecord(int key) const {
    if (key < 0 || static_cast<std::size_t>(key) >= m_keyList.size())
        return {};
    return m_keyList[static_cast<std::size_t>(key)];
}

bool CKelvaneKeyboardDevice::SetKeyRecord(int key, const KeyRecord& record) {
    if (key < 0 || static_cast<std::size_t>(key) >= m_keyList.size())
        return false;
    m_keyList[static_cast<std::size_t>(key)] = record;
    StoreKeyList();
    return true;
}

void CKelvaneKeyboardDevice::StoreKeyList() {
    std::vector<config::KeyListEntry> entries;
    entries.reserve(m_keyList.size());
    for (const KeyRecord& r : m_keyList)
        entries.push_back(KeyRecordToEntry(r));
    Profile().WriteKeyList(entries);
    Profile().SaveProfile();
}

void CKelvaneKeyboardDevice::SelectKey(int index) {
    CKelvaneUSBDevice::SelectKey(index);
    if (m_view)
        m_view->ShowKeyAssignment(index, GetKeyRecord(index));
}

int CKelvaneKeyboardDevice::WriteKeyTable(int page, std::vector<KeyRecord>& keys) {
    if (!m_command.open)
        return 0;
    if (page != 0)
        return kCommBadPage;
    m_command.ReadDeviceInfo(m_info);
    const auto length = static_cast<std::size_t>(3 * GetDeviceKeyCount());
    if (length > m_keyTable.size())
        return 0; // a device with more keys than the table holds: nothing to write over
    const int librarySize = CountLibraryMacros(UserDataFolder());
    const std::vector<std::uint8_t> image =
        BuildKeyTableImage(std::span(m_keyTable).first(length), m_maps.keys, keys, librarySize);
    m_command.Begin();
    m_command.SetTransferLength(static_cast<std::uint16_t>(length));
    const int result = m_command.WriteKeyTable(image, page);
    m_command.End();
    return result;
}

int CKelvaneKeyboardDevice::WriteKeyTable() {
    std::vector<KeyRecord> keys = m_keyList;
    const int result = WriteKeyTable(0, keys);
    if (keys != m_keyList && !IsLibraryUnreadable(UserDataFolder()))
        m_keyList = keys;
    return result;
}

std::vector<int> CKelvaneKeyboardDevice::UsedMacroList() const {
    return devices::UsedMacroList(m_maps.keys, m_keyList, CountLibraryMacros(UserDataFolder()));
}

void CKelvaneKeyboardDevice::LoadLists() {
    CKelvaneUSBDevice::LoadLists();
    m_macroLibrarySize = CountLibraryMacros(UserDataFolder());
}

void CKelvaneKeyboardDevice::ClearMissingMacroKeys() {
    LoadLists();
    if (!IsLibraryUnreadable(UserDataFolder()) &&
        RestoreMissingMacroKeys(m_keyList, m_macroLibrarySize)) {
        StoreKeyList();
        if (m_view)
            m_view->RefreshKeyTexts();
    }
    LoadLists();
}

// ---- Light block and settings ----

std::vector<int> CKelvaneKeyboardDevice::ModeCodes() const {
    std::vector<int> codes;
    for (const LightModeEntry& mode : GetModeList())
        codes.push_back(mode.value);
    return codes;
}

int CKelvaneKeyboardDevice::WriteLightBlock(int deviceProfile, std::uint8_t profileByte) {
    if (!m_command.open)
        return 0;
    LightBlockFields fields = FieldsOfLightInfo(m_lightInfo);
    fields.profileByte = profileByte;
    fields.wFlag = static_cast<std::uint8_t>(m_system.Value(kWFlagValue));
    fields.key6Flag = static_cast<std::uint8_t>(m_system.Value(kKey6FlagValue));
    fields.winFlag = static_cast<std::uint8_t>(m_system.Value(kWinFlagValue));
    fields.pollingRate = static_cast<std::uint8_t>(m_system.Value(kPollingRateValue));
    const LightBlock block = BuildLightBlock(fields, ModeCodes());
    m_command.Begin();
    const int result = m_command.WriteMemory(block, LightBlockOffset(deviceProfile));
    m_command.End();
    return result;
}

int CKelvaneKeyboardDevice::WriteLightBlock() {
    return WriteLightBlock(0, 0);
}

int CKelvaneKeyboardDevice::ReadStateFromDevice(int* activeProfile) {
    m_command.lightPause = false;
    if (!m_command.open)
        return 0;
    std::array<std::uint8_t, 1> active{};
    int result = m_command.ReadMemory(active, 0);
    LightBlock block{};
    if (result == kCommSuccess)
        result = m_command.ReadMemory(block, LightBlockOffset(active[0]));
    if (result != kCommSuccess)
        return result; // keep the previous state rather than take a block never read
    block[lightblock::kProfileAt] = active[0];
    block[lightblock::kCleared16At] = 0;
    m_blockCopy = block;
    m_activeProfile = active[0];

    const std::uint8_t previousEffect = m_light.mode;
    TakeLightFields(ParseLightBlock(block, ModeCodes()));
    if (m_light.mode != previousEffect || m_light.mode != m_startedEffect ||
        m_light.mode == effect::kCustomScheme)
        RunModeStart();

    Profile().WriteSystemStages(m_system);
    Profile().WriteLightInfo(m_lightInfo);
    Profile().SaveProfile();
    if (activeProfile)
        *activeProfile = m_activeProfile;
    return kCommSuccess;
}

void CKelvaneKeyboardDevice::TakeLightFields(const LightBlockFields& fields) {
    m_lightInfo.selectItem = fields.effectIndex;
    m_lightInfo.light = fields.brightness;
    m_lightInfo.speed = fields.speed;
    m_lightInfo.fx = fields.direction;
    m_lightInfo.multiColor = fields.multiColour;
    m_lightInfo.red = fields.red;
    m_lightInfo.green = fields.green;
    m_lightInfo.blue = fields.blue;
    m_lightInfo.zzccLedMode = fields.zzccLedMode;
    m_lightInfo.customGroup = fields.customGroup;
    TakeLightInfo(m_lightInfo);
    m_system.SetValue(kWFlagValue, fields.wFlag);
    m_system.SetValue(kKey6FlagValue, fields.key6Flag);
    m_system.SetValue(kWinFlagValue, fields.winFlag);
}

void CKelvaneKeyboardDevice::SetLightInfo(const config::LightInfoRecord& record) {
    TakeLightInfo(record);
    Profile().WriteLightInfo(record);
}

void CKelvaneKeyboardDevice::TakeLightInfo(const config::LightInfoRecord& record) {
    {
        const std::lock_guard lock(m_renderLock);
        TakeLightInfoLocked(record);
    }
    WakeLighting(LightingWake::kChange);
}

void CKelvaneKeyboardDevice::TakeLightInfoLocked(const config::LightInfoRecord& record) {
    m_lightInfo = record;
    m_light.mode = record.selectItem;
    m_light.brightness = record.light;
    m_light.speed = record.speed;
    m_light.direction = record.fx;
    m_light.multiColour = record.multiColor;
    m_light.red = record.red;
    m_light.green = record.green;
    m_light.blue = record.blue;
}

void CKelvaneKeyboardDevice::SetSystemSettings(const config::SystemStageWords& words) {
    m_system = words;
    Profile().WriteSystemStages(words);
}

// ---- System settings changed on the page ----

int CKelvaneKeyboardDevice::ChangeSystemSetting(int value, std::uint16_t setting) {
    m_system.SetValue(value, setting);
    Profile().WriteSystemStages(m_system);
    Profile().SaveProfile();
    if (!keyboard_settings::IsSentToKeyboard(static_cast<keyboard_settings::SettingValue>(value)))
        return 0;
    return WriteLightBlock(0, 0);
}

void CKelvaneKeyboardDevice::ResetRepeatSettings() {
    m_system.SetValue(keyboard_settings::kRepeat, keyboard_settings::kDefaultRepeat);
    m_system.SetValue(keyboard_settings::kRepeatDelay, keyboard_settings::kDefaultRepeatDelay);
    Profile().WriteSystemStages(m_system);
    Profile().SaveProfile();
}

// A changed effect starts from a clean state; the custom effect shows the group's colours,
// tells the panel the group and writes them to the keyboard.
void CKelvaneKeyboardDevice::RunModeStart() {
    const int mode = m_light.mode;
    m_startedEffect = mode;
    {
        const std::lock_guard lock(m_renderLock);
        m_effect.Reset();
        if (IsPatternEffect(mode))
            StartPatternEffect(mode, m_effect);
    }
    if (mode == effect::kCustomScheme) {
        LoadCustomGroupColours();
        m_customGroupShown = true;
        if (m_view)
            m_view->ShowCustomGroup(m_lightInfo.customGroup);
        WriteCustomScheme(true);
    }
    WakeLighting(LightingWake::kChange);
}

std::array<std::uint8_t, kFrameSize> CKelvaneKeyboardDevice::BuildMappedFrame(bool scaled) const {
    std::array<std::uint8_t, kFrameSize> frame{};
    for (std::size_t i = 0; i < kOnScreenKeyCount; ++i) {
        const std::size_t n = m_maps.leds[i];
        // LED 170 would reach past the 512 bytes.
        if (n >= static_cast<std::size_t>(kFrameLedLimit))
            continue;
        const LedColour led = GetLedColour(static_cast<int>(i));
        const auto at = std::span(frame).subspan(3 * n).first<3>();
        if (scaled) {
            PutScaledLed(at, led);
        } else {
            at[0] = led.red;
            at[1] = led.green;
            at[2] = led.blue;
        }
    }
    return frame;
}

std::size_t CKelvaneKeyboardDevice::FrameLength() const {
    return std::min<std::size_t>(3 * GetDeviceKeyCount(), kFrameSize);
}

int CKelvaneKeyboardDevice::SendLightFrame() {
    if (!m_lightControl)
        return 0;
    PaintPreview();
    if (!StreamsFrames())
        return kCommSuccess;
    std::array<std::uint8_t, kFrameSize> frame;
    {
        const std::lock_guard lock(m_renderLock);
        frame = BuildMappedFrame();
    }
    return WriteLightFrame(std::span(frame).first(FrameLength()));
}

bool CKelvaneKeyboardDevice::StreamsFrames() const {
    const int mode = [this] {
        const std::lock_guard lock(m_renderLock);
        return m_light.mode;
    }();
    const bool hostDriven = mode == effect::kMusic || mode == effect::kMusicColour;
    return hostDriven && m_lightControl && !m_command.IsReceiverMode();
}

int CKelvaneKeyboardDevice::WriteCustomScheme(bool scaled) {
    if (!m_command.open || m_command.IsReceiverMode())
        return 0;
    std::array<std::uint8_t, kFrameSize> scheme;
    {
        const std::lock_guard lock(m_renderLock);
        scheme = BuildMappedFrame(scaled);
    }
    const std::size_t length = FrameLength();
    const int result = m_command.WriteBlock(std::span(scheme).first(length),
                                            m_lightInfo.customGroup, kSchemeBlockSize);
    if (result != kCommSuccess)
        std::this_thread::sleep_for(std::chrono::milliseconds(kSchemeFailurePauseMs));
    return result;
}

// ---- Music ----

void CKelvaneKeyboardDevice::SetMusicSpectrum(const MusicSpectrum& bands) {
    {
        const std::lock_guard lock(m_musicLock);
        m_spectrum = bands;
    }
    WakeLighting(LightingWake::kSpectrum);
}

MusicSpectrum CKelvaneKeyboardDevice::TakeMusicSpectrum() {
    const std::lock_guard lock(m_musicLock);
    return std::exchange(m_spectrum, MusicSpectrum{});
}

void CKelvaneKeyboardDevice::SetMusicSettings(const MusicSettings& settings) {
    {
        const std::lock_guard lock(m_musicLock);
        m_musicSettings = settings;
    }
    WakeLighting(LightingWake::kMusicSettings);
}

MusicSettings CKelvaneKeyboardDevice::GetMusicSettings() const {
    const std::lock_guard lock(m_musicLock);
    return m_musicSettings;
}

bool CKelvaneKeyboardDevice::StepMusic() {
    if (m_light.mode == effect::kMusic) {
        RenderMusicFrame(m_leds, m_light, UnpackAudioLighting(GetAudioLighting()), m_effect,
                         TakeMusicSpectrum());
        return true;
    }
    if (m_light.mode == effect::kMusicColour) {
        RenderMusicColourFrame(m_leds, m_light, GetMusicSettings());
        return true;
    }
    return false;
}

// ---- Whole device ----

int CKelvaneKeyboardDevice::Reconnect(bool takeState) {
    const int tables = ReadDeviceTables();
    ReloadProfile();
    m_command.lightPause = false;
    const int state = takeState ? ReadStateFromDevice(nullptr) : kCommSuccess;
    RefreshPanels();
    StopLightingThread();
    StartLightingThread();
    return tables == kCommSuccess ? state : tables;
}

void CKelvaneKeyboardDevice::ReloadProfile() {
    SetProfilePaths();
    const std::string folder = UserDataFolder();
    if (!folder.empty() && !GetCurrentProfileId().empty())
        Profile().LoadProfile(config::Utf8ToWide(folder + GetCurrentProfileId() + ".Json"));
    if (!Profile().GetConfigPath().empty())
        Profile().LoadConfig(Profile().GetConfigPath());
    TakeLightInfo(Profile().ReadLightInfo());
    m_system = Profile().ReadSystemStages();
    m_keyList.clear();
    for (const config::KeyListEntry& entry : Profile().ReadKeyList())
        m_keyList.push_back(KeyRecordFromEntry(entry));
}

void CKelvaneKeyboardDevice::RefreshPanels() {
    LoadLists();
    if (m_view)
        m_view->RefreshPanels();
}

KeyboardApplyResult CKelvaneKeyboardDevice::ApplyProfile() {
    KeyboardApplyResult result;
    ReloadProfile();
    result.profile = Profile().LoadResult();
    // An empty record would clear the keyboard's keys and lighting.
    if (result.profile == config::kProfileUnreadable)
        return result;
    ClearMissingMacroKeys();
    RefreshPanels();
    // The new profile's effect starts; in the custom effect its scheme goes to the keyboard,
    // whose scheme slot may hold another profile's colours.
    ApplyProfileLighting();
    result.lightBlock = WriteLightBlock(0, 0);
    result.usedMacros = UsedMacroList();
    result.macroDownload = DownloadMacros(result.usedMacros);
    result.keyTable = WriteKeyTable();
    return result;
}

// ---- Notifications ----

void CKelvaneKeyboardDevice::FollowDeviceProfile(int profile, int byte17) {
    if (!m_command.open)
        return;
    m_activeProfile = profile;
    if (byte17 >= 0)
        m_blockCopy[17] = static_cast<std::uint8_t>(byte17);
    RefreshPanels();
}

} // namespace devices
