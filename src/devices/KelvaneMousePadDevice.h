#pragma once
// CKelvaneMousePadDevice: the lighted mouse pad (cable only). Its one setting is its lighting,
// held in the pad's light block (PadLightBlock.h); the device keeps the block last read,
// refreshes its light bytes from the profile, writes it back, follows the pad's resync
// notification and draws the preview of the pad's effects.
//
// Results: 1 success; 0 nothing done (command channel not open); any other value is the
// failing command's result (DeviceComm.h).

#include "devices/KelvaneUSBDevice.h"
#include "devices/LightingLoop.h"
#include "devices/LightingThread.h"
#include "devices/NotificationThread.h"
#include "devices/PadLightBlock.h"

#include <cstdint>
#include <vector>

namespace devices {

// The device item reads the pad's state again this long after the pad asks for it.
inline constexpr int kPadResyncDelayMs = 500;

class CKelvaneMousePadDevice : public CKelvaneUSBDevice, private ILightingTarget {
public:
    explicit CKelvaneMousePadDevice(transport::HidBackend* backend = nullptr);
    // Stops the notification thread, then the preview thread.
    ~CKelvaneMousePadDevice() override;

    std::string GetClass() const override { return "KelvaneMousePadDevice"; }
    int GetDeviceKind() const override { return transport::kKindMousePad; }

    // ---- Light block ----

    // The page and the light block of that page: 1 byte at 0, then 26 bytes at 25 × page,
    // of which the first 21 become the block, its byte 0 the page. The light state and the profile
    // (saved) take the block's light fields; the direction keeps the profile's. Clears the light
    // pause first. A failed read (or a closed channel) changes nothing.
    int ReadStateFromDevice() override;
    // The block as 0x01, 0x06 (21 bytes at 64 × page) and 0x02. The write's result: 0 when
    // the channel is closed (nothing sent).
    int Apply(int page);
    // Page 0, as every caller writes it.
    int WriteLightBlock() override { return Apply(0); }
    const PadLightBlock& LightBlock() const { return m_block; }
    // The page the pad reported last.
    int GetPage() const { return m_block[padblock::kPageAt]; }

    // ---- Light fields and profile ----

    // The profile's light info into the light state and the block's light bytes.
    void ApplyProfileLighting() override;
    config::LightInfoRecord GetLightFields() const override;
    // Into the light state, the block and the profile (not saved).
    void SetLightFields(const config::LightInfoRecord& fields) override;
    void SetLightParams(std::uint8_t mode, std::uint8_t brightness, std::uint8_t speed,
                        std::uint8_t direction, std::uint32_t wide, std::uint16_t narrow) override;
    void ReloadProfile() override;
    // The light lists, then the page's panels.
    void RefreshPanels() override;
    void StoreProfile() override { ProfileData().SaveProfile(); }

    // ---- Whole device ----

    // 0x01, 0x03 into the information block, 0x02 while the channel is open. The result of
    // the information read; 0 when the channel is closed.
    int Connect();
    // Connect, the profile, the device state, the lists; then the preview thread (restarted).
    // Connect's result when it failed, else the state read's.
    int ReadAllFromDevice() override { return Reconnect(true); }
    int ReconnectForProfile() override { return Reconnect(false); }

    // ---- Notifications ----

    // The thread of the pad's event channel (kind 3); other kinds have none.
    void StartNotificationThread(std::uint16_t kind) override;
    void StopNotificationThread(std::uint16_t kind) override;
    bool IsNotificationThreadRunning() const { return m_notifications.IsRunning(); }
    // What one usage does; called on the thread. 0x0401: a state read by the item after
    // kPadResyncDelayMs.
    void HandleUsage(std::uint16_t usage);

    // ---- Preview ----

    void StartPreviewThread();
    void StopPreviewThread();
    bool IsPreviewThreadRunning() const { return m_previewThread.IsRunning(); }
    // The loop the thread runs; tests run their own over it with their clock.
    ILightingTarget& LightingTarget() { return *this; }
    // One frame of the current mode into the LED list.
    void StepEffect(std::uint32_t nowMs);
    // The pad runs its effects itself from its light block: frames would override them.
    bool StreamsFrames() const override { return false; }

private:
    // ReadAllFromDevice, with the device's state taken into the profile or not.
    int Reconnect(bool takeState);
    // ILightingTarget, for the lighting loop.
    bool LightChannelOpen() const override { return m_command.open; }
    bool LightPaused() const override { return m_command.lightPause; }
    bool PreviewWatched() const override { return IsPreviewWatched(); }
    int CurrentStepTicks() const override;
    void RenderFrame(std::uint32_t nowMs) override;
    void WatchChanged() override { m_previewThread.Wake(LightingWake::kChange); }

    std::vector<int> ModeCodes() const;
    // The record into the light state and the block, without touching the profile.
    void TakeLightInfo(const config::LightInfoRecord& record);

    PadLightBlock m_block{};
    CLightingLoop m_previewLoop{LightingTarget()};
    CLightingThread m_previewThread{m_previewLoop, "MS灯光线程设定退出"};
    // Last, so that its thread ends before anything it uses goes.
    CNotificationThread m_notifications{"MS设备同步线程设定退出"};
};

} // namespace devices
