#pragma once
// The recorder on the D-Bus session bus: it owns org.quarin.Z17Keyboard.AudioRecord (only one
// recorder runs) and exports /org/quarin/Z17Keyboard/AudioRecord with the interface
// org.quarin.Z17Keyboard.AudioRecord. Its two methods hand the configurator's messages to
// RecorderProtocol; a refused message gets an error reply and changes nothing.

#include "recorder/RecorderProtocol.h"

#include <QByteArray>
#include <QDBusContext>
#include <QObject>
#include <functional>

namespace recorder {

inline constexpr const char* kRecorderBusName = "org.quarin.Z17Keyboard.AudioRecord";
inline constexpr const char* kRecorderObjectPath = "/org/quarin/Z17Keyboard/AudioRecord";
inline constexpr const char* kRecorderInterface = "org.quarin.Z17Keyboard.AudioRecord";
// The configurator, which receives the recorder's data.
inline constexpr const char* kConfiguratorBusName = "org.quarin.Z17Keyboard";
inline constexpr const char* kConfiguratorObjectPath = "/org/quarin/Z17Keyboard";
inline constexpr const char* kConfiguratorInterface = "org.quarin.Z17Keyboard";

inline constexpr const char* kErrorUnknownCommand =
    "org.quarin.Z17Keyboard.AudioRecord.Error.UnknownCommand";
inline constexpr const char* kErrorOutOfRange =
    "org.quarin.Z17Keyboard.AudioRecord.Error.ComponentOutOfRange";
inline constexpr const char* kErrorUnknownData =
    "org.quarin.Z17Keyboard.AudioRecord.Error.UnknownData";
inline constexpr const char* kErrorWrongSize = "org.quarin.Z17Keyboard.AudioRecord.Error.WrongSize";

class RecorderService : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.quarin.Z17Keyboard.AudioRecord")

public:
    // `react` is called, on the thread of this object, with every accepted message's reaction.
    RecorderService(RecorderProtocol& protocol, std::function<void(const Reaction&)> react);

public slots:
    // 0, 3, 1: handshake (after 1 spectra are sent); 2, 4, 5: shutdown (2 stops sending, 5
    // stops and exits); 6, 7, 8: red, green, blue 0 .. 255.
    void RecorderMessage(quint32 command, quint32 argument);
    // 10: the style colour, 40 bytes (red, green, blue as little-endian int32, 28 zero bytes).
    void CopyData(quint32 id, const QByteArray& payload);

private:
    void Answer(const Reaction& reaction);

    RecorderProtocol& protocol_;
    std::function<void(const Reaction&)> react_;
};

} // namespace recorder
