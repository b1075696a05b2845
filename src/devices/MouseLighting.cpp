// The mouse's light state, its notification threads and its preview.

#include "devices/KelvaneMouseDevice.h"

namespace devices {

using namespace transport;

// ---- Light fields ----

config::LightInfoRecord CKelvaneMouseDevice::GetLightFields() const {
    const std::lock_guard lock(m_renderLock);
    return CKelvaneUSBDevice::GetLightFields();
}

void CKelvaneMouseDevice::SetLightFields(const config::LightInfoRecord& fields) {
    {
        const std::lock_guard lock(m_renderLock);
        CKelvaneUSBDevice::SetLightFields(fields);
    }
    m_previewThread.Wake(LightingWake::kChange);
}

void CKelvaneMouseDevice::SetLightParams(std::uint8_t mode, std::uint8_t brightness,
                                         std::uint8_t speed, std::uint8_t direction,
                                         std::uint32_t wide, std::uint16_t narrow) {
    {
        const std::lock_guard lock(m_renderLock);
        CKelvaneUSBDevice::SetLightParams(mode, brightness, speed, direction, wide, narrow);
    }
    m_previewThread.Wake(LightingWake::kChange);
}

// ---- Notifications ----

void CKelvaneMouseDevice::StartNotificationThread(std::uint16_t kind) {
    m_notifications.Start(kind);
}

void CKelvaneMouseDevice::StopNotificationThread(std::uint16_t kind) {
    m_notifications.Stop(kind);
}

void CKelvaneMouseDevice::LightReactive() {
    {
        const std::lock_guard lock(m_renderLock);
        if (m_light.mode != mousemode::kReactive)
            return;
        m_fades.resize(m_leds.size(), MouseFade::kIdle);
        std::vector<std::uint32_t> dice(m_leds.size());
        for (std::uint32_t& die : dice)
            die = static_cast<std::uint32_t>(m_random());
        StartMouseReactive(m_leds, m_fades, dice);
    }
    m_previewThread.Wake(LightingWake::kChange);
}

void CKelvaneMouseDevice::FollowDeviceSwitch(int page, int stage) {
    m_page = page;
    // The usage has room for stages the mouse does not have.
    if (stage >= 0 && stage < kMouseStageCount)
        m_currentStage = stage;
    RefreshPanels();
}

// ---- Preview ----

void CKelvaneMouseDevice::StartPreviewThread() {
    m_previewThread.Start();
}

void CKelvaneMouseDevice::StopPreviewThread() {
    m_previewThread.Stop();
}

int CKelvaneMouseDevice::CurrentStepTicks() const {
    const std::lock_guard lock(m_renderLock);
    if (m_light.mode >= mousemode::kRecorded)
        return m_recorded.StepTicks();
    return PadStepTicks(m_light.speed);
}

void CKelvaneMouseDevice::StepEffect(std::uint32_t nowMs) {
    const std::lock_guard lock(m_renderLock);
    switch (m_light.mode) {
    case mousemode::kWave:
        StepMouseWave(m_leds, m_light, m_effect);
        break;
    case mousemode::kBreathing:
        StepBreathing();
        break;
    case mousemode::kStatic:
        StepStatic();
        break;
    case mousemode::kSpectrumCycle:
        StepSpectrumCycle();
        break;
    case mousemode::kFlash:
        StepFlash(nowMs);
        break;
    case mousemode::kCustomColours:
        StepMouseCustomColours(m_leds, m_light, m_effect);
        break;
    case mousemode::kReactive:
        m_fades.resize(m_leds.size(), MouseFade::kIdle);
        StepMouseReactive(m_leds, m_fades);
        break;
    case mousemode::kBreathingFourColours:
        StepBreathingFourColours();
        break;
    case mousemode::kFlashFourColours:
        StepFlashFourColours(nowMs);
        break;
    case mousemode::kOff:
        StepOff();
        break;
    default:
        m_recorded.Step(m_leds, m_effect, nowMs);
        break;
    }
}

void CKelvaneMouseDevice::RenderFrame(std::uint32_t nowMs) {
    StepEffect(nowMs);
    if (IsPreviewWatched())
        NotifyFrame();
}

} // namespace devices
