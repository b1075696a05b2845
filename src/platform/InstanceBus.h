#pragma once
// The program on the D-Bus session bus: the name org.quarin.Z17Keyboard is the single-instance
// guard, and the object /org/quarin/Z17Keyboard (interface org.quarin.Z17Keyboard) is how
// other programs talk to the running instance. Each method stands for one of the window
// messages peers send on other systems; payloads keep those messages' layout.

#include <QByteArray>
#include <QDBusContext>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace platform {

inline constexpr const char* kBusName = "org.quarin.Z17Keyboard";
inline constexpr const char* kObjectPath = "/org/quarin/Z17Keyboard";
inline constexpr const char* kInterface = "org.quarin.Z17Keyboard";
// Error names of refused calls.
inline constexpr const char* kErrorTooLarge = "org.quarin.Z17Keyboard.Error.PayloadTooLarge";
inline constexpr const char* kErrorUnknownData = "org.quarin.Z17Keyboard.Error.UnknownData";
inline constexpr const char* kErrorUnknownEvent = "org.quarin.Z17Keyboard.Error.UnknownEvent";
inline constexpr const char* kErrorNotRun = "org.quarin.Z17Keyboard.Error.CommandNotRun";

// What a command of RunCommand printed, and its exit code.
struct CommandOutput {
    int exitCode = 1;
    std::string out;
    std::string err;
};
// Called once, from any thread, when the command has ended; with nothing when it was not run
// (the program is closing).
using CommandDone = std::function<void(std::optional<CommandOutput> output)>;

// What the window made of a PushCopyData call.
enum class CopyDataResult { Taken, TooLarge, UnknownId };

class InstanceBus : public QObject, protected QDBusContext {
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

    // Called on the UI thread when another program calls the method of the same name; a
    // missing handler does nothing. `handlers = {}` lets go of them all.
    struct Handlers {
        std::function<void()> activate;
        std::function<void(quint32 wParam, quint32 lParam)> setLightControl;
        std::function<QByteArray()> identify;
        std::function<void(quint32 wParam, quint32 lParam)> settingsRelay;
        std::function<CopyDataResult(quint32 id, const QByteArray& bytes)> copyData;
        // False for a name that is not a game event.
        std::function<bool(const QString& name, quint32 wParam, quint32 lParam)> gameEvent;
        // Starts a quarin-z17ctl command line off the UI thread; `done` gets its output.
        std::function<void(std::vector<std::string> args, bool json, CommandDone done)> runCommand;
    };
    Handlers handlers;

    // Announces this program's own change of the lighting control to every peer.
    void AnnounceLightControl(quint32 wParam, quint32 lParam);

signals:
    // wParam 1; lParam 1 when this program drives the lighting, 0 when it gives it back.
    void LightControlChanged(quint32 wParam, quint32 lParam);

public slots:
    // Restore and raise the window.
    void Activate();
    // wParam 1 with lParam 0 gives the lighting back to the devices, lParam 1 takes it.
    // Other values are ignored. Not announced back.
    void SetLightControl(quint32 wParam, quint32 lParam);
    // The 1024-byte identity record: which models this program serves.
    QByteArray Identify();
    // Passed on, unchanged, to the settings window while it is open.
    void SettingsRelay(quint32 wParam, quint32 lParam);
    // Data from the music recorder: id 1 spectrum (up to 4200 bytes), id 2 colour settings
    // (up to 156 bytes). A payload larger than its buffer is refused whole with an error.
    void PushCopyData(quint32 id, const QByteArray& bytes);
    // A game lighting event: "Game_Start", "Game_End", "Game_Kill" or "Game_Death", with the
    // event form (0, 1 or 2) and the lighting mode to show for a while.
    void GameEvent(const QString& name, quint32 form, quint32 mode);
    // A quarin-z17ctl command line (the words after its own options) run by this program,
    // which owns the devices, as the ctl would run it: the exit code, and the output and
    // error output as they would have been printed. The reply goes when the command ends;
    // commands run one at a time. FILE arguments must be absolute paths.
    int RunCommand(const QStringList& args, bool json, QString& out, QString& err);
};

} // namespace platform
