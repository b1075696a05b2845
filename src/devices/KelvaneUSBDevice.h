#pragma once
// CKelvaneUSBDevice: what the program knows of one physical device — its identity, its two
// command channels, the information block read from it, its folders, its LED list and the
// state of the software lighting engine — and the operations every device model offers. The
// keyboard, mouse, mouse pad and headset models derive from it and replace what they need.
// No toolkit here: the device's page is reached through IDevicePanel and IKeyButton.

#include "config/BasicProfiledata.h"
#include "devices/DevicePanel.h"
#include "devices/LightEngine.h"
#include "transport/DeviceComm.h"
#include "transport/DeviceSlot.h"

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace devices {

inline constexpr std::size_t kInfoBlockSize = transport::kDeviceInfoSize;
using DeviceInfoBlock = std::array<std::uint8_t, kInfoBlockSize>;
inline constexpr std::size_t kInfoKeyCountAt = 5;    // number of device keys
inline constexpr std::size_t kInfoMacroMemoryAt = 6; // macro memory in units of 128 bytes

inline constexpr std::size_t kPowerStatusSize = 6;
inline constexpr std::size_t kPowerWirelessAt = 3; // 1 through the receiver, 0 by cable
inline constexpr std::size_t kPowerLevelAt = 4;

inline constexpr std::size_t kFrameSize = 512;
inline constexpr int kFrameLedLimit = 170; // LED 170 and above never reach a frame

// One built-in effect of the mode list.
struct LightModeEntry {
    std::string name; // a text id
    bool visible = false;
    int value = 0; // the device's effect code
};

// A custom colour record (14 bytes, zeroed when the LED count changes).
using CustomColourRecord = std::array<std::uint8_t, 14>;

// The audio-lighting record: three 32-bit words holding nine bytes.
struct AudioLighting {
    std::uint32_t words[3] = {0, 0, 0};
};
// The record's nine bytes in order from the low byte of the first word.
AudioLighting PackAudioLighting(const config::AudioLightRecord& record);
config::AudioLightRecord UnpackAudioLighting(const AudioLighting& lighting);

class CKelvaneUSBDevice {
public:
    // profile: the profile-data object of the model (the base kind when none is given).
    explicit CKelvaneUSBDevice(transport::HidBackend* backend = nullptr,
                               std::unique_ptr<config::CBasicProfiledata> profile = nullptr);
    virtual ~CKelvaneUSBDevice();
    CKelvaneUSBDevice(const CKelvaneUSBDevice&) = delete;
    CKelvaneUSBDevice& operator=(const CKelvaneUSBDevice&) = delete;

    virtual std::string GetClass() const { return "KelvaneUSBDevice"; }
    // 1 keyboard, 2 mouse, 3 mouse pad, 7 headset; 0 in the base.
    virtual int GetDeviceKind() const { return 0; }

    // Set by the creator from the model tables.
    void SetPanelXml(const std::string& path) { m_panelXml = path; }
    const std::string& GetPanelXml() const { return m_panelXml; }
    void SetLightFilePrefix(const std::string& prefix) { m_lightFilePrefix = prefix; }
    const std::string& GetLightFilePrefix() const { return m_lightFilePrefix; }
    void SetDeviceName(const std::string& name) { m_deviceName = name; }
    const std::string& GetDeviceName() const { return m_deviceName; }
    void SetCurrentProfileId(const std::string& id) { m_currentProfileId = id; }
    const std::string& GetCurrentProfileId() const { return m_currentProfileId; }
    void SetKeyButtonCount(int count);
    int GetKeyButtonCount() const { return static_cast<int>(m_keyButtons.size()); }
    // Sizes the light buttons, the LED list and the custom colour records.
    void SetLedCount(int count);
    int GetLedCount() const { return static_cast<int>(m_leds.size()); }
    void SetModelRowIndex(int index) { m_modelRowIndex = index; }
    int GetModelRowIndex() const { return m_modelRowIndex; }
    void SetDataFileModelIndex(int index) { m_dataFileModelIndex = index; }
    int GetDataFileModelIndex() const { return m_dataFileModelIndex; }
    void SetReceiverCapable(bool capable) { m_receiverCapable = capable; }
    bool IsReceiverCapable() const { return m_receiverCapable; }
    void SetIdentity(const transport::DeviceSlot& slot) { m_identity = slot; }
    const transport::DeviceSlot& GetIdentity() const { return m_identity; }
    void SetPanel(IDevicePanel* panel) { m_panel = panel; }
    // The page of a device with keys or buttons to assign; nullptr for none.
    void SetView(IDevicePageView* view) { m_view = view; }
    void SetPowerItem(IPowerItem* item) { m_powerItem = item; }
    IPowerItem* GetPowerItem() const { return m_powerItem; }
    void SetNotificationTarget(INotificationTarget* target) { m_notificationTarget = target; }
    INotificationTarget* GetNotificationTarget() const { return m_notificationTarget; }
    // Which of its two connections a product with a cable and a receiver form is using.
    // Called whenever a connection is opened: the device may have lost the last frame (it was
    // unplugged or asleep), so the next one is sent whatever it holds.
    void SetUsingReceiver(bool on) {
        m_usingReceiver = on;
        ForgetLastFrame();
    }
    bool IsUsingReceiver() const { return m_usingReceiver; }

    transport::CDeviceComm& CommandChannel() { return m_command; }
    transport::CDeviceComm& EventChannel() { return m_event; }
    DeviceInfoBlock& InfoBlock() { return m_info; }
    const DeviceInfoBlock& InfoBlock() const { return m_info; }

    // The device's user data folder (created, with its parents, on first use) and the
    // default-data folder; both end with a slash. Empty when the folder cannot be made.
    std::string UserDataFolder() const;
    std::string DefaultDataFolder() const;
    // The shipped default profile document of this device.
    std::string DefaultProfilePath() const;

    // Binds the panel's buttons: "key_N" names key button N, user data "light_N" light button
    // N (made white at full brightness). Without a panel the lists are emptied.
    virtual void BindPanelControls(const std::vector<PanelButton>& buttons);
    IKeyButton* GetKeyButton(int index) const;
    IKeyButton* GetLightButton(int index) const;

    void SetLedColour(int index, const LedColour& colour);
    LedColour GetLedColour(int index) const;

    // Builds the frame (3 bytes per LED, each component × alpha >> 8) and sends it by cable
    // with command 0x12; through the receiver nothing is sent and the call counts as success.
    // A frame the device already has is sent again only once kFrameRepeatInterval has passed.
    // For kFramePauseAfterFailure after a failure no frame goes out and the failure is
    // answered at once. 1 on success, else the command's result.
    virtual int SendLightFrame();
    // How long a frame the device already shows is not sent again. Devices that fall back to
    // their own lighting when the host's frames stop still get one this often.
    static constexpr std::chrono::milliseconds kFrameRepeatInterval{1000};
    // A device that refused a frame gets a rest; the caller does not wait it out (a lighting
    // thread asked to stop ends at once).
    static constexpr std::chrono::milliseconds kFramePauseAfterFailure{200};
    using FrameClock = std::function<std::chrono::steady_clock::time_point()>;
    // The clock of the repeat rule (steady_clock by default); tests move their own.
    void SetFrameClock(FrameClock clock) { m_frameClock = std::move(clock); }
    // The 512-byte frame of the current LED list (after taking the light buttons' colours).
    std::array<std::uint8_t, kFrameSize> BuildLightFrame();

    // The seven base effect steps: one frame into the LED list.
    virtual void StepBreathing();
    virtual void StepBreathingFourColours();
    virtual void StepStatic();
    virtual void StepSpectrumCycle();
    virtual void StepFlash(std::uint32_t nowMs);
    virtual void StepFlashFourColours(std::uint32_t nowMs);
    virtual void StepOff();
    // One decay step of an on-screen key's intensity for the effect; returns the new value.
    std::uint8_t DecayKey(int key, int effect);
    void ClearEffectBuffers();
    EffectState& GetEffectState() { return m_effect; }
    LightSettings& GetLightSettings() { return m_light; }

    // Lighting control: whether this program drives the lighting. A keyboard tells the device.
    virtual void TakeLightingControl(bool on);
    bool HasLightingControl() const { return m_lightControl; }
    // The main window tells its devices whether it is shown and whether it is active or under
    // the pointer; a device repaints its on-screen keys only then.
    void SetWindowShown(bool shown);
    bool IsWindowShown() const { return m_windowShown; }
    // Whether the device's page is the current one in the window. A preview is rendered only
    // while the page is current and the window shown, unless frames are streamed anyway.
    void SetPreviewShown(bool shown);
    bool IsPreviewShown() const { return m_previewShown; }
    // Someone looks at the preview: the device's page is current in a shown window that is
    // active or under the pointer (a window left in the background keeps its last frame).
    bool IsPreviewWatched() const { return m_previewShown && m_windowShown && m_windowHovered; }
    // Called on the rendering thread after a frame was rendered while the preview is watched,
    // and after a synchronised frame arrived; the window turns it into one coalesced repaint
    // (or frame) on the UI thread. Once this returns the previous listener is not called.
    void SetFrameListener(std::function<void()> listener);
    // UI thread: the LED list onto the visible light buttons.
    void PaintPreview();
    // A frame of the light synchronisation thread: every LED in red | green << 8 | blue << 16
    // | intensity << 24 (red in the low byte). The base shows it on the light buttons with the
    // next frame, which the listener asks for at once.
    virtual void ShowSyncFrame(std::uint32_t packed);
    void SetWindowHovered(bool hovered);
    bool IsWindowHovered() const { return m_windowHovered; }

    // Shows the function page of the panel: 2, 6 key sub-page 1; 3, 8 function page 1; 4
    // function page 3 (keyboard and mouse; otherwise as 7); 5 function page 2; 7 key sub-page
    // 2; any other key sub-page 0. A key sub-page shows function page 0 first.
    virtual void SetFunctionPage(int type);
    int GetFunctionPage() const { return m_functionPage; }

    // The mode, area and custom effect lists of this model: "default_light.json" in the
    // default-data folder and the user's light-effect list file.
    virtual void LoadLists();
    const std::vector<LightModeEntry>& GetModeList() const { return m_modeList; }
    const std::vector<std::string>& GetAreaList() const { return m_areaList; }
    const std::vector<std::string>& GetCustomList() const { return m_customList; }

    void SetCustomColourMap(const std::vector<CustomColourRecord>& map);
    std::vector<CustomColourRecord> GetCustomColourMap() const;

    virtual void SetLightParams(std::uint8_t mode, std::uint8_t brightness, std::uint8_t speed,
                                std::uint8_t direction, std::uint32_t wide, std::uint16_t narrow);
    // The light fields as the profile keeps them: mode, brightness, speed, direction, then the
    // multi-colour flag and the colour, then six bytes whose last keeps the mode a game event
    // interrupted.
    virtual config::LightInfoRecord GetLightFields() const;
    // Stores them (the keyboard also into its profile).
    virtual void SetLightFields(const config::LightInfoRecord& fields);
    virtual void SetAudioLighting(const AudioLighting& lighting);
    AudioLighting GetAudioLighting() const;
    virtual void SelectKey(int index) { m_selectedKey = index; }
    // Key or button `index`'s record (a default record when there is none), and the panel's
    // new record for it, kept in the profile, which is saved: false for a key the profile
    // does not hold. The base has no keys.
    virtual KeyRecord GetKeyRecord(int /*index*/) const { return {}; }
    virtual bool SetKeyRecord(int /*index*/, const KeyRecord& /*record*/) { return false; }
    int GetSelectedKey() const { return m_selectedKey; }
    virtual void SetModelIndex(int index) { m_modelIndex = index; }
    int GetModelIndex() const { return m_modelIndex; }

    // Replaced by the device models; the base does nothing or reports nothing done.
    virtual void ApplyProfileLighting() {}
    virtual int ReadAllFromDevice() { return 0; }
    // The device answers again after it was away (unplugged, asleep behind its receiver, or
    // through a system sleep) and may have lost its settings: as ReadAllFromDevice, except
    // that the device's state is not taken into the profile, which the window sends next.
    virtual int ReconnectForProfile() { return ReadAllFromDevice(); }
    virtual int ReadStateFromDevice() { return 0; }
    virtual void ReadPowerStatus() {}
    virtual bool CheckReceiverLink() { return true; }
    virtual void ReloadProfile() {}
    virtual void RefreshPanels() {}
    virtual void ClearMissingMacroKeys() {}
    virtual void LoadDefaultProfile() {}
    virtual int WriteKeyTable() { return 0; }
    virtual int DownloadMacros() { return 0; }
    // The user's macro library changed (a macro added, renamed, deleted or imported): the
    // device gets the macros its keys use again. DownloadMacros' result.
    virtual int MacroLibraryChanged() { return DownloadMacros(); }
    // Deleting library macro `position`: the keys whose assignment names it; then every key
    // naming it gets its default back and those naming a later macro the one before. When a
    // key changed the list is stored in the profile and sent; true then.
    virtual std::vector<int> KeysNamingMacro(int /*position*/) const { return {}; }
    virtual bool ShiftMacroKeys(int /*position*/) { return false; }
    virtual int WriteLightBlock() { return 0; }
    // The selected profile's data: its file is the user data folder + the current profile id +
    // ".Json", its light-effect list the user data folder + the light file prefix + ".config",
    // its defaults the shipped document of this device.
    virtual void SetProfilePaths();
    config::CBasicProfiledata& ProfileData() { return *m_profile; }
    virtual std::string ProfileName() const { return {}; }
    virtual void StoreProfile() {}
    virtual void SetMusicSpectrum(const std::array<std::int32_t, 25>&) {}
    virtual void SetMusicSettings(const std::array<std::int32_t, 6>&) {}
    // The notification thread of the event channel of `kind` (1 cable, 9 receiver): started
    // once the channel is open, stopped before it is closed. The base has none.
    virtual void StartNotificationThread(std::uint16_t /*kind*/) {}
    virtual void StopNotificationThread(std::uint16_t /*kind*/) {}

protected:
    // Tells the frame listener.
    void NotifyFrame();
    // The window or the page became watched or unwatched.
    virtual void WatchChanged() {}
    static LedColour UnpackSyncColour(std::uint32_t packed);

    // Sends frame bytes with command 0x12, unless they are the last ones sent less than
    // kFrameRepeatInterval ago (then 1) or a failure came less than kFramePauseAfterFailure
    // ago (then that failure's result).
    int WriteLightFrame(std::span<const std::uint8_t> bytes);
    // The next frame goes out whatever it holds, also during a pause.
    void ForgetLastFrame();
    // The keyboard's and the mouse's power read: the 6-byte status of command 0x1A at offset
    // 0, its wireless byte set by the connection in use, handed to the power item. Only while
    // the command channel is open and the device answers. The command's result, or 0 when
    // nothing was asked. The status read goes into `read` too when given.
    int ReadPowerStatusRecord(std::array<std::uint8_t, kPowerStatusSize>* read = nullptr);

    transport::CDeviceComm m_command;
    transport::CDeviceComm m_event;
    DeviceInfoBlock m_info{};
    std::string m_panelXml;
    std::string m_lightFilePrefix;
    std::string m_deviceName;
    std::string m_currentProfileId;
    std::vector<IKeyButton*> m_keyButtons;
    std::vector<IKeyButton*> m_lightButtons;
    std::vector<LedColour> m_leds;
    int m_modelRowIndex = -1;
    int m_selectedKey = -1;
    int m_functionPage = 1;
    int m_dataFileModelIndex = 0;
    int m_modelIndex = 0;
    bool m_receiverCapable = false;
    std::atomic<bool> m_lightControl{true};
    bool m_usingReceiver = false;
    std::atomic<bool> m_windowShown{false};
    std::atomic<bool> m_previewShown{false};
    // Held by whoever renders into or reads the LED list and the effect state across threads.
    mutable std::mutex m_renderLock;
    std::mutex m_frameListenerLock;
    std::function<void()> m_frameListener;
    // A synchronised colour waiting for the next frame, with kSyncPending set.
    static constexpr std::uint64_t kSyncPending = std::uint64_t{1} << 32;
    std::atomic<std::uint64_t> m_syncColour{0};
    std::atomic<bool> m_windowHovered{false};
    transport::DeviceSlot m_identity;
    IDevicePanel* m_panel = nullptr;
    IDevicePageView* m_view = nullptr;
    IPowerItem* m_powerItem = nullptr;
    INotificationTarget* m_notificationTarget = nullptr;

    // The last frame the device took and when; empty when it must be sent again.
    std::mutex m_lastFrameLock;
    std::vector<std::uint8_t> m_lastFrame;
    std::chrono::steady_clock::time_point m_lastFrameAt;
    std::optional<std::chrono::steady_clock::time_point> m_framesPausedUntil;
    int m_pausedResult = 0;
    FrameClock m_frameClock = [] { return std::chrono::steady_clock::now(); };

    LightSettings m_light{};
    std::uint32_t m_lightWide = 0;
    std::uint16_t m_lightNarrow = 0;
    config::LightInfoRecord m_lightFields{};
    EffectState m_effect;

    mutable std::mutex m_customColourLock;
    std::vector<CustomColourRecord> m_customColours;
    mutable std::mutex m_audioLightingLock;
    AudioLighting m_audioLighting;

    std::unique_ptr<config::CBasicProfiledata> m_profile;
    std::vector<LightModeEntry> m_modeList;
    std::vector<std::string> m_areaList;
    std::vector<std::string> m_customList;
};

} // namespace devices
