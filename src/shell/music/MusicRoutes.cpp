#include "shell/music/MusicRoutes.h"

#include "devices/KelvaneUSBDevice.h"
#include "devices/KeyboardEffectIds.h"
#include "shell/MainWnd.h"
#include "shell/music/MusicWnd.h"
#include "transport/DeviceSlot.h"
#include "ui/ControlNames.h"
#include "ui/SliderUI.h"

#include <QTimer>

#include <cstring>

namespace shell::music {

namespace {

const char* const kColourSliders[] = {"R_light_slider", "G_light_slider", "B_light_slider"};
const char* const kColourLabels[] = {"R_light_label", "G_light_label", "B_light_label"};
const char* const kColourFormats[] = {"R %d", "G %d", "B %d"};

} // namespace

CMusicRoutes::CMusicRoutes(CMainWnd& window, DeviceList devices,
                           std::unique_ptr<CRecorderLink> recorder)
    : m_window(window), m_devices(std::move(devices)), m_recorder(std::move(recorder)) {}

CMusicRoutes::~CMusicRoutes() {
    Stop();
}

void CMusicRoutes::Start(const std::string& userFolder, const std::string& defaultFolder) {
    m_userFile = userFolder + "AudioFile.json";
    m_defaultFile = defaultFolder + "AudioFile.json";
    m_document = config::LoadAudioStyleDocument(m_userFile, m_defaultFile);
    m_styles = config::ReadAudioStyle(m_document["AudioLightInfo"]);
    m_recorder->Start();
    m_recorder->SendStyleColour(config::StyleColourPayload(m_styles));
}

void CMusicRoutes::Stop() {
    m_recorder->Stop();
}

bool CMusicRoutes::Notify(ui::TNotifyUI& msg) {
    if (msg.sType == ui::notify::valuechanged) {
        for (int c = 0; c < 3; ++c) {
            if (!ui::NameIs(msg.pSender, kColourSliders[c]))
                continue;
            if (auto* slider = ui::control_cast<ui::CSliderUI>(msg.pSender))
                OnColourSlider(*slider, c);
            return true;
        }
    }
    if (msg.sType == ui::notify::click && ui::NameIs(msg.pSender, "music_setting_btn")) {
        // From the event loop: the modal window's own loop must not run inside this click.
        QTimer::singleShot(0, m_window.GetHWND(), [this] { OpenMusicWindow(); });
        return true;
    }
    return false;
}

void CMusicRoutes::OnColourSlider(ui::CSliderUI& slider, int component) {
    const int value = slider.GetValue();
    m_recorder->SendCommand(kRed + static_cast<std::uint32_t>(component),
                            static_cast<std::uint32_t>(value));
    // Every device's lighting panel has the sliders: the label is the one beside this one.
    if (ui::CControlUI* label = m_window.GetPaintManager().FindSubControlByName(
            slider.GetParent(), QLatin1String(kColourLabels[component])))
        label->SetText(QString::asprintf(kColourFormats[component], value));
}

void CMusicRoutes::OpenMusicWindow() {
    config::AudioStyleSet edited = m_styles;
    const int result = RunMusicWindow(&m_window, edited, [this](ui::CWindowWnd* window) {
        m_window.SetSecondaryWindow(CMainWnd::Secondary::Music, window);
    });
    if (result != 1)
        return;
    m_styles = edited;
    m_recorder->SendStyleColour(config::StyleColourPayload(m_styles));
    config::WriteAudioStyle(m_styles, m_document["AudioLightInfo"]);
    config::SaveAudioStyleDocument(m_userFile, m_document);
}

void CMusicRoutes::ResetStyles() {
    if (m_defaultFile.empty())
        return;
    m_document = config::ResetAudioStyleDocument(m_userFile, m_defaultFile);
    m_styles = config::ReadAudioStyle(m_document["AudioLightInfo"]);
}

std::vector<devices::CKelvaneUSBDevice*> CMusicRoutes::Devices() const {
    return m_devices ? m_devices() : std::vector<devices::CKelvaneUSBDevice*>{};
}

devices::CKelvaneUSBDevice* CMusicRoutes::FirstKeyboard() const {
    for (devices::CKelvaneUSBDevice* device : Devices())
        if (device->GetDeviceKind() == transport::kKindKeyboard)
            return device;
    return nullptr;
}

void CMusicRoutes::TakeSpectrum(const std::uint8_t* values) {
    std::array<std::int32_t, devices::kSpectrumValues> spectrum{};
    std::memcpy(spectrum.data(), values, sizeof spectrum);
    if (!m_bands.Take(spectrum))
        return;
    if (devices::CKelvaneUSBDevice* keyboard = FirstKeyboard())
        keyboard->SetMusicSpectrum(m_bands.Levels());
}

void CMusicRoutes::UpdateRecorderNeed() {
    bool wanted = false;
    for (devices::CKelvaneUSBDevice* device : Devices()) {
        const int mode = device->GetLightSettings().mode;
        wanted =
            wanted || (device->GetDeviceKind() == transport::kKindKeyboard &&
                       (mode == devices::effect::kMusic || mode == devices::effect::kMusicColour));
    }
    QStringList arguments;
    if (!m_demoInput.empty())
        arguments << QStringLiteral("--input") << QString::fromStdString(m_demoInput)
                  << QStringLiteral("--loop");
    m_recorder->SetWanted(wanted, arguments);
}

} // namespace shell::music
