#pragma once
// CKelvaneMouseDevice: the gaming mouse, by cable or through its 2.4 GHz receiver. Beside the
// base device it keeps the mouse's key table and the slots of its on-screen buttons, its DPI
// scale, the profile's DPI stages and system words, and it writes the configuration block
// (lighting, report rate, DPI stages, screen size, pointer correction) into the mouse.
//
// Results: 1 success; 0 nothing done (command channel not open, the mouse not answering
// behind its receiver, or a failed read).

#include "config/MouseProfiledata.h"
#include "devices/KelvaneUSBDevice.h"
#include "devices/LightingLoop.h"
#include "devices/LightingThread.h"
#include "devices/MouseButtonMap.h"
#include "devices/MouseConfigBlock.h"
#include "devices/MouseDpi.h"
#include "devices/MouseNotifications.h"
#include "devices/MousePreview.h"
#include "devices/RecordedEffect.h"

#include <array>
#include <cstdint>
#include <random>
#include <span>
#include <vector>

namespace devices {

inline constexpr std::size_t kMouseKeyTableSize = 512;

class CKelvaneMouseDevice : public CKelvaneUSBDevice, private ILightingTarget {
public:
    explicit CKelvaneMouseDevice(transport::HidBackend* backend = nullptr);
    // Stops the preview thread, then the cable's and the receiver's notification threads.
    ~CKelvaneMouseDevice() override;

    config::CMouseProfiledata& Profile() {
        return static_cast<config::CMouseProfiledata&>(ProfileData());
    }
    std::string GetClass() const override { return "KelvaneMouseDevice"; }
    int GetDeviceKind() const override { return transport::kKindMouse; }
    void ReadPowerStatus() override { ReadPowerStatusRecord(); }

    // Whether the mouse answers behind its receiver (0xAA); true by cable, false while the
    // channel is closed.
    bool CheckReceiverLink() override;

    // ---- Connection ----

    // 0x01, 0x03, then 0x07 for the buttons the mouse reports and 0x02; builds the button map
    // and the DPI scale. A mouse reporting more buttons than the table holds, or a failed
    // read, ends it there and the previous tables stay. 1 when the tables were read.
    int ReadDeviceTables();
    // The tables, the profile, the device state, the panels; then the preview thread
    // (restarted). The tables' result when they failed, else the state read's.
    int ReadAllFromDevice() override { return Reconnect(true); }
    int ReconnectForProfile() override { return Reconnect(false); }
    // The current page (1 byte at 0) and its 71-byte block: light mode, brightness, speed,
    // multicolour and colour into the light state (the direction stays), byte 12 as the
    // current DPI stage; both kept in the profile, which is saved. A failed read changes
    // nothing.
    int ReadStateFromDevice() override;
    int GetCurrentPage() const { return m_page; }
    const MouseStateBlock& StateBlock() const { return m_stateBlock; }

    const DpiScale& GetDpiScale() const { return m_dpiScale; }
    int GetDeviceButtonCount() const { return InfoBlock()[kInfoKeyCountAt]; }
    const std::array<std::uint8_t, kMouseKeyTableSize>& DeviceKeyTable() const {
        return m_keyTable;
    }
    const MouseButtonMap& ButtonMap() const { return m_buttonMap; }

    // ---- Configuration block ----

    // The block of the current light state, system words, current stage, stage list and the
    // profile's correction list.
    MouseConfigBlock BuildConfigBlock(std::uint8_t firstByte, std::uint8_t byte59,
                                      std::uint16_t screenWidth, std::uint16_t screenHeight);
    // Writes that block at page × 128: 0x01, 0x06, 0x02, each through the receiver only after
    // the mouse answered a link check (else 0 and nothing more is sent).
    int Apply(int page, std::uint8_t firstByte, std::uint8_t byte59, std::uint16_t screenWidth,
              std::uint16_t screenHeight);
    // The primary screen's size, given by the window (the block carries it).
    void SetScreenSize(std::uint16_t width, std::uint16_t height);
    // Apply(0, 0, 1, the screen size).
    int WriteLightBlock() override;

    // ---- Buttons and macros ----

