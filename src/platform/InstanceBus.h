#pragma once
// The program on the D-Bus session bus: the name org.quarin.Z17Keyboard is the single-instance
// guard, and the object /org/quarin/Z17Keyboard (interface org.quarin.Z17Keyboard) is how
// other programs talk to the running instance.

#include <QObject>
#include <QString>
#include <functional>

namespace platform {

inline constexpr const char* kBusName = "org.quarin.Z17Keyboard";
inline constexpr const char* kObjectPath = "/org/quarin/Z17Keyboard";
inline constexpr const char* kInterface = "org.quarin.Z17Keyboard";

class InstanceBus : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.quarin.Z17Keyboard")

public:
    enum class Claim {
        Owned,           // this process is the instance
        AnotherInstance, // another process owns the name
        NoBus,           // no session bus: run without the guard
    };

    // Exports this object and asks for the bus name.
    Claim ClaimName();
    // Asks the running instance to come forward; false when it could not be reached.
    static bool ActivateRunningInstance(QString* error = nullptr);

    // Called on the UI thread when another program calls Activate.
    std::function<void()> onActivate;

public slots:
    // Restore and raise the window.
    void Activate();
};

} // namespace platform
