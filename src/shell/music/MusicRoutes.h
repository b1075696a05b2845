#pragma once
// The main window's music lighting: the recorder link, the spectrum turned into band levels
// for the first keyboard, the recorder's colour sliders ("R_light_slider" …) and the four
// named styles of "AudioFile.json" with their window ("music_setting_btn").

#include "config/AudioStyleFile.h"
#include "devices/MusicBandLevels.h"
#include "shell/music/RecorderLink.h"
#include "ui/UIDefs.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace devices {
class CKelvaneUSBDevice;
}
namespace ui {
class CPaintManagerUI;
class CSliderUI;
struct TNotifyUI;
} // namespace ui

namespace shell {
class CMainWnd;
}

namespace shell::music {

class CMusicRoutes {
public:
    using DeviceList = std::function<std::vector<devices::CKelvaneUSBDevice*>()>;

    CMusicRoutes(CMainWnd& window, DeviceList devices,
                 std::unique_ptr<CRecorderLink> recorder = std::make_unique<CRecorderLink>());
    ~CMusicRoutes();

    // Loads the styles (the default file replaces a missing user file), sends the current
    // style's colour and starts looking for the recorder.
    void Start(const std::string& userFolder, const std::string& defaultFolder);
    void Stop();
    // The demo's recorder plays `file` instead of the desktop's sound.
    void SetDemoInput(const std::string& file) { m_demoInput = file; }

    bool Notify(ui::TNotifyUI& msg);
    // One spectrum message: 500 little-endian 32-bit values.
    void TakeSpectrum(const std::uint8_t* values);
    // The defaults back, after the user confirmed restoring them.
    void ResetStyles();
    // Runs the recorder while a keyboard shows a music effect (29 or 30).
    void UpdateRecorderNeed();

    const config::AudioStyleSet& Styles() const { return m_styles; }
    const devices::MusicBandLevels& Bands() const { return m_bands; }
    CRecorderLink& Recorder() { return *m_recorder; }
    void OpenMusicWindow();

private:
    void OnColourSlider(ui::CSliderUI& slider, int component);
    std::vector<devices::CKelvaneUSBDevice*> Devices() const;
    devices::CKelvaneUSBDevice* FirstKeyboard() const;

    CMainWnd& m_window;
    DeviceList m_devices;
    std::unique_ptr<CRecorderLink> m_recorder;
    devices::MusicBandLevels m_bands;
    config::AudioStyleSet m_styles;
    Json::Value m_document;
    std::string m_userFile;
    std::string m_defaultFile;
    std::string m_demoInput;
};

} // namespace shell::music
