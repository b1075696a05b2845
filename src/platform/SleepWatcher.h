#pragma once
// Tells the program when the system goes to sleep and when it wakes, from logind's
// PrepareForSleep signal on the system bus.

#include <QDBusConnection>
#include <QObject>
#include <functional>

namespace platform {

class SleepWatcher : public QObject {
    Q_OBJECT
public:
    // goingToSleep: true before the system sleeps, false once it has woken. Returns false when
    // there is no system bus (no sleep reports then). `bus` stands in for the system bus.
    bool Watch(std::function<void(bool goingToSleep)> onSleep,
               QDBusConnection bus = QDBusConnection::systemBus());

private slots:
    void PrepareForSleep(bool start);

private:
    std::function<void(bool)> m_onSleep;
};

} // namespace platform
