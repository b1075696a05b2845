#include "recorder/RecorderProtocol.h"

namespace recorder {

namespace {

constexpr std::int32_t kMaxComponent = 255;

void PutInt32(std::uint8_t* p, std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    p[0] = std::uint8_t(bits);
    p[1] = std::uint8_t(bits >> 8);
    p[2] = std::uint8_t(bits >> 16);
    p[3] = std::uint8_t(bits >> 24);
}

std::int32_t GetInt32(const std::uint8_t* p) {
    return static_cast<std::int32_t>(std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 |
                                     std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24);
}

bool InRange(std::int64_t component) {
    return component >= 0 && component <= kMaxComponent;
}

} // namespace

Reaction RecorderProtocol::OnMessage(std::uint32_t command, std::uint32_t argument) {
    Reaction reaction;
    switch (command) {
    case kHandshakeBegin:
    case kHandshakeContinue:
    case kShutdownContinue:
        break;
    case kHandshakeEnd:
        reaction.startSending = !sending_;
        sending_ = true;
        break;
    case kShutdownBegin:
        reaction.stopSending = sending_;
        sending_ = false;
        break;
    case kShutdownEnd:
        reaction.stopSending = sending_;
        reaction.exit = true;
        sending_ = false;
        break;
    case kSetRed:
    case kSetGreen:
    case kSetBlue: {
        if (!InRange(argument)) {
            reaction.error = Reaction::Error::ComponentOutOfRange;
            break;
        }
        std::int32_t& component = command == kSetRed     ? colour_.red
                                  : command == kSetGreen ? colour_.green
                                                         : colour_.blue;
        component = static_cast<std::int32_t>(argument);
        reaction.sendColour = true;
        break;
    }
    default:
        reaction.error = Reaction::Error::UnknownCommand;
    }
    return reaction;
}

Reaction RecorderProtocol::OnCopyData(std::uint32_t id, std::span<const std::uint8_t> payload) {
    Reaction reaction;
    if (id != kStyleColourId) {
        reaction.error = Reaction::Error::UnknownData;
        return reaction;
    }
    if (payload.size() != kStyleColourBytes) {
        reaction.error = Reaction::Error::WrongSize;
        return reaction;
    }
    const Colour colour{GetInt32(&payload[0]), GetInt32(&payload[4]), GetInt32(&payload[8])};
    if (!InRange(colour.red) || !InRange(colour.green) || !InRange(colour.blue)) {
        reaction.error = Reaction::Error::ComponentOutOfRange;
        return reaction;
    }
    colour_ = colour;
    reaction.sendColour = true;
    return reaction;
}

std::array<std::uint8_t, kSpectrumBytes> EncodeSpectrum(const SpectrumFrame& frame) {
    std::array<std::uint8_t, kSpectrumBytes> bytes;
    for (std::size_t i = 0; i < kSpectrumValues; ++i)
        PutInt32(&bytes[4 * i], frame[i]);
    return bytes;
}

std::array<std::uint8_t, kColourSettingsBytes> EncodeColourSettings(const Colour& colour) {
    std::array<std::uint8_t, kColourSettingsBytes> bytes{};
    PutInt32(&bytes[0], colour.red);
    PutInt32(&bytes[4], colour.green);
    PutInt32(&bytes[8], colour.blue);
    return bytes;
}

} // namespace recorder
