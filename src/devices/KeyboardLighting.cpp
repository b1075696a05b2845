// The keyboard's software lighting: the light state taken from the profile, the custom colour
// scheme, the effect steps and the lighting thread that renders and streams the frames.

#include "devices/KelvaneKeyboardDevice.h"
#include "devices/KeyboardEffectIds.h"
#include "devices/KeyboardEffects.h"
#include "devices/LightTick.h"

#include <algorithm>

namespace devices {

// ---- Lighting state ----

void CKelvaneKeyboardDevice::ApplyProfileLighting() {
    const config::LightInfoRecord info = Profile().ReadLightInfo();
    const config::AudioLightRecord audio = Profile().ReadAudioLightInfo();
    TakeLightInfo(info);
    CopyIntoBlock(info);
    // Compared with the effect last started: the panel stores the new fields before it
    // applies them.
    if (info.selectItem != m_startedEffect || info.selectItem == effect::kCustomScheme)
        RunModeStart();
    m_recorded.Load(Profile().ReadLightEffect());
    CKelvaneUSBDevice::SetAudioLighting(PackAudioLighting(audio));
    if (info.selectItem == effect::kReactive) {
        const std::lock_guard lock(m_renderLock);
        m_effect.intensity.fill(0);
    }
    WakeLighting(LightingWake::kChange);
}

void CKelvaneKeyboardDevice::CopyIntoBlock(const config::LightInfoRecord& record) {
    PutLightSettings(m_blockCopy, FieldsOfLightInfo(record), ModeCodes());
}

void CKelvaneKeyboardDevice::SetLightParams(std::uint8_t mode, std::uint8_t brightness,
                                            std::uint8_t speed, std::uint8_t direction,
                                            std::uint32_t wide, std::uint16_t narrow) {
    m_lightWide = wide;
    m_lightNarrow = narrow;
    config::LightInfoRecord record = m_lightInfo;
    record.selectItem = mode;
    record.light = brightness;
    record.speed = speed;
    record.fx = direction;
    SetLightInfo(record);
}

void CKelvaneKeyboardDevice::SetAudioLighting(const AudioLighting& lighting) {
    CKelvaneUSBDevice::SetAudioLighting(lighting);
    Profile().WriteAudioLightInfo(UnpackAudioLighting(lighting));
    WakeLighting(LightingWake::kChange);
}

// ---- Custom scheme ----

void CKelvaneKeyboardDevice::SelectCustomGroup(int group) {
    if (group < 0 || group > 0xFF)
        return;
    config::LightInfoRecord record = m_lightInfo;
    record.customGroup = static_cast<std::uint8_t>(group);
    SetLightInfo(record);
    Profile().WriteCustomLightGroup(group);
    m_customGroupShown = true;
    if (m_light.mode != effect::kCustomScheme)
        return;
    LoadCustomGroupColours();
    WriteCustomScheme(true);
    WakeLighting(LightingWake::kChange);
}

void CKelvaneKeyboardDevice::LoadCustomGroupColours() {
    const std::vector<config::RgbaColor> colours =
        Profile().ReadCustomLightColors(m_lightInfo.customGroup, GetLedCount());
    const std::lock_guard lock(m_renderLock);
    for (std::size_t i = 0; i < colours.size(); ++i) {
        const config::RgbaColor& c = colours[i];
        SetLedColour(static_cast<int>(i), LedColour{c.red, c.green, c.blue, c.alpha});
    }
}

LedColour CKelvaneKeyboardDevice::CurrentColour() const {
    return {m_light.red, m_light.green, m_light.blue, BrightnessLevel(m_light.brightness)};
}

void CKelvaneKeyboardDevice::PaintKey(int key) {
    if (m_light.mode != effect::kCustomScheme || key < 0 || key >= GetLedCount())
        return;
    // The keyboard takes a painted key's colour as it is and applies its own brightness.
    SetLedsAndStore({key}, CurrentColour(), false);
}

void CKelvaneKeyboardDevice::SetCustomSelection(const std::vector<int>& keys) {
    m_customSelection.clear();
    for (int key : keys)
        if (key >= 0 && key < GetLedCount())
            m_customSelection.push_back(key);
}

void CKelvaneKeyboardDevice::LightSelectedKeys(bool on) {
    if (m_light.mode != effect::kCustomScheme || m_customSelection.empty())
        return;
    const LedColour colour = on ? CurrentColour() : LedColour{0, 0, 0, CurrentColour().alpha};
    SetLedsAndStore(m_customSelection, colour, true);
}

void CKelvaneKeyboardDevice::SetLedsAndStore(const std::vector<int>& keys, const LedColour& colour,
                                             bool scaled) {
    {
        const std::lock_guard lock(m_renderLock);
        for (int key : keys)
            SetLedColour(key, colour);
    }
    if (m_customGroupShown)
        StoreCustomScheme(scaled);
    WakeLighting(LightingWake::kChange);
}

void CKelvaneKeyboardDevice::StoreCustomScheme(bool scaled) {
    std::vector<config::RgbaColor> colours;
    {
        const std::lock_guard lock(m_renderLock);
        for (const LedColour& led : m_leds)
            colours.push_back({led.red, led.green, led.blue, led.alpha});
    }
    Profile().WriteCustomLightColors(m_lightInfo.customGroup, colours);
    Profile().SaveProfile();
    WriteCustomScheme(scaled);
}

// ---- Effect steps ----

void CKelvaneKeyboardDevice::StepEffect(std::uint32_t nowMs) {
    const std::lock_guard lock(m_renderLock);
    StepEffectLocked(nowMs);
}

void CKelvaneKeyboardDevice::StepEffectLocked(std::uint32_t nowMs) {
    const int mode = m_light.mode;
    switch (mode) {
    case effect::kSpectrumCycle:
        StepSpectrumCycle();
        break;
    case effect::kCustomScheme:
        break; // the LED list holds the scheme
    case effect::kOff:
        StepOff();
        break;
    case effect::kFlash:
        StepFlash(nowMs);
        break;
    case effect::kBreathingFourColours:
        StepBreathingFourColours();
        break;
    case effect::kFlashFourColours:
        StepFlashFourColours(nowMs);
        break;
    case effect::kMusic:
    case effect::kMusicColour:
        StepMusic();
        break;
    default:
        if (EffectThresholdTicks(mode, m_light.speed) == kRecordedPlaybackTicks)
            m_recorded.Step(m_leds, m_effect, nowMs);
        else
            StepPatternEffect(mode, m_leds, m_light, m_effect);
        break;
    }
    ApplyCustomOverlays();
}

void CKelvaneKeyboardDevice::ApplyCustomOverlays() {
    const std::lock_guard lock(m_customColourLock);
    const std::size_t count = std::min(m_customColours.size(), m_leds.size());
    for (std::size_t i = 0; i < count; ++i) {
        const CustomColourRecord& overlay = m_customColours[i];
        if (!overlay[kOverlayOnAt])
            continue;
        m_leds[i] = {overlay[kOverlayColourAt], overlay[kOverlayColourAt + 1],
                     overlay[kOverlayColourAt + 2], overlay[kOverlayColourAt + 3]};
    }
}

// ---- Lighting loop and thread ----

int CKelvaneKeyboardDevice::CurrentStepTicks() const {
    int ticks = 0;
    {
        const std::lock_guard lock(m_renderLock);
        if (m_light.mode == effect::kCustomScheme)
            return kRecordedPlaybackTicks; // nothing moves: drawn once after a change
        ticks = EffectThresholdTicks(m_light.mode, m_light.speed);
    }
    return ticks == kRecordedPlaybackTicks ? m_recorded.StepTicks() : ticks;
}

void CKelvaneKeyboardDevice::RenderFrame(std::uint32_t nowMs) {
    StepEffect(nowMs);
    HandOnFrame();
}

void CKelvaneKeyboardDevice::HandOnFrame() {
    if (StreamsFrames()) {
        std::array<std::uint8_t, kFrameSize> frame;
        {
            const std::lock_guard lock(m_renderLock);
            frame = BuildMappedFrame();
        }
        WriteLightFrame(std::span(frame).first(FrameLength()));
    }
    if (IsPreviewWatched())
        NotifyFrame();
}

void CKelvaneKeyboardDevice::ShowSyncFrame(std::uint32_t packed) {
    {
        const std::lock_guard lock(m_renderLock);
        std::fill(m_leds.begin(), m_leds.end(), UnpackSyncColour(packed));
    }
    HandOnFrame();
}

void CKelvaneKeyboardDevice::TakeLightingControl(bool on) {
    CKelvaneUSBDevice::TakeLightingControl(on);
    WakeLighting(LightingWake::kChange);
}

void CKelvaneKeyboardDevice::StartLightingThread() {
    m_lightingThread.Start();
}

void CKelvaneKeyboardDevice::StopLightingThread() {
    m_lightingThread.Stop();
}

} // namespace devices
