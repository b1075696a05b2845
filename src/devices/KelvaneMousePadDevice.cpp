#include "devices/KelvaneMousePadDevice.h"

#include "config/Utf8.h"
#include "devices/PadPreview.h"
#include "platform/DebugLog.h"

namespace devices {

using namespace transport;

namespace {
constexpr std::uint16_t kResyncUsage = 0x0401;
} // namespace

CKelvaneMousePadDevice::CKelvaneMousePadDevice(HidBackend* backend) : CKelvaneUSBDevice(backend) {
    // The preview thread sleeps while the channel is closed or the lighting paused.
    m_command.open.SetWatcher([this] { m_previewThread.Wake(LightingWake::kChange); });
    m_command.lightPause.SetWatcher([this] { m_previewThread.Wake(LightingWake::kChange); });
}

CKelvaneMousePadDevice::~CKelvaneMousePadDevice() {
    m_notifications.Stop();
    m_command.open.SetWatcher(nullptr);
    m_command.lightPause.SetWatcher(nullptr);
    StopPreviewThread();
}

std::vector<int> CKelvaneMousePadDevice::ModeCodes() const {
    std::vector<int> codes;
    for (const LightModeEntry& mode : GetModeList())
        codes.push_back(mode.value);
    return codes;
}

// ---- Light block ----

int CKelvaneMousePadDevice::ReadStateFromDevice() {
    m_command.lightPause = false;
    if (!m_command.open)
        return 0;
    std::array<std::uint8_t, 1> page{};
    int result = m_command.ReadMemory(page, 0);
    PadLightRead read{};
    if (result == kCommSuccess)
        result = m_command.ReadMemory(read, PadReadOffset(page[0]));
    if (result != kCommSuccess)
        return result; // keep the previous block rather than take one never read
    m_block = PadBlockFromWire(read, ModeCodes());
    m_block[padblock::kPageAt] = page[0];
    TakeLightInfo(TakePadLightFields(GetLightFields(), m_block));
    ProfileData().WriteLightInfo(GetLightFields());
    ProfileData().SaveProfile();
    return kCommSuccess;
}

int CKelvaneMousePadDevice::Apply(int page) {
    if (!m_command.open)
        return 0;
    const PadLightBlock wire = PadBlockToWire(m_block, ModeCodes());
    m_command.Begin();
    const int result = m_command.WriteMemory(wire, PadWriteOffset(page));
    m_command.End();
    return result;
}

// ---- Light fields and profile ----

void CKelvaneMousePadDevice::TakeLightInfo(const config::LightInfoRecord& record) {
    {
        const std::lock_guard lock(m_renderLock);
        CKelvaneUSBDevice::SetLightFields(record);
        PutPadLightFields(m_block, record);
    }
    m_previewThread.Wake(LightingWake::kChange);
}

void CKelvaneMousePadDevice::ApplyProfileLighting() {
    TakeLightInfo(ProfileData().ReadLightInfo());
}

config::LightInfoRecord CKelvaneMousePadDevice::GetLightFields() const {
    const std::lock_guard lock(m_renderLock);
    return CKelvaneUSBDevice::GetLightFields();
}

void CKelvaneMousePadDevice::SetLightFields(const config::LightInfoRecord& fields) {
    TakeLightInfo(fields);
    ProfileData().WriteLightInfo(fields);
}

void CKelvaneMousePadDevice::SetLightParams(std::uint8_t mode, std::uint8_t brightness,
                                            std::uint8_t speed, std::uint8_t direction,
                                            std::uint32_t wide, std::uint16_t narrow) {
    m_lightWide = wide;
    m_lightNarrow = narrow;
    config::LightInfoRecord record = GetLightFields();
    record.selectItem = mode;
    record.light = brightness;
    record.speed = speed;
    record.fx = direction;
    SetLightFields(record);
}

void CKelvaneMousePadDevice::ReloadProfile() {
    SetProfilePaths();
    const std::string folder = UserDataFolder();
    if (!folder.empty() && !GetCurrentProfileId().empty())
        ProfileData().LoadProfile(config::Utf8ToWide(folder + GetCurrentProfileId() + ".Json"));
    ApplyProfileLighting();
}

void CKelvaneMousePadDevice::RefreshPanels() {
    LoadLists();
    if (m_view)
        m_view->RefreshPanels();
}

// ---- Whole device ----

int CKelvaneMousePadDevice::Connect() {
    if (!m_command.open)
        return 0;
    m_command.Begin();
    const int result = m_command.ReadDeviceInfo(m_info);
    m_command.End();
    return result;
}

int CKelvaneMousePadDevice::Reconnect(bool takeState) {
    LoadLists(); // the mode codes of the state read
    const int connected = Connect();
    ReloadProfile();
    m_command.lightPause = false;
    const int state = takeState ? ReadStateFromDevice() : kCommSuccess;
    RefreshPanels();
    StopPreviewThread();
    StartPreviewThread();
    return connected == kCommSuccess ? state : connected;
}

// ---- Notifications ----

void CKelvaneMousePadDevice::StartNotificationThread(std::uint16_t kind) {
    if (kind != kKindMousePad)
        return;
    m_notifications.Start(m_event.CableChannel(),
                          [this](std::uint16_t usage) { HandleUsage(usage); });
}

void CKelvaneMousePadDevice::StopNotificationThread(std::uint16_t kind) {
    if (kind == kKindMousePad)
        m_notifications.Stop();
}

void CKelvaneMousePadDevice::HandleUsage(std::uint16_t usage) {
    if (usage != kResyncUsage)
        return;
    platform::DebugLine("接收到自动添加设备的同步信息要求");
    if (INotificationTarget* target = GetNotificationTarget())
        target->RequestStateRead(*this, kPadResyncDelayMs);
}

// ---- Preview ----

void CKelvaneMousePadDevice::StartPreviewThread() {
    m_previewThread.Start();
}

void CKelvaneMousePadDevice::StopPreviewThread() {
    m_previewThread.Stop();
}

int CKelvaneMousePadDevice::CurrentStepTicks() const {
    const std::lock_guard lock(m_renderLock);
    if (m_light.mode >= padmode::kRecorded)
        return -1; // drawn once after a change
    return PadStepTicks(m_light.speed);
}

void CKelvaneMousePadDevice::StepEffect(std::uint32_t nowMs) {
    const std::lock_guard lock(m_renderLock);
    switch (m_light.mode) {
    case padmode::kWave:
        StepPadWave(m_leds, m_light, m_effect);
        break;
    case padmode::kBreathing:
        StepBreathing();
        break;
    case padmode::kStatic:
        StepStatic();
        break;
    case padmode::kSpectrumCycle:
        StepSpectrumCycle();
        break;
    case padmode::kFlash:
        StepFlash(nowMs);
        break;
    case padmode::kReactive:
        StepPadReactiveFade(m_leds);
        break;
    default:
        if (m_light.mode >= padmode::kRecorded)
            StepOff();
        else
            StepStatic();
        break;
    }
}

void CKelvaneMousePadDevice::RenderFrame(std::uint32_t nowMs) {
    StepEffect(nowMs);
    if (IsPreviewWatched())
        NotifyFrame();
}

} // namespace devices
