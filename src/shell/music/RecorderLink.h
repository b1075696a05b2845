#pragma once
// The configurator's side of the music recorder (quarin-z17-recorder): it starts the program
// while a keyboard shows a music effect and stops it when none does, finds it on the session
// bus by its name, greets it (0, 3, 1), tells it the colours chosen (6, 7, 8 and the style
// colour) and says goodbye (2, 4, 5). The recorder's spectrum and colour settings come back
// through the configurator's own PushCopyData. Whether it runs is watched through its bus
// name: nothing wakes while nothing changes.

#include <QDBusConnection>
#include <QObject>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <vector>

class QDBusServiceWatcher;
class QProcess;
class QTimer;

namespace shell::music {

inline constexpr const char* kRecorderService = "org.quarin.Z17Keyboard.AudioRecord";
inline constexpr const char* kRecorderPath = "/org/quarin/Z17Keyboard/AudioRecord";
inline constexpr const char* kRecorderInterface = "org.quarin.Z17Keyboard.AudioRecord";
inline constexpr const char* kRecorderProgram = "quarin-z17-recorder";
// Names the recorder program to run instead of the one found beside this program.
inline constexpr const char* kRecorderVariable = "QUARIN_Z17_RECORDER";

// The recorder's commands.
enum RecorderCommand : std::uint32_t {
    kGreet = 0,
    kStop = 2,
    kGreetSecond = 3,
    kGreetLast = 1,
    kStopSecond = 4,
    kStopLast = 5,
    kRed = 6,
    kGreen = 7,
    kBlue = 8,
};
inline constexpr std::uint32_t kStyleColourId = 10;

class CRecorderLink : public QObject {
public:
    explicit CRecorderLink(QDBusConnection bus = QDBusConnection::sessionBus());
    ~CRecorderLink() override;

    // Watches for the recorder and greets it 100 ms from now if it already runs.
    void Start();
    // Says goodbye to a running recorder and ends the one this link started.
    void Stop();

    // Whether the recorder has been found (its name has an owner) since it last went.
    bool IsKnown() const { return m_known; }
    // Greets the recorder when its name has an owner; false when it has none.
    bool Handshake();
    void Shutdown();
    // Sent only while the recorder is known.
    void SendCommand(std::uint32_t command, std::uint32_t argument);
    void SendStyleColour(const std::vector<std::uint8_t>& payload);

    // Starts or ends the recorder program this link runs; `arguments` go to a new start.
    void SetWanted(bool wanted, const QStringList& arguments = {});
    bool IsRunning() const;
    // Where the program is looked for: QUARIN_Z17_RECORDER when set, else beside this program,
    // in the build tree's recorder folder, then on PATH. Empty when it is nowhere.
    static QString FindProgram();

private:
    void Call(const QString& method, const QVariantList& arguments);
    void EndProcess();

    QDBusConnection m_bus;
    bool m_known = false;
    QDBusServiceWatcher* m_watcher = nullptr;
    QTimer* m_greeting = nullptr;
    std::unique_ptr<QProcess> m_process;
    bool m_missingReported = false;
};

} // namespace shell::music
