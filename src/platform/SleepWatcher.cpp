#include "platform/SleepWatcher.h"

#include <QDBusConnection>

namespace platform {

bool SleepWatcher::Watch(std::function<void(bool)> onSleep, QDBusConnection bus) {
    m_onSleep = std::move(onSleep);
    return bus.isConnected() &&
           bus.connect(QStringLiteral("org.freedesktop.login1"),
                       QStringLiteral("/org/freedesktop/login1"),
                       QStringLiteral("org.freedesktop.login1.Manager"),
                       QStringLiteral("PrepareForSleep"), this, SLOT(PrepareForSleep(bool)));
}

void SleepWatcher::PrepareForSleep(bool start) {
    if (m_onSleep)
        m_onSleep(start);
}

} // namespace platform
