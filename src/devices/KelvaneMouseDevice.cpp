#include "devices/KelvaneMouseDevice.h"

#include "config/Utf8.h"

#include <algorithm>

namespace devices {

using namespace transport;

CKelvaneMouseDevice::CKelvaneMouseDevice(HidBackend* backend)
    : CKelvaneUSBDevice(backend, std::make_unique<config::CMouseProfiledata>()) {
    m_buttonMap.fill(kNoMouseSlot);
    // The preview thread sleeps while the channel is closed or the lighting paused.
    m_command.open.SetWatcher([this] { m_previewThread.Wake(LightingWake::kChange); });
    m_command.lightPause.SetWatcher([this] { m_previewThread.Wake(LightingWake::kChange); });
}

CKelvaneMouseDevice::~CKelvaneMouseDevice() {
    m_command.open.SetWatcher(nullptr);
    m_command.lightPause.SetWatcher(nullptr);
    StopPreviewThread();
    m_notifications.StopAll();
}

bool CKelvaneMouseDevice::CheckReceiverLink() {
    return m_command.CheckReceiverLink();
}

// ---- Connection ----

int CKelvaneMouseDevice::ReadDeviceTables() {
    if (!m_command.open || !CheckReceiverLink())
        return 0;
    m_command.Begin();
    DeviceInfoBlock info{};
    if (m_command.ReadDeviceInfo(info) != kCommSuccess)
        return 0;
    const std::size_t length = 3 * std::size_t{info[kInfoKeyCountAt]};
    if (length > m_keyTable.size() ||
        m_command.SetTransferLength(static_cast<std::uint16_t>(length)) != kCommSuccess)
        return 0; // more buttons than a table holds: the previous tables stay
    std::array<std::uint8_t, kMouseKeyTableSize> table{};
    if (m_command.ReadKeyTable(std::span(table).first(length)) != kCommSuccess)
        return 0;
    m_command.End();
    m_info = info;
    m_keyTable = table;
    m_buttonMap = BuildMouseButtonMap(m_keyTable, info[kInfoKeyCountAt]);
    m_dpiScale = DpiScaleOfInfo(m_info);
    return kCommSuccess;
}

int CKelvaneMouseDevice::Reconnect(bool takeState) {
    const int tables = ReadDeviceTables();
    int state = tables;
    if (tables == kCommSuccess) {
        ReloadProfile();
        m_command.lightPause = false;
        state = takeState ? ReadStateFromDevice() : kCommSuccess;
        RefreshPanels();
    }
    StopPreviewThread();
    StartPreviewThread();
    return state;
}

int CKelvaneMouseDevice::ReadStateFromDevice() {
    m_command.lightPause = false;
    if (!m_command.open || !CheckReceiverLink())
        return 0;
    std::array<std::uint8_t, 1> page{};
    if (m_command.ReadMemory(page, 0) != kCommSuccess)
        return 0;
    MouseStateBlock block{};
    if (m_command.ReadMemory(block, MouseConfigOffset(page[0])) != kCommSuccess)
        return 0; // keep the previous state rather than take a block never read
    m_page = page[0];
    m_stateBlock = block;

    const MouseBlockState state = ParseMouseStateBlock(block, ModeCodes());
    config::LightInfoRecord light = GetLightFields();
    light.selectItem = state.modeIndex;
    light.light = state.brightness;
    light.speed = state.speed;
    light.multiColor = state.multiColour;
    light.red = state.red;
    light.green = state.green;
    light.blue = state.blue;
    SetLightFields(light);
    m_currentStage = state.currentStage;

    Profile().WriteLightInfo(light);
    Profile().WriteDpiStageActive(m_currentStage);
    Profile().SaveProfile();
    return kCommSuccess;
}

// ---- Configuration block ----

std::vector<int> CKelvaneMouseDevice::ModeCodes() const {
    std::vector<int> codes;
    for (const LightModeEntry& mode : GetModeList())
        codes.push_back(mode.value);
    return codes;
}

MouseConfigBlock CKelvaneMouseDevice::BuildConfigBlock(std::uint8_t firstByte, std::uint8_t byte59,
                                                       std::uint16_t screenWidth,
                                                       std::uint16_t screenHeight) {
    MouseConfigFields fields;
    fields.firstByte = firstByte;
    fields.byte59 = byte59;
    fields.light = GetLightFields();
    fields.system = m_system;
    fields.currentStage = m_currentStage;
    fields.stages = m_stages;
    fields.corrections = Profile().ReadCorrectInfo();
    fields.screenWidth = screenWidth;
    fields.screenHeight = screenHeight;
    return BuildMouseConfigBlock(fields, ModeCodes());
}

int CKelvaneMouseDevice::Apply(int page, std::uint8_t firstByte, std::uint8_t byte59,
                               std::uint16_t screenWidth, std::uint16_t screenHeight) {
    const MouseConfigBlock block = BuildConfigBlock(firstByte, byte59, screenWidth, screenHeight);
    if (!m_command.open)
        return 0;
    // Through the receiver each step waits for the mouse to answer: one asleep would take
    // none of it.
    if (!CheckReceiverLink())
        return 0;
    m_command.Begin();
    if (!CheckReceiverLink())
        return 0;
    m_command.WriteMemory(block, MouseConfigOffset(page));
    if (!CheckReceiverLink())
        return 0;
    m_command.End();
    return kCommSuccess;
}

void CKelvaneMouseDevice::SetScreenSize(std::uint16_t width, std::uint16_t height) {
    m_screenWidth = width;
    m_screenHeight = height;
}

int CKelvaneMouseDevice::WriteLightBlock() {
    return Apply(0, 0, 1, m_screenWidth, m_screenHeight);
}

// ---- Profile ----

void CKelvaneMouseDevice::ReloadProfile() {
    SetProfilePaths();
    const std::string folder = UserDataFolder();
    if (!folder.empty() && !GetCurrentProfileId().empty())
        Profile().LoadProfile(config::Utf8ToWide(folder + GetCurrentProfileId() + ".Json"));
    SetLightFields(Profile().ReadLightInfo());
    m_recorded.Load(Profile().ReadLightEffect());
    m_stages = Profile().ReadDpiStages();
    m_currentStage = Profile().GetDpiStageActive();
    m_system = Profile().ReadMouseSystem();
    m_buttons.clear();
    for (const config::KeyListEntry& entry : Profile().ReadKeyList())
        m_buttons.push_back(KeyRecordFromEntry(entry));
}

void CKelvaneMouseDevice::SetButtonList(const std::vector<KeyRecord>& buttons) {
    m_buttons = buttons;
    std::vector<config::KeyListEntry> entries;
    entries.reserve(buttons.size());
    for (const KeyRecord& record : buttons)
        entries.push_back(KeyRecordToEntry(record));
    Profile().WriteKeyList(entries);
}

void CKelvaneMouseDevice::SetStageList(const std::vector<DpiStageRecord>& stages) {
    m_stages = stages;
    Profile().WriteDpiStages(stages);
}

void CKelvaneMouseDevice::SetCurrentDpiStage(int stage) {
    m_currentStage = stage;
    Profile().WriteDpiStageActive(stage);
}

void CKelvaneMouseDevice::SetSystemRecord(const config::SystemStageWords& system) {
    m_system = system;
    Profile().WriteMouseSystem(system);
}

} // namespace devices
