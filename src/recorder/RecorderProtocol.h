#pragma once
// What the recorder does with each message from the configurator, and the byte layout of
// what it sends back. No bus here: RecorderService puts it on D-Bus.
//
// RecorderMessage(command, argument):
//   0 handshake begins, 3 handshake continues, 1 handshake ends: start sending spectra;
//   2 shutdown begins: stop sending; 4 shutdown continues; 5 shutdown ends: stop and exit;
//   6, 7, 8 red, green, blue (0 .. 255): keep it and send the colour settings.
// CopyData(10, 40 bytes): the style colour, red, green, blue as little-endian int32 followed
// by 28 zero bytes: adopt it and send the colour settings.
// Sent to the configurator with PushCopyData: id 1 a spectrum frame (500 little-endian int32),
// id 2 the colour settings (six little-endian int32: red, green, blue, 0, 0, 0; the configurator
// reads only the first three).

#include "recorder/FrequencyAnalyser.h"

#include <array>
#include <cstdint>
#include <span>

namespace recorder {

inline constexpr std::uint32_t kSpectrumDataId = 1;
inline constexpr std::uint32_t kColourDataId = 2;
inline constexpr std::uint32_t kStyleColourId = 10;
inline constexpr std::size_t kStyleColourBytes = 40;
inline constexpr std::size_t kSpectrumBytes = kSpectrumValues * 4;
inline constexpr std::size_t kColourSettingsBytes = 6 * 4;
static_assert(kSpectrumBytes == 2000);

enum Command : std::uint32_t {
    kHandshakeBegin = 0,
    kHandshakeEnd = 1,
    kShutdownBegin = 2,
    kHandshakeContinue = 3,
    kShutdownContinue = 4,
    kShutdownEnd = 5,
    kSetRed = 6,
    kSetGreen = 7,
    kSetBlue = 8,
};

struct Colour {
    std::int32_t red = 0, green = 0, blue = 0;
    bool operator==(const Colour&) const = default;
};

// What a message asks of the program; `error` set means it was refused and changed nothing.
struct Reaction {
    enum class Error { None, UnknownCommand, ComponentOutOfRange, UnknownData, WrongSize };
    Error error = Error::None;
    bool startSending = false;
    bool stopSending = false;
    bool exit = false;
    bool sendColour = false;
};

class RecorderProtocol {
public:
    Reaction OnMessage(std::uint32_t command, std::uint32_t argument);
    Reaction OnCopyData(std::uint32_t id, std::span<const std::uint8_t> payload);

    bool Sending() const { return sending_; }
    const Colour& CurrentColour() const { return colour_; }

private:
    bool sending_ = false;
    Colour colour_;
};

std::array<std::uint8_t, kSpectrumBytes> EncodeSpectrum(const SpectrumFrame& frame);
std::array<std::uint8_t, kColourSettingsBytes> EncodeColourSettings(const Colour& colour);

} // namespace recorder