    // On-screen button j's record at j, as the profile's "KeyList" holds them.
    const std::vector<KeyRecord>& GetButtonList() const { return m_buttons; }
    // Button j's record; one holding j's factory code when the profile has none.
    KeyRecord GetKeyRecord(int button) const override;
    // Kept in the button list and the profile, which is saved; sent by WriteKeyTable.
    bool SetKeyRecord(int button, const KeyRecord& record) override;
    // Stores the button and shows its assignment.
    void SelectKey(int index) override;
    // Whether button j is the only one left clicking: the mouse could not be used any more
    // if it got another function.
    bool IsSoleLeftClick(int button) const;
    std::vector<int> KeysNamingMacro(int position) const override;
    // The buttons naming later macros follow the deleted one; stored, saved and sent.
    bool ShiftMacroKeys(int position) override;
    // Stored into the profile (not saved).
    void SetButtonList(const std::vector<KeyRecord>& buttons);
    // The key table as read at connection with every present button's assignment in its slot
    // (MouseButtonTable.h): 0x03, then 0x01, 0x09 and 0x02, through the receiver only while the
    // mouse answers its link check (before the information, the begin and the end). Page must
    // be 0 (else -201, nothing sent). 1 when written.
    int DownloadButtons(int page, std::span<const KeyRecord> buttons);
    // The profile's buttons, page 0.
    int WriteKeyTable() override;
    // The library macros the present buttons use, in the order the mouse numbers them.
    std::vector<int> UsedMacroList() const;
    // The used macros as one image into the macro memory (MacroImage.h): 0x03 for the memory
    // size, then 0x01, 0x15 and 0x02 each after a link check through the receiver. A macro
    // whose entry or file is missing goes as an empty block. The keyboard's results:
    // kMacroDownloadDone when written, with nothing to write, or when nothing could be sent now
    // (channel closed, mouse not answering, library unreadable: the next apply sends again);
    // kMacroDownloadFailed when the write failed; above 0 the overflow, nothing sent.
    int DownloadMacros() override;
    int DownloadMacros(const std::vector<int>& libraryIndexes);
    // The recoil image (ShootDownload.h) with 0x17 between begin and end, each after a link
    // check through the receiver. 1 when written; 0 when the channel is closed, the mouse does
    // not answer or the write failed.
    int DownloadShoot(std::span<const std::uint8_t> image);

    // ---- Profile ----

    // The stage list, the current stage, the system words and the light state from the
    // selected profile.
    void ReloadProfile() override;
    void StoreProfile() override { Profile().SaveProfile(); }
    // The light lists of the device's section, then the page's panels.
    void RefreshPanels() override;
    const std::vector<DpiStageRecord>& GetStageList() const { return m_stages; }
    // Stored into the profile (not saved).
    void SetStageList(const std::vector<DpiStageRecord>& stages);
    int GetCurrentDpiStage() const { return m_currentStage; }
    // Stored into the profile's "StageActive" (not saved).
    void SetCurrentDpiStage(int stage);
    const config::SystemStageWords& GetSystemRecord() const { return m_system; }
    // Stored into the profile (not saved).
    void SetSystemRecord(const config::SystemStageWords& system);

    // ---- Light fields ----

    // The light state, under the preview's lock; a change wakes the preview.
    config::LightInfoRecord GetLightFields() const override;
    void SetLightFields(const config::LightInfoRecord& fields) override;
    void SetLightParams(std::uint8_t mode, std::uint8_t brightness, std::uint8_t speed,
                        std::uint8_t direction, std::uint32_t wide, std::uint16_t narrow) override;

    // ---- Notifications ----

    // The threads of the cable's (kind 2) and the receiver's (kind 6) event channels; other
    // kinds have none.
    void StartNotificationThread(std::uint16_t kind) override;
    void StopNotificationThread(std::uint16_t kind) override;
    bool IsNotificationThreadRunning(std::uint16_t kind) const {
        return m_notifications.IsRunning(kind);
    }
    // A click reported by cable: in the reactive mode every LED lights up on a random wheel
    // entry and fades out with the next frames.
    void LightReactive();
    // UI thread: the mouse chose profile page `page` and, unless `stage` is -1, DPI stage
    // `stage` itself; then the panels are refreshed.
    void FollowDeviceSwitch(int page, int stage);

    // ---- Preview ----

    void StartPreviewThread();
    void StopPreviewThread();
    bool IsPreviewThreadRunning() const { return m_previewThread.IsRunning(); }
    // The loop the thread runs; tests run their own over it with their clock.
    ILightingTarget& LightingTarget() { return *this; }
    // One frame of the current mode into the LED list.
    void StepEffect(std::uint32_t nowMs);
    // The mouse runs its effects itself from its configuration block: the preview only draws.
    bool StreamsFrames() const override { return false; }

private:
    // ReadAllFromDevice, with the device's state taken into the profile or not.
    int Reconnect(bool takeState);
    std::vector<int> ModeCodes() const;

    // ILightingTarget, for the lighting loop.
    bool LightChannelOpen() const override { return m_command.open; }
    bool LightPaused() const override { return m_command.lightPause; }
    bool PreviewWatched() const override { return IsPreviewWatched(); }
    int CurrentStepTicks() const override;
    void RenderFrame(std::uint32_t nowMs) override;
    void WatchChanged() override { m_previewThread.Wake(LightingWake::kChange); }

    std::array<std::uint8_t, kMouseKeyTableSize> m_keyTable{};
    MouseButtonMap m_buttonMap{};
    DpiScale m_dpiScale;
    std::vector<KeyRecord> m_buttons;
    std::vector<DpiStageRecord> m_stages;
    int m_currentStage = 0;
    config::SystemStageWords m_system;
    int m_page = 0;
    MouseStateBlock m_stateBlock{};
    std::uint16_t m_screenWidth = 0;
    std::uint16_t m_screenHeight = 0;

    // The preview, under the render lock: the reactive fade of each LED and its dice.
    std::vector<MouseFade> m_fades;
    std::minstd_rand m_random;
    CRecordedEffect m_recorded;
    CLightingLoop m_previewLoop{LightingTarget()};
    CLightingThread m_previewThread{m_previewLoop, "MS灯光线程设定退出"};
    // Last, so that their threads end before anything they use goes.
    CMouseNotifications m_notifications{*this};
};

} // namespace devices
