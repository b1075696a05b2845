#include "recorder/RecorderService.h"

#include <span>

namespace recorder {

RecorderService::RecorderService(RecorderProtocol& protocol,
                                 std::function<void(const Reaction&)> react)
    : protocol_(protocol), react_(std::move(react)) {}

void RecorderService::RecorderMessage(quint32 command, quint32 argument) {
    Answer(protocol_.OnMessage(command, argument));
}

void RecorderService::CopyData(quint32 id, const QByteArray& payload) {
    Answer(protocol_.OnCopyData(
        id, std::span(reinterpret_cast<const std::uint8_t*>(payload.constData()),
                      static_cast<std::size_t>(payload.size()))));
}

void RecorderService::Answer(const Reaction& reaction) {
    using Error = Reaction::Error;
    if (reaction.error == Error::None) {
        react_(reaction);
        return;
    }
    if (!calledFromDBus())
        return;
    switch (reaction.error) {
    case Error::UnknownCommand:
        sendErrorReply(QString::fromLatin1(kErrorUnknownCommand),
                       QStringLiteral("commands are 0 to 8"));
        break;
    case Error::ComponentOutOfRange:
        sendErrorReply(QString::fromLatin1(kErrorOutOfRange),
                       QStringLiteral("colour components are 0 to 255"));
        break;
    case Error::UnknownData:
        sendErrorReply(QString::fromLatin1(kErrorUnknownData),
                       QStringLiteral("only data 10 (the style colour) is taken"));
        break;
    case Error::WrongSize:
        sendErrorReply(QString::fromLatin1(kErrorWrongSize),
                       QStringLiteral("the style colour is 40 bytes"));
        break;
    case Error::None:
        break;
    }
}

} // namespace recorder
