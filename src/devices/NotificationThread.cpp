#include "devices/NotificationThread.h"

#include "platform/DebugLog.h"

#include <vector>

namespace devices {

using transport::CHidChannel;

CNotificationThread::CNotificationThread(std::string exitLog) : m_exitLog(std::move(exitLog)) {}

CNotificationThread::~CNotificationThread() {
    Stop();
}

void CNotificationThread::Start(CHidChannel& channel, Handler handler) {
    Stop();
    {
        const std::lock_guard lock(m_mutex);
        m_stop = false;
        m_channel = &channel;
    }
    m_thread =
        std::thread([this, &channel, handler = std::move(handler)] { Run(channel, handler); });
}

void CNotificationThread::Stop() {
    if (!m_thread.joinable())
        return;
    CHidChannel* channel;
    {
        const std::lock_guard lock(m_mutex);
        m_stop = true;
        channel = m_channel;
    }
    m_stopped.notify_all();
    // The read has no time limit: only its cancel ends it. A cancel that comes before the
    // read starts ends the next one.
    if (channel)
        channel->Cancel();
    m_thread.join();
    const std::lock_guard lock(m_mutex);
    m_channel = nullptr;
}

bool CNotificationThread::IsRunning() const {
    return m_thread.joinable();
}

bool CNotificationThread::StopRequested() {
    const std::lock_guard lock(m_mutex);
    return m_stop;
}

void CNotificationThread::WaitForStop() {
    std::unique_lock lock(m_mutex);
    m_stopped.wait(lock, [this] { return m_stop; });
}

std::uint16_t CNotificationThread::FirstButtonUsage(CHidChannel& channel) {
    for (const transport::HidReportItem& item :
         channel.GetReportItems(transport::HidReportType::Input)) {
        if (!item.isButton || !item.isSet)
            continue;
        return item.usages.empty() ? 0 : item.usages.front();
    }
    return 0;
}

void CNotificationThread::Run(CHidChannel& channel, const Handler& handler) {
    std::vector<std::uint8_t> report;
    // A stop that came before the previous thread's read leaves its cancel behind for the
    // next read on the channel: one failed read is read again.
    bool failedBefore = false;
    while (!StopRequested()) {
        const std::size_t length = channel.GetInputReportByteLength();
        std::uint32_t bytes = 0;
        report.assign(length, 0);
        if (length == 0 ||
            channel.Read(report.data(), report.size(), &bytes, CHidChannel::kInfinite) != 1) {
            if (length != 0 && !failedBefore) {
                failedBefore = true;
                continue;
            }
            // Closed or gone: the owner stops the thread (a lost interface is reported by
            // the scan); reading again would only fail again at once.
            WaitForStop();
            break;
        }
        failedBefore = false;
        if (StopRequested())
            break;
        channel.UnpackInputReport(report.data(), bytes);
        handler(FirstButtonUsage(channel));
    }
    platform::DebugLine(m_exitLog);
}

} // namespace devices
