#include "devices/KelvaneUSBDevice.h"

#include "config/JsonFile.h"
#include "config/Utf8.h"
#include "platform/Paths.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstring>
#include <filesystem>

namespace devices {

namespace {

// The number after `prefix` when `text` is exactly the prefix and a decimal number.
bool IndexAfter(const std::string& text, std::string_view prefix, int* index) {
    if (text.size() <= prefix.size() || text.compare(0, prefix.size(), prefix) != 0)
        return false;
    const char* first = text.data() + prefix.size();
    const char* last = text.data() + text.size();
    const auto [end, error] = std::from_chars(first, last, *index);
    return error == std::errc() && end == last && *index >= 0;
}

std::string AsString(const Json::Value& value) {
    return value.isString() ? value.asString() : std::string();
}
} // namespace

CKelvaneUSBDevice::CKelvaneUSBDevice(transport::HidBackend* backend,
                                     std::unique_ptr<config::CBasicProfiledata> profile)
    : m_command(backend), m_event(backend),
      m_profile(profile ? std::move(profile) : std::make_unique<config::CBasicProfiledata>()) {
    m_profile->SetDeviceIndex(0);
}

void CKelvaneUSBDevice::SetProfilePaths() {
    const std::string folder = UserDataFolder();
    m_profile->SetDefaultPath(config::Utf8ToWide(DefaultProfilePath()));
    if (folder.empty())
        return;
    if (!m_currentProfileId.empty())
        m_profile->SetProfilePath(config::Utf8ToWide(folder + m_currentProfileId + ".Json"));
    m_profile->SetConfigPath(config::Utf8ToWide(folder + m_lightFilePrefix + ".config"));
}

CKelvaneUSBDevice::~CKelvaneUSBDevice() = default;

void CKelvaneUSBDevice::SetKeyButtonCount(int count) {
    m_keyButtons.assign(static_cast<std::size_t>(std::max(0, count)), nullptr);
}

void CKelvaneUSBDevice::SetLedCount(int count) {
    const auto n = static_cast<std::size_t>(std::max(0, count));
    m_lightButtons.assign(n, nullptr);
    m_leds.assign(n, LedColour{0, 0, 0, 0});
    const std::lock_guard lock(m_customColourLock);
    m_customColours.assign(n, CustomColourRecord{});
}

std::string CKelvaneUSBDevice::UserDataFolder() const {
    const std::string base = platform::UserFolder();
    if (base.empty() || m_deviceName.empty())
        return {};
    const std::filesystem::path folder = std::filesystem::path(base) / m_deviceName;
    std::error_code error;
    std::filesystem::create_directories(folder, error); // an existing folder stays as it is
    if (!std::filesystem::is_directory(folder, error))
        return {};
    return folder.string() + "/";
}

std::string CKelvaneUSBDevice::DefaultDataFolder() const {
    return platform::DefaultDataFolder();
}

std::string CKelvaneUSBDevice::DefaultProfilePath() const {
    return DefaultDataFolder() + m_deviceName + ".Json";
}

void CKelvaneUSBDevice::BindPanelControls(const std::vector<PanelButton>& buttons) {
    if (m_panelXml.empty()) {
        m_keyButtons.clear();
        m_lightButtons.clear();
        m_leds.clear();
        return;
    }
    for (const PanelButton& b : buttons) {
        int index = 0;
        if (IndexAfter(b.name, "key_", &index) && index < GetKeyButtonCount())
            m_keyButtons[static_cast<std::size_t>(index)] = b.button;
        if (IndexAfter(b.userData, "light_", &index) &&
            index < static_cast<int>(m_lightButtons.size())) {
            m_lightButtons[static_cast<std::size_t>(index)] = b.button;
            if (b.button)
                b.button->SetColour(LedColour{0xFF, 0xFF, 0xFF, 0xFF});
        }
    }
}

IKeyButton* CKelvaneUSBDevice::GetKeyButton(int index) const {
    return index >= 0 && index < GetKeyButtonCount() ? m_keyButtons[static_cast<std::size_t>(index)]
                                                     : nullptr;
}

IKeyButton* CKelvaneUSBDevice::GetLightButton(int index) const {
    return index >= 0 && index < static_cast<int>(m_lightButtons.size())
               ? m_lightButtons[static_cast<std::size_t>(index)]
               : nullptr;
}

void CKelvaneUSBDevice::SetLedColour(int index, const LedColour& colour) {
    if (index >= 0 && index < GetLedCount())
        m_leds[static_cast<std::size_t>(index)] = colour;
}

LedColour CKelvaneUSBDevice::GetLedColour(int index) const {
    if (index < 0 || index >= GetLedCount())
        return LedColour{0, 0, 0, 0};
    return m_leds[static_cast<std::size_t>(index)];
}

std::array<std::uint8_t, kFrameSize> CKelvaneUSBDevice::BuildLightFrame() {
    std::array<std::uint8_t, kFrameSize> frame{};
    // A synchronised colour takes the light buttons first: they hold what the device shows.
    const std::uint64_t sync = m_syncColour.exchange(0);
    for (int i = 0; i < GetLedCount(); ++i) {
        LedColour& led = m_leds[static_cast<std::size_t>(i)];
        IKeyButton* button = GetLightButton(i);
        if (sync & kSyncPending) {
            led = UnpackSyncColour(static_cast<std::uint32_t>(sync));
            if (button)
                button->SetColour(led);
        }
        if (button) {
            LedColour shown{};
            if (button->GetColour(shown))
                led = shown;
        }
        // The frame holds 170 LEDs; LED 170 (and any beyond) never reaches it.
        if (i >= kFrameLedLimit)
            continue;
        PutScaledLed(std::span(frame).subspan(static_cast<std::size_t>(3 * i)).first<3>(), led);
    }
    return frame;
}

int CKelvaneUSBDevice::SendLightFrame() {
    if (!m_lightControl)
        return 0;
    const auto frame = BuildLightFrame();
    // Through the receiver no frame is sent; that counts as success.
    if (m_command.IsReceiverMode())
        return transport::kCommSuccess;
    const std::size_t length = std::min<std::size_t>(3 * m_leds.size(), frame.size());
    return WriteLightFrame(std::span(frame).first(length));
}

int CKelvaneUSBDevice::WriteLightFrame(std::span<const std::uint8_t> bytes) {
    const auto now = m_frameClock();
    {
        const std::lock_guard lock(m_lastFrameLock);
        if (m_framesPausedUntil && now < *m_framesPausedUntil)
            return m_pausedResult;
        m_framesPausedUntil.reset();
        if (std::equal(bytes.begin(), bytes.end(), m_lastFrame.begin(), m_lastFrame.end()) &&
            now - m_lastFrameAt < kFrameRepeatInterval)
            return transport::kCommSuccess;
    }
    const int result = m_command.WriteLightFrame(bytes);
    const std::lock_guard lock(m_lastFrameLock);
    if (result != transport::kCommSuccess) {
        m_lastFrame.clear();
        m_framesPausedUntil = now + kFramePauseAfterFailure;
        m_pausedResult = result;
        return result;
    }
    m_lastFrame.assign(bytes.begin(), bytes.end());
    m_lastFrameAt = now;
    return result;
}

void CKelvaneUSBDevice::ForgetLastFrame() {
    const std::lock_guard lock(m_lastFrameLock);
    m_lastFrame.clear();
    m_framesPausedUntil.reset();
}

void CKelvaneUSBDevice::SetWindowShown(bool shown) {
    if (m_windowShown.exchange(shown) != shown)
        WatchChanged();
}

void CKelvaneUSBDevice::SetWindowHovered(bool hovered) {
    if (m_windowHovered.exchange(hovered) != hovered)
        WatchChanged();
}

void CKelvaneUSBDevice::SetPreviewShown(bool shown) {
    if (m_previewShown.exchange(shown) != shown)
        WatchChanged();
}

void CKelvaneUSBDevice::SetFrameListener(std::function<void()> listener) {
    const std::lock_guard lock(m_frameListenerLock);
    m_frameListener = std::move(listener);
}

void CKelvaneUSBDevice::NotifyFrame() {
    const std::lock_guard lock(m_frameListenerLock);
    if (m_frameListener)
        m_frameListener();
}

void CKelvaneUSBDevice::PaintPreview() {
    std::vector<LedColour> leds;
    {
        const std::lock_guard lock(m_renderLock);
        leds = m_leds;
    }
    for (std::size_t i = 0; i < leds.size(); ++i) {
        IKeyButton* button = GetLightButton(static_cast<int>(i));
        if (button && button->IsVisible())
            button->SetColour(leds[i]);
    }
}

LedColour CKelvaneUSBDevice::UnpackSyncColour(std::uint32_t packed) {
    return {static_cast<std::uint8_t>(packed), static_cast<std::uint8_t>(packed >> 8),
            static_cast<std::uint8_t>(packed >> 16), static_cast<std::uint8_t>(packed >> 24)};
}

void CKelvaneUSBDevice::ShowSyncFrame(std::uint32_t packed) {
    m_syncColour = kSyncPending | packed;
    NotifyFrame();
}

void CKelvaneUSBDevice::StepBreathing() {
    devices::StepBreathing(m_leds, m_light, m_effect);
}

void CKelvaneUSBDevice::StepBreathingFourColours() {
    devices::StepBreathingFourColours(m_leds, m_light, m_effect);
}

void CKelvaneUSBDevice::StepStatic() {
    devices::StepStatic(m_leds, m_light);
}

void CKelvaneUSBDevice::StepSpectrumCycle() {
    devices::StepSpectrumCycle(m_leds, m_light, m_effect);
}

void CKelvaneUSBDevice::StepFlash(std::uint32_t nowMs) {
    devices::StepFlash(m_leds, m_light, m_effect, nowMs);
}

void CKelvaneUSBDevice::StepFlashFourColours(std::uint32_t nowMs) {
    devices::StepFlashFourColours(m_leds, m_light, m_effect, nowMs);
}

void CKelvaneUSBDevice::StepOff() {
    devices::StepOff(m_leds);
}

std::uint8_t CKelvaneUSBDevice::DecayKey(int key, int effect) {
    if (key < 0 || key >= static_cast<int>(kIntensityCount))
        return 0;
    std::uint8_t& v = m_effect.intensity[static_cast<std::size_t>(key)];
    v = devices::DecayKey(v, effect);
    return v;
}

void CKelvaneUSBDevice::ClearEffectBuffers() {
    m_effect.intensity.fill(0);
    m_effect.ring.fill(0);
}

void CKelvaneUSBDevice::TakeLightingControl(bool on) {
    m_lightControl = on;
    // The device ran its own lighting meanwhile: the next frame goes out whatever it holds.
    ForgetLastFrame();
    if (on && GetDeviceKind() == transport::kKindKeyboard)
        m_command.TakeLightingControl();
}

void CKelvaneUSBDevice::SetFunctionPage(int type) {
    m_functionPage = type;
    auto selectFunction = [&](int page) {
        if (m_panel)
            m_panel->SelectPage("device_function_switch", page);
    };
    auto selectKeySubPage = [&](int page) {
        selectFunction(0);
        if (m_panel)
            m_panel->SelectPage("device_key_function_switch", page);
    };
    const bool keyboardOrMouse =
        GetDeviceKind() == transport::kKindKeyboard || GetDeviceKind() == transport::kKindMouse;
    switch (type) {
    case 2:
    case 6:
        selectKeySubPage(1);
        break;
    case 3:
    case 8:
        selectFunction(1);
        break;
    case 4:
        if (keyboardOrMouse)
            selectFunction(3);
        else
            selectKeySubPage(2);
        break;
    case 5:
        selectFunction(2);
        break;
    case 7:
        selectKeySubPage(2);
        break;
    default:
        selectKeySubPage(0);
        break;
    }
}

void CKelvaneUSBDevice::LoadLists() {
    m_modeList.clear();
    m_areaList.clear();
    m_customList.clear();
    const auto m = static_cast<Json::ArrayIndex>(std::max(0, m_dataFileModelIndex));
    const Json::Value defaults = config::ReadJsonFile(DefaultDataFolder() + "default_light.json");
    if (defaults.isObject()) {
        const Json::Value& modes = defaults["DefaultLightName"];
        if (modes.isArray() && m < modes.size() && modes[m].isArray()) {
            for (const Json::Value& entry : modes[m]) {
                if (!entry.isObject())
                    continue;
                LightModeEntry mode;
                mode.name = AsString(entry["LightName"]);
                mode.visible = entry["visible"].isConvertibleTo(Json::booleanValue) &&
                               entry["visible"].asBool();
                mode.value =
                    entry["value"].isConvertibleTo(Json::intValue) ? entry["value"].asInt() : 0;
                m_modeList.push_back(mode);
            }
        }
        const Json::Value& areas = defaults["AreaLightName"];
        if (areas.isArray() && m < areas.size() && areas[m].isArray()) {
            for (const Json::Value& entry : areas[m])
                m_areaList.push_back(entry.isObject() ? AsString(entry["LightName"])
                                                      : std::string());
        }
    }
    const std::string folder = UserDataFolder();
    if (folder.empty())
        return;
    const Json::Value custom = config::ReadJsonFile(folder + m_lightFilePrefix + ".config");
    if (!custom.isObject() || !custom["LightInfo"].isArray() || m >= custom["LightInfo"].size())
        return;
    const Json::Value& effects = custom["LightInfo"][m];
    if (!effects.isArray())
        return;
    for (const Json::Value& entry : effects)
        m_customList.push_back(entry.isObject() ? AsString(entry["LightName"]) : std::string());
}

void CKelvaneUSBDevice::SetCustomColourMap(const std::vector<CustomColourRecord>& map) {
    const std::lock_guard lock(m_customColourLock);
    m_customColours = map;
}

std::vector<CustomColourRecord> CKelvaneUSBDevice::GetCustomColourMap() const {
    const std::lock_guard lock(m_customColourLock);
    return m_customColours;
}

void CKelvaneUSBDevice::SetLightParams(std::uint8_t mode, std::uint8_t brightness,
                                       std::uint8_t speed, std::uint8_t direction,
                                       std::uint32_t wide, std::uint16_t narrow) {
    m_light.mode = mode;
    m_light.brightness = brightness;
    m_light.speed = speed;
    m_light.direction = direction;
    m_lightWide = wide;
    m_lightNarrow = narrow;
}

config::LightInfoRecord CKelvaneUSBDevice::GetLightFields() const {
    config::LightInfoRecord fields = m_lightFields;
    fields.selectItem = m_light.mode;
    fields.light = m_light.brightness;
    fields.speed = m_light.speed;
    fields.fx = m_light.direction;
    fields.multiColor = m_light.multiColour;
    fields.red = m_light.red;
    fields.green = m_light.green;
    fields.blue = m_light.blue;
    return fields;
}

void CKelvaneUSBDevice::SetLightFields(const config::LightInfoRecord& fields) {
    m_lightFields = fields;
    m_light = {fields.selectItem, fields.light, fields.speed, fields.fx,
               fields.multiColor, fields.red,   fields.green, fields.blue};
}

AudioLighting PackAudioLighting(const config::AudioLightRecord& record) {
    std::array<std::uint8_t, sizeof record> bytes{};
    std::memcpy(bytes.data(), &record, sizeof record);
    AudioLighting lighting;
    for (std::size_t i = 0; i < bytes.size(); ++i)
        lighting.words[i / 4] |= std::uint32_t{bytes[i]} << (8 * (i % 4));
    return lighting;
}

config::AudioLightRecord UnpackAudioLighting(const AudioLighting& lighting) {
    std::array<std::uint8_t, sizeof(config::AudioLightRecord)> bytes{};
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>(lighting.words[i / 4] >> (8 * (i % 4)));
    config::AudioLightRecord record;
    std::memcpy(&record, bytes.data(), sizeof record);
    return record;
}

void CKelvaneUSBDevice::SetAudioLighting(const AudioLighting& lighting) {
    const std::lock_guard lock(m_audioLightingLock);
    m_audioLighting = lighting;
}

AudioLighting CKelvaneUSBDevice::GetAudioLighting() const {
    const std::lock_guard lock(m_audioLightingLock);
    return m_audioLighting;
}

} // namespace devices
