// The device item's timers: the device's periodic work.

#include "devices/KelvaneUSBDevice.h"
#include "platform/DebugLog.h"
#include "shell/Messages.h"
#include "shell/selector/DeviceOptionUI.h"
#include "ui/PaintManagerUI.h"
#include "ui/WindowWnd.h"

#include <QApplication>
#include <QMetaObject>
#include <QPointer>
#include <QWidget>

namespace shell {

void CDeviceOptionUI::DoTimer(int id) {
    if (ui::CPaintManagerUI* pm = GetManager())
        pm->KillTimer(this, id);
    switch (id) {
    case kTimerLightFrame:
        OnLightFrame();
        break;
    case kTimerRefresh:
        OnRefresh();
        if (m_refreshWatch)
            m_refreshWatch(false);
        break;
    case kTimerReadState:
        if (m_device)
            m_device->ReadStateFromDevice();
        break;
    case kTimerReserved1:
    case kTimerReserved2:
        break; // the device models define nothing for these
    case kTimerPower:
        OnPower();
        break;
    case kTimerLinkWatch:
        OnLinkWatch();
        break;
    default:
        ui::CHorizontalLayoutUI::DoTimer(id);
        break;
    }
}

bool CDeviceOptionUI::WorksThroughReceiver() const {
    return m_device && m_device->CommandChannel().IsReceiverMode();
}

// A device with a battery: one made for a receiver, or one working through its receiver now
// (the keyboard's model is not marked for one, yet its receiver form runs on battery).
bool CDeviceOptionUI::ReadsPower() const {
    return m_device && m_device->CommandChannel().open &&
           (m_device->IsReceiverCapable() || WorksThroughReceiver());
}

// Without a main window the item shows or hides itself.
void CDeviceOptionUI::TellMainWindow(bool linked) {
    if (!linked && m_linkLost)
        m_linkLost();
    if (!m_mainWnd) {
        SetVisible(linked);
        return;
    }
    m_mainWnd->SendMessage(UM_RECEIVER_STATE, static_cast<ui::WPARAM>(m_device->GetModelRowIndex()),
                           linked ? 1 : 0);
}

// The keyboard's lighting thread renders and streams its frames.
bool CDeviceOptionUI::StreamsOnItsOwn() const {
    return m_device && m_device->GetDeviceKind() == transport::kKindKeyboard;
}

// Frames run only while the command channel is open; closing it ends the chain.
void CDeviceOptionUI::OnLightFrame() {
    if (!m_device || StreamsOnItsOwn() || !m_device->CommandChannel().open)
        return;
    // The rendered colours go onto the page's previews first: the frame is built from what
    // the light buttons show.
    if (IsSelected() && WindowAttended()) {
        m_device->PaintPreview();
        if (m_keyArea)
            m_keyArea->Invalidate();
    }
    m_device->SendLightFrame();
    if (m_device->CommandChannel().open)
        Arm(kTimerLightFrame, m_device->IsPreviewWatched() ? kLightFrameMs : kIdleFrameMs);
}

void CDeviceOptionUI::SetPreviewShown(bool shown) {
    if (!m_device)
        return;
    m_device->SetPreviewShown(shown);
    // The window may have been shown before: the item compares with what it saw last.
    const bool watched = m_device->IsPreviewWatched();
    const bool cameIntoView = watched && !m_watched;
    m_watched = watched;
    // A page coming into view gets its frames at the watched pace from now on.
    if (cameIntoView && m_framesStarted && !StreamsOnItsOwn() && m_device->CommandChannel().open)
        Arm(kTimerLightFrame, kLightFrameMs);
}

// Called on the rendering thread: it touches nothing of the item, which may be gone by the
// time the UI thread takes the call.
std::function<void()> CDeviceOptionUI::FrameListener() {
    return [this, self = QPointer<QWidget>(GetWidget()), posted = m_framePosted] {
        if (posted->exchange(true))
            return; // one is on its way: it shows the latest frame
        QMetaObject::invokeMethod(
            qApp,
            [this, self, posted] {
                posted->store(false);
                if (self)
                    OnFramePosted();
            },
            Qt::QueuedConnection);
    };
}

bool CDeviceOptionUI::IsFramePosted() const {
    return m_framePosted->load();
}

void CDeviceOptionUI::OnFramePosted() {
    if (!m_device)
        return;
    if (StreamsOnItsOwn()) {
        // Each key repaints itself when its colour changes; the rest of the area stays.
        m_device->PaintPreview();
        return;
    }
    if (ui::CPaintManagerUI* pm = GetManager())
        pm->KillTimer(this, kTimerLightFrame);
    OnLightFrame();
}

void CDeviceOptionUI::OnRefresh() {
    if (!m_device)
        return;
    if (WorksThroughReceiver()) {
        if (!m_device->CheckReceiverLink()) {
            if (++m_linkFailures >= kFailureWrap)
                m_linkFailures = 0;
            if (GetVisibleFlag())
                TellMainWindow(false);
            Arm(kTimerRefresh, kLinkRetryMs);
            return;
        }
        if (m_mainWnd)
            TellMainWindow(true);
    }
    if (m_answering && m_answering())
        m_device->ReconnectForProfile();
    else
        m_device->ReadAllFromDevice();
    ShowConnection(); // a keyboard may have changed from its cable to its receiver
    m_linkFailures = 0;
    m_framesStarted = true;
    if (!StreamsOnItsOwn())
        Arm(kTimerLightFrame, kLightFrameMs);
    if (ReadsPower())
        Arm(kTimerPower, kFirstPowerMs);
    else if (devices::IPowerItem* power = m_device->GetPowerItem())
        power->ShowNoPowerStatus(); // a keyboard back on its cable has no battery to show
    if (WorksThroughReceiver())
        Arm(kTimerLinkWatch, kFirstLinkWatchMs);
}

void CDeviceOptionUI::OnPower() {
    if (!m_device)
        return;
    m_device->ReadPowerStatus();
    if (ReadsPower())
        Arm(kTimerPower, kPowerMs);
}

void CDeviceOptionUI::OnLinkWatch() {
    if (!m_device)
        return;
    if (!WorksThroughReceiver()) {
        platform::DebugLine("2.4gcesvdfherhue  12312423");
        return;
    }
    const bool linked = m_device->CheckReceiverLink();
    if (linked && !GetVisibleFlag()) {
        TellMainWindow(true);
        if (m_answering)
            m_answering();
        if (m_device->IsReceiverCapable())
            m_device->ReadPowerStatus();
        platform::DebugLine("2.4gcesvdfherhue  12312423 123342341");
    } else if (!linked && GetVisibleFlag()) {
        TellMainWindow(false);
        platform::DebugLine("2.4gcesvdfherhue");
    }
    Arm(kTimerLinkWatch, kLinkWatchMs);
}

} // namespace shell
