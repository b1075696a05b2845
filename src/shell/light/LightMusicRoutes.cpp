// The lighting routes of music lighting: the music style and the colours it draws with, kept
// as the device's audio-lighting record.

#include "shell/light/LightRoutes.h"

#include "devices/KelvaneUSBDevice.h"
#include "lighting/ColorSelectWnd.h"
#include "lighting/LightControlUI.h"
#include "shell/light/LightValues.h"
#include "ui/WindowImplBase.h"

namespace shell::light {

using lighting::CLightControlUI;

// ---- Music lighting ----

void CLightRoutes::StoreMusic(devices::CKelvaneUSBDevice& device,
                              const config::AudioLightRecord& record) {
    if (CLightControlUI* panel = PanelOf(&device))
        panel->SetMusicRecord(record);
    device.SetAudioLighting(devices::PackAudioLighting(record));
    device.StoreProfile();
    device.ApplyProfileLighting();
}

void CLightRoutes::OnMusicChoice() {
    devices::CKelvaneUSBDevice* device = m_currentDevice ? m_currentDevice() : nullptr;
    CLightControlUI* panel = PanelOf(device);
    config::AudioLightRecord record;
    if (!panel || !panel->GetMusicRecord(true, record))
        return;
    StoreMusic(*device, record);
}

void CLightRoutes::TakeMusicColour(std::uint32_t colour) {
    devices::CKelvaneUSBDevice* device = m_currentDevice ? m_currentDevice() : nullptr;
    CLightControlUI* panel = PanelOf(device);
    if (!panel)
        return;
    config::AudioLightRecord record = panel->StoredMusicRecord();
    if (record.colorTypeFlags == 1) {
        record.fgRed = ByteOf(colour, 2);
        record.fgGreen = ByteOf(colour, 1);
        record.fgBlue = ByteOf(colour, 0);
        record.sevenColorFlags = 0;
    } else {
        record.bkRed = ByteOf(colour, 2);
        record.bkGreen = ByteOf(colour, 1);
        record.bkBlue = ByteOf(colour, 0);
    }
    StoreMusic(*device, record);
}

void CLightRoutes::OnMusicEdit(int component) {
    devices::CKelvaneUSBDevice* device = m_currentDevice ? m_currentDevice() : nullptr;
    CLightControlUI* panel = PanelOf(device);
    if (!panel)
        return;
    const QString text = panel->MusicComponentText(component);
    const auto value = static_cast<std::uint8_t>(ClampedComponent(text));
    config::AudioLightRecord record = panel->StoredMusicRecord();
    if (record.colorTypeFlags == 1) {
        std::uint8_t* target[] = {&record.fgRed, &record.fgGreen, &record.fgBlue};
        *target[component] = value;
        record.sevenColorFlags = 0;
    } else {
        std::uint8_t* target[] = {&record.bkRed, &record.bkGreen, &record.bkBlue};
        *target[component] = value;
    }
    StoreMusic(*device, record);
}

void CLightRoutes::ClearMusicBackground() {
    devices::CKelvaneUSBDevice* device = m_currentDevice ? m_currentDevice() : nullptr;
    CLightControlUI* panel = PanelOf(device);
    if (!panel)
        return;
    config::AudioLightRecord record = panel->StoredMusicRecord();
    record.bkRed = record.bkGreen = record.bkBlue = 0;
    StoreMusic(*device, record);
}

void CLightRoutes::PickMusicColour() {
    CLightControlUI* panel = CurrentPanel();
    if (!panel)
        return;
    const config::AudioLightRecord& record = panel->StoredMusicRecord();
    const bool foreground = record.colorTypeFlags == 1;
    const std::uint32_t shown = foreground
                                    ? (record.fgRed << 16 | record.fgGreen << 8 | record.fgBlue)
                                    : (record.bkRed << 16 | record.bkGreen << 8 | record.bkBlue);
    const lighting::ColorChoice choice = lighting::OpenColorSelectWindow(&m_window, shown, true);
    if (choice.result == 1)
        TakeMusicColour(choice.color);
}

} // namespace shell::light
